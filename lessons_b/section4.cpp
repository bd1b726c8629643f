// Section 4: 過不足. (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section4(lesson::Engine& e) { lesson::runSection(e, {{}, "①例２　②問３　③終了", {}}); }

}  // namespace ratiora
