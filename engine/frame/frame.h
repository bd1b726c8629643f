#pragma once
// The program frame: start-up, the password gate, the main menu drawn from
// the program's menu table, and the command line of headless runs.

#include "engine/engine.h"

#include <functional>
#include <string>
#include <vector>

namespace lesson {

using Section = std::function<void(Engine&)>;

struct MenuItem {
    std::string text;
    float x;
    float y;
    int color;
    Section section;  // empty: the menu is drawn again (a slot not yet filled)
};

struct ProgramSpec {
    std::string name;   // command name, for messages
    std::string title;  // programTitle
    std::vector<MenuItem> menu;  // the last item ends the program
};

inline constexpr const char* kPassword = "5926";
inline constexpr int kMaxPasswordEntries = 10;

// Start-up steps: font, pen, seed, the entry anchor, the title, the tables.
void startUp(Engine& e, const ProgramSpec& app);
// The password gate; ends the program (ProgramEnd) after ten wrong entries.
void passwordGate(Engine& e);
// The main menu until its last item is chosen.
void mainMenu(Engine& e, const ProgramSpec& app);
// Start-up, gate and menu, with every run-time error ending on the error screen.
// A step back starts the program again, off-screen, up to the wait before.
// Returns the exit status.
int runFrame(Engine& e, const ProgramSpec& app);

// The whole program: options, the layer, the frame. Returns the exit status.
int runProgram(const ProgramSpec& app, int argc, char** argv);

}  // namespace lesson
