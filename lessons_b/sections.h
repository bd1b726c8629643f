#pragma once
// The lesson sections of Ratiora, one unit per section group, and its frame data.

#include "engine/frame/frame.h"

namespace ratiora {

void section1(lesson::Engine& e);  // 比例式
void section2(lesson::Engine& e);  // 導入、手順
void section3(lesson::Engine& e);  // 代金の問題
void section4(lesson::Engine& e);  // 過不足
void section5(lesson::Engine& e);  // 速さ、時間、道のり
void section6(lesson::Engine& e);  // 比例式の利用
void section7(lesson::Engine& e);  // P108(学びをたしかめよう)
void section8(lesson::Engine& e);  // P110(学びを身につけよう)

// Title, main menu and section entries.
lesson::ProgramSpec program();

}  // namespace ratiora
