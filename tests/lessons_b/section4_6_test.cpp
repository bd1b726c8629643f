// Ratiora sections 4 (過不足) and 6 (比例式の利用): the figures built up
// step by step, the boxes filled at their places, and a walk through every page.

#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using testing_support::Event;
using testing_support::RunResult;

namespace {

RunResult run(const std::string& section, const std::string& keys) {
    return testing_support::runHeadless(ratiora::program(), "5926\n" + section + "\n" + keys);
}

std::string keys(int n) { return std::string(static_cast<std::size_t>(n), 'k'); }
double width(const Event& b) { return b.num("x2") - b.num("x1"); }
double height(const Event& b) { return b.num("y2") - b.num("y1"); }

// Boxes outlined in `line` (the prompts and page clears use other colours).
std::vector<Event> figureBoxes(const RunResult& r, int line) {
    std::vector<Event> out;
    for (const Event& b : r.ofOp("box"))
        if (b.num("line") == line) out.push_back(b);
    return out;
}

}  // namespace

// ---- Section 4 ------------------------------------------------------------------

TEST(RatioraSection4Candy, DottedEndsBarsAndBoxesStandWhereTheFigureSays) {
    const RunResult r = run("4", "1\n");  // up to the figure's wait
    // Height 0: the two ends are dotted straight lines (colour 0) from the top bar down to the last.
    int dots = 0;
    for (const Event& c : r.ofOp("circle"))
        dots += c.num("r") == 0.5 && c.num("color") == 0 && c.num("y") > 139.9 && c.num("y") < 340.1 &&
                (std::abs(c.num("x") - 142) < 0.01 || std::abs(c.num("x") - 414) < 0.01);
    EXPECT_EQ(dots, 2 * 23);
    std::vector<std::vector<double>> bars;
    for (const Event& l : r.ofOp("line"))
        if (l.num("pen") == 11) bars.push_back({l.num("x1"), l.num("y1"), l.num("x2"), l.num("y2"), l.num("color")});
    EXPECT_EQ(bars, (std::vector<std::vector<double>>{
                        {142, 140, 414, 140, 0}, {142, 220, 312, 220, 3}, {312, 220, 414, 220, 0}, {142, 340, 482, 340, 3}}));
    // Each box around its text line (top: line - (h - 44) / 2), after the text before it.
    const std::vector<Event> boxes = figureBoxes(r, 3);
    ASSERT_EQ(boxes.size(), 4u);
    const double tops[] = {170 - 3, 240 - 3, 290 - 2, 360 - 3}, heights[] = {50, 50, 48, 50};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(width(boxes[i]), 60);
        EXPECT_EQ(boxes[i].num("y1"), tops[i]);
        EXPECT_EQ(height(boxes[i]), heights[i]);
    }
    EXPECT_EQ(boxes[0].num("x1"), r.formulasWith("分ける個数")[0].num("end") + 20);
    EXPECT_EQ(boxes[3].num("x1"), r.formula("たりない個数").num("end") + 10);
}

TEST(RatioraSection4Candy, BoxesAreFilledAtTheirPlacesOneKeyEach) {
    const RunResult r = run("4", "1\n" + keys(5));
    const std::vector<Event> boxes = figureBoxes(r, 3);
    ASSERT_EQ(boxes.size(), 8u);
    // Filled in the order 2, 4, 1, 3, each 50 high around the text line it was first drawn on.
    const std::vector<std::pair<int, std::string>> fills{{1, "12"}, {3, "4"}, {0, "5x"}, {2, "7x"}};
    for (std::size_t k = 0; k < fills.size(); ++k) {
        const Event &first = boxes[fills[k].first], &filled = boxes[4 + k], &text = r.formula(fills[k].second);
        EXPECT_EQ(filled.num("x1"), first.num("x1")) << fills[k].second;
        EXPECT_EQ(height(filled), 50) << fills[k].second;
        EXPECT_EQ(text.num("y"), filled.num("y1") + 3) << fills[k].second;
        EXPECT_EQ(text.num("color"), 5);
    }
    EXPECT_EQ(boxes[7].num("y1"), boxes[2].num("y1") - 1);  // box 3: 48 high, now 50
    // 60 below box 4's text line (not its top), then a wait after each fill.
    const Event& unknown = r.formula("生徒の人数をx人とすると");
    EXPECT_EQ(unknown.num("x"), 40);
    EXPECT_EQ(unknown.num("y"), 360 + 60);
    EXPECT_EQ(r.anyKeyPromptsBetween(r.indexOfFormula("12"), r.indexOfFormula("7x")), 4);
}

