#include "lessons_b/sections.h"

namespace ratiora {

// Not built yet: the main menu is drawn again.
void section1(lesson::Engine&) {}

}  // namespace ratiora
