// Section 2: properties of equalities. Four balance-scale tasks, one per
// property, the page on what solving means, the summary, the one-step
// drill, the worked answers of 問4–問7 and one example solved two ways.

#include "lessons_a/section2.h"

#include "engine/graphics/colour_roles.h"
#include "engine/graphics/trig.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "engine/text/text.h"
#include "lessons_a/sections.h"

#include <cmath>
#include <stdexcept>

namespace solvara {

namespace equality {

using namespace lesson;
using namespace lesson::notation;

namespace {

// The box notation of the balance pages.
using namespace colour;
const LabelledBox kWeight{30, 50, kOutline, kWeightFill, "1"};              // one gram
const LabelledBox kEmptySlot{30, 50, kOutline, kErase, ""};                 // also erases what stood there
const LabelledBox kHole{30, 50, kOutline, kErase, "1", kAnswer};            // a gram missing from x
const LabelledBox kLiftedWeight{30, 50, kLiftedOutline, kWeightFill, "1"};  // a gram taken off a pan
const LabelledBox kGreenBox{90, 100, kOutline, kGreenBoxFill, "x"};
const LabelledBox kGreenBoxUnlabelled{90, 100, kOutline, kGreenBoxFill, ""};
const LabelledBox kEmptyGreenBox{90, 100, kOutline, kErase, ""};
const LabelledBox kWideGreenBox{120, 100, kOutline, kGreenBoxFill, "x"};
const LabelledBox kThirdBox{80, 100, kOutline, kGreenBoxFill, "ﾀx/3ﾀ"};
const LabelledBox kEmptyThirdBox{80, 100, kOutline, kErase, ""};

Point pointAt(Engine& e, int i) { return {e.pointX(i), e.pointY(i)}; }

void setPivot(Engine& e, float x, float y) {
    e.pointX(0) = x;
    e.pointY(0) = y;
}

// `rows` rows of `perRow` boxes standing on baseY, from x.
void drawStack(Engine& e, const LabelledBox& box, int perRow, int rows, float x, float baseY) {
    for (int j = 1; j <= rows; ++j) drawLabelledBoxes(e, box, perRow, x, baseY - box.h * static_cast<float>(j));
}

}  // namespace

// ---- The balance scale -------------------------------------------------

BalancePoints balancePoints(Point pivot, float beamAngle) {
    const float x0 = pivot.x, y0 = pivot.y, r = kArmLength;
    BalancePoints p{};
    p[0] = pivot;
    // The left end is opposite the right one: cos(π+θ) = -cos θ, sin(π+θ) = -sin θ,
    // without the rounding of π (a level beam is exactly level).
    p[1] = {x0 - r * cosine(beamAngle), y0 + r * sine(beamAngle)};
    p[2] = {x0 + r * cosine(beamAngle), y0 - r * sine(beamAngle)};
    p[3] = {p[1].x - 120, p[1].y - 30};
    p[4] = {p[1].x + 120, p[3].y};
    p[5] = {p[2].x - 120, p[2].y - 30};
    p[6] = {p[2].x + 120, p[5].y};
    p[7] = {x0 - 30, y0 + r * sine(kPi / 12)};
    p[8] = {x0 + 30, p[7].y};
    return p;
}

// The left edge stands 340 left of the pivot, clear of the "。" that ends the
// task titles above the balance of tasks 2 to 4; nothing of the balance or its
// loads reaches left of the left pan (pivot − 275).
Area balanceArea(Point pivot) { return {pivot.x - 340, pivot.y - 230, pivot.x + 380, pivot.y + 100}; }

void drawBalance(Engine& e, float beamAngle) {
    const Point pivot = pointAt(e, 0);
    const Area area = balanceArea(pivot);
    e.layer.box(area.x1, area.y1, area.x2, area.y2, kWhite);

    const BalancePoints p = balancePoints(pivot, beamAngle);
    for (int i = 0; i < static_cast<int>(p.size()); ++i) {
        e.pointX(i) = p[i].x;
        e.pointY(i) = p[i].y;
    }

    drawStrokes(e, 12, {
        {p[1], p[2], 4},                  // beam
        {p[3], {p[4].x, p[3].y}, 7},      // left pan
        {p[5], {p[6].x, p[5].y}, 7},      // right pan
        {p[1], {p[1].x, p[3].y}, 7},      // left hanger
        {p[2], {p[2].x, p[5].y}, 7},      // right hanger
    });
    // The fulcrum, the loads and the page after the balance are drawn in 3.
    e.layer.setDrawWidth(3);
    e.layer.polyline({p[0], p[7], {p[8].x, p[7].y}}, 5, 4);  // fulcrum
}

void drawLoad1(Engine& e) {
    const Point p1 = pointAt(e, 1), p3 = pointAt(e, 3), p5 = pointAt(e, 5);
    drawLabelledBox(e, kGreenBox, p3.x, p3.y - 100);
    drawLabelledBoxes(e, kEmptySlot, 3, p1.x + 30, p3.y - 50);
    drawStack(e, kWeight, 5, 2, p5.x + 45, p5.y);
}

void drawLoad2(Engine& e) {
    const Point p3 = pointAt(e, 3), p5 = pointAt(e, 5);
    drawLabelledBox(e, kWideGreenBox, p3.x, p3.y - 100);
    drawLabelledBox(e, kHole, p3.x + 90, p3.y - 50);
    drawLabelledBox(e, kHole, p3.x + 90, p3.y - 100);
    drawStack(e, kWeight, 5, 1, p5.x + 30, p5.y);
}

void drawLoad3(Engine& e) {
    const Point p3 = pointAt(e, 3), p5 = pointAt(e, 5);
    drawLabelledBox(e, kGreenBox, p3.x, p3.y - 100);
    drawStack(e, kWeight, 7, 2, p5.x + 15, p5.y);
}

void drawLoad4(Engine& e, int weightRows) {
    const Point p3 = pointAt(e, 3), p5 = pointAt(e, 5);
    drawLabelledBoxes(e, kThirdBox, 3, p3.x, p3.y - 100);
    drawStack(e, kWeight, 5, weightRows, p5.x + 45, p5.y);
}

// ---- Animations ---------------------------------------------------------

float frameAngle(Tilt tilt, int k) {
    const float step = static_cast<float>(k) * kPi / 96;
    switch (tilt) {
        case Tilt::Right: return -step;
        case Tilt::Left: return step;
        case Tilt::LevelFromRight: return -kPi / 12 + step;
        case Tilt::LevelFromLeft: return kPi / 12 - step;
    }
    throw std::invalid_argument("unknown tilt");
}

void animate(Engine& e, Tilt tilt, const std::function<void(Engine&)>& load) {
    for (int k = 0; k < kFrames; ++k) {
        drawBalance(e, frameAngle(tilt, k));
        load(e);
        e.layer.pause();
    }
}

// ---- The one-step drill ------------------------------------------------

PracticeNumbers drawPracticeNumbers(const std::function<float()>& rnd) {
    // INT(RND*n)+m, uniform over m..m+n-1.
    const auto pick = [&rnd](int n, int m) { return static_cast<int>(std::floor(static_cast<double>(rnd()) * n)) + m; };
    const auto signed_ = [&pick](int v) { return pick(2, 0) == 0 ? -v : v; };
    PracticeNumbers n{};
    n.a = pick(7, 2);
    n.b = signed_(pick(9, 1));
    n.c = signed_(pick(8, 2));
    n.d = signed_(pick(8, 1));
    return n;
}

std::array<std::string, 3> practiceRows(Engine& e, int form, const PracticeNumbers& n) {
    e.practiceNum(1) = static_cast<float>(n.a);
    e.practiceNum(2) = static_cast<float>(n.b);
    e.practiceNum(3) = static_cast<float>(n.b - n.a);
    e.practiceNum(4) = static_cast<float>(n.b + n.a);
    e.practiceNum(5) = static_cast<float>(-n.a);
    e.practiceNum(11) = static_cast<float>(n.c);
    e.practiceNum(12) = static_cast<float>(n.d);
    e.practiceNum(13) = static_cast<float>(n.c * n.d);
    e.practiceNum(16) = static_cast<float>(n.c);
    numbersToTexts(e);

    e.fracNum = 1;
    e.fracDen = static_cast<float>(n.c);
    reduceFraction(e);
    e.practiceText(15) = e.fracText;
    if (n.c < 0) e.practiceText(16) = "(" + e.practiceText(16) + ")";

    const auto text = [&e](int i) { return e.practiceText(i); };
    switch (form) {
        case 1:
            return {"x+" + text(1) + "=" + text(2), "x+" + text(1) + text(5) + "=" + text(2) + text(5),
                    "x=" + text(3)};
        case 2:
            return {"x-" + text(1) + "=" + text(2),
                    "x-" + text(1) + "+" + text(1) + "=" + text(2) + "+" + text(1), "x=" + text(4)};
        case 3:
            return {text(15) + "ﾀx=" + text(12), text(15) + "ﾀx*" + text(16) + "=" + text(12) + "*" + text(16),
                    "x=" + text(13)};
        case 4:
            return {text(11) + "x=" + text(13),
                    "ﾀ" + text(11) + "x/" + text(11) + "ﾀ=ﾀ" + text(13) + "/" + text(11) + "ﾀ", "x=" + text(12)};
    }
    throw std::invalid_argument("practice form out of range");
}

// ---- Task 1: taking away from both sides --------------------------------

void task1(Engine& e) {
    Page page;
    pageClear(e, 1320);
    setPivot(e, 880, 450);
    const float y0 = e.pointY(0);
    runRows(e, page, {
        {0, 40, 30, "課題1　緑の箱と3g,10gのおもりを。てんびんにのせると"},
        {0, 121, plus(50), "つりあいました。緑の箱の重さは何gですか。"},
    });
    drawBalance(e, 0);
    drawLoad1(e);
    drawLabelledBoxes(e, kWeight, 3, pointAt(e, 1).x + 30, pointAt(e, 3).y - 50);
    drawLabelledBox(e, kGreenBoxUnlabelled, pointAt(e, 3).x, pointAt(e, 3).y - 100);
    anyKeyPrompt(e);

    runRows(e, page, {
        {3, 40, plus(50), "<解答>"},
        {0, 40, plus(50), "緑の箱の重さをxgとすると、"},
        {0, 94, plus(50), "x+3=10"},
    });
    drawLabelledBox(e, kGreenBox, pointAt(e, 3).x, pointAt(e, 3).y - 100);
    anyKeyPrompt(e);

    drawLoad1(e);
    drawLabelledBoxes(e, kLiftedWeight, 3, pointAt(e, 1).x + 30, y0 - kLiftHeight);
    anyKeyPrompt(e);
    animate(e, Tilt::Right, drawLoad1);

    runRows(e, page, {{0, 40, plus(50), "x+3-3<10", key}});
    for (int i = 0; i < 3; ++i) {
        const float x = pointAt(e, 5).x + 45 + 30 * static_cast<float>(i);
        drawLabelledBox(e, kEmptySlot, x, pointAt(e, 5).y - 100);
        drawLabelledBox(e, kLiftedWeight, x, y0 - kLiftHeight);
        anyKeyPrompt(e);
    }
    animate(e, Tilt::LevelFromRight, [](Engine& e) {
        drawLoad1(e);
        drawLabelledBoxes(e, kEmptySlot, 3, pointAt(e, 5).x + 45, pointAt(e, 5).y - 100);
    });

    runRows(e, page, {
        {3, 40, plus(50), "x+3-3=10-3", key},
        {3, 40, plus(50), "    x=7", key},
        {5, 40, plus(150), "2 等式の両辺から同じ数をひいても、等式は成り立つ。"},
        {3, 94, plus(50), "A=B ならば A-C=B-C"},
    });
}

// ---- Task 2: adding to both sides -----------------------------------------

namespace {

// The two grams that fill the holes of x, on the left pan.
void drawLeftFillers(Engine& e) {
    const Point p3 = pointAt(e, 3);
    drawLabelledBox(e, kWeight, p3.x + 210, p3.y - 50);
    drawLabelledBox(e, kWeight, p3.x + 210, p3.y - 100);
}

// The i-th of the two grams added to the right pan (i = 1, 2).
void drawRightAdded(Engine& e, int i) {
    const Point p5 = pointAt(e, 5);
    drawLabelledBox(e, kWeight, p5.x + 210, p5.y - 50 * static_cast<float>(i));
}

}  // namespace

void task2(Engine& e) {
    Page page;
    pageClear(e, 1320);
    setPivot(e, 840, 300);
    runRows(e, page, {{0, 40, 30, "課題2　xの値を求めなさい。"}});
    drawBalance(e, 0);
    drawLoad2(e);
    runRows(e, page, {{0, 94, plus(50), "x-2=5", key}});

    drawLeftFillers(e);
    anyKeyPrompt(e);
    animate(e, Tilt::Left, [](Engine& e) {
        drawLoad2(e);
        drawLeftFillers(e);
    });

    runRows(e, page, {{0, 40, plus(50), "x-2+2>5", key}});
    for (int i = 1; i <= 2; ++i) {
        drawRightAdded(e, i);
        anyKeyPrompt(e);
    }
    animate(e, Tilt::LevelFromLeft, [](Engine& e) {
        drawLoad2(e);
        drawLeftFillers(e);
        drawRightAdded(e, 1);
        drawRightAdded(e, 2);
    });

    runRows(e, page, {
        {3, 40, plus(50), "x-2+2=5+2", key},
        {5, 40, plus(50), "    x=7", key},
        {5, 40, plus(150), "1 等式の両辺に同じ数をたしても、等式は成り立つ。"},
        {3, 94, plus(50), "A=B ならば A+C=B+C"},
    });
}

// ---- Task 3: dividing both sides -----------------------------------------

namespace {

// The place of the second x once it is taken away.
void drawTakenX(Engine& e) {
    const Point p3 = pointAt(e, 3);
    drawLabelledBox(e, kEmptyGreenBox, p3.x + 90, p3.y - 100);
}

// The upper row of grams taken off the right pan.
void drawTakenRow(Engine& e) {
    const Point p5 = pointAt(e, 5);
    drawLabelledBoxes(e, kEmptySlot, 7, p5.x + 15, p5.y - 100);
}

}  // namespace

void task3(Engine& e) {
    Page page;
    pageClear(e, 1320);
    setPivot(e, 840, 300);
    runRows(e, page, {{0, 40, 30, "課題3　xの値を求めなさい。"}});
    drawBalance(e, 0);
    drawLoad3(e);
    drawLabelledBox(e, kGreenBox, pointAt(e, 3).x + 90, pointAt(e, 3).y - 100);
    runRows(e, page, {{0, 94, plus(50), "2x=14", key}});

    drawTakenX(e);
    anyKeyPrompt(e);
    animate(e, Tilt::Right, [](Engine& e) {
        drawLoad3(e);
        drawTakenX(e);
    });

    runRows(e, page, {{0, 67, plus(70), "ﾀ2x/2ﾀ<14", key}});
    drawTakenRow(e);
    anyKeyPrompt(e);
    animate(e, Tilt::LevelFromRight, [](Engine& e) {
        drawLoad3(e);
        drawTakenX(e);
        drawTakenRow(e);
    });

    runRows(e, page, {
        {3, 67, plus(70), "ﾀ2x/2ﾀ=ﾀ14/2ﾀ", key},
        {5, 40, plus(60), "   x=7", key},
        {5, 40, plus(150), "4 等式の両辺を同じ数でわっても、等式は成り立つ。"},
        {3, 94, plus(70), "A=B ならば ﾀA/Cﾀ=ﾀB/Cﾀ"},
    });
}

// ---- Task 4: multiplying both sides ---------------------------------------

void task4(Engine& e) {
    Page page;
    pageClear(e, 1320);
    setPivot(e, 840, 300);
    runRows(e, page, {{0, 40, 30, "課題4　xの値を求めなさい。"}});
    drawBalance(e, 0);
    const Point p3 = pointAt(e, 3), p5 = pointAt(e, 5);
    drawLabelledBox(e, kThirdBox, p3.x, p3.y - 100);
    drawLabelledBox(e, kEmptyThirdBox);
    drawLabelledBox(e, kEmptyThirdBox);
    drawStack(e, kWeight, 5, 1, p5.x + 45, p5.y);
    runRows(e, page, {{0, 94, plus(90), "ﾀx/3ﾀ=5", key}});

    drawLoad4(e, 1);
    anyKeyPrompt(e);
    animate(e, Tilt::Left, [](Engine& e) { drawLoad4(e, 1); });

    runRows(e, page, {{0, 67, plus(80), "ﾀx/3ﾀ*3>5", key}});
    drawLoad4(e, 3);
    anyKeyPrompt(e);
    animate(e, Tilt::LevelFromLeft, [](Engine& e) { drawLoad4(e, 3); });

    runRows(e, page, {
        {0, 67, plus(80), "ﾀx/3ﾀ*3=5*3", key},
        {5, 67, plus(50), "  x=15", key},
        {5, 40, plus(150), "3 等式の両辺に同じ数をかけても、等式は成り立つ。"},
        {3, 94, plus(50), "A=B ならば A*C=B*C"},
    });
}

// ---- What solving means, and the summary ----------------------------------

void solvingPage(Engine& e) {
    runPage(e, {
        {5, 40, 30, "方程式を解く"},
        {0, after, same, "…方程式の解を求めること"},
        {0, 40, plus(70), "例　次の"},
        {3, after, same, "方程式を解き"},
        {0, after, same, "なさい。"},
        {0, 158, plus(50), "x+3=10", key},
        {5, 185, plus(120), "x=7", key},
        {0, 104, plus(-60), "x+3"},
        {3, after, same, "-3"},
        {0, after, same, "=10"},
        {3, after, same, "-3", key},
        {3, 40, plus(120), "方程式を解くとは、式を変形して"},
        {5, 40, plus(50), "x=□"},
        {0, after, same, "の形にすること。", key},
        {0, 40, plus(50), "変形に使うのが"},
        {5, after, same, "等式の性質"},
        {5, 40, plus(90), "2 等式の両辺から同じ数をひいても、等式は成り立つ。"},
        {3, 94, plus(50), "A=B ならば A-C=B-C"},
    });
}

void summaryPage(Engine& e) {
    runPage(e, 1320, {
        {5, 40, 30, "<等式の性質>"},
        {3, 40, plus(60), "1 等式の両辺に同じ数をたしても、等式は成り立つ。"},
        {0, 94, plus(50), "A=B ならば A+C=B+C"},
        {3, 40, plus(60), "2 等式の両辺から同じ数をひいても、等式は成り立つ。"},
        {0, 94, plus(50), "A=B ならば A-C=B-C"},
        {3, 40, plus(60), "3 等式の両辺に同じ数をかけても、等式は成り立つ。"},
        {0, 94, plus(50), "A=B ならば A*C=B*C"},
        {3, 40, plus(60), "4 等式の両辺を同じ数でわっても、等式は成り立つ。"},
        {0, 94, plus(70), "A=B ならば ﾀA/Cﾀ=ﾀB/Cﾀ  (C≠0)"},
        {3, 40, plus(60), "5 等式の両辺を入れかえても、等式は成り立つ。"},
        {0, 94, plus(50), "A=B ならば B=A"},
    });
}

// ---- The drill ------------------------------------------------------------

void practicePage(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {{0, 40, 30, "練習　次の方程式を解きなさい。"}});
    // The four forms take turns, from the first.
    practiceLoop(e, page, 0, 90, [](Engine& e, int problem) -> std::vector<Row> {
        const PracticeNumbers n = drawPracticeNumbers([&e] { return e.rnd(); });
        const auto rows = practiceRows(e, problem % 4 + 1, n);
        return {
            {0, 127, 110, rows[0]},
            {0, 100, plus(80), rows[1]},
            {5, 154, plus(80), rows[2]},
        };
    });
    anyKeyPrompt(e);
    runRows(e, page, {
        {7, 40, plus(50), "教科書P90,91"},
        {7, 40, plus(50), "問4,5,6,7　をやろう。"},
    });
}

// ---- Worked answers of 問4–問7 ------------------------------------------------

void answersPage(Engine& e) {
    const Column left{40, 121}, right{600, 681};
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {{3, left.x, 30, "問4 解答", key}});
    runAnswers(e, page, left, {
        {"(1)", plus(60), {"x-9=3", {"x-9+9=3+9", 50}, {"x=12", 50}}},
        {"(2)", plus(60), {"x-8=-10", {"x-8+8=-10+8", 50}, {"x=-2", 50}}},
        {"(3)", plus(60), {"x-ﾀ1/2ﾀ=ﾀ1/2ﾀ", {"x-ﾀ1/2ﾀ+ﾀ1/2ﾀ=ﾀ1/2ﾀ+ﾀ1/2ﾀ", 70}, {"x=ﾀ2/2ﾀ=1", 70}}, key},
    });
    runRows(e, page, {{3, right.x, 30, "問5 解答"}});
    runAnswers(e, page, right, {
        {"(1)", plus(60), {"x+7=15", {"x+7-7=15-7", 50}, {"x=8", 50}}},
        {"(2)", plus(60), {"x+6=2", {"x+6-6=2-6", 50}, {"x=-4", 50}}},
        {"(3)", plus(60), {"x+1.2=0", {"x+1.2-1.2=-1.2", 70}, {"x=-1.2", 70}}, key},
    });

