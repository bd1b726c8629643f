// Section 5: the four random drills with fixed numbers and over many draws,
// the sub-menu, and a walk through every page by scripted keys.

#include "lessons_a/section5.h"

#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

using namespace solvara::various;
using lesson::Engine;
using lesson::Row;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::runHeadless;
using testing_support::RunResult;

namespace {

using Texts = std::vector<std::string>;
using Values = std::set<int>;
using Seen = std::map<std::string, Values>;
const std::string kFrac = "ﾀ";

// A row read as a chain of equal sides at a value of x: numbers, x, + - *,
// brackets and juxtaposition, and fractions in the markup.
class Equation {
public:
    Equation(std::string text, double x) : s_(std::move(text)), x_(x) {}
    std::vector<double> sides() {
        std::vector<double> out{expr()};
        while (take("=")) out.push_back(expr());
        if (i_ != s_.size()) throw std::runtime_error("cannot read " + s_);
        return out;
    }

private:
    bool at(const std::string& t) const { return s_.compare(i_, t.size(), t) == 0; }
    bool take(const std::string& t) { return at(t) && (i_ += t.size(), true); }
    bool digitNext() const { return i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.'); }
    bool factorNext() const { return digitNext() || at("x") || at("(") || (at(kFrac) && !inFraction_); }
    double expr() {
        double v = take("-") ? -term() : term();
        for (;;) {
            if (take("+")) v += term();
            else if (take("-")) v -= term();
            else return v;
        }
    }
    double term() {
        double v = factor();
        while (take("*") || factorNext()) v *= factor();
        return v;
    }
    double factor() {
        if (take("x")) return x_;
        if (take("(")) return closed(expr(), ")");
        if (!inFraction_ && take(kFrac)) {
            inFraction_ = true;
            const double num = closed(expr(), "/");
            const double den = closed(expr(), kFrac);
            inFraction_ = false;
            return num / den;
        }
        if (take("-")) return -factor();
        const std::size_t from = i_;
        while (digitNext()) ++i_;
        if (from == i_) throw std::runtime_error("no number in " + s_);
        return std::stod(s_.substr(from, i_ - from));
    }
    double closed(double v, const std::string& mark) {
        if (!take(mark)) throw std::runtime_error("no " + mark + " in " + s_);
        return v;
    }
    std::string s_;
    std::size_t i_ = 0;
    double x_;
    bool inFraction_ = false;
};

std::string withoutCircledLabel(const std::string& text) {
    for (const std::string label : {"① ", "② "})
        if (text.rfind(label, 0) == 0) return text.substr(label.size());
    return text;
}

// The value the last shown row gives x ("x=ﾀ8/-4ﾀ=-2" gives -2).
double shownAnswer(const Texts& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (!it->empty()) return Equation(it->substr(it->rfind('=') + 1), 0).sides().front();
    throw std::runtime_error("no answer row");
}

// Every row, the problem as first shown included, holds at the shown answer.
void expectEveryRowHolds(const Texts& rows) {
    const double answer = shownAnswer(rows);
    ASSERT_NE(rows.front().rfind("x=", 0), 0u) << "the problem is not shown first";
    for (const std::string& row : rows) {
        if (row.empty()) continue;
        const std::vector<double> sides = Equation(withoutCircledLabel(row), answer).sides();
        ASSERT_GE(sides.size(), 2u) << row;
        for (double side : sides) EXPECT_NEAR(side, sides.front(), 1e-6 * (1 + std::fabs(side))) << row;
    }
}

Texts textsOf(const std::vector<Row>& rows) {
    Texts out;
    for (const Row& r : rows) out.push_back(r.text);
    return out;
}

std::vector<int> coloursOf(const std::vector<Row>& rows) {
    std::vector<int> out;
    for (const Row& r : rows) out.push_back(r.color);
    return out;
}

// Draws many problems; `check` looks at the numbers and names the values
// seen, every problem's rows must hold at its answer. Returns what was seen.
template <class Numbers>
Seen drawMany(unsigned seed, Numbers (*draw)(Engine&), std::vector<Row> (*rows)(Engine&, const Numbers&),
              const std::function<void(const Numbers&, Seen&)>& check) {
    EngineFixture f("", seed);
    Seen seen;
    for (int k = 0; k < 3000 && !::testing::Test::HasFailure(); ++k) {
        const Numbers n = draw(f.engine());
        check(n, seen);
        expectEveryRowHolds(textsOf(rows(f.engine(), n)));
    }
    return seen;
}

Values range(int low, int high, int step = 1) {
    Values out;
    for (int v = low; v <= high; v += step) out.insert(v);
    return out;
}

}  // namespace

// ---- The drills with fixed numbers ---------------------------------------------------

TEST(Section5Drills, BracketsRaiseQAndGiveTheirFiveRows) {
    EngineFixture f;
    const Brackets n = settleBrackets({.a = 2, .p = 3, .q = 1, .r = 1, .e = 5});
    EXPECT_EQ(n.q, 2);
    const auto rows = bracketsRows(f.engine(), n);
    EXPECT_EQ(textsOf(rows), (Texts{"2x-3(2x+1)=5", "2x-6x-3=5", "2x-6x=5+3", "-4x=8", "x=ﾀ8/-4ﾀ=-2"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5}));
    // q rises as often as needed, and only then.
    EXPECT_EQ(settleBrackets({.a = 5, .p = 2, .q = 1, .r = 1, .e = 1}).q, 1);  // 5 - 2 = 3
    EXPECT_EQ(settleBrackets({.a = 1, .p = 2, .q = 1, .r = 1, .e = 1}).q, 2);  // 1 - 2 = -1
    EXPECT_EQ(settleBrackets({.a = 7, .p = 2, .q = 3, .r = 1, .e = 1}).q, 5);  // 7 - 6 = 1, then 7 - 8 = -1
}

TEST(Section5Drills, FractionsOneGivesItsSixRows) {
    EngineFixture f;
    const auto rows = fractionsOneRows(f.engine(), {.q = 3, .s = 5, .p = 1, .t = 2, .b = 2});
    EXPECT_EQ(textsOf(rows), (Texts{"① ﾀ1/3ﾀx+2=ﾀ2/5ﾀx", "15*ﾀ1/3ﾀx+15*2=15*ﾀ2/5ﾀx", "5x+30=6x", "5x-6x=-30",
                                    "-x=-30", "x=ﾀ-30/-1ﾀ=30"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 0, 5}));
}

TEST(Section5Drills, FractionsOneWithCoefficientOneAnswersInTheCollectedRow) {
    EngineFixture f;
    const FractionsOne n{.q = 5, .s = 3, .p = 2, .t = 1, .b = 1};
    ASSERT_EQ(fractionsOneCoefficient(n), 1);
    const auto rows = fractionsOneRows(f.engine(), n);
    EXPECT_EQ(textsOf(rows), (Texts{"① ﾀ2/5ﾀx+1=ﾀ1/3ﾀx", "15*ﾀ2/5ﾀx+15*1=15*ﾀ1/3ﾀx", "6x+15=5x", "6x-5x=-15",
                                    "x=-15", ""}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5, 5}));
}

