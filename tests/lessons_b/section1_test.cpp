// Ratiora section 1: the drills' numbers and texts, the drill loops, the
// sub-menu and a walk through every page.

#include "lessons_b/section1.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <set>
#include <utility>

using namespace ratiora::proportion;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::RunResult;

namespace {

const std::string kSection = "5926\n1\n";  // password, main-menu item 1

RunResult run(const std::string& keys, unsigned seed = 7) {
    return testing_support::runHeadless(ratiora::program(), kSection + keys, {seed});
}

// The texts a problem left in the trace, in order, from the event index `from`.
std::vector<Event> formulasFrom(const RunResult& r, int from) {
    std::vector<Event> out;
    for (int i = from; i < static_cast<int>(r.events.size()); ++i)
        if (r.events[i].op() == "formula") out.push_back(r.events[i]);
    return out;
}

bool isBox(const Event& ev, double x1, double y1, int fill = -1) {
    return ev.op() == "box" && ev.num("x1") == x1 && ev.num("y1") == y1 && (fill < 0 || ev.num("fill") == fill);
}

int countBoxes(const RunResult& r, double x1, double y1, int fill = -1, int from = 0, int to = -1) {
    if (to < 0) to = static_cast<int>(r.events.size());
    int n = 0;
    for (int i = from; i < to; ++i) n += isBox(r.events[i], x1, y1, fill);
    return n;
}

int firstBox(const RunResult& r, double x1, double y1, int from = 0) {
    for (int i = from; i < static_cast<int>(r.events.size()); ++i)
        if (isBox(r.events[i], x1, y1)) return i;
    return -1;
}

int stepPrompts(const RunResult& r) {
    return static_cast<int>(r.indicesWhere([](const Event& ev) { return testing_support::isWait(ev, "step"); }).size());
}

// "x=5", "x=-5", "x=ﾀ3/2ﾀ", "x=-ﾀ3/2ﾀ" as numerator and denominator.
std::pair<int, int> answerOf(std::string text) {
    for (std::size_t at; (at = text.find("ﾀ")) != std::string::npos;) text.erase(at, std::string("ﾀ").size());
    int p = 0, q = 1;
    EXPECT_GE(std::sscanf(text.c_str(), "x=%d/%d", &p, &q), 1) << text;
    return {p, q};
}

}  // namespace

// ---- The numbers and texts of the drills ------------------------------------

TEST(RatioraSection1Model, RatioDrawsCoverExactlyTheirRangesAndAnswersSolveTheProportion) {
    std::set<std::pair<int, int>> pairs, expected;  // (c, b)
    std::set<int> answers;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        EngineFixture f("", seed);
        for (int i = 0; i < 40; ++i) {
            const RatioNumbers n = drawRatioNumbers(f.engine());
            pairs.insert({n.c, n.b});
            answers.insert(n.answer());
            // The texts, read back, give x:d = b:c with d = 2c or 3c, solved by the answer.
            int d = 0, b = 0, c = 0, x = 0;
            const auto t = ratioTexts(n);
            ASSERT_EQ(std::sscanf(t[0].c_str(), "x:%d=%d:%d", &d, &b, &c), 3) << t[0];
            ASSERT_EQ(std::sscanf(t[3].c_str(), "x=%d", &x), 1) << t[3];
            ASSERT_TRUE(d == 2 * c || d == 3 * c) << t[0];
            ASSERT_EQ(x * c, d * b) << t[0] << " " << t[3];
        }
    }
    for (int c = 2; c <= 5; ++c)
        for (int b = 1; b <= 5; ++b)
            if (b != c) expected.insert({c, b});
    EXPECT_EQ(pairs, expected);  // never c = 1, never b = c
    EXPECT_EQ(*answers.begin(), 2);
    EXPECT_EQ(*answers.rbegin(), 15);
}

TEST(RatioraSection1Model, RatioTextsForFixedNumbers) {
    const RatioNumbers n{2, 5, 3};
    EXPECT_EQ(ratioTexts(n), (std::array<std::string, 4>{"x:15=2:5", "ﾀx/15ﾀ=ﾀ2/5ﾀ", "x=ﾀ2/5ﾀ*15", "x=6"}));
    EXPECT_EQ(crossTexts(n),
              (std::array<std::string, 5>{"① x:15=2:5", "5*x=15*2", "5x=30", "ﾀ5x/5ﾀ=ﾀ30/5ﾀ", "x=6"}));
}

