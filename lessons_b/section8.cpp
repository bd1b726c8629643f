// Section 8: P110(学びを身につけよう). (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section8(lesson::Engine& e) { lesson::runSection(e, {{}, "P110(学びを身につけよう)①　②　③3,4　④5　⑤6　⑥7　⑦終了", {}}); }

}  // namespace ratiora
