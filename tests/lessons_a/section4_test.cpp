// Section 4: the three transposition drills (generators and rows), the
// key-stepped move of "-15" (trace and pixels), the sub-menu and a walk
// through every page.

#include "lessons_a/section4.h"

#include "engine/graphics/raster.h"
#include "engine/pages/rows.h"
#include "engine/typesetter/formula.h"
#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

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

// ---- Reading the rows back as equations ------------------------------------

// The value of "12", "-ﾀ8/5ﾀ" or "ﾀ-6/-3ﾀ".
double valueOf(std::string s) {
    double sign = 1;
    if (s.rfind("-" + kFraction, 0) == 0) {
        sign = -1;
        s.erase(0, 1);
    }
    if (s.rfind(kFraction, 0) == 0) {
        const std::string inner = s.substr(kFraction.size(), s.size() - 2 * kFraction.size());
        const auto slash = inner.find('/');
        return sign * std::stod(inner.substr(0, slash)) / std::stod(inner.substr(slash + 1));
    }
    return sign * std::stod(s);
}

// A side such as "7x-2x", "-x", "-5-3" or "": coefficient of x and constant.
std::pair<double, double> sideOf(const std::string& s) {
    double coef = 0, constant = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        double sign = 1;
        if (s[i] == '+' || s[i] == '-') sign = s[i++] == '-' ? -1 : 1;
        std::string digits;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) digits += s[i++];
        if (i < s.size() && s[i] == 'x') {
            coef += sign * (digits.empty() ? 1 : std::stod(digits));
            ++i;
        } else {
            EXPECT_FALSE(digits.empty()) << "unexpected text in " << s;
            if (digits.empty()) return {coef, constant};
            constant += sign * std::stod(digits);
        }
    }
    return {coef, constant};
}

// left − right at x for an equation row (the page's indent "　 " left off).
double residual(std::string row, double x) {
    const std::string indent = "　 ";
    if (row.rfind(indent, 0) == 0) row.erase(0, indent.size());
    const auto eq = row.find('=');
    const auto [a, b] = sideOf(row.substr(0, eq));
    const auto [c, d] = sideOf(row.substr(eq + 1));
    return (a * x + b) - (c * x + d);
}

// The answer row "x=v" or "x=ﾀn/dﾀ=v": every value after "x=" must agree.
double answerOf(const std::string& row) {
    EXPECT_EQ(row.rfind("x=", 0), 0u) << row;
    std::vector<double> values;
    std::size_t from = 2;
    for (auto eq = row.find('=', from); ; eq = row.find('=', from)) {
        values.push_back(valueOf(row.substr(from, eq == std::string::npos ? std::string::npos : eq - from)));
        if (eq == std::string::npos) break;
        from = eq + 1;
    }
    for (double v : values) EXPECT_NEAR(v, values.front(), 1e-9) << row;
    return values.front();
}

// Every row before the answer holds for the answer.
void expectAnswerSolvesEveryRow(const std::vector<std::string>& rows) {
    const double x = answerOf(rows.back());
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) EXPECT_NEAR(residual(rows[i], x), 0, 1e-9) << rows[i];
}

}  // namespace

// ---- The drills -------------------------------------------------------------

TEST(Section4Drills, ConstantMovedWithEitherSign) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(constantMoveRows(e, {5, -3}), (std::vector<std::string>{"　 x+5=-3", "x=-3-5", "x=-8"}));
    EXPECT_EQ(constantMoveRows(e, {-5, 3}), (std::vector<std::string>{"　 x-5=3", "x=3+5", "x=8"}));
    EXPECT_EQ(e.constNum(3), 5);
    EXPECT_EQ(e.constNum(4), 8);
}

TEST(Section4Drills, XTermMovedRowsAndAnswer) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(xTermMoveRows(e, {5, 3, 4}),
              (std::vector<std::string>{"　 5x=3x+8", "5x-3x=8", "2x=8", "x=ﾀ8/2ﾀ=4"}));
    EXPECT_EQ(xTermMoveRows(e, {2, 5, 2}),
              (std::vector<std::string>{"　 2x=5x-6", "2x-5x=-6", "-3x=-6", "x=ﾀ-6/-3ﾀ=2"}));
    EXPECT_EQ(e.practiceNum(4), -3);
    EXPECT_EQ(e.constNum(4), -6);
}

TEST(Section4Drills, CoefficientOneIsWrittenAsX) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(xTermMoveRows(e, {5, 1, 2}), (std::vector<std::string>{"　 5x=x+8", "5x-x=8", "4x=8", "x=ﾀ8/4ﾀ=2"}));
    EXPECT_EQ(xTermMoveRows(e, {1, 4, 1})[0], "　 x=4x-3");
}