TEST(RatioraSection1Model, BracketDrawsCoverExactlyTheirRangesAndAnswersSolveTheProportion) {
    std::set<int> ds, cs, ms, ns, factors;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        EngineFixture f("", seed);
        for (int i = 0; i < 40; ++i) {
            const BracketNumbers n = drawBracketNumbers(f.engine());
            ASSERT_EQ(n.a % n.c, 0);
            for (auto [set, v] : {std::pair{&ds, n.d}, {&cs, n.c}, {&ms, n.m}, {&ns, n.n}, {&factors, n.a / n.c}})
                set->insert(v);
            // x = p/q in lowest terms with a:(mx+n) = c:d, that is a·d = c·(m·p/q + n).
            const std::string answer = bracketTexts(f.engine(), n)[6];
            const auto [p, q] = answerOf(answer);
            ASSERT_GT(q, 0) << answer;
            ASSERT_EQ(std::gcd(p, q), 1) << answer;
            ASSERT_EQ(n.a * n.d * q, n.c * (n.m * p + n.n * q)) << answer;
        }
    }
    EXPECT_EQ(ds, (std::set<int>{2, 4, 7, 8}));
    EXPECT_EQ(cs, (std::set<int>{3, 5}));
    EXPECT_EQ(ms, (std::set<int>{1, 2}));
    EXPECT_EQ(factors, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(ns, (std::set<int>{-9, -8, -7, -6, -5, -4, -3, -2, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(RatioraSection1Model, BracketTextsSignsCoefficientsAndReducedAnswers) {
    EngineFixture f;
    // m = 1: no coefficient in the bracket; a negative n has its own "-".
    EXPECT_EQ(bracketTexts(f.engine(), {6, 1, -5, 3, 4}),
              (std::array<std::string, 7>{"② 6:(x-5)=3:4", "3(x-5)=6*4", "3x-15=24", "3x=24+15", "3x=39",
                                          "ﾀ3x/3ﾀ=ﾀ39/3ﾀ", "x=13"}));
    // R = 9, M = 6: the answer is reduced to a fraction.
    EXPECT_EQ(bracketTexts(f.engine(), {9, 2, 3, 3, 2}),
              (std::array<std::string, 7>{"② 9:(2x+3)=3:2", "3(2x+3)=9*2", "6x+9=18", "6x=18-9", "6x=9",
                                          "ﾀ6x/6ﾀ=ﾀ9/6ﾀ", "x=ﾀ3/2ﾀ"}));
    EXPECT_EQ(bracketTexts(f.engine(), {5, 2, 9, 5, 2})[6], "x=-ﾀ7/2ﾀ");  // R = -35, M = 10
    EXPECT_EQ(bracketTexts(f.engine(), {3, 1, 2, 3, 2})[6], "x=0");       // R = 0
}

// ---- The drill loops ---------------------------------------------------------

TEST(RatioraSection1Drill, OneAtTheFirstStepPromptEndsTheLoop) {
    const RunResult r = run("2\nkkk1\nk");
    EXPECT_EQ(countBoxes(r, 40, 90), 1);
    const int closing = r.indexOfFormula("比の値を使えば、方程式になる。");
    ASSERT_GE(closing, 0);
    EXPECT_EQ(r.events[closing].num("y"), 110 + 80 + 80 + 70 + 60);
    // The answer was drawn in colour 5 with a key after each row before it.
    const auto rows = formulasFrom(r, r.indexOfFormula("Q2 次の比例式を解きなさい。") + 1);
    EXPECT_EQ(rows[3].num("color"), 5);
    EXPECT_EQ(r.anyKeyPromptsBetween(0, closing), 3 + 1);
}

TEST(RatioraSection1Drill, AnyOtherNumberDrawsANewProblemInTheSamePlace) {
    const RunResult r = run("2\nkkk2\nkkk5\nkkk1\n");
    ASSERT_EQ(countBoxes(r, 40, 90), 3);
    const std::vector<std::pair<double, double>> places{{100, 110}, {100, 190}, {100, 270}, {100, 340}};
    int problems = 0;
    for (int i = 0; i < static_cast<int>(r.events.size()); ++i) {
        if (!isBox(r.events[i], 40, 90)) continue;
        const auto rows = formulasFrom(r, i);
        ASSERT_GE(rows.size(), places.size());
        for (std::size_t k = 0; k < places.size(); ++k) {
            EXPECT_EQ(rows[k].num("x"), places[k].first);
            EXPECT_EQ(rows[k].num("y"), places[k].second);
        }
        ++problems;
    }
    EXPECT_EQ(problems, 3);
    EXPECT_EQ(stepPrompts(r), 3);
}

TEST(RatioraSection1Drill, ExamplePageRunsItsTwoLoopsInTheirColumns) {
    const RunResult r = run("4\nkkkk2\nkkkk1\nkkkkkkkk1\n");
    // The page clear leaves the right edge of the screen.
    const Event clear = r.events[firstBox(r, 0, 0, r.subMenuLines()[0])];
    EXPECT_EQ(clear.num("x2"), 1320);
    EXPECT_EQ(clear.num("y2"), 1300);
    EXPECT_EQ(countBoxes(r, 40, 90), 2);
    EXPECT_EQ(countBoxes(r, 640, 30), 1);
    const auto rows = formulasFrom(r, firstBox(r, 640, 30));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].num("x"), 640);
    EXPECT_EQ(rows[0].num("y"), 50);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].num("x"), 700);
        EXPECT_EQ(rows[k].num("y"), 50 + 70 * static_cast<double>(k));
    }
    EXPECT_EQ(rows[6].num("color"), 5);
}

