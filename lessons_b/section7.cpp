// Section 7: P108(学びをたしかめよう). (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section7(lesson::Engine& e) { lesson::runSection(e, {{}, "P108(学びをたしかめよう)①～⑦解答　　　⑧終了", {}}); }

}  // namespace ratiora