TEST(Section5Drills, FractionsTwoGivesItsSevenRows) {
    EngineFixture f;
    const auto rows = fractionsTwoRows(f.engine(), {.d1 = 5, .d2 = 3, .u = 2, .v = 3, .w = 1, .z = 2});
    EXPECT_EQ(textsOf(rows), (Texts{"② ﾀ2x+3/5ﾀ=ﾀx-2/3ﾀ", "15*ﾀ2x+3/5ﾀ=15*ﾀx-2/3ﾀ", "3(2x+3)=5(x-2)", "6x+9=5x-10",
                                    "6x-5x=-10-9", "x=-19", "x=ﾀ-19/1ﾀ=-19"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 0, 0, 5}));
    EXPECT_TRUE(xTermsCancel({.d1 = 2, .d2 = 3, .u = 2, .v = 1, .w = 3, .z = 1}));
    EXPECT_TRUE(xTermsCancel({.d1 = 3, .d2 = 2, .u = 3, .v = 1, .w = 2, .z = 1}));
    EXPECT_FALSE(xTermsCancel({.d1 = 3, .d2 = 2, .u = 2, .v = 1, .w = 3, .z = 1}));
}

TEST(Section5Drills, DecimalsPutTheZeroBackAndGiveTheirFiveRows) {
    EngineFixture f;
    const auto rows = decimalsRows(f.engine(), settleDecimals({.a = 3, .c = 5, .bb = 4, .e = 70}));
    EXPECT_EQ(textsOf(rows), (Texts{"0.3x+0.4=-0.5x+7", "3x+4=-5x+70", "3x+5x=70-4", "8x=66", "x=ﾀ66/8ﾀ=ﾀ33/4ﾀ"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5}));
    EXPECT_EQ(decimalText(0.9f), "0.9");
    EXPECT_EQ(decimalText(-0.1f), "-0.1");
    EXPECT_EQ(decimalText(-7), "-7");
    const auto settled = [](int a, int c) {
        const Decimals n = settleDecimals({.a = a, .c = c, .bb = 1, .e = 10});
        return std::pair{n.a, n.c};
    };
    EXPECT_EQ(settled(4, 4), std::pair(6, 4));
    EXPECT_EQ(settled(5, 4), std::pair(7, 4));
    EXPECT_EQ(settled(4, 5), std::pair(4, 7));
}

