// Solvara with a first section that fails at once with a run-time error (a
// table index out of range), for the real-window check of the error screen:
// the program must show the error and still end when its window is closed.

#include "engine/engine.h"
#include "lessons_a/sections.h"

int main(int argc, char** argv) {
    lesson::ProgramSpec app = solvara::program();
    app.name = "failing_program";
    app.menu[0].section = [](lesson::Engine& e) { e.practiceNum(e.practiceNum.bound() + 1) = 1; };
    return lesson::runProgram(app, argc, argv);
}
