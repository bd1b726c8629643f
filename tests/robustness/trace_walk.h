#pragma once
// Reading a long run back from its trace: which sections exist, which ones a
// run entered and left, and whether every choice at the main menu and at a
// sub-menu did what it should.

#include "engine/frame/frame.h"
#include "tests/robustness/key_streams.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace robustness {

struct SectionProbe {
    std::string line;  // the sub-menu line as drawn
    int lastItem = 0;  // its circled-number count: the last item leaves
};

struct ProgramProbe {
    std::string heading;                // the main menu's heading formula
    int quitNumber = 0;
    std::map<int, SectionProbe> sections;  // only the sections that exist
    StreamPlan plan() const;
};

// Enters every section of the program once, headless, and keeps those that
// draw a sub-menu; a section still to be written returns at once.
ProgramProbe probeProgram(const lesson::ProgramSpec& program);

// The sub-menu lines of a trace file, in order.
std::vector<std::string> subMenuLines(const std::string& tracePath);

// The value of the last circled number (①..⑳) of a sub-menu line: its last item.
int circledNumbers(const std::string& line);

struct WalkReport {
    std::size_t keysRead = 0;
    bool quit = false;                // the main menu's last item was chosen
    std::map<int, int> entered;       // section -> times its sub-menu was reached from the menu
    std::map<int, int> left;          // section -> times its last item led back to the menu
    std::map<int, int> pagesStarted;  // section -> pages started from its sub-menu
    std::vector<std::string> problems;
};

// Follows a run's trace: the password gate, then every entry at the main
// menu and at a known sub-menu, checking what was drawn next.
WalkReport walkTrace(const std::string& tracePath, const ProgramProbe& probe);

}  // namespace robustness