TEST(Section4Drills, KeepApartMovesCloseCoefficientsByTwo) {
    EXPECT_EQ(keepApart(4, 4), std::make_pair(6.0f, 4.0f));
    EXPECT_EQ(keepApart(5, 4), std::make_pair(7.0f, 4.0f));
    EXPECT_EQ(keepApart(4, 5), std::make_pair(4.0f, 7.0f));
    EXPECT_EQ(keepApart(7, 2), std::make_pair(7.0f, 2.0f));
    EXPECT_EQ(keepApart(2, 7), std::make_pair(2.0f, 7.0f));
    for (int a1 = 1; a1 <= 9; ++a1)
        for (int a2 = 1; a2 <= 9; ++a2) {
            const auto [b1, b2] = keepApart(static_cast<float>(a1), static_cast<float>(a2));
            EXPECT_GE(std::fabs(b1 - b2), 2) << a1 << " " << a2;
        }
}

TEST(Section4Drills, BothSidesMoved) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(bothMovesRows(e, {7, 2, 3, -5}),
              (std::vector<std::string>{"7x+3=2x-5", "7x-2x=-5-3", "5x=-8", "x=ﾀ-8/5ﾀ=-ﾀ8/5ﾀ"}));
    // A negated a2 is moved with "+" in front.
    EXPECT_EQ(bothMovesRows(e, {3, -1, 4, -2}),
              (std::vector<std::string>{"3x+4=-x-2", "3x+x=-2-4", "4x=-6", "x=ﾀ-6/4ﾀ=-ﾀ3/2ﾀ"}));
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

TEST(Section4Drills, OverManyDrawsRangesHoldAndEveryAnswerSolves) {
    EngineFixture f("", 4);
    Engine& e = f.engine();
    std::set<float> b1s, b2s, ks, xa2s, ya2s, yb1s, yb2s;
    for (int i = 0; i < 3000; ++i) {
        const ConstantMove c = drawConstantMove(e);
        b1s.insert(c.b1);
        b2s.insert(c.b2);
        ASSERT_TRUE(std::fabs(c.b1) >= 1 && std::fabs(c.b1) <= 9 && c.b1 == std::floor(c.b1)) << c.b1;
        ASSERT_TRUE(std::fabs(c.b2) >= 2 && std::fabs(c.b2) <= 10 && c.b2 == std::floor(c.b2)) << c.b2;
        expectAnswerSolvesEveryRow(constantMoveRows(e, c));

        const XTermMove x = drawXTermMove(e);
        ks.insert(x.k);
        xa2s.insert(x.a2);
        ASSERT_TRUE(x.a1 >= 1 && x.a1 <= 11 && x.a2 >= 1 && x.a2 <= 11) << x.a1 << " " << x.a2;
        ASSERT_GE(std::fabs(x.a1 - x.a2), 2) << x.a1 << " " << x.a2;
        const auto xRows = xTermMoveRows(e, x);
        expectAnswerSolvesEveryRow(xRows);
        ASSERT_EQ(answerOf(xRows.back()), x.k);
        ASSERT_EQ(e.practiceNum(4), x.a1 - x.a2);

        const BothMoves y = drawBothMoves(e);
        ya2s.insert(y.a2);
        yb1s.insert(y.b1);
        yb2s.insert(y.b2);
        ASSERT_GE(std::fabs(y.a1 - y.a2), 2) << y.a1 << " " << y.a2;
        ASSERT_TRUE(y.b2 - y.b1 >= -18 && y.b2 - y.b1 <= -2);
        expectAnswerSolvesEveryRow(bothMovesRows(e, y));
    }
    auto range = [](int lo, int hi, bool bothSigns) {
        std::set<float> s;
        for (int v = lo; v <= hi; ++v) {
            s.insert(static_cast<float>(v));
            if (bothSigns) s.insert(static_cast<float>(-v));
        }
        return s;
    };
    EXPECT_EQ(b1s, range(1, 9, true));
    EXPECT_EQ(b2s, range(2, 10, true));
    EXPECT_EQ(ks, range(1, 9, false));
    EXPECT_EQ(*xa2s.rbegin(), 11);  // 9, moved up by 2
    EXPECT_EQ(ya2s.count(-1) + ya2s.count(1), 2u);
    EXPECT_EQ(yb1s, range(1, 9, false));
    EXPECT_EQ(yb2s, range(-9, -1, false));
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

TEST(Section4Transposition, EquationsStandWhereTheTableSays) {
    const RunResult run = runHeadless(solvara::program(), kEnter + transpositionKeys(0));
    ASSERT_GE(run.indexOfFormula("4x"), 0);
    expectFormula(run.events[run.indexOfFormula("4x-15=9")], "4x-15=9", 121, 80, 0);
    expectFormula(run.events[run.indexOfFormula("x=6")], "x=6", 229, 280, 5);
    expectFormula(run.events[run.indexOfFormula("-15")], "-15", 175, 450, 0);
    expectFormula(run.events[run.indexOfFormula("4x=9")], "4x=9", 202, 550, 0);
    expectFormula(run.events[run.indexOfFormula("+15")], "+15", 315, 550, 0);
}

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

// Pixels that a picture covers when drawn alone on a blank page.
std::vector<bool> inkOf(const std::vector<Drawn>& picture) {
    EngineFixture f;
    for (const Drawn& d : picture)
        lesson::drawFormulaAt(f.engine(), static_cast<float>(d.x), static_cast<float>(d.y), 0, d.text);
    lesson::Raster& r = f.layer().raster();
    cairo_surface_flush(r.surface());
    const unsigned char* data = cairo_image_surface_get_data(r.surface());
    const int stride = cairo_image_surface_get_stride(r.surface());
    std::vector<bool> ink(static_cast<std::size_t>(r.width() * r.height()));
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const unsigned char* p = data + y * stride + x * 4;
            ink[static_cast<std::size_t>(y * r.width() + x)] = p[0] != 255 || p[1] != 255 || p[2] != 255;
        }
    return ink;
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
        lesson::Raster& r = f.layer().raster();
        cairo_surface_flush(r.surface());
        const unsigned char* data = cairo_image_surface_get_data(r.surface());
        const int stride = cairo_image_surface_get_stride(r.surface());
        int checked = 0, left = 0;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                const auto at = static_cast<std::size_t>(y * r.width() + x);
                if (!old[at] || now[at]) continue;
                ++checked;
                const unsigned char* p = data + y * stride + x * 4;
                if (p[0] != 255 || p[1] != 255 || p[2] != 255) ++left;
            }
        EXPECT_GT(checked, 50);
        EXPECT_EQ(left, 0);
    }
}

