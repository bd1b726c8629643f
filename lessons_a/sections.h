#pragma once
// The lesson sections of Solvara, one unit each, and its frame data.

#include "engine/frame/frame.h"
#include "engine/pages/section.h"

namespace solvara {

void section1(lesson::Engine& e);  // 方程式とその解
void section2(lesson::Engine& e);  // 等式の性質
void section3(lesson::Engine& e);  // P91(練習問題)
void section4(lesson::Engine& e);  // 方程式の解き方
void section5(lesson::Engine& e);  // いろいろな方程式
void section6(lesson::Engine& e);  // P96(練習問題)

// The heading of the exercise answers: the title box and, 20 to its right,
// the set-number box.
inline lesson::SheetHeading exerciseHeading(std::string title) {
    return {{40, 30}, {396, 46, 3, 13, std::move(title), 0}, 20, {44, 44, 4, 3, "", 13}};
}

// Title, main menu and section entries.
lesson::ProgramSpec program();

}  // namespace solvara
