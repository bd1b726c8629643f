#include "engine/pages/rows.h"

#include "engine/graphics/colour_roles.h"
#include "engine/pages/pen.h"
#include "engine/prompts/prompts.h"
#include "engine/text/text.h"
#include "engine/typesetter/cells.h"
#include "engine/typesetter/formula.h"

#include <cmath>

namespace lesson {

namespace {

const Place& markOf(const Page& page, int n) {
    if (n < 1 || n >= kMarks) throw EngineError(kSubscriptOutOfRange, "no such mark");
    return page.marks[n];
}

float resolveX(const Page& page, const RowX& x) {
    switch (x.kind) {
    case RowX::Kind::After: return page.endX + x.value;
    case RowX::Kind::MarkStart: return markOf(page, x.mark).x + x.value;
    case RowX::Kind::MarkEnd: return markOf(page, x.mark).endX + x.value;
    case RowX::Kind::Absolute: break;
    }
    return x.value;
}

float resolveY(const Page& page, const RowY& y) {
    switch (y.kind) {
    case RowY::Kind::Plus: return page.rowY + y.value;
    case RowY::Kind::Mark: return markOf(page, y.mark).y + y.value;
    case RowY::Kind::Absolute: break;
    }
    return y.value;
}

// Draws the row's text, bare or in its cell; returns where it ended and its y.
Place drawRow(Engine& e, const Row& row, float x, float y) {
    const RowBox& b = row.then.box;
    if (b.kind == RowBox::Kind::None) {
        const float end = drawFormulaAt(e, x, y, row.color, row.text);
        return {x, end, e.textY};
    }
    e.textX = x;
    e.textY = y;
    e.boxWidth = b.w;
    e.boxHeight = b.h;
    e.lineColor = b.line;
    e.boxFillColor = b.fill;
    e.textColor = row.color;
    e.workText = row.text;
    if (b.kind == RowBox::Kind::Boxed)
        drawBoxedFormula(e);
    else
        drawBoxAroundFormula(e);
    return {x, e.textX, e.textY};
}

}  // namespace

Then operator|(Then a, const Then& b) {
    if (b.wait != Wait::None) a.wait = b.wait;
    if (b.mark != 0) a.mark = b.mark;
    a.aside = a.aside || b.aside;
    if (b.box.kind != RowBox::Kind::None) a.box = b.box;
    return a;
}

void keepValue(ByteWriter& w, const Page& page) {
    w.real(page.endX);
    w.real(page.rowY);
    for (const Place& p : page.marks) {
        w.real(p.x);
        w.real(p.endX);
        w.real(p.y);
    }
}

void takeValue(ByteReader& r, Page& page) {
    page.endX = r.real();
    page.rowY = r.real();
    for (Place& p : page.marks) {
        p.x = r.real();
        p.endX = r.real();
        p.y = r.real();
    }
}

void runRow(Engine& e, Page& page, const Row& row) {
    const float x = resolveX(page, row.x), y = resolveY(page, row.y);
    const Place drawn = drawRow(e, row, x, y);
    if (row.then.mark != 0) {
        markOf(page, row.then.mark);  // a mark outside the page's places is an error
        page.marks[row.then.mark] = drawn;
    }
    if (!row.then.aside) {
        page.endX = drawn.endX;
        page.rowY = drawn.y;
    }
    if (row.then.wait != Wait::None) anyKeyPrompt(e);
    if (row.then.wait == Wait::TwoKeys) anyKeyPrompt(e);
}

void runRows(Engine& e, Page& page, const std::vector<Row>& rows) {
    for (const Row& row : rows) runRow(e, page, row);
}

void runPage(Engine& e, const std::vector<Row>& rows) { runPage(e, kPageClearWidth, rows); }

void runPage(Engine& e, float clearWidth, const std::vector<Row>& rows) {
    Page page;
    pageClear(e, clearWidth);
    runRows(e, page, rows);
}

namespace {

// The steps as rows: at the indent unless a step gives its x (the first one
// at firstX), colour 0 and the last one 5 unless given.
std::vector<Row> stepRows(const std::vector<Step>& steps, const RowX& firstX, const RowX& indent) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        const bool last = i + 1 == steps.size();
        const int color = step.color >= 0 ? step.color : (last ? colour::kAnswer : colour::kBodyText);
        const RowX x = !step.atIndent ? step.x : (i == 0 ? firstX : indent);
        rows.push_back({color, x, step.y, step.text});
    }
    return rows;
}

}  // namespace

