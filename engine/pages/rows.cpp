#include "engine/pages/rows.h"

#include "engine/prompts/prompts.h"
#include "engine/text/text.h"
#include "engine/typesetter/cells.h"
#include "engine/typesetter/formula.h"

#include <cmath>

namespace lesson {

void pageClear(Engine& e, float w, float h) { whiteBox(e, 0, 0, w, h); }

namespace {

float resolveX(const Page& page, const X& x) { return x.kind == X::Kind::After ? page.endX + x.value : x.value; }
float resolveY(const Page& page, const Y& y) { return y.kind == Y::Kind::Plus ? page.rowY + y.value : y.value; }

}  // namespace

void runRow(Engine& e, Page& page, const Row& row) {
    page.endX = drawFormulaAt(e, resolveX(page, row.x), resolveY(page, row.y), row.color, row.text);
    page.rowY = e.textY;
    if (row.wait == Wait::Key) anyKeyPrompt(e);
}

void runRows(Engine& e, Page& page, const std::vector<Row>& rows) {
    for (const Row& row : rows) runRow(e, page, row);
}

void runAnswers(Engine& e, Page& page, const Column& column, const std::vector<AnswerBlock>& blocks) {
    for (const AnswerBlock& block : blocks) {
        // A label row records only its y, unless the column lets the problem follow it.
        const float labelEnd = drawFormulaAt(e, column.x, resolveY(page, block.labelY), 3, block.label);
        page.rowY = e.textY;
        if (column.labelKeepsEnd) page.endX = labelEnd;
        for (std::size_t i = 0; i < block.steps.size(); ++i) {
            const Step& step = block.steps[i];
            const bool last = i + 1 == block.steps.size();
            const int color = step.color >= 0 ? step.color : (last ? 5 : 0);
            X x = step.x;
            if (step.atIndent) x = (i == 0 && column.labelKeepsEnd) ? X(X::Kind::After, 0) : X(column.indent);
            runRow(e, page, {color, x, step.y, step.text});
        }
        if (block.wait == Wait::Key) anyKeyPrompt(e);
    }
}

void practiceLoop(Engine& e, Page& page, float areaX, float areaY, const ProblemMaker& make,
                  const std::function<void(Engine&)>& afterStep, RowWaits waits) {
    e.entryValue = 3;
    while (e.entryValue != 1) {
        std::vector<Row> rows = make(e);
        whiteBox(e, areaX, areaY, 2000, 1800);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (waits == RowWaits::AfterEachButLast) rows[i].wait = i + 1 < rows.size() ? Wait::Key : Wait::None;
            runRow(e, page, rows[i]);
        }
        stepPrompt(e);
        if (afterStep) afterStep(e);
    }
}

void runSubMenu(Engine& e, const std::string& line, const std::vector<PageRoutine>& pages) {
    const int last = static_cast<int>(pages.size()) + 1;
    for (;;) {
        e.textString = line;
        subMenuPrompt(e);
        const float choice = e.entryValue;
        clearPromptBand(e);
        if (choice < 1 || choice > last || choice != std::floor(choice)) continue;
        if (choice == last) return;
        pages[static_cast<std::size_t>(choice) - 1](e);
    }
}

void drawLabelledBox(Engine& e, const LabelledBox& box) {
    e.boxWidth = box.w;
    e.boxHeight = box.h;
    e.lineColor = box.line;
    e.boxFillColor = box.fill;
    e.workText = box.label;
    e.textColor = box.textColor;
    drawBoxedFormula(e);
}

void drawLabelledBox(Engine& e, const LabelledBox& box, float x, float y) {
    e.textX = x;
    e.textY = y;
    drawLabelledBox(e, box);
}

void drawLabelledBoxes(Engine& e, const LabelledBox& box, int count, float x, float y) {
    e.textX = x;
    e.textY = y;
    for (int i = 0; i < count; ++i) drawLabelledBox(e, box);
}

void exerciseHeading(Engine& e, const std::string& title, const std::string& setNumber) {
    drawLabelledBox(e, {396, 46, 3, 13, title, 0}, 40, 30);
    drawLabelledBox(e, {44, 44, 4, 3, setNumber, 13}, 40 + 396 + 20, 30);
}

std::string numText(float value) { return numberText(value); }

std::string termTextFor(float coefficient) {
    if (coefficient == 0) return "";
    if (coefficient == 1) return "x";
    if (coefficient == -1) return "-x";
    return numText(coefficient) + "x";
}

std::string signedText(const std::string& text, float value) { return value > 0 ? "+" + text : text; }

std::string fractionValueText(Engine& e, float n, float d) {
    e.fracNum = n;
    e.fracDen = d;
    reduceFraction(e);
    const bool fraction = e.fracText.find("ﾀ") != std::string::npos;
    if (fraction && e.fracNum > 0 && e.fracDen == d) return e.fracText;
    return "ﾀ" + numText(n) + "/" + numText(d) + "ﾀ=" + e.fracText;
}

std::string withoutLeadingPlus(Engine& e, const std::string& text) {
    e.workText = text;
    dropLeadingPlus(e);
    return e.workText;
}

}  // namespace lesson