// ---- The drills over many draws --------------------------------------------------------

TEST(Section5Drills, BracketsOverManyDraws) {
    auto seen = drawMany<Brackets>(11, drawBrackets, bracketsRows, [](const Brackets& n, auto& seen) {
        ASSERT_GT(std::abs(n.a - n.p * n.q), 1) << "collected coefficient";
        // q above its range only when the q below was too close as well.
        if (n.q > 3) ASSERT_LE(std::abs(n.a - n.p * (n.q - 1)), 1);
        else seen["q"].insert(n.q);
        seen["p"].insert(n.p), seen["r"].insert(n.r), seen["a"].insert(n.a), seen["e"].insert(n.e);
    });
    EXPECT_EQ(seen, (Seen{{"p", range(2, 4)}, {"q", range(1, 3)}, {"r", range(1, 3)}, {"a", range(1, 9)},
                          {"e", range(1, 9)}}));
}

TEST(Section5Drills, FractionsOneOverManyDraws) {
    auto seen = drawMany<FractionsOne>(12, drawFractionsOne, fractionsOneRows, [](const FractionsOne& n, auto& seen) {
        ASSERT_EQ((Values{n.q, n.s, n.p, n.t}).size(), 4u) << "the four values are not distinct";
        ASSERT_NE(fractionsOneCoefficient(n), 0);
        seen["q"].insert(n.q), seen["s"].insert(n.s), seen["p"].insert(n.p), seen["t"].insert(n.t);
        seen["b"].insert(n.b), seen["coefficient one"].insert(fractionsOneCoefficient(n) == 1);
    });
    EXPECT_EQ(seen, (Seen{{"q", {3, 5, 7}}, {"s", {3, 5, 7}}, {"p", {1, 2, 3, 5, 7}}, {"t", {1, 2, 3, 5, 7}},
                          {"b", range(1, 3)}, {"coefficient one", {0, 1}}}));
}

TEST(Section5Drills, FractionsTwoOverManyDraws) {
    auto seen = drawMany<FractionsTwo>(13, drawFractionsTwo, fractionsTwoRows, [](const FractionsTwo& n, auto& seen) {
        ASSERT_NE(n.d1, n.d2);
        ASSERT_NE(n.u, n.v);
        ASSERT_NE(n.d2 * n.u, n.d1 * n.w) << "the x terms cancel";
        seen["d1"].insert(n.d1), seen["d2"].insert(n.d2), seen["u"].insert(n.u), seen["v"].insert(n.v);
        seen["w"].insert(n.w), seen["z"].insert(n.z);
    });
    EXPECT_EQ(seen, (Seen{{"d1", {2, 3, 5, 7}}, {"d2", {2, 3, 5, 7}}, {"u", range(1, 3)}, {"v", range(1, 4)},
                          {"w", range(1, 3)}, {"z", range(1, 3)}}));
}

TEST(Section5Drills, DecimalsOverManyDraws) {
    auto seen = drawMany<Decimals>(14, drawDecimals, decimalsRows, [](const Decimals& n, auto& seen) {
        ASSERT_GE(std::abs(n.a - n.c), 2);
        seen["a"].insert(n.a), seen["c"].insert(n.c), seen["bb"].insert(n.bb), seen["e"].insert(n.e);
    });
    EXPECT_EQ(seen, (Seen{{"a", range(1, 9)}, {"c", range(1, 9)}, {"bb", range(1, 9)}, {"e", range(10, 90, 10)}}));
}

