// Ratiora section 8: the answer sheets under their heading, their waits, the
// check with its empty boxes and the number square, and a walk through every page.

#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using testing_support::Event;
using testing_support::RunResult;

namespace {

const std::string kSection = "5926\n8\n";  // password, main-menu item 8

RunResult run(const std::string& keys) { return testing_support::runHeadless(ratiora::program(), kSection + keys); }

bool isBoxAt(const Event& ev, double x1, double y1) {
    return ev.op() == "box" && ev.num("x1") == x1 && ev.num("y1") == y1;
}

bool isWholeScreenBlank(const Event& ev) {
    return isBoxAt(ev, 0, 0) && ev.num("x2") == 1760 && ev.num("y2") == 1800 && ev.num("fill") == 15;
}

int end(const RunResult& r) { return static_cast<int>(r.events.size()); }

// The box drawn at event `i` and the text centred in it (the next formula).
struct Cell {
    double x1, y1, x2, y2;
    int line, fill;
    std::string text;
    int textColor;
};
Cell cellAt(const RunResult& r, int i) {
    const Event& b = r.events[i];
    int f = i + 1;
    while (r.events[f].op() != "formula") ++f;
    return {b.num("x1"), b.num("y1"), b.num("x2"), b.num("y2"), static_cast<int>(b.num("line")),
            static_cast<int>(b.num("fill")), r.events[f].str("text"), static_cast<int>(r.events[f].num("color"))};
}

// The heading right after a whole-screen blank: title box, then number box.
void expectHeading(const RunResult& r, int blank, double x, double y, const std::string& number) {
    int i = blank + 1;
    while (r.events[i].op() != "box") ++i;
    const Cell title = cellAt(r, i);
    EXPECT_EQ((std::vector<double>{title.x1, title.y1, title.x2, title.y2}), (std::vector<double>{x, y, x + 342, y + 48}));
    EXPECT_EQ(title.text, "学びを身につけよう");
    for (++i; r.events[i].op() != "box"; ++i) {}
    const Cell box = cellAt(r, i);
    const double bx = x + 342 + 30;
    EXPECT_EQ((std::vector<double>{box.x1, box.y1, box.x2, box.y2}), (std::vector<double>{bx, y, bx + 44, y + 44}));
    EXPECT_EQ((std::vector<int>{box.line, box.fill, box.textColor}), (std::vector<int>{4, 3, 13}));
    EXPECT_EQ(box.text, number);
}

}  // namespace

TEST(RatioraSection8Sheets, EveryScreenBlanksTheWholeScreenAndRedrawsItsHeading) {
    const RunResult r = run("1\nkkk2\n3\nk4\n5\nkk6\nkkkkkkk");
    const int menu = r.subMenuLines().front();
    const std::vector<int> blanks = r.indicesWhere(isWholeScreenBlank, menu, end(r));
    ASSERT_EQ(blanks.size(), 4u + 1 + 1 + 1 + 1 + 1);
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE("page 1, screen " + std::to_string(s + 1));
        expectHeading(r, blanks[s], 30, 20, "1");
        // Each screen but the last ends at a key, before the next blank.
        if (s < 3) {
            EXPECT_EQ(r.indicesWhere(testing_support::isAnyKeyPrompt, blanks[s], blanks[s + 1]).size(), 1u);
        }
    }
    expectHeading(r, blanks[4], 30, 20, "2");
    // Page 3 puts its number box under the title.
    int title = blanks[5] + 1, three = 0;
    while (r.events[title].op() != "box") ++title;
    for (three = title + 1; r.events[three].op() != "box"; ++three) {}
    EXPECT_TRUE(isBoxAt(r.events[title], 30, 20));
    EXPECT_TRUE(isBoxAt(r.events[three], 30, 80));
    EXPECT_EQ(cellAt(r, three).text, "3");
    expectHeading(r, blanks[6], 40, 30, "5");  // page 4 moves its heading
    expectHeading(r, blanks[7], 30, 20, "6");
    expectHeading(r, blanks[8], 30, 20, "7");
}

