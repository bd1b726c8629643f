// Section 5: 速さ、時間、道のり. (Being built: the sub-menu alone for now.)

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

void section5(lesson::Engine& e) { lesson::runSection(e, {{}, "①例３　②問４　③解く手順　④練習問題１　⑤練習問題２　⑥終了", {}}); }

}  // namespace ratiora