// ---- The sub-menu ----------------------------------------------------------------------

TEST(Section5Menu, OutOfRangeRedrawsOnlyTheSubMenuAndSevenLeaves) {
    const RunResult run = runHeadless(solvara::program(), "5926\n5\n0\n8\n7\n8\n");
    EXPECT_EQ(run.status, 0);
    const int aims = run.indexOfFormula("<めあて>");
    const int menuAgain = run.indexOfFormula("＜Solvara　メニュー＞", aims);
    ASSERT_GT(menuAgain, aims);
    ASSERT_GE(aims, 0);
    int lines = 0;
    for (int i = aims + 1; i < menuAgain; ++i) {
        const Event& ev = run.events[i];
        // The sub-menu waits, each drawing its line in the prompt band.
        lines += testing_support::isSubMenuLineStart(ev);
        if (ev.op() == "formula") {
            EXPECT_EQ(ev.str("text"), "かっこのある方程式や、小数・分数係数の方程式を解こう。");
        }
        if (ev.op() == "box" && lines > 0 && lines < 3) {
            EXPECT_GE(ev.num("y1"), lesson::kPromptBandTop) << "the page was blanked";
        }
    }
    EXPECT_EQ(lines, 3);  // first shown, after 0, after 8; 7 then leaves
}

// ---- A walk through every page ------------------------------------------------------------

namespace {

// A page as the class sees it: its formulas, "K" for an any-key wait, "S" for
// the step prompt and "W(x1,y1,x2,y2)" for a white box on the page.
struct Token {
    std::string text;
    int event;
};
using Script = std::vector<Token>;

std::string whiteText(const Event& ev) {
    const auto n = [&](const char* k) { return std::to_string(static_cast<int>(ev.num(k))); };
    return "W(" + n("x1") + "," + n("y1") + "," + n("x2") + "," + n("y2") + ")";
}

// The pages of a run, split where a page is cleared, up to the main menu's return.
std::vector<Script> pagesOf(const RunResult& run) {
    std::vector<Script> pages;
    for (int i = 0; i < static_cast<int>(run.events.size()); ++i) {
        const Event& ev = run.events[i];
        const bool white = ev.op() == "box" && ev.num("fill") == 15 && ev.num("line") == 15;
        if (white && ev.num("x1") == 0 && ev.num("y1") == 0 && ev.num("y2") == 1300) pages.emplace_back();
        else if (pages.empty()) continue;
        else if (white && ev.num("x1") == 0 && ev.num("y1") < lesson::kPromptBandTop) break;  // the main menu blanks the screen
        else if (ev.op() == "formula") pages.back().push_back({ev.str("text"), i});
        else if (ev.op() == "box" && ev.num("x1") == 96 && ev.num("fill") == 4) pages.back().push_back({"K", i});
        else if (ev.op() == "box" && ev.num("x1") == 96 && ev.num("fill") == 12) pages.back().push_back({"S", i});
        else if (white && ev.num("y1") < lesson::kPromptBandTop) pages.back().push_back({whiteText(ev), i});
    }
    return pages;
}

// The page's course: runs of formulas as "F" or "F<n>", then waits and white boxes.
std::string shapeOf(const Script& page) {
    std::string out;
    int formulas = 0;
    const auto put = [&](const std::string& t) { out += (out.empty() ? "" : " ") + t; };
    const auto flush = [&] {
        if (formulas) put("F" + (formulas > 1 ? std::to_string(formulas) : ""));
        formulas = 0;
    };
    for (const Token& t : page) {
        if (t.text != "K" && t.text != "S" && t.text.rfind("W(", 0) != 0) {
            ++formulas;
            continue;
        }
        flush();
        put(t.text);
    }
    flush();
    return out;
}

std::string ks(int n) { return std::string(static_cast<std::size_t>(n), 'k'); }

}  // namespace

class Section5Walk : public ::testing::Test {
protected:
    enum PageIndex { kBrackets, kFractions, kAnswers1, kAnswers2, kDiscussion, kDecimals, kLinear, kPageCount };

