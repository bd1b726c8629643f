// Section 6: 比例式の利用. (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section6(lesson::Engine& e) { lesson::runSection(e, {{}, "①例題1　②問1　③終了　", {}}); }

}  // namespace ratiora