    pageClear(e, 1320);
    runRows(e, page, {{3, left.x, 30, "問6 解答"}});
    runAnswers(e, page, left, {
        {"(1)", plus(60), {"ﾀx/7ﾀ=3", {"ﾀx/7ﾀ*7=3*7", 70}, {"x=21", afterPlus(60), same}}},
        {"(2)", plus(80), {"ﾀx/4ﾀ=-5", {"ﾀx/4ﾀ*4=-5*4", 70}, {"x=-20", 70}}},
        {"(3)", plus(60), {"-ﾀ1/6ﾀx=2", {"-ﾀ1/6ﾀx*(-6)=2*(-6)", 70}, {"x=-12", 70}}, key},
    });
    runRows(e, page, {{3, right.x, 30, "問7 解答"}});
    runAnswers(e, page, right, {
        {"(1)", plus(60), {"5x=45", {"ﾀ5x/5ﾀ=ﾀ45/5ﾀ", 70}, {"x=9", 70}}},
        {"(2)", plus(60), {"-8x=48", {"ﾀ-8x/-8ﾀ=ﾀ48/-8ﾀ", 70}, {"x=-6", afterPlus(60), same}}},
        {"(3)", plus(70), {"12x=3", {"ﾀ12x/12ﾀ=ﾀ3/12ﾀ", 70}, {"x=ﾀ1/4ﾀ", 70}}},
    });
}

