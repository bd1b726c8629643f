// Section 2: 導入、手順. (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section2(lesson::Engine& e) { lesson::runSection(e, {{}, "①P99　②解き方　③問1　④話しあおう　⑤終了", {}}); }

}  // namespace ratiora