// ---- Sub-menu and pages ------------------------------------------------------

TEST(RatioraSection1Menu, OutOfRangeChoicesRedrawOnlyTheSubMenu) {
    const RunResult r = run("0\n8\n2.5\n");
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(formulasFrom(r, lines[0]).empty());  // nothing of a page was drawn
    EXPECT_EQ(countBoxes(r, 0, 0, -1, lines[0]), 0);
    EXPECT_EQ(r.formulasWith("<めあて>").size(), 1u);
}

TEST(RatioraSection1Pages, RatioValuesStandUnderTheirRatios) {
    const RunResult r = run("1\nkkkk");
    const auto mark = [&](const std::string& text) { return r.events[r.indexOfFormula(text)]; };
    for (const auto& [ratio, value] : {std::pair{"①", "=ﾀ2/5ﾀ"}, {" 2:5   ②", "=ﾀ10/25ﾀ"}}) {
        EXPECT_EQ(mark(value).num("x"), mark(ratio).num("end")) << value;
        EXPECT_EQ(mark(value).num("y"), mark(ratio).num("y") + 70) << value;
    }
}

TEST(RatioraSection1Pages, ExercisesPageDrawsAllRowsWithoutAWait) {
    const RunResult r = run("6\n");
    const int start = r.indexOfFormula("練習問題 解答");
    ASSERT_GE(start, 0);
    const auto rows = formulasFrom(r, start);
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(rows.back().str("text"), "x=9");
    EXPECT_EQ(rows.back().num("y"), 30 + 70 * 3 + 70 + 50 * 4);
    EXPECT_EQ(r.anyKeyPromptsBetween(start, static_cast<int>(r.events.size())), 0);
}

TEST(RatioraSection1Pages, WalkThroughEveryPageAndBackToTheMainMenu) {
    const std::string keys = "1\n" + std::string(6, 'k') +                                   // 比例式
                             "2\nkkk1\n" + std::string(4, 'k') +                            // 問題
                             "3\n" + std::string(4, 'k') +                                  // 性質
                             "4\nkkkk1\nkk" + "kkkkkk1\nkk" +                               // 例1
                             "5\n" + std::string(18, 'k') +                                 // 問2
                             "6\n7\n9\n";                                                   // 練習問題, 終了, quit
    const RunResult r = run(keys);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>((kSection + keys).size()));
    const std::vector<std::pair<std::string, int>> pages{
        {"1 比の値", 6},        {"Q2 次の比例式を解きなさい。", 3 + 4}, {"課題2 ", 4},
        {"例1 xの値を求めなさい。", 4 + 2 + 6 + 2}, {"問2 解答", 18},  {"練習問題 解答", 0},
    };
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), pages.size() + 1);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        // Each page lies between two sub-menu lines and waits its own keys.
        const auto& [title, keysOnPage] = pages[p];
        const int start = r.indexOfFormula(title, lines[p]);
        ASSERT_GT(start, lines[p]) << title;
        ASSERT_LT(start, lines[p + 1]) << title;
        EXPECT_EQ(r.anyKeyPromptsBetween(start, lines[p + 1]), keysOnPage) << title;
    }
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 2u);
}
