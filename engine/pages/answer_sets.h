#pragma once
// Worked answers of a textbook exercise set: screens of answer columns.
//
// Every screen starts on a cleared page; the first one carries the exercise
// heading (title box and set-number box). Each column starts again from the
// top row (y 30), so a column's first label is either plus(60) below it or
// placed at y 30 itself. Key waits are those the blocks carry; the set ends
// without a further wait.
//
//   runAnswerSet(e, {"P91(練習問題)", "1", {
//       {{Column{40, 121}, {AnswerBlock{"(1)", plus(60), {"x-3=23", ...}}, ...}},
//        {Column{600, 681}, {...}}},
//       {...},
//   }});

#include "engine/pages/rows.h"

#include <string>
#include <vector>

namespace lesson {

struct AnswerColumn {
    Column column;
    std::vector<AnswerBlock> blocks;
};

using AnswerScreen = std::vector<AnswerColumn>;

struct AnswerSet {
    std::string title;
    std::string setNumber;
    std::vector<AnswerScreen> screens;
};

// y every column starts from; the heading stands at it on a set's first screen.
inline constexpr float kAnswerColumnTop = 30;

void runAnswerSet(Engine& e, const AnswerSet& set);

}  // namespace lesson