    static void SetUpTestSuite() {
        const std::string keys = "5926\n5\n" "1\n" + ks(4) + "1\n" + ks(6) +    // brackets and 問4
                                 "2\n" + ks(5) + "1\n" + ks(7) + "1\n" + ks(1) +  // two fraction drills
                                 "3\n" + ks(4) + "4\n" + ks(29) +                  // 問5, discussion
                                 "5\n" + ks(4) + "2\n" + ks(4) + "1\n" + ks(1) +  // decimals, two problems
                                 "6\n" + ks(7) + "7\n8\n";
        run_ = new RunResult(runHeadless(solvara::program(), keys, {.seed = 5}));
        pages_ = new std::vector<Script>(pagesOf(*run_));
    }
    static void TearDownTestSuite() {
        delete pages_;
        delete run_;
    }
    static const Script& page(PageIndex i) { return pages_->at(static_cast<std::size_t>(i)); }
    static const Event& event(const Token& t) { return run_->events[static_cast<std::size_t>(t.event)]; }
    // The n-th formula with this text on the page.
    static const Event& row(PageIndex i, const std::string& text, int n = 0) {
        for (const Token& t : page(i))
            if (t.text == text && n-- == 0) return event(t);
        throw std::runtime_error("no row " + text);
    }
    static void expectRow(PageIndex i, const std::string& text, double x, double y, int colour, int n = 0) {
        const Event& ev = row(i, text, n);
        EXPECT_EQ(ev.num("x"), x) << text;
        EXPECT_EQ(ev.num("y"), y) << text;
        EXPECT_EQ(ev.num("color"), colour) << text;
    }
    static double endOf(PageIndex i, const std::string& text) { return row(i, text).num("end"); }
    // The rows after the n-th blanking of a drill's area: first row at (x, y0),
    // the others at x2, 70 apart, the answer in colour 5; they must solve.
    static void expectDrill(PageIndex i, const std::string& blank, int n, double x, double x2, double y0) {
        std::vector<Event> rows;
        Texts texts;
        bool in = false;
        for (const Token& t : page(i)) {
            if (t.text == blank && n-- == 0) in = true;
            else if (in && t.text == "S") break;
            else if (in && t.text != "K") rows.push_back(event(t)), texts.push_back(t.text);
        }
        ASSERT_GE(rows.size(), 5u);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(rows[k].num("x"), k == 0 ? x : x2) << texts[k];
            EXPECT_EQ(rows[k].num("y"), y0 + 70.0 * static_cast<double>(k)) << texts[k];
            if (k + 1 == rows.size()) {
                EXPECT_EQ(rows[k].num("color"), 5) << texts[k];
            }
        }
        expectEveryRowHolds(texts);
    }

    static RunResult* run_;
    static std::vector<Script>* pages_;
};

RunResult* Section5Walk::run_ = nullptr;
std::vector<Script>* Section5Walk::pages_ = nullptr;

TEST_F(Section5Walk, EveryPageRunsAndTheLastItemLeaves) {
    EXPECT_EQ(run_->status, 0);
    EXPECT_EQ(pages_->size(), static_cast<std::size_t>(kPageCount));
    EXPECT_EQ(run_->formulasWith("<めあて>").size(), 1u);
}

TEST_F(Section5Walk, BracketsDrillThenTheAnswersOfQuestion4) {
    EXPECT_EQ(shapeOf(page(kBrackets)), "F2 W(40,140,2040,1940) F K F K F K F K F S K F K F K F5 K F7 K F7 K F7");
    expectDrill(kBrackets, "W(40,140,2040,1940)", 0, 100, 100, 140);
    expectRow(kBrackets, "かっこをはずしてから解く", 40, 480, 3);
    expectRow(kBrackets, "教科書P94 問4 をしなさい。", 44, 600, 7);
    expectRow(kBrackets, "(2)", 400, 240, 3);
    expectRow(kBrackets, "x=9", 481, 530, 5);
    expectRow(kBrackets, "x=2", endOf(kBrackets, "x=ﾀ-18/-9ﾀ") + 40, 250, 5);
    expectRow(kBrackets, "(4)", 790, 310, 3);
    expectRow(kBrackets, "x=ﾀ4/7ﾀ", endOf(kBrackets, "x=ﾀ-8/-14ﾀ") + 40, 530, 5);
}

