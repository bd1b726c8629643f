#pragma once
// The lesson sections of Solvara, one unit each, and its frame data.

#include "engine/frame/frame.h"

namespace solvara {

void section1(lesson::Engine& e);  // 方程式とその解
void section2(lesson::Engine& e);  // 等式の性質
void section3(lesson::Engine& e);  // P91(練習問題)
void section4(lesson::Engine& e);  // 方程式の解き方
void section5(lesson::Engine& e);  // いろいろな方程式
void section6(lesson::Engine& e);  // P96(練習問題)

// Title, main menu and section entries.
lesson::ProgramSpec program();

}  // namespace solvara