TEST(RatioraSection8Sheets, CheckLeavesThreeEmptyBoxesAndShowsOnlyTwoAsTheResult) {
    const RunResult r = run("3\nk");
    const int start = r.indexOfFormula("解が3だから、x=3 を代入して");
    ASSERT_GE(start, 0);
    const std::vector<int> waits = r.indicesWhere(testing_support::isAnyKeyPrompt, start, end(r));
    ASSERT_EQ(waits.size(), 1u);
    const int wait = waits.front();
    std::vector<Cell> blanks;
    for (int i = start; i < wait; ++i)
        if (r.events[i].op() == "box") blanks.push_back(cellAt(r, i));
    ASSERT_EQ(blanks.size(), 3u);
    const std::vector<std::pair<std::string, double>> before{{"5*3+", 200}, {"15+", 260}};
    for (std::size_t k = 0; k < blanks.size(); ++k) {
        EXPECT_EQ(blanks[k].text, "");
        EXPECT_EQ((std::vector<double>{blanks[k].x2 - blanks[k].x1, blanks[k].y2 - blanks[k].y1}),
                  (std::vector<double>{40, 50}));
        if (k < before.size()) {
            const Event& text = r.events[r.indexOfFormula(before[k].first, start)];
            EXPECT_EQ(blanks[k].x1, text.num("end") + 10);
            EXPECT_EQ(blanks[k].y1, before[k].second);
        }
    }
    EXPECT_EQ(blanks[2].x1, 30);
    EXPECT_EQ(blanks[2].y1, 320);
    // The result is "=2" right after the last line, the only text in colour 5.
    const Event& last = r.events[r.indexOfFormula("=11+6-15", start)];
    const Event& result = r.events[r.indexOfFormula("=2", start)];
    EXPECT_EQ(result.num("x"), last.num("end"));
    EXPECT_EQ(result.num("color"), 5);
    int coloured = 0;
    for (int i = start; i < wait; ++i)
        coloured += r.events[i].op() == "formula" && r.events[i].num("color") == 5 && !r.events[i].str("text").empty();
    EXPECT_EQ(coloured, 1);
    // The second exercise's number box stands in the right column, drawn with the wide pen.
    int four = wait;
    while (four < end(r) && !isBoxAt(r.events[four], 600, 30)) ++four;
    ASSERT_LT(four, end(r));
    EXPECT_EQ(cellAt(r, four).text, "4");
    EXPECT_EQ(cellAt(r, four).x2 - 600, 44);
    EXPECT_EQ(r.events[four].num("pen"), 5);
}

TEST(RatioraSection8Sheets, NumberSquareIsFilledInPairsSoEveryLineSumsToFifteen) {
    const RunResult r = run("6\n" + std::string(7, 'k'));
    const int start = r.indexOfFormula("(3)");
    ASSERT_GE(start, 0);
    int square[3][3] = {};
    std::vector<int> order;        // the numbers in the order they were drawn
    std::vector<int> keysBetween;  // any-key prompts seen before each number
    int keys = 0;
    for (int i = start; i < end(r); ++i) {
        keys += testing_support::isAnyKeyPrompt(r.events[i]);
        const Event& ev = r.events[i];
        if (ev.op() != "box") continue;
        const int col = static_cast<int>(ev.num("x1") - 560) / 50, row = static_cast<int>(ev.num("y1") - 350) / 50;
        if (col < 0 || col > 2 || row < 0 || row > 2 || !isBoxAt(ev, 560 + 50 * col, 350 + 50 * row))
            continue;
        const Cell c = cellAt(r, i);
        EXPECT_EQ(c.x2 - c.x1, 50);
        EXPECT_EQ(c.y2 - c.y1, 50);
        EXPECT_EQ(c.textColor, 3);
        if (c.text.empty()) continue;
        square[row][col] = std::stoi(c.text);
        order.push_back(square[row][col]);
        keysBetween.push_back(keys);
    }
    std::set<int> numbers;
    for (const auto& row : square)
        for (int v : row) numbers.insert(v);
    EXPECT_EQ(numbers, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(square[k][0] + square[k][1] + square[k][2], 15) << "row " << k;
        EXPECT_EQ(square[0][k] + square[1][k] + square[2][k], 15) << "column " << k;
    }
    EXPECT_EQ(square[0][0] + square[1][1] + square[2][2], 15);
    EXPECT_EQ(square[0][2] + square[1][1] + square[2][0], 15);
    // The centre first, then pairs across it, a key before each pair.
    ASSERT_EQ(order.size(), 9u);
    EXPECT_EQ(order[0], 5);
    for (std::size_t p = 1; p < order.size(); p += 2) {
        EXPECT_EQ(order[p] + order[p + 1], 10) << "pair " << p / 2;
        EXPECT_EQ(keysBetween[p], keysBetween[0] + 1 + static_cast<int>(p / 2)) << "pair " << p / 2;
        EXPECT_EQ(keysBetween[p + 1], keysBetween[p]);
    }
}

TEST(RatioraSection8Sheets, WalkThroughEveryPageAndBackToTheMainMenu) {
    const std::string keys = "1\nkkk" "2\n" "3\nk" "4\n" "5\nkk" "6\n" + std::string(7, 'k') + "7\n9\n";
    const RunResult r = run(keys);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>((kSection + keys).size()));
    // Each page lies between two sub-menu lines, opens with its first text and
    // waits its own keys (pages 2 and 4: none).
    const std::vector<std::pair<std::string, int>> pages{
        {"4x+2=5x-9", 3}, {"x:15=3:5", 0},          {"解が3だから、x=3 を代入して", 1},
        {"ももをx個つめたとすると", 0}, {"上るのにかかった時間をx分とすると 40x=60(x-30)", 2},
        {"(ｱ) 1+2+…+9=", 7},
    };
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), pages.size() + 1);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& [first, keysOnPage] = pages[p];
        const int at = r.indexOfFormula(first, lines[p]);
        ASSERT_GT(at, lines[p]) << first;
        ASSERT_LT(at, lines[p + 1]) << first;
        EXPECT_EQ(static_cast<int>(r.indicesWhere(testing_support::isAnyKeyPrompt, lines[p], lines[p + 1]).size()), keysOnPage) << first;
    }
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 2u);
}
