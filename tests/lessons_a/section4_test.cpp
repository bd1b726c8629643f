// Section 4: the three transposition drills (generators and rows), the
// key-stepped move of "-15" (trace and pixels), the sub-menu and a walk
// through every page.

#include "lessons_a/section4.h"

#include "hosts/desktop/desktop_host.h"
#include "engine/pages/rows.h"
#include "engine/typesetter/formula.h"
#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace solvara::transposition;
using lesson::Engine;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::runHeadless;
using testing_support::RunResult;

namespace {

const std::string kEnter = "5926\n4\n";
const std::string kFraction = "ﾀ";

// The value of "12", "-ﾀ8/5ﾀ" or "ﾀ-6/-3ﾀ".
double valueOf(std::string s) {
    double sign = 1;
    if (s.rfind("-" + kFraction, 0) == 0) {
        sign = -1;
        s.erase(0, 1);
    }
    if (s.rfind(kFraction, 0) != 0) return sign * std::stod(s);
    const std::string inner = s.substr(kFraction.size(), s.size() - 2 * kFraction.size());
    const auto slash = inner.find('/');
    return sign * std::stod(inner.substr(0, slash)) / std::stod(inner.substr(slash + 1));
}

// The answer row "x=v" or "x=ﾀn/dﾀ=v": every value after "x=" must agree.
double answerOf(const std::string& row) {
    EXPECT_EQ(row.rfind("x=", 0), 0u) << row;
    std::vector<double> values;
    for (std::size_t from = 2, eq = 0; eq != std::string::npos; from = eq + 1) {
        eq = row.find('=', from);
        values.push_back(valueOf(row.substr(from, eq == std::string::npos ? eq : eq - from)));
    }
    for (double v : values) EXPECT_NEAR(v, values.front(), 1e-9) << row;
    return values.front();
}

}  // namespace

// ---- The drills -------------------------------------------------------------

using Rows = std::vector<std::string>;

TEST(Section4Drills, RowsOfTheListedProblems) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(constantMoveRows(e, {5, -3}), (Rows{"　 x+5=-3", "x=-3-5", "x=-8"}));
    EXPECT_EQ(constantMoveRows(e, {-5, 3}), (Rows{"　 x-5=3", "x=3+5", "x=8"}));
    EXPECT_EQ(xTermMoveRows(e, {5, 3, 4}), (Rows{"　 5x=3x+8", "5x-3x=8", "2x=8", "x=ﾀ8/2ﾀ=4"}));
    EXPECT_EQ(xTermMoveRows(e, {2, 5, 2}), (Rows{"　 2x=5x-6", "2x-5x=-6", "-3x=-6", "x=ﾀ-6/-3ﾀ=2"}));
    // Coefficient 1 is written "x"; the moved term then reads "-x".
    EXPECT_EQ(xTermMoveRows(e, {5, 1, 2}), (Rows{"　 5x=x+8", "5x-x=8", "4x=8", "x=ﾀ8/4ﾀ=2"}));
    EXPECT_EQ(bothMovesRows(e, {7, 2, 3, -5}), (Rows{"7x+3=2x-5", "7x-2x=-5-3", "5x=-8", "x=ﾀ-8/5ﾀ=-ﾀ8/5ﾀ"}));
    // A negated a2 is moved with "+" in front.
    EXPECT_EQ(bothMovesRows(e, {3, -1, 4, -2}), (Rows{"3x+4=-x-2", "3x+x=-2-4", "4x=-6", "x=ﾀ-6/4ﾀ=-ﾀ3/2ﾀ"}));
    // The collected result is kept in slot 4.
    EXPECT_EQ(e.practiceNum(4), 4);
    EXPECT_EQ(e.constNum(4), -6);
}