TEST(RatioraSection4Rows, BoxesAreChainedWithTheElisionAfterTheSecond) {
    const RunResult r = run("4", "2\n");
    const std::vector<Event> boxes = figureBoxes(r, 3);
    std::vector<Event> elisions;
    for (const Event& t : r.ofOp("text"))
        if (t.str("text") == "…" && t.num("mx") == 4 && t.num("my") == 4 && t.num("color") == 3) elisions.push_back(t);
    ASSERT_EQ(boxes.size(), 9u);
    ASSERT_EQ(elisions.size(), 2u);
    // Row 1: 5 boxes from (40, 90), the last 114 wide 10 after; row 2: 4 boxes from (40, 190).
    for (const auto& [first, count, top, dot] : {std::tuple{0, 5, 90.0, elisions[0]}, {5, 4, 190.0, elisions[1]}}) {
        EXPECT_EQ(boxes[first].num("x1"), 40);
        EXPECT_EQ(dot.num("x"), boxes[first + 1].num("x2") + 10);
        EXPECT_EQ(dot.num("y"), top + 10);
        for (int i = first; i < first + count; ++i) {
            EXPECT_EQ(boxes[i].num("y1"), top);
            EXPECT_EQ(height(boxes[i]), 90);
            EXPECT_EQ(width(boxes[i]), i == 4 ? 114 : 38);
            const double gap = i == first + 2 ? 80 : (i == 4 ? 10 : 0);
            if (i > first) {
                EXPECT_EQ(boxes[i].num("x1"), boxes[i - 1].num("x2") + gap) << i;
            }
        }
    }
}

// ---- Section 6 ------------------------------------------------------------------

TEST(RatioraSection6Containers, FigureStandsOnTheUndrawnGridFromItsOrigin) {
    const RunResult r = run("6", "1\n" + keys(15));
    const int title = r.indexOfFormula("教科書P106 例題1 を考えよう");
    const std::vector<Event> polylines = r.ofOp("polyline");
    ASSERT_GE(title, 0);
    ASSERT_EQ(polylines.size(), 2u);
    for (int i = title; r.events[i].op() != "polyline"; ++i) EXPECT_NE(r.events[i].op(), "line");  // no grid
    // Figure points (u, v) at (40 + 50u, 390 - 50v): walls up to v 5, floors at v 0.
    std::vector<double> got;
    for (const Event& poly : polylines)
        for (const auto& p : poly.at("points").array) got.insert(got.end(), {p.array[0].number, p.array[1].number});
    EXPECT_EQ(got, (std::vector<double>{240, 140, 240, 390, 40, 390, 40, 140, 390, 140, 390, 390, 290, 390, 290, 140}));
    // The contents on the floors (fill 13), the parts to add above them (fill 11) empty, then "xg".
    std::vector<double> cells;
    for (const Event& b : figureBoxes(r, 0)) cells.insert(cells.end(), {b.num("y1"), b.num("y2"), b.num("fill")});
    EXPECT_EQ(cells, (std::vector<double>{265, 390, 13, 340, 390, 13, 190, 265, 11, 190, 340, 11, 190, 265, 11, 190, 340, 11}));
    // The closing hint stands in the left column on the answer's line.
    const Event& hint = r.formula("教科書P106 問1 をやろう。");
    EXPECT_EQ(hint.num("x"), 40);
    EXPECT_EQ(hint.num("y"), r.formula("答　16gずつ増やせばよい").num("y"));
}

// ---- Both sections ----------------------------------------------------------------

TEST(RatioraSection4Pages, WalkThroughEveryPageOfSections4And6) {
    const std::string keysIn = "4\n1\n" + keys(15) + "2\n" + keys(8) + "3\n" + "6\n1\n" + keys(15) + "2\n" + keys(7) + "3\n9\n";
    const RunResult r = testing_support::runHeadless(ratiora::program(), "5926\n" + keysIn);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>(keysIn.size()) + 5);
    EXPECT_EQ(r.formulasWith("<めあて>").size(), 2u);  // once on entering each section
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 3u);
    // Sub-menu lines: three in each section; each page lies between two of them and waits its keys.
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), 6u);
    const std::vector<std::pair<std::string, int>> pages{{"教科書P103 例題2をやってみよう。", 15}, {"教科書P103 問3", 8},
                                                         {"教科書P106 例題1 を考えよう", 15}, {"問1 解答", 7}};
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const int before = lines[p + p / 2], after = lines[p + p / 2 + 1];
        const int start = r.indexOfFormula(pages[p].first, before);
        ASSERT_GT(start, before) << pages[p].first;
        ASSERT_LT(start, after) << pages[p].first;
        EXPECT_EQ(r.anyKeyPromptsBetween(start, after), pages[p].second) << pages[p].first;
    }
}
