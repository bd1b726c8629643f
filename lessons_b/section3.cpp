// Section 3: 代金の問題. (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section3(lesson::Engine& e) { lesson::runSection(e, {{}, "①例１　②問2　③終了", {}}); }

}  // namespace ratiora
