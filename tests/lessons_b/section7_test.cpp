// Ratiora section 7: the answer sheets of the first review set, their
// whole-screen blanks and headings, their waits and a walk through every page.

#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testing_support::Event;
using testing_support::RunResult;

namespace {

const std::string kSection = "5926\n7\n";  // password, main-menu item 7

RunResult run(const std::string& keys) { return testing_support::runHeadless(ratiora::program(), kSection + keys); }

// Indices in [from, to) of the events that pass `test`.
std::vector<int> find(const RunResult& r, int from, int to, const std::function<bool(const Event&)>& test) {
    return r.indicesWhere(test, from, to);
}
int end(const RunResult& r) { return static_cast<int>(r.events.size()); }

bool boxAt(const Event& ev, double x1, double y1, double x2, double y2) {
    return ev.op() == "box" && ev.num("x1") == x1 && ev.num("y1") == y1 && ev.num("x2") == x2 && ev.num("y2") == y2;
}
std::vector<int> blanks(const RunResult& r, int from, int to) {
    return find(r, from, to, [](const Event& ev) { return boxAt(ev, 0, 0, 1760, 1800) && ev.num("fill") == 15; });
}
std::vector<Event> formulasIn(const RunResult& r, int from, int to) {
    std::vector<Event> out;
    for (int i : find(r, from, to, [](const Event& ev) { return ev.op() == "formula"; })) out.push_back(r.events[i]);
    return out;
}

// A screen starts with the blank, the heading box with its title, the number
// box 10 to its right with the exercise's number, and only then the rows.
void expectScreenStart(const RunResult& r, int blank, const std::string& number, const std::string& firstRow) {
    const std::vector<int> boxes = find(r, blank + 1, end(r), [](const Event& ev) { return ev.op() == "box"; });
    const std::vector<Event> f = formulasIn(r, blank, end(r));
    ASSERT_GE(boxes.size(), 2u);
    ASSERT_GE(f.size(), 3u);
    EXPECT_TRUE(boxAt(r.events[boxes[0]], 40, 30, 400, 78));
    EXPECT_TRUE(boxAt(r.events[boxes[1]], 410, 30, 454, 74));
    EXPECT_EQ(f[0].str("text"), "学びをたしかめよう");
    EXPECT_EQ(f[1].str("text"), number);
    EXPECT_EQ(f[1].num("color"), 13);
    EXPECT_EQ(f[2].str("text"), firstRow);
}

}  // namespace

TEST(RatioraSection7Sheets, PagesOneTwoAndFourDrawEverythingWithoutAWait) {
    const RunResult r = run("1\n2\n4\n");
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(r.anyKeyPromptsBetween(lines[0], end(r)), 0);
    const std::vector<std::string> lastRows{"＜答＞（イ）", "(2)等式の両辺を同じ数でわっても、等式が成り立つ。", "x=3"};
    for (std::size_t p = 0; p < lastRows.size(); ++p)
        EXPECT_EQ(formulasIn(r, lines[p], lines[p + 1]).back().str("text"), lastRows[p]);
    // Page 2's answer cells: 40 x 50, each 10 after the text before it, and the text after them.
    std::vector<Event> cells;
    for (const Event& ev : r.ofOp("box"))
        if (ev.num("x2") - ev.num("x1") == 40 && ev.num("line") == 3 && ev.num("fill") == 15) cells.push_back(ev);
    ASSERT_EQ(cells.size(), 3u);
    const Event equals = r.events[r.indexOfFormula("=8+")];
    EXPECT_EQ(cells[0].num("x1"), r.events[r.indexOfFormula("3x-7+")].num("end") + 10);
    EXPECT_EQ(equals.num("x"), cells[0].num("x2") + 10);
    EXPECT_EQ(cells[1].num("x1"), equals.num("end") + 10);
    for (const Event& c : cells) EXPECT_EQ(c.num("y2") - c.num("y1"), 50);
    EXPECT_EQ(cells[2].num("y1"), 270);
}

TEST(RatioraSection7Sheets, PageThreeWaitsOnceThenRepeatsTheHeading) {
    const RunResult r = run("3\nk");
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<int> screens = blanks(r, lines[0], lines[1]);
    ASSERT_EQ(screens.size(), 2u);
    const int lastRowOfFirst = r.indexOfFormula("x=-2", screens[0]);
    EXPECT_EQ(r.anyKeyPromptsBetween(screens[0], lastRowOfFirst), 0);
    EXPECT_EQ(r.anyKeyPromptsBetween(lastRowOfFirst, screens[1]), 1);
    EXPECT_EQ(r.anyKeyPromptsBetween(screens[1], lines[1]), 0);
    expectScreenStart(r, screens[1], "3", "(10)");
}

TEST(RatioraSection7Sheets, WalkThroughEveryPageAndBackToTheMainMenu) {
    const std::string keys = "1\n2\n3\nk4\n5\n" + std::string(9, 'k') + "6\n" + std::string(10, 'k') + "7\n" +
                             std::string(10, 'k') + "8\n9\n";
    const RunResult r = run(keys);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>((kSection + keys).size()));
    struct Expected {
        std::string number, firstRow;
        int screens, waits;
    };
    const std::vector<Expected> pages{{"1", "(ア)に、x=2 を代入すると", 1, 0}, {"2", "3x-7=8", 1, 0},
                                      {"3", "(1)", 2, 1}, {"4", "(1)", 1, 0}, {"5", "(1)", 1, 9},
                                      {"5", "(1)", 1, 10}, {"5", "(1)", 1, 10}};
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), pages.size() + 1);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        // The blank comes before anything of the page and wipes the prompt band.
        const std::vector<int> screens = blanks(r, lines[p], lines[p + 1]);
        ASSERT_EQ(static_cast<int>(screens.size()), pages[p].screens);
        EXPECT_TRUE(formulasIn(r, lines[p] + 1, screens[0]).empty());
        expectScreenStart(r, screens[0], pages[p].number, pages[p].firstRow);
        EXPECT_EQ(r.anyKeyPromptsBetween(lines[p], lines[p + 1]), pages[p].waits);
    }
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 2u);
}