TEST(Section4Drills, KeepApartMovesCloseCoefficientsByTwo) {
    EXPECT_EQ(keepApart(4, 4), std::make_pair(6.0f, 4.0f));
    EXPECT_EQ(keepApart(5, 4), std::make_pair(7.0f, 4.0f));
    EXPECT_EQ(keepApart(4, 5), std::make_pair(4.0f, 7.0f));
    EXPECT_EQ(keepApart(7, 2), std::make_pair(7.0f, 2.0f));
    for (int a1 = 1; a1 <= 9; ++a1)
        for (int a2 = 1; a2 <= 9; ++a2) {
            const auto [b1, b2] = keepApart(static_cast<float>(a1), static_cast<float>(a2));
            EXPECT_GE(std::fabs(b1 - b2), 2) << a1 << " " << a2;
        }
}

TEST(Section4Drills, FractionEqualsValueTexts) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(lesson::fractionValueText(e, 8, 2), "ﾀ8/2ﾀ=4");
    EXPECT_EQ(lesson::fractionValueText(e, -6, -3), "ﾀ-6/-3ﾀ=2");
    EXPECT_EQ(lesson::fractionValueText(e, 2, 3), "ﾀ2/3ﾀ");
    EXPECT_EQ(lesson::fractionValueText(e, 66, 8), "ﾀ66/8ﾀ=ﾀ33/4ﾀ");
    EXPECT_EQ(lesson::fractionValueText(e, -19, 1), "ﾀ-19/1ﾀ=-19");
}

namespace {

std::set<float> range(int low, int high, bool bothSigns = false) {
    std::set<float> s;
    for (int v = low; v <= high; ++v) {
        s.insert(static_cast<float>(v));
        if (bothSigns) s.insert(static_cast<float>(-v));
    }
    return s;
}

}  // namespace

TEST(Section4Drills, OverManyDrawsRangesHoldAndEveryAnswerSolves) {
    EngineFixture f("", 4);
    Engine& e = f.engine();
    std::set<float> b1s, b2s, xa1s, xa2s, ks, ya1s, ya2s, yb1s, yb2s;
    for (int i = 0; i < 3000; ++i) {
        const ConstantMove c = drawConstantMove(e);
        b1s.insert(c.b1);
        b2s.insert(c.b2);
        ASSERT_EQ(answerOf(constantMoveRows(e, c).back()), c.b2 - c.b1);

        const XTermMove x = drawXTermMove(e);
        xa1s.insert(x.a1);
        xa2s.insert(x.a2);
        ks.insert(x.k);
        ASSERT_GE(std::fabs(x.a1 - x.a2), 2) << x.a1 << " " << x.a2;
        ASSERT_EQ(answerOf(xTermMoveRows(e, x).back()), x.k);

        const BothMoves y = drawBothMoves(e);
        ya1s.insert(y.a1);
        ya2s.insert(y.a2);
        yb1s.insert(y.b1);
        yb2s.insert(y.b2);
        ASSERT_GE(std::fabs(y.a1 - y.a2), 2) << y.a1 << " " << y.a2;
        const double answer = answerOf(bothMovesRows(e, y).back());
        ASSERT_NEAR(y.a1 * answer + y.b1, y.a2 * answer + y.b2, 1e-9) << y.a1 << " " << y.a2 << " " << y.b1;
    }
    EXPECT_EQ(b1s, range(1, 9, true));
    EXPECT_EQ(b2s, range(2, 10, true));
    EXPECT_EQ(xa1s, range(1, 11));  // 1..9, and up to 2 more where the two were close
    EXPECT_EQ(xa2s, range(1, 11));
    EXPECT_EQ(ks, range(1, 9));
    EXPECT_EQ(ya1s, range(1, 11));
    EXPECT_EQ(ya2s, range(1, 11, true));
    EXPECT_EQ(yb1s, range(1, 9));
    EXPECT_EQ(yb2s, range(-9, -1));
}

// ---- The moving term ------------------------------------------------------

