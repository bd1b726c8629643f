#pragma once
// The waits of the lessons, each told to the layer as it starts: the password
// gate, the main menu, a section's sub-menu, the step prompt of a practice
// page, and the press-any-key pause.

#include <string_view>

namespace lesson {

enum class WaitKind { None, Gate, MainMenu, SubMenu, Step, AnyKey };

// The wait's name as the trace and the page know it: "gate", "menu",
// "submenu", "step", "anykey" ("" for none).
std::string_view waitKindName(WaitKind kind);

// Where a choice of the open wait was drawn, and its number: a tap there
// chooses it.
struct TapArea {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int choice = 0;
};

}  // namespace lesson
