#include "engine/pages/section.h"

namespace lesson {

void runSection(Engine& e, const SectionSpec& section) {
    if (!section.aims.empty()) {
        Page aims;
        runRows(e, aims, section.aims);
    }
    runSubMenu(e, section.subMenu, section.pages);
}

void sheetScreen(Engine& e, const SheetHeading& heading, const std::string& number) {
    pageClear(e, kPageClearWidth, kTallPageClearHeight);
    drawLabelledBox(e, heading.title, heading.at.x, heading.at.y);
    LabelledBox box = heading.number;
    box.label = number;
    drawLabelledBox(e, box, e.textX + heading.gap, heading.at.y);
}

void runSheet(Engine& e, const SheetHeading& heading, const std::vector<SheetScreen>& screens) {
    for (const SheetScreen& screen : screens) {
        if (screen.number.empty()) pageClear(e, kPageClearWidth, kTallPageClearHeight);
        else sheetScreen(e, heading, screen.number);
        if (screen.pen > 0) e.layer.setDrawWidth(screen.pen);
        Page page;
        runRows(e, page, screen.rows);
        for (const AnswerColumn& column : screen.columns) {
            page.rowY = kAnswerColumnTop;
            runAnswers(e, page, column.column, column.blocks);
        }
    }
}

}  // namespace lesson