namespace {

struct Drawn {
    std::string text;
    double x, y;
    int color;
};

// P1 = (121 + 54, 450): after "4x" on the <移項> row; P3 = (202 + 113, 550): after "4x=9".
const std::vector<std::vector<Drawn>> kSteps = {
    {{"-15", 175, 450, 0}},
    {{"-15", 175, 475, 0}},
    {{"-15", 175, 500, 0}},
    {{"-15", 202, 500, 0}},
    {{"-1", 229, 500, 0}, {"5", 283, 500, 3}},
    {{"-", 256, 500, 0}, {"15", 283, 500, 3}},
    {{"+15", 283, 500, 3}},
    {{"+15", 310, 500, 3}},
    {{"+15", 310, 525, 3}},
    {{"-15", 175, 450, 3}, {"+15", 315, 550, 3}},
};
const std::string kClosing = "符号を変えて、項を他の辺に移すこと";

// Sub-menu "1", the keys of "x=6", the moved-sides row and "+15", then `steps` keys.
std::string transpositionKeys(int steps) { return "1\n" + std::string(static_cast<std::size_t>(3 + steps), 'k'); }

// Formula and key events after the "+15" row of the transposed equation.
std::vector<Event> afterEquations(const RunResult& run) {
    const int start = run.indexOfFormula("+15");
    EXPECT_GE(start, 0);
    std::vector<Event> out;
    for (std::size_t i = static_cast<std::size_t>(start) + 1; i < run.events.size(); ++i)
        if (run.events[i].op() == "formula" || run.events[i].op() == "key") out.push_back(run.events[i]);
    return out;
}

void expectFormula(const Event& ev, const std::string& text, double x, double y, int color) {
    EXPECT_EQ(ev.op(), "formula");
    EXPECT_EQ(ev.str("text"), text);
    EXPECT_EQ(ev.num("x"), x) << text;
    EXPECT_EQ(ev.num("y"), y) << text;
    EXPECT_EQ(ev.num("color"), color) << text;
}

}  // namespace

TEST(Section4Transposition, TenStepsEachErasingThePreviousPicture) {
    const RunResult run = runHeadless(solvara::program(), kEnter + transpositionKeys(10));
    const std::vector<Event> ev = afterEquations(run);
    std::size_t i = 0;
    ASSERT_EQ(ev.at(i++).op(), "key");  // the key after the two equations
    for (std::size_t s = 0; s < kSteps.size(); ++s) {
        SCOPED_TRACE("step " + std::to_string(s));
        if (s > 0) {
            // The whole previous picture, drawn again in white where it began.
            std::string previous;
            for (const Drawn& d : kSteps[s - 1]) previous += d.text;
            expectFormula(ev.at(i++), previous, kSteps[s - 1][0].x, kSteps[s - 1][0].y, 15);
        }
        for (const Drawn& d : kSteps[s]) expectFormula(ev.at(i++), d.text, d.x, d.y, d.color);
        ASSERT_EQ(ev.at(i++).op(), "key");
    }
    expectFormula(ev.at(i++), kClosing, 40, 500, 5);
    // Then straight back to the sub-menu: no further wait of the page.
    EXPECT_EQ(i, ev.size());
}

TEST(Section4Transposition, EveryKeyAdvancesExactlyOneStep) {
    for (int keys = 0; keys <= 10; ++keys) {
        SCOPED_TRACE("keys after the equations: " + std::to_string(keys));
        const RunResult run = runHeadless(solvara::program(), kEnter + transpositionKeys(keys));
        EXPECT_EQ(run.keyCount(), static_cast<int>(lesson::parseKeyScript(kEnter + transpositionKeys(keys)).size()));
        int erases = 0, waits = 0;
        for (const Event& ev : afterEquations(run)) {
            if (ev.op() == "formula" && ev.num("color") == 15) ++erases;
            if (ev.op() == "key") ++waits;
        }
        EXPECT_EQ(waits, 1 + keys);  // the key after "+15", then one per step
        // keys = k: step k is drawn and waiting, having erased k pictures.
        EXPECT_EQ(erases, std::min(keys, 9));
        EXPECT_EQ(run.formulasWith(kClosing).size(), keys == 10 ? 1u : 0u);
    }
}