TEST_F(Section5Walk, FractionsPageKeepsTheFirstDrillOnTheLeft) {
    EXPECT_EQ(shapeOf(page(kFractions)), "F W(40,90,2040,1890) F K F K F K F K F K F S K F3 W(640,30,2640,1830) "
                                   "F K F K F K F K F K F K F S K F");
    expectDrill(kFractions, "W(40,90,2040,1890)", 0, 40, 100, 110);
    expectDrill(kFractions, "W(640,30,2640,1830)", 0, 640, 700, 50);
    // The left half keeps the first drill: none of its rows reaches the right half.
    for (const Token& t : page(kFractions))
        if (event(t).op() == "formula" && event(t).num("x") < 640) {
            EXPECT_LT(event(t).num("end"), 640) << t.text;
        }
    expectRow(kFractions, "分母の公倍数を両辺にかけ、整数に", 40, 520, 3);
    expectRow(kFractions, "(分母をはらう)", endOf(kFractions, "してから解く。"), 570, 5);
    expectRow(kFractions, "教科書P95 問5 をしなさい。", 640, 590, 7);
}

TEST_F(Section5Walk, AnswersOfQuestion5OnTwoScreens) {
    EXPECT_EQ(shapeOf(page(kAnswers1)), "F K F7 K F9 K");
    // On the first screen each problem follows its label on the row.
    expectRow(kAnswers1, "ﾀx-1/3ﾀ=ﾀ1/4ﾀx+1", endOf(kAnswers1, "(1)"), 90, 0);
    expectRow(kAnswers1, "x=16", 94, 440, 5);
    expectRow(kAnswers1, "ﾀ3/4ﾀx-7=2x+ﾀ1/2ﾀ", endOf(kAnswers1, "(2)"), 90, 0);
    expectRow(kAnswers1, "x=-6", 654, 580, 5);
    EXPECT_EQ(shapeOf(page(kAnswers2)), "F10 K F9");
    expectRow(kAnswers2, "ﾀ9x-5/6ﾀ=ﾀ8+x/3ﾀ", 121, 90, 0);
    expectRow(kAnswers2, "x+ﾀx-1/3ﾀ=3", 681, 60, 0);
    expectRow(kAnswers2, "x=ﾀ5/2ﾀ", 681, 520, 5);
}

TEST_F(Section5Walk, DiscussionErasesTheSolvedProblemsBeforeTheNextTwo) {
    EXPECT_EQ(shapeOf(page(kDiscussion)), "F9 K F2 K F K F K F K F K F K F K F2 K F K F K F K F K F K F K F K "
              "W(40,440,640,940) W(640,0,1600,230) F2 K F K F K F K F K F K F K W(640,230,2240,730) "
              "F2 K F K F K F K F K F K F");
    expectRow(kDiscussion, "(1)", 40, 440, 3, 1);
    expectRow(kDiscussion, "3x-x=16-20", 721, 30, 0);
    expectRow(kDiscussion, "-2", endOf(kDiscussion, "x=ﾀ-4/2ﾀ="), 150, 5);
    expectRow(kDiscussion, "(2)", 640, 230, 3, 1);
    expectRow(kDiscussion, "(3)", 40, 440, 3, 1);
    expectRow(kDiscussion, "5x+10x=20+25", 721, 30, 0);
    expectRow(kDiscussion, "(4)", 640, 230, 3, 1);
    expectRow(kDiscussion, "-1", endOf(kDiscussion, "x=ﾀ10/-10ﾀ="), 500, 5);
}

TEST_F(Section5Walk, DecimalDrillDrawsAFreshProblemUnlessOneIsEntered) {
    EXPECT_EQ(shapeOf(page(kDecimals)), "F W(40,90,2040,1890) F K F K F K F K F S W(40,90,2040,1890) F K F K F K F K F S K F2");
    expectDrill(kDecimals, "W(40,90,2040,1890)", 0, 100, 100, 90);
    expectDrill(kDecimals, "W(40,90,2040,1890)", 1, 100, 100, 90);
    expectRow(kDecimals, "係数を整数にしてから解く。", 40, 490, 3);
}

TEST_F(Section5Walk, LinearEquationPageWithItsExample) {
    EXPECT_EQ(shapeOf(page(kLinear)), "F7 K F4 K F4 K F K F K F K F K F");
    expectRow(kLinear, "5x=10→", endOf(kLinear, "① "), 130, 0);
    expectRow(kLinear, "例 ", 40, 320, 7);
    expectRow(kLinear, "<解答> ", 780, 270, 5);
    expectRow(kLinear, "a=-ﾀ1/3ﾀ", 780, 530, 5);
}