// ---- Example solved two ways ------------------------------------------------

void examplePage(Engine& e) {
    Page page;
    pageClear(e);
    runRows(e, page, {
        {3, 40, 30, "例　"},
        {0, after, same, "次の方程式を解きなさい。"},
        {0, 74, plus(70), "ﾀ2/3ﾀx=8", key},
    });
    // The second solution stands to the right of the equation.
    const Point m{page.endX + 160, page.rowY};

    // Each solution's continuations line up with the end of its heading.
    runRows(e, page, {{3, 40, plus(70), "<解答1>", key}});
    const float e1 = page.endX;
    runRows(e, page, {
        {0, 74, plus(80), "ﾀ2/3ﾀx/", key},
        {0, e1 - 27, same, "ﾀ2/3ﾀ=8/ﾀ2/3ﾀ", key},
        {0, 74, plus(80), "x=8*", key},
        {0, e1, same, "ﾀ3/2ﾀ", key},
        {5, 74, plus(70), "x=12", key},
    });

    runRows(e, page, {{3, m.x, m.y + 70, "<解答2>", key}});
    const float e2 = page.endX;
    runRows(e, page, {
        {0, m.x + 34, plus(80), "ﾀ2/3ﾀx*", key},
        {0, e2 - 27, same, "ﾀ3/2ﾀ=8*ﾀ3/2ﾀ", key},
        {5, m.x + 34, plus(70), "x=12"},
    });
}

}  // namespace equality

void section2(lesson::Engine& e) {
    using namespace lesson;
    using namespace lesson::notation;
    using namespace equality;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 44, plus(65), "方程式を、等式の性質を使って解こう。"},
        },
        "①性質2　②解く　③性１　④性４　⑤性３　⑥まとめ　⑦練習　⑧問４　⑨説明しよう　⑩終了",
        {task1, solvingPage, task2, task3, task4, summaryPage, practicePage, answersPage, examplePage},
    });
}

}  // namespace solvara