namespace {

// The pixels of the page that are not pure white.
std::vector<bool> inkOf(lesson::Raster& r) {
    cairo_surface_flush(r.surface());
    const unsigned char* data = cairo_image_surface_get_data(r.surface());
    const int stride = cairo_image_surface_get_stride(r.surface());
    std::vector<bool> ink;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const unsigned char* p = data + y * stride + x * 4;
            ink.push_back(p[0] != 255 || p[1] != 255 || p[2] != 255);
        }
    return ink;
}

// The pixels a picture covers when drawn alone on a blank page.
std::vector<bool> inkOf(const std::vector<Drawn>& picture) {
    EngineFixture f;
    for (const Drawn& d : picture)
        lesson::drawFormulaAt(f.engine(), static_cast<float>(d.x), static_cast<float>(d.y), 0, d.text);
    return inkOf(rasterOf(f.layer()));
}

}  // namespace

TEST(Section4Transposition, ErasedPictureLeavesPureWhite) {
    for (int step = 1; step <= 9; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        // Stop at the wait of this step: the previous picture has been erased
        // and this one drawn.
        EngineFixture f(transpositionKeys(step), 1);
        EXPECT_THROW(solvara::section4(f.engine()), lesson::ProgramEnd);
        const std::vector<bool> old = inkOf(kSteps[static_cast<std::size_t>(step) - 1]);
        const std::vector<bool> now = inkOf(kSteps[static_cast<std::size_t>(step)]);
        const std::vector<bool> page = inkOf(rasterOf(f.layer()));
        int checked = 0, left = 0;
        for (std::size_t at = 0; at < page.size(); ++at) {
            if (!old[at] || now[at]) continue;  // where only the old picture stood
            ++checked;
            left += page[at];
        }
        EXPECT_GT(checked, 50);
        EXPECT_EQ(left, 0);
    }
}

// ---- Sub-menu and pages --------------------------------------------------------

namespace {

// The sub-menu's wait: its line is drawn next.
bool isSubMenuLine(const Event& ev) { return testing_support::isSubMenuLineStart(ev); }

bool isPageClear(const Event& ev) {
    return ev.op() == "box" && ev.num("x1") == 0 && ev.num("y1") == 0 && ev.num("x2") == 1760 &&
           ev.num("y2") == 1300 && ev.num("fill") == 15;
}

// Some formula with this text stands at (x, y) in this colour.
void expectDrawnAt(const RunResult& run, const std::string& text, double x, double y, int color) {
    bool found = false;
    for (const Event& ev : run.formulasWith(text))
        found = found || (ev.num("x") == x && ev.num("y") == y && ev.num("color") == color);
    EXPECT_TRUE(found) << text << " at (" << x << ", " << y << ") in colour " << color;
}

// Keys read by each page: from its page clear to the next sub-menu line.
std::vector<int> keysPerPage(const RunResult& run) {
    std::vector<int> out;
    bool inPage = false;
    for (const Event& ev : run.events) {
        if (isPageClear(ev)) {
            out.push_back(0);
            inPage = true;
        } else if (isSubMenuLine(ev)) {
            inPage = false;
        } else if (inPage && ev.op() == "key") {
            ++out.back();
        }
    }
    return out;
}

}  // namespace

