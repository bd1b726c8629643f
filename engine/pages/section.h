#pragma once
// A lesson section as data: the aims drawn once on entry (or none), the
// circled-number sub-menu line and its pages in order. The number after the
// last page returns to the main menu.
//
//   runSection(e, {
//       {{3, 44, 240, "<めあて>"}, {0, 76, plus(65), "…"}},
//       "①例１　②問2　③終了",
//       {examplePage, question2Page},
//   });

#include "engine/pages/rows.h"

#include <string>
#include <vector>

namespace lesson {

struct SectionSpec {
    std::vector<Row> aims;  // on the blank screen the main menu left; empty: none
    std::string subMenu;
    std::vector<PageRoutine> pages;
};

void runSection(Engine& e, const SectionSpec& section);

// ---- Answer sheets under a heading --------------------------------------------

// Worked answers in columns: every column starts again from the top row
// (kAnswerColumnTop), so its first label is either plus(60) below it or
// placed at that y itself.
struct AnswerColumn {
    Column column;
    std::vector<AnswerBlock> blocks;
};
using AnswerScreen = std::vector<AnswerColumn>;
inline constexpr float kAnswerColumnTop = 30;

// The heading of an answer sheet: the title box and, `gap` to its right on
// the same top, the box with the exercise's number.
struct SheetHeading {
    Point at;
    LabelledBox title;
    float gap;
    LabelledBox number;  // its label is the exercise's number, given per screen
};

// Blanks the whole screen (prompt band included) and draws the heading with
// `number` in its number box.
void sheetScreen(Engine& e, const SheetHeading& heading, const std::string& number);

// One screen of an answer sheet: the number in its box (none: the screen
// has no heading), the rows, then the answer columns (their waits as given;
// the last of every screen but the last carries a key). A screen with a pen
// width is drawn in it after its heading, and the width stays set after the
// screen: the sub-menu's entry field and the next page's blank take it.
struct SheetScreen {
    std::string number;
    std::vector<Row> rows;
    AnswerScreen columns = {};
    float pen = 0;  // 0: the width as it stands
};

// Every screen on a fresh page, under the heading where it has a number.
void runSheet(Engine& e, const SheetHeading& heading, const std::vector<SheetScreen>& screens);

}  // namespace lesson