void runAnswers(Engine& e, Page& page, const Column& column, const std::vector<AnswerBlock>& blocks) {
    const RowX firstX = column.labelKeepsEnd ? RowX(RowX::Kind::After, 0) : RowX(column.indent);
    for (const AnswerBlock& block : blocks) {
        // A label row records only its y, unless the column lets the problem follow it.
        const float labelEnd = drawFormulaAt(e, column.x, resolveY(page, block.labelY), colour::kLabel, block.label);
        page.rowY = e.textY;
        if (column.labelKeepsEnd) page.endX = labelEnd;
        runRows(e, page, stepRows(block.steps, firstX, column.indent));
        if (block.wait == Wait::Key) anyKeyPrompt(e);
    }
}

std::vector<Row> answerRows(float indent, const std::vector<Step>& steps) { return stepRows(steps, indent, indent); }

void practiceLoop(Engine& e, Page& page, float areaX, float areaY, const ProblemMaker& make, RowWaits waits) {
    practiceLoop(e, page, areaX, areaY, [&make](Engine& e, int) { return make(e); }, waits);
}

void practiceLoop(Engine& e, Page& page, float areaX, float areaY, const NumberedProblemMaker& make, RowWaits waits) {
    const Round round = roundOf(e, WaitKind::Step);
    e.entryValue = 3;
    for (int problem = 0; e.entryValue != 1; ++problem) {
        // A drill of a whole lesson goes back to its last problem at once.
        beginRound(e, round, page, problem);
        std::vector<Row> rows = make(e, problem);
        whiteBox(e, areaX, areaY, 2000, 1800);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (waits == RowWaits::AfterEachButLast) rows[i].then.wait = i + 1 < rows.size() ? Wait::Key : Wait::None;
            runRow(e, page, rows[i]);
        }
        stepPrompt(e);
    }
}

void runSubMenu(Engine& e, const std::string& line, const std::vector<PageRoutine>& pages) {
    const int last = static_cast<int>(pages.size()) + 1;  // the line's "終了"
    const Round round = roundOf(e, WaitKind::SubMenu);
    for (;;) {
        beginRound(e, round);
        e.textString = line;
        subMenuPrompt(e, last);
        const float choice = e.entryValue;
        clearPromptBand(e);
        if (choice < 1 || choice > last || choice != std::floor(choice)) continue;
        if (choice == last) return;
        pages[static_cast<std::size_t>(choice) - 1](e);
    }
}

void drawStrokes(Engine& e, float penWidth, const std::vector<Stroke>& strokes) {
    const ScopedPenWidth pen(e, penWidth);
    for (const Stroke& s : strokes) e.layer.line(s.from.x, s.from.y, s.to.x, s.to.y, s.color);
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

std::string termTextFor(float coefficient) {
    if (coefficient == 0) return "";
    if (coefficient == 1) return "x";
    if (coefficient == -1) return "-x";
    return numberText(coefficient) + "x";
}

std::string signedText(const std::string& text, float value) { return value > 0 ? "+" + text : text; }

std::string fractionValueText(Engine& e, float n, float d) {
    e.fracNum = n;
    e.fracDen = d;
    reduceFraction(e);
    const bool fraction = e.fracText.find("ﾀ") != std::string::npos;
    if (fraction && e.fracNum > 0 && e.fracDen == d) return e.fracText;
    return "ﾀ" + numberText(n) + "/" + numberText(d) + "ﾀ=" + e.fracText;
}

std::string withoutLeadingPlus(Engine& e, const std::string& text) {
    e.workText = text;
    dropLeadingPlus(e);
    return e.workText;
}

}  // namespace lesson
