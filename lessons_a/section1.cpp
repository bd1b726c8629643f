// Section 1: equations and their solutions. The fare problem solved by
// arithmetic and as an equation, the substitution table, the definitions with
// example 1, and the random practice with the textbook answers.

#include "lessons_a/section1.h"

#include "engine/pages/arcs.h"
#include "engine/pages/pen.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "engine/text/text.h"
#include "lessons_a/sections.h"

#include <cmath>

namespace solvara {

namespace s1 {

using namespace lesson;
using namespace lesson::notation;

namespace {

int pick(float r, int count, int first) { return static_cast<int>(std::floor(r * count)) + first; }

}  // namespace

SolutionCheck solutionCheckFrom(float rSolution, float rOther, float rFlag, float rA, float rB) {
    std::vector<int> candidates{1, 2, 3, 4};
    const int k = pick(rSolution, 3, 1);
    SolutionCheck p;
    p.s = candidates[k - 1];
    candidates.erase(candidates.begin() + (k - 1));
    const int j = pick(rOther, 2, 1);
    p.t = candidates[j - 1];
    p.f = pick(rFlag, 2, 0);
    if (p.f == 1) p.t = p.s;
    p.a = pick(rA, 3, 2);
    p.b = pick(rB, 6, 2);
    p.c = (p.a - 1) * p.s + p.b;
    return p;
}

SolutionCheck drawSolutionCheck(Engine& e) {
    const float rSolution = e.rnd();
    const float rOther = e.rnd();
    const float rFlag = e.rnd();
    const float rA = e.rnd();
    const float rB = e.rnd();
    return solutionCheckFrom(rSolution, rOther, rFlag, rA, rB);
}

void fillPracticeTables(Engine& e, const SolutionCheck& p) {
    const float numbers[] = {
        static_cast<float>(p.a),           static_cast<float>(p.b),
        static_cast<float>(p.c),           static_cast<float>(p.a * p.t),
        static_cast<float>(p.a * p.t + p.b), static_cast<float>(p.t + p.c),
    };
    for (int i = 1; i <= 6; ++i) e.practiceNum(i) = numbers[i - 1];
    e.constNum(1) = static_cast<float>(p.s);
    e.constNum(2) = static_cast<float>(p.t);
    e.constNum(3) = static_cast<float>(p.f);
    numbersToTexts(e);
    e.practiceText(2) = "+" + e.practiceText(2);
    e.practiceText(3) = "+" + e.practiceText(3);
}

std::string verdictText(bool solution) {
    return solution ? "左辺=右辺 だから　解である。" : "左辺≠右辺 だから　解ではない。";
}

std::vector<Row> practiceRows(const Engine& e) {
    const std::string& a = e.practiceText(1);
    const std::string& b = e.practiceText(2);  // with its "+"
    const std::string& c = e.practiceText(3);  // with its "+"
    const std::string& at = e.practiceText(4);
    const std::string& atb = e.practiceText(5);
    const std::string& tc = e.practiceText(6);
    const std::string& t = e.constText(2);
    const bool solution = e.constNum(3) == 1;
    return {
        {0, 40, 30, "練習 "},
        {3, after, same, t},
        {0, after, same, "は次の方程式の解ですか。"},
        {7, 169, plus(50), "x" + c + "=" + a + "x" + b, key},
        {3, 142, plus(55), "xに" + t + "を代入して", key},
        {0, 74, plus(55), "左辺=", key},
        {0, after, same, t + c, key},
        {5, after, same, "=" + tc, key},
        {0, 74, plus(55), "右辺=", key},
        {0, after, same, a + "*" + t + b, key},
        {0, 142, plus(55), "=" + at + b, key},
        {5, after, same, "=" + atb, key},
        {5, 74, plus(55), verdictText(solution)},
    };
}

void fillFareTable(Engine& e) {
    for (int i = 2; i <= 4; ++i) {
        const float x = static_cast<float>(kTableFirstX + i - 2);
        const float left = 180 * x + 480;
        e.rowText(i) = numberText(x);
        e.rowText(10 + i) = numberText(x) + "*180+480=";
        e.rowText(20 + i) = left < kFareRightSide ? "<" : (left == kFareRightSide ? "=" : ">");
        e.rowText(30 + i) = e.rowText(10 + i) + numberText(left);
    }
}

}  // namespace s1

namespace {

using namespace lesson;
using namespace lesson::notation;

// ---- Fare page ----------------------------------------------------------

// The fare figure: bus from P1 to P2, train from P2 to P3, all on one line.
struct FareFigure {
    Point p1, p2, p3;
};

FareFigure placeFareFigure(float y) { return {{76, y}, {356, y}, {556, y}}; }

void drawFareSegments(Engine& e, const FareFigure& f) {
    drawStrokes(e, 10, {{f.p1, f.p2, 3}, {f.p2, f.p3, 0}});
    anyKeyPrompt(e);
    Page labels;
    runRows(e, labels, {
        {3, f.p1.x + 60, f.p1.y + 4, "バス代"},
        {0, f.p2.x + 38, f.p1.y + 4, "電車代"},
        {7, f.p1.x + 80, f.p1.y - 50, "乗り放題チケット代", key},
    });
}

// Six degrees between the dots: at a step of 60 an arc is four dots, two of
// them hidden under the thick segment, and no longer reads as an arc.
constexpr float kArcStep = 6;

SpanArc busArc(const FareFigure& f, const std::string& label) {
    return {.from = f.p1, .to = f.p2, .textColor = 3, .lineColor = 3, .side = 1, .step = kArcStep,
            .height = 5, .label = label, .wait = key};
}

// The arcs' dots are drawn in 5.
constexpr float kArcPen = 5;

void drawFareArcs(Engine& e, const FareFigure& f) {
    const ScopedPenWidth pen(e, kArcPen);
    runSpanArcs(e, {
        {.from = f.p1, .to = f.p3, .textColor = 7, .lineColor = 7, .side = -1, .step = kArcStep,
         .height = 3, .label = "1200円", .wait = key},
        {.from = f.p2, .to = f.p3, .textColor = 0, .lineColor = 0, .side = 1, .step = kArcStep,
         .height = 6, .label = "240円*2", .wait = key},
        busArc(f, "180円*？"),
    });
    e.termNum(1) = e.textX;
    e.markNum(1) = e.textY;
}

// The bus fare becomes x: the old label is blanked and the arc drawn again.
void relabelBusArc(Engine& e, const FareFigure& f) {
    // 48 high: the old label's foot, clear of the top of the row drawn at y 300
    // (a white box is drawn a little wider than it is).
    const ScopedPenWidth pen(e, kArcPen);
    whiteBox(e, 0, e.markNum(1), 320, 48);
    runSpanArc(e, busArc(f, "180円*x"));
}

// A cell of the substitution table.
LabelledBox cell(float w, int fill, const std::string& text, int textColor) {
    return {w, 50, 7, fill, text, textColor};
}

// Where the worked left side and the comparison sign of a row go.
struct TableRowSlots {
    Point leftSide, sign;
};

Point here(const Engine& e) { return {e.textX, e.textY}; }

TableRowSlots drawTableRow(Engine& e, int i, float x, float y) {
    TableRowSlots slots;
    drawLabelledBox(e, cell(40, 13, e.rowText(i), 0), x, y);
    slots.leftSide = here(e);
    drawLabelledBox(e, cell(450, 13, e.rowText(10 + i), 0));
    slots.sign = here(e);
    drawLabelledBox(e, cell(40, 13, "", 0));
    drawLabelledBox(e, cell(120, 13, numberText(s1::kFareRightSide), 0));
    return slots;
}

void drawSubstitutionTable(Engine& e, float x, float top) {
    e.layer.setDrawWidth(3);  // the table and the rest of the page; it stays set after the page
    drawLabelledBox(e, cell(40, 11, "x", 0), x, top);
    drawLabelledBox(e, cell(450, 11, "左辺の値", 0));
    drawLabelledBox(e, cell(40, 11, "", 0));
    drawLabelledBox(e, cell(120, 11, "右辺", 0));

    s1::fillFareTable(e);
    TableRowSlots slots[3];
    for (int i = 2; i <= 4; ++i) slots[i - 2] = drawTableRow(e, i, x, top + 50 * (i - 1));

    anyKeyPrompt(e);
    for (int i = 2; i <= 4; ++i) {
        const TableRowSlots& row = slots[i - 2];
        drawLabelledBox(e, cell(450, 15, e.rowText(30 + i), 3), row.leftSide.x, row.leftSide.y);
        anyKeyPrompt(e);
        drawLabelledBox(e, cell(40, 15, e.rowText(20 + i), 3), row.sign.x, row.sign.y);
        anyKeyPrompt(e);
    }
}

void farePage(Engine& e) {
    pageClear(e);
    Page page;
    runRows(e, page, {{0, 40, 15, "P86 金額が同じになるのは、バスに何回乗るとき?", key}});
    const FareFigure figure = placeFareFigure(page.rowY + 150);
    drawFareSegments(e, figure);
    drawFareArcs(e, figure);

    page.rowY = 250;
    runRows(e, page, {
        {0, 40, plus(50), "合計の電車代は ", key},
        {0, 40, plus(50), "240*2="},
        {3, after, same, "480(円)", key},
        {0, 40, plus(50), "だから、合計のバス代は", key},
        {0, 40, plus(50), "1200-480="},
        {3, after, same, "720(円)", key},
        {0, 40, plus(50), "1回のバス代が180円だから、", key},
        {0, 40, plus(50), "720/180="},
        {5, after, same, "4(回)", key},
    });

    const float baseX = 627;
    runRows(e, page, {
        {3, 600, 80, "Q 等式に表してみよう。", key},
        {0, baseX, plus(50), "バスに乗る回数を"},
        {3, after, same, "x回"},
        {0, after, same, "とすると "},
    });
    relabelBusArc(e, figure);
    runRows(e, page, {
        {5, baseX, plus(50), "180x+480=1200", key},
        {0, 667, plus(50), "xに3,4,5"},
        {0, 667, plus(50), "を代入したときの左辺の値は?"},
    });

    drawSubstitutionTable(e, baseX - 80, page.rowY + 125);
    runRows(e, page, {{5, 600, plus(60), "x=4 のときだけ等式は成り立つ"}});
}

// ---- Definitions and example 1 ----------------------------------------

void definitionsPage(Engine& e) {
    pageClear(e);
    Page page;
    runRows(e, page, {
        {5, 40, 30, "方程式"},
        {0, after, same, "…まだわかっていない数"},
        {0, 176, plus(50), "を表す"},
        {3, after, same, "文字"},
        {0, after, same, "をふくむ"},
        {3, after, same, "等式"},
        {5, 40, plus(50), "解"},
        {0, after, same, "…"},
        {3, after, same, "方程式"},
        {0, after, same, "を成り立たせる"},
        {3, after, same, "文字の値"},
        {5, 40, plus(50), "方程式を解く"},
        {0, after, same, "…"},
        {3, after, same, "解"},
        {0, after, same, "を求めること", key},
        {7, 40, plus(70), "例1 方程式2x+1=9"},
        {0, 40, plus(50), "の解は3,4,5のどれですか。", key},
        {3, 40, plus(50), "<考え方>"},
        {0, after, same, "xに3,4,5を代入して"},
        {5, 40, plus(50), "左辺=右辺"},
        {0, after, same, "となれば解", key},
        {7, 40, plus(50), "① x=3を代入して"},
        {0, 94, plus(50), "左辺=2*3+1=7"},
        {0, 94, plus(50), "右辺=9"},
        {3, 40, plus(50), "左辺≠右辺 だから　解ではない。", key},
        {7, 720, 30, "② x=4を代入して"},
        {0, 774, plus(50), "左辺=2*4+1=9"},
        {0, 774, plus(50), "右辺=9"},
        {3, 720, plus(50), "左辺=右辺 だから　解である。", key},
        {7, 720, plus(50), "③ x=5を代入して"},
        {0, 774, plus(50), "左辺=2*5+1=11"},
        {0, 774, plus(50), "右辺=9"},
        {3, 720, plus(50), "左辺≠右辺 だから　解ではない。", key},
        {5, 720, plus(50), "答　4"},
    });
}

// ---- Practice and textbook answers ------------------------------------

std::vector<Row> makeSolutionCheck(Engine& e) {
    const s1::SolutionCheck problem = s1::drawSolutionCheck(e);
    s1::fillPracticeTables(e, problem);
    return s1::practiceRows(e);
}

void practicePage(Engine& e) {
    pageClear(e, 1320);
    Page page;
    practiceLoop(e, page, 0, 0, makeSolutionCheck, RowWaits::AsGiven);
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 74, plus(50), "教科書P88 問2 をやろう。", key},
        {7, 40, plus(50), "ア x=3を代入して"},
        {0, 94, plus(50), "左辺=3-8=-5"},
        {0, 94, plus(50), "右辺=5"},
        {3, 40, plus(50), "左辺≠右辺 だから　解ではない。", key},
        {7, 680, 30, "イ x=3を代入して"},
        {0, 734, plus(50), "左辺=4*3-7=12-7=5"},
        {0, 734, plus(50), "右辺=5"},
        {3, 680, plus(50), "左辺=右辺 だから　解である。", key},
        {7, 680, plus(60), "ウ x=3を代入して"},
        {0, 734, plus(50), "左辺=3+2=5"},
        {0, 734, plus(50), "右辺=3*3-4=9-4=5"},
        {3, 680, plus(50), "左辺=右辺 だから　解である。", key},
        {5, 680, plus(50), "答　イとウ"},
    });
}

}  // namespace

void section1(Engine& e) {
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, plus(65), "1 等式を成り立たせる文字の値を調べよう。"},
            {0, 76, plus(65), "2 方程式とその解の意味を知り、代入して解をさがそう。"},
        },
        "①P87　②例1　③練習　④終了",
        {farePage, definitionsPage, practicePage},
    });
}

}  // namespace solvara