TEST(Section4Menu, ZeroAndEightRedrawOnlyTheSubMenu) {
    const RunResult run = runHeadless(solvara::program(), kEnter + "0\n8\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(std::count_if(run.events.begin(), run.events.end(), isSubMenuLine), 3);
    const int aims = run.indexOfFormula("移項を使って、手ぎわよく方程式を解こう。");
    ASSERT_GE(aims, 0);
    expectFormula(run.events[aims], "移項を使って、手ぎわよく方程式を解こう。", 76, 305, 0);
    for (std::size_t i = static_cast<std::size_t>(aims) + 1; i < run.events.size(); ++i) {
        EXPECT_NE(run.events[i].op(), "formula") << run.events[i].str("text");
        EXPECT_FALSE(isPageClear(run.events[i]));
    }
}

TEST(Section4Walk, EveryPageByScriptedKeys) {
    const std::string keys = kEnter +
                             transpositionKeys(10) +  // ① P92
                             "2\nkk2\nkk1\nkkkkk" +   // ② two problems, two notes, 問1 (1)-(3)
                             "3\nkkk1\nkkkkk" +       // ③ one problem, two notes, 問2 (1)-(3)
                             "4\nkkk1\nkk" +          // ④ one problem, the procedure
                             "5\nkkkk" +              // ⑤ heading, (1)-(3)
                             "6\nkkkkkkk" +           // ⑥
                             "7\n";
    const RunResult run = runHeadless(solvara::program(), keys, {.seed = 3});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.keyCount(), static_cast<int>(lesson::parseKeyScript(keys).size()));
    EXPECT_EQ(run.formulasWith("4　方程式の解き方").size(), 2u);  // back at the main menu
    EXPECT_EQ(keysPerPage(run), (std::vector<int>{13, 13, 10, 7, 4, 7}));
    int problems = 0;
    for (const Event& ev : run.ofOp("box"))
        problems += ev.num("x1") == 40 && ev.num("y1") == 90 && ev.num("x2") == 2040 && ev.num("fill") == 15;
    EXPECT_EQ(problems, 2 + 1 + 1);

    // Rows that show where each page's columns and notes stand.
    const std::vector<Drawn> landmarks = {
        {"数を移項して解く。", 100, 250, 3},         {"教科書P92 問1 をやろう。", 40, 310, 7},
        {"5x+8=23", 121, 370, 0},                    {"x=3", 121, 610, 5},
        {"6x-5=-17", 601, 30, 0},                    {"-2x+3=5", 601, 330, 0},
        {"-4x+19=11", 921, 90, 0},                   {"x=2", 921, 330, 5},
        {"文字の項を移項して解く。", 100, 300, 3},   {"x=ﾀ-8/4ﾀ", 121, 590, 0},
        {"4x=50-6x", 601, 350, 0},                   {"-8x=3-5x", 921, 30, 0},
        {"x=-1", 921, 270, 5},                       {"例題1 次の方程式を解きなさい。", 40, 30, 0},
        {"   <方程式を解く手順>", 600, 30, 5},       {"数の項を右辺に移項する。", 714, 140, 3},
        {"③ 両辺をxの係数aでわる。", 660, 280, 3},  {"教科書P93 問3 をしなさい。", 44, 600, 7},
        {"問3 解答", 40, 30, 3},                     {"5x-8=-17-4x", 121, 370, 0},
        {"1-x=5x-2", 681, 30, 0},                    {"12x-3=7x-3", 681, 330, 0},
        {"x=0", 681, 560, 5},                        {"   x=1", 614, 280, 5},
        {"(2)", 560, 340, 7},                        {"等式が成り立つから", 614, 490, 5},
    };
    for (const Drawn& d : landmarks) expectDrawnAt(run, d.text, d.x, d.y, d.color);
    // Continuations on the same row start where the row ended.
    const Event fraction = run.formulasWith("x=ﾀ-8/4ﾀ").at(0);
    expectDrawnAt(run, "=-2", fraction.num("end"), 590, 5);
    const Event label = run.formulasWith("(2)").back();
    expectDrawnAt(run, "5を移項できる理由を説明しよう。", label.num("end"), 340, 3);

    // The problem of 例題1: four rows at x 100, 70 apart, the answer in red.
    const int heading = run.indexOfFormula("例題1 次の方程式を解きなさい。");
    std::vector<Event> rows;
    for (std::size_t i = static_cast<std::size_t>(heading) + 1; rows.size() < 4; ++i)
        if (run.events.at(i).op() == "formula") rows.push_back(run.events[i]);
    for (std::size_t r = 0; r < rows.size(); ++r)
        expectFormula(rows[r], rows[r].str("text"), 100, 90 + 70 * static_cast<double>(r), r == 3 ? 5 : 0);
}
