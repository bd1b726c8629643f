// Ratiora sections 2 and 3: the age problem's pages and the price problem's
// figure, checked on the trace, and a walk through every page of both.

#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using testing_support::Event;
using testing_support::RunResult;

namespace {

RunResult run(const std::string& keys) {
    return testing_support::runHeadless(ratiora::program(), "5926\n" + keys);
}

std::string keys(int n) { return std::string(n, 'k'); }

bool isPageClear(const Event& ev) { return ev.op() == "box" && ev.num("x1") == 0 && ev.num("y1") == 0; }

using Place = std::pair<double, double>;
Place placeOf(const RunResult& r, const std::string& text) {
    const Event& ev = r.formula(text);
    return {ev.num("x"), ev.num("y")};
}

}  // namespace

TEST(RatioraSection2, P99FirstScreenBlanksTheWholeScreenAndTheEqualsSignIsCompletedInPlace) {
    const RunResult r = run("2\n1\n" + keys(29));
    const std::vector<int> clears = r.indicesWhere(isPageClear, r.subMenuLines().at(0));
    ASSERT_EQ(clears.size(), 2u);
    EXPECT_EQ(r.events[clears[0]].num("x2"), 1760);
    EXPECT_EQ(r.events[clears[0]].num("y2"), 1800);  // the prompt band too
    EXPECT_EQ(r.events[clears[1]].num("y2"), 1300);
    // The lone "=", a key, then the whole right side over it.
    const int equals = r.indexOfFormula("="), rightSide = r.indexOfFormula("=(?年後のはるとさんの年齢)*3");
    ASSERT_GT(rightSide, equals);
    EXPECT_EQ(r.anyKeyPromptsBetween(equals, rightSide), 1);
    EXPECT_EQ(placeOf(r, "=(?年後のはるとさんの年齢)*3"), Place(66, placeOf(r, " (?年後の先生の年齢)").second + 50));
    EXPECT_EQ(placeOf(r, "="), placeOf(r, "=(?年後のはるとさんの年齢)*3"));
}

TEST(RatioraSection2, ProcedureWaitsTwiceAfterSevenYearsAndChecksStandByTheirEquations) {
    const RunResult r = run("2\n2\n" + keys(13) + "3\n" + keys(11));
    const int sevenYears = r.indexOfFormula("7年後とすると "), teacher = r.indexOfFormula("先生は、");
    ASSERT_GE(sevenYears, 0);
    ASSERT_GT(teacher, sevenYears);
    EXPECT_EQ(r.anyKeyPromptsBetween(sevenYears, teacher), 2);
    // Step 4 level with step 3's equation; 問1's check just below its equation.
    EXPECT_EQ(placeOf(r, "④ 解が問題にあっているか調べ、答を書く"), Place(524, placeOf(r, "x=7").second - 200));
    EXPECT_EQ(placeOf(r, "④ 解が問題にあっているか調べ、答を書く").second, 280);
    EXPECT_EQ(placeOf(r, "<問題にあっているかどうか調べる>"), Place(400, placeOf(r, "53+x=2(13+x)").second + 50));
}

TEST(RatioraSection3, ExampleFigureLabelsAndPenWidth) {
    // Page 1 through, then page 2: its page clear shows the pen page 1 left.
    const RunResult r = run("3\n1\n" + keys(19) + "2\n");
    std::vector<std::pair<double, int>> segments;  // (x2, colour), all at y 200 with pen 8
    for (const Event& ev : r.ofOp("line"))
        if (ev.num("pen") == 8 && ev.num("y1") == 200 && ev.num("y2") == 200)
            segments.emplace_back(ev.num("x2"), static_cast<int>(ev.num("color")));
    EXPECT_EQ(segments, (std::vector<std::pair<double, int>>{{640, 0}, {748, 7}, {928, 3}}));
    // The dotted arcs in their order: the cakes, the whole, the juice, the
    // change, and later the priced cakes again; all with pen 5.
    std::vector<int> runs;
    for (const Event& ev : r.ofOp("circle")) {
        if (ev.num("pen") != 5 || ev.num("y") < 140 || ev.num("y") > 230) continue;
        if (runs.empty() || runs.back() != ev.num("color")) runs.push_back(static_cast<int>(ev.num("color")));
    }
    EXPECT_EQ(runs, (std::vector<int>{0, 5, 7, 3, 0}));
    EXPECT_EQ(r.formulasWith("x円").size(), 4u);
    // "ケーキ" stands aside: "2000円" goes on after "出したお金 ".
    EXPECT_EQ(placeOf(r, "出したお金 "), Place(340, 150));
    EXPECT_EQ(placeOf(r, "ケーキ"), Place(286, 270));
    EXPECT_EQ(placeOf(r, "2000円"), Place(r.formula("出したお金 ").num("end"), 150));
    EXPECT_EQ(placeOf(r, "この解は問題にあっている。"), Place(600, 470));
    EXPECT_EQ(placeOf(r, "答　ケーキ1個の値段 350円"), Place(600, 520));
    EXPECT_EQ(placeOf(r, "教科書P102 問2 をやろう。"), Place(600, 570));
    const std::vector<int> clears = r.indicesWhere(isPageClear);
    ASSERT_FALSE(clears.empty());
    EXPECT_EQ(r.events[clears.back()].num("x2"), 1320);
    EXPECT_EQ(r.events[clears.back()].num("pen"), 5);
}

TEST(RatioraSection2And3, WalkThroughEveryPageAndBackToTheMainMenu) {
    const std::string script = "2\n1\n" + keys(29) + "2\n" + keys(13) + "3\n" + keys(11) + "4\n" + keys(7) +
                               "7\n5\n" +  // a wrong number, then 終了
                               "3\n1\n" + keys(19) + "2\n" + keys(8) + "3\n" + "9\n";
    const RunResult r = run(script);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>(("5926\n" + script).size()));
    const std::vector<std::pair<std::string, int>> pages{
        {"P99 ", 29},        {"方程式を利用した解き方", 13}, {"問1　解答", 11}, {"<話しあおう> ", 7},
        {"P102 例題1 ", 19}, {"教科書P102 問2", 8},
    };
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), 4 + 1 + 1 + 2 + 1u);  // the wrong number redraws section 2's sub-menu
    const std::vector<int> pageLines{0, 1, 2, 3, 6, 7};  // the sub-menu line each page follows
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& [title, waits] = pages[p];
        const int start = r.indexOfFormula(title, lines[pageLines[p]]);
        ASSERT_GT(start, lines[pageLines[p]]) << title;
        ASSERT_LT(start, lines[pageLines[p] + 1]) << title;
        EXPECT_EQ(r.anyKeyPromptsBetween(start, lines[pageLines[p] + 1]), waits) << title;
    }
    EXPECT_EQ(r.formulasWith("<めあて>").size(), 2u);
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 3u);
}
