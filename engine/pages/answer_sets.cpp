#include "engine/pages/answer_sets.h"

namespace lesson {

namespace {

constexpr float kClearWidth = 1760;
constexpr float kClearHeight = 1800;

void runAnswerScreen(Engine& e, const AnswerScreen& screen) {
    Page page;
    for (const AnswerColumn& column : screen) {
        page.rowY = kAnswerColumnTop;
        runAnswers(e, page, column.column, column.blocks);
    }
}

}  // namespace

void runAnswerSet(Engine& e, const AnswerSet& set) {
    for (std::size_t i = 0; i < set.screens.size(); ++i) {
        pageClear(e, kClearWidth, kClearHeight);
        if (i == 0) exerciseHeading(e, set.title, set.setNumber);
        runAnswerScreen(e, set.screens[i]);
    }
}

}  // namespace lesson