// ---- Sub-menu and pages --------------------------------------------------------

namespace {

// The sub-menu line is drawn as plain text; its first character stands at (16, 666).
int subMenuDraws(const RunResult& run) {
    int n = 0;
    for (const Event& ev : run.ofOp("text"))
        if (ev.str("text") == "①" && ev.num("x") == 16 && ev.num("y") == 666) ++n;
    return n;
}

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
        } else if (ev.op() == "text" && ev.str("text") == "①" && ev.num("x") == 16 && ev.num("y") == 666) {
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
    EXPECT_EQ(subMenuDraws(run), 3);
    const int aims = run.indexOfFormula("移項を使って、手ぎわよく方程式を解こう。");
    ASSERT_GE(aims, 0);
    expectFormula(run.events[aims], "移項を使って、手ぎわよく方程式を解こう。", 76, 305, 0);
    for (std::size_t i = static_cast<std::size_t>(aims) + 1; i < run.events.size(); ++i) {
        EXPECT_NE(run.events[i].op(), "formula") << run.events[i].str("text");
        EXPECT_FALSE(isPageClear(run.events[i]));
    }
}

TEST(Section4Menu, SevenReturnsToTheMainMenu) {
    const RunResult run = runHeadless(solvara::program(), kEnter + "7\n");
    EXPECT_EQ(run.formulasWith("4　方程式の解き方").size(), 2u);
    EXPECT_EQ(subMenuDraws(run), 1);
}

class Section4Walk : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string keys = kEnter +
                                 transpositionKeys(10) +   // ① P92
                                 "2\nkk2\nkk1\nkkkkk" +    // ② two problems, notes, 問1 (1)-(3)
                                 "3\nkkk1\nkkkkk" +        // ③ one problem, notes, 問2 (1)-(3)
                                 "4\nkkk1\nkk" +           // ④ one problem, procedure
                                 "5\nkkkk" +               // ⑤ heading, (1)-(3)
                                 "6\nkkkkkkk" +           // ⑥
                                 "7\n";
        run_ = new RunResult(runHeadless(solvara::program(), keys, {.seed = 3}));
        keysTyped_ = static_cast<int>(lesson::parseKeyScript(keys).size());
    }
    static void TearDownTestSuite() { delete run_; }
    static RunResult* run_;
    static int keysTyped_;
};
RunResult* Section4Walk::run_ = nullptr;
int Section4Walk::keysTyped_ = 0;

