// Section 4: solving by transposition. The key-stepped move of "-15" to the
// other side, three drills (a constant moved, an x term moved, both moved),
// the solving procedure, the answers of 問1–問3 and a student's explanation.

#include "lessons_a/section4.h"

#include "engine/pages/random.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/pages/slots.h"
#include "engine/prompts/prompts.h"
#include "engine/typesetter/formula.h"
#include "lessons_a/sections.h"

namespace solvara {

namespace transposition {

using namespace lesson;

namespace {

// -n when a fresh INT(RND·2) + 1 is 1.
float maybeNegated(Engine& e, float n) { return randomIn(e, 1, 2) == 1 ? -n : n; }

struct Slot {
    float coefficient, constant;
};

// The four slots of a drill: left side, right side, moved terms, and the
// collected result (x terms on the left, numbers on the right).
void setSlots(Engine& e, Slot left, Slot right, Slot moved) {
    setSlot(e, 1, left.coefficient, left.constant);
    setSlot(e, 2, right.coefficient, right.constant);
    setSlot(e, 3, moved.coefficient, moved.constant);
    setSlot(e, 4, left.coefficient + moved.coefficient, right.constant + moved.constant);
}

// Texts of the slots once they are set; rowText(1) is the answer.
void slotRowTexts(Engine& e) {
    slotTexts(e, 1, 20);
    e.termText(3) = signedText(e.termText(3), e.practiceNum(3));
    blankZeroConstants(e, 1, 3);
    e.rowText(1) = slotAnswerText(e, 4);
}

// The solution rows from the slot texts: the equation, the terms moved, the
// terms collected, the answer.
std::vector<std::string> slotRows(Engine& e, const std::string& indent) {
    return {
        indent + e.termText(1) + e.constText(1) + "=" + e.termText(2) + e.constText(2),
        e.termText(1) + e.termText(3) + "=" + withoutLeadingPlus(e, e.constText(2)) + e.constText(3),
        e.termText(4) + "=" + withoutLeadingPlus(e, e.constText(4)),
        "x=" + e.rowText(1),
    };
}

}  // namespace

std::pair<float, float> keepApart(float a1, float a2) {
    if (a1 - a2 == 0 || a1 - a2 == 1) return {a1 + 2, a2};
    if (a2 - a1 == 0 || a2 - a1 == 1) return {a1, a2 + 2};
    return {a1, a2};
}

ConstantMove drawConstantMove(Engine& e) {
    const float b1 = maybeNegated(e, static_cast<float>(randomIn(e, 1, 9)));
    const float b2 = maybeNegated(e, static_cast<float>(randomIn(e, 2, 10)));
    return {b1, b2};
}

std::vector<std::string> constantMoveRows(Engine& e, const ConstantMove& n) {
    e.constNum(1) = n.b1;
    e.constNum(2) = n.b2;
    e.constNum(3) = -n.b1;
    e.constNum(4) = n.b2 - n.b1;
    numbersToTexts(e);
    e.constText(1) = signedText(e.constText(1), e.constNum(1));
    e.constText(3) = signedText(e.constText(3), e.constNum(3));
    return {
        "　 x" + e.constText(1) + "=" + e.constText(2),
        "x=" + e.constText(2) + e.constText(3),
        "x=" + e.constText(4),
    };
}

namespace {

std::pair<float, float> drawCoefficients(Engine& e) {
    const float a1 = static_cast<float>(randomIn(e, 1, 9));
    const float a2 = static_cast<float>(randomIn(e, 1, 9));
    return keepApart(a1, a2);
}

}  // namespace

XTermMove drawXTermMove(Engine& e) {
    const auto [a1, a2] = drawCoefficients(e);
    const float k = static_cast<float>(randomIn(e, 1, 9));
    return {a1, a2, k};
}

std::vector<std::string> xTermMoveRows(Engine& e, const XTermMove& n) {
    setSlots(e, {n.a1, 0}, {n.a2, n.k * (n.a1 - n.a2)}, {-n.a2, 0});
    slotRowTexts(e);
    return slotRows(e, "　 ");
}

BothMoves drawBothMoves(Engine& e) {
    const auto [a1, a2] = drawCoefficients(e);
    const float signedA2 = maybeNegated(e, a2);
    const float b1 = static_cast<float>(randomIn(e, 1, 9));
    const float b2 = -static_cast<float>(randomIn(e, 1, 9));
    return {a1, signedA2, b1, b2};
}

std::vector<std::string> bothMovesRows(Engine& e, const BothMoves& n) {
    setSlots(e, {n.a1, n.b1}, {n.a2, n.b2}, {-n.a2, -n.b1});
    slotRowTexts(e);
    return slotRows(e, "");
}

}  // namespace transposition

namespace {

using namespace lesson;
using namespace lesson::notation;
namespace model = transposition;

// ---- The moving term -----------------------------------------------------

// Where a piece of the moving term is drawn: P1 (the start of "-15" in the
// first equation) plus an offset, P3 (the start of "+15" in the second), or
// right where the previous piece of the same step ended.
struct Spot {
    enum class From { P1, P3, PreviousPiece } from = From::P1;
    float dx = 0, dy = 0;
};
Spot fromP1(float dx, float dy) { return {Spot::From::P1, dx, dy}; }
const Spot kAtP3{Spot::From::P3};
const Spot kFollowing{Spot::From::PreviousPiece};

struct Piece {
    std::string text;
    int color;
    Spot at;
};
using MoveStep = std::vector<Piece>;

// The term as it stands after a step: each run of pieces drawn one after
// another is one text at the place where its first piece began.
struct Run {
    std::string text;
    float x, y;
};
using Picture = std::vector<Run>;

Picture drawPieces(Engine& e, const MoveStep& step, Point p1, Point p3) {
    Picture picture;
    float x = 0, y = 0;
    for (const Piece& piece : step) {
        if (piece.at.from == Spot::From::PreviousPiece && !picture.empty()) {
            picture.back().text += piece.text;
        } else {
            const Point anchor = piece.at.from == Spot::From::P3 ? p3 : p1;
            x = anchor.x + piece.at.dx;
            y = anchor.y + piece.at.dy;
            picture.push_back({piece.text, x, y});
        }
        x = drawFormulaAt(e, x, y, piece.color, piece.text);
    }
    return picture;
}

// Erasing is drawing the same texts again at the same places in white.
void erasePicture(Engine& e, const Picture& picture) {
    for (const Run& run : picture) drawFormulaAt(e, run.x, run.y, kWhite, run.text);
}

// The term drops below its equation, slides right while it turns colour 3
// from its last digit forward, changes its sign on the way and comes to rest
// as the highlighted "+15" of the second equation. One step per key.
void moveTerm(Engine& e, Point p1, Point p3) {
    const std::vector<MoveStep> steps = {
        {{"-15", 0, fromP1(0, 0)}},
        {{"-15", 0, fromP1(0, 25)}},
        {{"-15", 0, fromP1(0, 50)}},
        {{"-15", 0, fromP1(27, 50)}},
        {{"-1", 0, fromP1(54, 50)}, {"5", 3, kFollowing}},
        {{"-", 0, fromP1(81, 50)}, {"15", 3, kFollowing}},
        {{"+15", 3, fromP1(108, 50)}},
        {{"+15", 3, fromP1(135, 50)}},
        {{"+15", 3, fromP1(135, 75)}},
        {{"-15", 3, fromP1(0, 0)}, {"+15", 3, kAtP3}},
    };
    Picture shown;
    for (const MoveStep& step : steps) {
        erasePicture(e, shown);
        shown = drawPieces(e, step, p1, p3);
        anyKeyPrompt(e);
    }
}

// ---- Pages -----------------------------------------------------------------

// ① P92: from the properties of equalities to transposition.
void transpositionPage(Engine& e) {
    pageClear(e);
    constexpr float c = 40 + 216;
    Page page;
    runRows(e, page, {
        {3, 40, 30, "Q ①と②をくらべて、わかることは?"},
        {0, c - 135, plus(50), "4x-15=9"},
        {7, after, same, "…①"},
        {0, 40, plus(50), "4x-15+15=9+15"},
        {0, c - 54, plus(50), "4x=9+15"},
        {7, after, same, "…②"},
        {0, 202, plus(50), "4x=24"},
        {5, c - 27, plus(50), "x=6", key},
        {3, 40, plus(50), "左辺の-15が+15となって右辺に移った。", key},
        {5, 40, plus(70), "<移項>"},
        {0, 121, plus(50), "4x"},
    });
    const Point p1{page.endX, page.rowY};
    runRows(e, page, {
        {0, after, same, "-15"},
        {0, after, same, "=9"},
        {0, 202, plus(100), "4x=9"},
    });
    const Point p3{page.endX, page.rowY};
    runRows(e, page, {{0, after, same, "+15", key}});
    moveTerm(e, p1, p3);
    // On the row the term travelled along.
    runRows(e, page, {{5, 40, p3.y - 50, "符号を変えて、項を他の辺に移すこと"}});
}

// A drill page: its heading, then problems from (40, 90) until 1 is entered.
void drillPage(Engine& e, Page& page, const std::vector<Row>& heading, const ProblemMaker& makeProblem) {
    pageClear(e);
    runRows(e, page, heading);
    practiceLoop(e, page, 40, 90, makeProblem);
}

// ② 例1: a constant is moved.
std::vector<Row> constantProblem(Engine& e) {
    const auto rows = model::constantMoveRows(e, model::drawConstantMove(e));
    return {
        {0, 40, 90, rows[0]},
        {0, 100, plus(50), rows[1]},
        {5, 100, plus(50), rows[2]},
    };
}

void constantExample(Engine& e) {
    Page page;
    drillPage(e, page, {{3, 40, 30, "例1 "}, {0, after, same, "次の方程式を解きなさい。"}}, constantProblem);
    runRows(e, page, {
        {3, 100, plus(60), "数を移項して解く。", key},
        {7, 40, plus(60), "教科書P92 問1 をやろう。", key},
    });
    runAnswers(e, page, Column{40, 121}, {
        {"(1)", plus(60), {"5x+8=23", {"5x=23-8", 50}, {"5x=15", 50}, {"x=ﾀ15/5ﾀ", 70}, {"x=3", 70}}, key},
    });
    runAnswers(e, page, Column{520, 601}, {
        {"(2)", 30, {"6x-5=-17", {"6x=-17+5", 50}, {"6x=-12", 50}, {"x=ﾀ-12/6ﾀ", 70}, {"x=-2", 70}}, key},
        {"(3)", plus(60), {"-2x+3=5", {"-2x=5-3", 50}, {"-2x=2", 50}, {"x=ﾀ2/-2ﾀ", 70}, {"x=-1", 70}}, key},
    });
    runAnswers(e, page, Column{840, 921}, {
        {"(4)", 90, {"-4x+19=11", {"-4x=11-19", 50}, {"-4x=-8", 50}, {"x=ﾀ-8/-4ﾀ", 70}, {"x=2", 70}}},
    });
}

// ③ 例2: an x term is moved.
std::vector<Row> xTermProblem(Engine& e) {
    const auto rows = model::xTermMoveRows(e, model::drawXTermMove(e));
    return {
        {0, 40, 90, rows[0]},
        {0, 100, plus(50), rows[1]},
        {0, 100, plus(50), rows[2]},
        {5, 100, plus(50), rows[3]},
    };
}

void xTermExample(Engine& e) {
    Page page;
    drillPage(e, page, {{3, 40, 30, "例2 "}, {0, after, same, "次の方程式を解きなさい。"}}, xTermProblem);
    runRows(e, page, {
        {3, 100, plus(60), "文字の項を移項して解く。", key},
        {7, 40, plus(60), "教科書P93 問2 をやろう。", key},
    });
    runAnswers(e, page, Column{40, 121}, {
        {"(1)", plus(60),
         {"10x=6x-8", {"10x-6x=-8", 50}, {"4x=-8", 50}, {"x=ﾀ-8/4ﾀ", 70}, {"=-2", after, same, 5}}, key},
    });
    runAnswers(e, page, Column{520, 601}, {
        {"(2)", 30, {"3x=5x-15", {"3x-5x=-15", 50}, {"-2x=-15", 50}, {"x=ﾀ-15/-2ﾀ", 70}, {"x=ﾀ15/2ﾀ", 70}}, key},
        {"(3)", plus(80), {"4x=50-6x", {"4x+6x=50", 50}, {"10x=50", 50}, {"x=ﾀ50/10ﾀ", 70}, {"x=5", 70}}, key},
    });
    runAnswers(e, page, Column{840, 921}, {
        {"(4)", 30, {"-8x=3-5x", {"-8x+5x=3", 50}, {"-3x=3", 50}, {"x=ﾀ3/-3ﾀ", 70}, {"x=-1", 70}}},
    });
}

// ④ 例題1: x terms and constants on both sides, then the procedure.
std::vector<Row> bothSidesProblem(Engine& e) {
    const auto rows = model::bothMovesRows(e, model::drawBothMoves(e));
    return answerRows(100, {
        {rows[0], 100, 90},
        {rows[1], 70},
        {rows[2], 70},
        {rows[3], 70},
    });
}

void procedureExample(Engine& e) {
    Page page;
    drillPage(e, page, {{0, 40, 30, "例題1 次の方程式を解きなさい。"}}, bothSidesProblem);
    anyKeyPrompt(e);
    runRows(e, page, {
        {5, 600, 30, "   <方程式を解く手順>"},
        {3, 660, 90, "① xをふくむ項を左辺に、"},
        {3, 714, plus(50), "数の項を右辺に移項する。"},
        {3, 660, plus(70), "② ax=b の形にする。"},
        {3, 660, plus(70), "③ 両辺をxの係数aでわる。", key},
        {7, 44, 600, "教科書P93 問3 をしなさい。"},
    });
}

// ⑤ 問3.
void answers3(Engine& e) {
    pageClear(e);
    Page page;
    runRows(e, page, {{3, 40, 30, "問3 解答", key}});
    runAnswers(e, page, Column{40, 121}, {
        {"(1)", plus(60), {"9x+2=4x+17", {"9x-4x=17-2", 50}, {"5x=15", 50}, {"x=ﾀ15/5ﾀ", 60}, {"x=3", 60}}, key},
        {"(2)", plus(60), {"5x-8=-17-4x", {"5x+4x=-17+8", 50}, {"9x=-9", 50}, {"x=ﾀ-9/9ﾀ", 60}, {"x=-1", 60}}, key},
    });
    runAnswers(e, page, Column{600, 681}, {
        {"(3)", 30, {"1-x=5x-2", {"-x-5x=-2-1", 50}, {"-6x=-3", 50}, {"x=ﾀ-3/-6ﾀ", 70}, {"x=ﾀ1/2ﾀ", 70}}, key},
        {"(4)", plus(60), {"12x-3=7x-3", {"12x-7x=-3+3", 50}, {"5x=0", 50}, {"x=ﾀ0/5ﾀ", 70}, {"x=0", 60}}},
    });
}

// ⑥ 説明しよう.
void explanation(Engine& e) {
    pageClear(e);
    Page page;
    runRows(e, page, {
        {3, 40, 30, "方程式 8=3x+5 の解き方"},
        {7, 94, plus(50), "<ひなたさんの説明>"},
        {0, 40, plus(50), "左辺と右辺を入れかえてから、"},
        {0, 40, plus(50), "左辺を文字の項だけに、"},
        {0, 40, plus(50), "右辺を数の項だけに"},
        {0, 40, plus(50), "するために、5を移項して、"},
        {0, 40, plus(50), "方程式を解きました。"},
        {7, 560, 30, "(1)"},
        {3, after, same, "ひなたさんの方法で解こう。", key},
        {0, 614, plus(50), "   8=3x+5", key},
        {0, 614, plus(50), "3x+5=8", key},
        {0, 614, plus(50), "  3x=8-5", key},
        {0, 614, plus(50), "  3x=3", key},
        {5, 614, plus(50), "   x=1", key},
        {7, 560, plus(60), "(2)"},
        {3, after, same, "5を移項できる理由を説明しよう。", key},
        {0, 614, plus(50), "3x+5=8"},
        {5, 614, plus(50), "の両辺から5をひいても、"},
        {5, 614, plus(50), "等式が成り立つから"},
    });
}

}  // namespace

void section4(Engine& e) {
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, plus(65), "移項を使って、手ぎわよく方程式を解こう。"},
        },
        "①P92　②例1　③例２　④例3　⑤問３　⑥説明しよう　⑦終了",
        {transpositionPage, constantExample, xTermExample, procedureExample, answers3, explanation},
    });
}

}  // namespace solvara
