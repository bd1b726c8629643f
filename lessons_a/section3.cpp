#include "lessons_a/sections.h"

namespace solvara {

// Not built yet: the main menu is drawn again.
void section3(lesson::Engine&) {}

}  // namespace solvara