TEST_F(Section4Walk, EndsAtTheMainMenuWithEveryKeyUsed) {
    EXPECT_EQ(run_->status, 0);
    EXPECT_EQ(run_->keyCount(), keysTyped_);
    EXPECT_EQ(run_->formulasWith("4　方程式の解き方").size(), 2u);
    int clears = 0;
    for (const Event& ev : run_->events) clears += isPageClear(ev);
    EXPECT_EQ(clears, 6);
}

TEST_F(Section4Walk, EveryPageWaitsAsOftenAsItsScript) {
    // ① 3 + 10, ② 2 problems of 2 keys and an entry each, then 5, ③ 3 + entry + 5,
    // ④ 3 + entry + 2, ⑤ 4, ⑥ 7.
    EXPECT_EQ(keysPerPage(*run_), (std::vector<int>{13, 13, 10, 7, 4, 7}));
}

TEST_F(Section4Walk, ConstantDrillShowsTwoProblemsThenTheAnswersOfQuestion1) {
    int problems = 0;
    for (const Event& ev : run_->ofOp("box"))
        problems += ev.num("x1") == 40 && ev.num("y1") == 90 && ev.num("x2") == 2040 && ev.num("fill") == 15;
    EXPECT_EQ(problems, 2 + 1 + 1);  // two in 例1, one each in 例2 and 例題1
    expectDrawnAt(*run_, "数を移項して解く。", 100, 250, 3);
    expectDrawnAt(*run_, "教科書P92 問1 をやろう。", 40, 310, 7);
    expectDrawnAt(*run_, "5x+8=23", 121, 370, 0);
    expectDrawnAt(*run_, "x=3", 121, 610, 5);
    expectDrawnAt(*run_, "6x-5=-17", 601, 30, 0);
    expectDrawnAt(*run_, "-2x+3=5", 601, 330, 0);
    expectDrawnAt(*run_, "-4x+19=11", 921, 90, 0);
    expectDrawnAt(*run_, "x=2", 921, 330, 5);
}

TEST_F(Section4Walk, XTermDrillAndTheAnswersOfQuestion2) {
    expectDrawnAt(*run_, "文字の項を移項して解く。", 100, 300, 3);
    const Event x = run_->formulasWith("x=ﾀ-8/4ﾀ").at(0);
    expectFormula(run_->formulasWith("=-2").at(0), "=-2", x.num("end"), 590, 5);
    expectDrawnAt(*run_, "4x=50-6x", 601, 350, 0);
    expectDrawnAt(*run_, "-8x=3-5x", 921, 30, 0);
    expectDrawnAt(*run_, "x=-1", 921, 270, 5);
}

TEST_F(Section4Walk, BothSidesDrillAndTheProcedure) {
    const int heading = run_->indexOfFormula("例題1 次の方程式を解きなさい。");
    ASSERT_GE(heading, 0);
    // The four rows of the problem at x 100, 70 apart, the answer in red.
    std::vector<Event> rows;
    for (std::size_t i = static_cast<std::size_t>(heading) + 1; rows.size() < 4; ++i)
        if (run_->events.at(i).op() == "formula") rows.push_back(run_->events[i]);
    std::vector<std::string> texts;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].num("x"), 100);
        EXPECT_EQ(rows[r].num("y"), 90 + 70 * static_cast<double>(r));
        EXPECT_EQ(rows[r].num("color"), r == 3 ? 5 : 0);
        texts.push_back(rows[r].str("text"));
    }
    expectAnswerSolvesEveryRow(texts);
    expectDrawnAt(*run_, "   <方程式を解く手順>", 600, 30, 5);
    expectDrawnAt(*run_, "数の項を右辺に移項する。", 714, 140, 3);
    expectDrawnAt(*run_, "③ 両辺をxの係数aでわる。", 660, 280, 3);
    expectDrawnAt(*run_, "教科書P93 問3 をしなさい。", 44, 600, 7);
}

TEST_F(Section4Walk, AnswersOfQuestion3AndTheExplanation) {
    expectDrawnAt(*run_, "問3 解答", 40, 30, 3);
    expectDrawnAt(*run_, "5x-8=-17-4x", 121, 370, 0);
    expectDrawnAt(*run_, "1-x=5x-2", 681, 30, 0);
    expectDrawnAt(*run_, "12x-3=7x-3", 681, 330, 0);
    expectDrawnAt(*run_, "x=0", 681, 560, 5);
    expectDrawnAt(*run_, "   x=1", 614, 280, 5);
    const Event label = run_->formulasWith("(2)").back();
    expectFormula(label, "(2)", 560, 340, 7);
    expectDrawnAt(*run_, "5を移項できる理由を説明しよう。", label.num("end"), 340, 3);
    expectDrawnAt(*run_, "等式が成り立つから", 614, 490, 5);
}
