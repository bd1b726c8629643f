// The exercise answer pages P91 and P96, walked by scripted keys and checked
// on the trace: rows at their places and colours, waits per screen, headings,
// the sub-menus, and columns that keep clear of each other.

#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using testing_support::Event;
using testing_support::RunResult;

namespace {

RunResult runSection(int section, const std::string& keys) {
    return testing_support::runHeadless(solvara::program(), "5926\n" + std::to_string(section) + "\n" + keys);
}

bool isBox(const Event& ev, double x1, double y1, double x2, double y2) {
    return ev.op() == "box" && ev.num("x1") == x1 && ev.num("y1") == y1 && ev.num("x2") == x2 && ev.num("y2") == y2;
}
bool isPageClear(const Event& ev) { return isBox(ev, 0, 0, 1760, 1800) && ev.num("fill") == 15; }
bool isKeyPrompt(const Event& ev) { return testing_support::isAnyKeyPrompt(ev); }
bool isTitleBox(const Event& ev) { return isBox(ev, 40, 30, 436, 76) && ev.num("line") == 3 && ev.num("fill") == 13; }
bool isSetBox(const Event& ev) { return isBox(ev, 456, 30, 500, 74) && ev.num("line") == 4 && ev.num("fill") == 3; }
bool isSubMenuLine(const Event& ev) { return testing_support::isSubMenuLineStart(ev); }
bool isLabel(const Event& ev) { return ev.num("color") == 3 && ev.str("text").starts_with("("); }

using Screen = std::vector<Event>;

std::vector<Event> formulasOf(const Screen& screen) {
    std::vector<Event> out;
    std::copy_if(screen.begin(), screen.end(), std::back_inserter(out), [](const Event& ev) { return ev.op() == "formula"; });
    return out;
}

// The screens of the page chosen at the n-th sub-menu line, each from its
// page clear on. Empty unless the sub-menu line came back after the page.
std::vector<Screen> pageAfterSubMenu(const RunResult& r, int n) {
    std::vector<Screen> screens;
    int seen = -1;
    for (const Event& ev : r.events) {
        if (isSubMenuLine(ev) && seen++ == n) return screens;
        if (seen != n) continue;
        if (isPageClear(ev)) screens.emplace_back();
        if (!screens.empty()) screens.back().push_back(ev);
    }
    return {};
}

struct Row {
    std::string text;
    double x, y;
    int color;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rowsOf(const std::vector<Screen>& screens) {
    std::vector<Row> out;
    for (const Screen& s : screens)
        for (const Event& f : formulasOf(s))
            out.push_back({f.str("text"), f.num("x"), f.num("y"), static_cast<int>(f.num("color"))});
    return out;
}

struct ExpectedScreen {
    int keyWaits;
    std::string setNumber;  // the heading's set number; empty: no heading
    std::vector<Row> rows;  // a representative set of the screen's rows
};

// `text` in colour 5 on the row of `previous`, `gap` after where it ended.
struct Continuation {
    std::string previous, text;
    double gap = 0;
};

// Labels (and everything after them) are answer rows; what comes before is
// the heading. Per block: steps in colour 0, the last one in colour 5.
void expectBlockColours(const std::vector<Event>& formulas) {
    std::vector<std::vector<int>> blocks;
    for (const Event& f : formulas) {
        if (isLabel(f)) blocks.emplace_back();
        else if (!blocks.empty()) blocks.back().push_back(static_cast<int>(f.num("color")));
    }
    for (const auto& colours : blocks) {
        ASSERT_FALSE(colours.empty());
        EXPECT_EQ(colours.back(), 5);
        EXPECT_EQ(std::count(colours.begin(), colours.end(), 0), std::ssize(colours) - 1);
    }
}

// No answer row runs into the next column to its right, off the page, into
// the prompt band (from y 639) or under the heading's boxes.
void expectColumnsClear(const Screen& screen) {
    std::vector<double> columns;
    for (const Event& f : formulasOf(screen))
        if (isLabel(f)) columns.push_back(f.num("x"));
    std::sort(columns.begin(), columns.end());
    bool answers = false;
    for (const Event& f : formulasOf(screen)) {
        answers = answers || isLabel(f);
        if (!answers) continue;  // the heading's labels
        const auto next = std::upper_bound(columns.begin(), columns.end(), f.num("x"));
        if (next != columns.end()) {
            EXPECT_LE(f.num("end"), *next) << f.str("text") << " runs into the next column";
        }
        EXPECT_LE(f.num("end"), 1344) << f.str("text");
        EXPECT_LT(f.num("y"), lesson::kPromptBandTop) << f.str("text");
        for (const Event& box : screen) {
            if (!isTitleBox(box) && !isSetBox(box)) continue;
            EXPECT_FALSE(f.num("x") < box.num("x2") && box.num("x1") < f.num("end") && f.num("y") < box.num("y2"))
                << f.str("text") << " under the heading";
        }
    }
}

void expectScreen(const Screen& screen, const ExpectedScreen& want, const std::string& title) {
    const auto formulas = formulasOf(screen);
    const auto waits = std::find_if(screen.begin(), screen.end(), isKeyPrompt);
    EXPECT_EQ(std::count_if(screen.begin(), screen.end(), isKeyPrompt), want.keyWaits);
    EXPECT_TRUE(std::none_of(waits, screen.end(), [](const Event& ev) { return ev.op() == "formula"; }))
        << "rows drawn after the wait";
    const bool heading = !want.setNumber.empty();
    EXPECT_EQ(std::any_of(screen.begin(), screen.end(), isTitleBox), heading);
    EXPECT_EQ(std::any_of(screen.begin(), screen.end(), isSetBox), heading);
    if (heading) {
        const auto rows = rowsOf({screen});
        const auto has = [&](const std::string& text, int color) {
            return std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return r.text == text && r.color == color; });
        };
        EXPECT_TRUE(has(title, 0) && has(want.setNumber, 13)) << "heading labels";
    }
    const auto drawn = rowsOf({screen});
    for (const Row& row : want.rows)
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), row), drawn.end())
            << '"' << row.text << "\" at (" << row.x << ", " << row.y << ") colour " << row.color;
    expectBlockColours(formulas);
    expectColumnsClear(screen);
}

void expectPage(const std::vector<Screen>& screens, const std::string& title, const std::vector<ExpectedScreen>& expected,
                const std::vector<Continuation>& continuations = {}) {
    ASSERT_EQ(screens.size(), expected.size()) << "screens before the sub-menu came back";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("screen " + std::to_string(i + 1));
        expectScreen(screens[i], expected[i], title);
    }
    const auto rows = rowsOf(screens);
    std::vector<Event> formulas;
    for (const Screen& s : screens) std::ranges::copy(formulasOf(s), std::back_inserter(formulas));
    for (const Continuation& c : continuations) {
        const auto at = std::find_if(rows.begin() + 1, rows.end(), [&](const Row& r) { return r.text == c.text; });
        ASSERT_NE(at, rows.end()) << c.text;
        const Event& before = formulas[static_cast<std::size_t>(at - rows.begin()) - 1];
        EXPECT_EQ(before.str("text"), c.previous);
        EXPECT_EQ(at->x, before.num("end") + c.gap) << c.text;
        EXPECT_EQ(at->y, before.num("y")) << c.text;
        EXPECT_EQ(at->color, 5) << c.text;
    }
}

// Every choice between the first and the last sub-menu line redrew the line
// alone: no page clear, no row.
void expectOnlySubMenuRedrawn(const RunResult& r, int lines) {
    const auto& ev = r.events;
    const auto first = std::find_if(ev.begin(), ev.end(), isSubMenuLine);
    const auto last = std::find_if(ev.rbegin(), ev.rend(), isSubMenuLine).base();
    ASSERT_EQ(std::count_if(ev.begin(), ev.end(), isSubMenuLine), lines);
    EXPECT_TRUE(std::none_of(first, last, [](const Event& e) { return isPageClear(e) || e.op() == "formula"; }));
}

const std::vector<ExpectedScreen> kP91 = {
    {1, "1", {{"(1)", 40, 90, 3}, {"x-3=23", 121, 90, 0}, {"x-3+3=23+3", 121, 140, 0}, {"x=26", 121, 190, 5},
              {"(3)", 40, 410, 3}, {"x=23", 121, 510, 5}, {"(4)", 600, 90, 3}, {"-5+x=3", 681, 90, 0},
              {"ﾀ4x/4ﾀ=ﾀ-12/4ﾀ", 681, 320, 0}, {"(6)", 600, 450, 3}, {"x=5", 681, 590, 5}}},
    {0, "", {{"(7)", 40, 30, 3}, {"ﾀx/3ﾀ=5", 121, 30, 0}, {"x=-3*2", 121, 360, 0}, {"x=-6", 121, 410, 5},
             {"x=-2*5", 121, 610, 0}, {"(10)", 600, 30, 3}, {"x+1.6=-1.9", 708, 30, 0},
             {"0.2x/0.2=-12/0.2", 708, 300, 0}, {"x=-60", 708, 370, 5}, {"(12)", 600, 430, 3},
             {"x=-ﾀ2/4ﾀ-ﾀ1/4ﾀ", 708, 570, 0}}},
};

TEST(Section3, AnswersWalkThroughBothScreensAndBackToTheSubMenu) {
    const RunResult r = runSection(3, "1\nk");
    EXPECT_EQ(r.keyCount(), 10);
    expectPage(pageAfterSubMenu(r, 0), "P91(練習問題)", kP91,
               {{"x=-2*5", "=-10"}, {"x=-ﾀ2/4ﾀ-ﾀ1/4ﾀ", "=-ﾀ3/4ﾀ"}});
}

TEST(Section3, ChoosingAnswersTwiceShowsTheSameScreens) {
    const RunResult r = runSection(3, "1\nk1\nk");
    const auto first = pageAfterSubMenu(r, 0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(rowsOf(pageAfterSubMenu(r, 1)), rowsOf(first));
    expectPage(pageAfterSubMenu(r, 1), "P91(練習問題)", kP91);
}

TEST(Section3, ZeroOrThreeRedrawOnlyTheSubMenuAndTwoLeaves) {
    const RunResult r = runSection(3, "0\n3\n2\n");
    expectOnlySubMenuRedrawn(r, 3);
    EXPECT_EQ(r.formulasWith("3　P91(練習問題)").size(), 2u);  // the main menu again
}

const std::string kP96 = "P96(練習問題)";

TEST(Section6, SetOneOnThreeScreensWithThreeColumnsFirst) {
    expectPage(pageAfterSubMenu(runSection(6, "1\nkk"), 0), kP96,
               {{1, "1", {{"(1)", 40, 90, 3}, {"x=ﾀ21/3ﾀ", 121, 160, 0}, {"x=7", 121, 230, 5}, {"(3)", 320, 90, 3},
                          {"ﾀ4/5ﾀx=8", 401, 90, 0}, {"x=-9", 401, 570, 5}, {"(5)", 640, 30, 3},
                          {"6x=7+11", 721, 80, 0}, {"(6)", 640, 330, 3}, {"x=-3", 721, 570, 5}}},
                {1, "", {{"(7)", 40, 90, 3}, {"x=-6", 121, 210, 5}, {"x=ﾀ5/2ﾀ", 121, 510, 5}, {"(9)", 640, 30, 3},
                         {" 8+4x=10x+16", 721, 330, 0}, {"x=-ﾀ4/3ﾀ", 721, 570, 5}}},
                {0, "", {{"(11)", 40, 30, 3}, {"3x-1200=1200+9x", 148, 30, 0}, {"x=ﾀ2400/-6ﾀ", 148, 200, 0},
                         {"(12)", 40, 330, 3}, {"x=0", 148, 570, 5}}}});
}

TEST(Section6, SetTwoOnThreeScreensWithItsBrokenEquations) {
    expectPage(pageAfterSubMenu(runSection(6, "2\nkk"), 0), kP96,
               {{1, "2", {{"(1)", 40, 90, 3}, {"2(x+1)=x+3", 121, 90, 0}, {"x=1", 121, 260, 5}, {"x=5", 121, 610, 5},
                          {"(3)", 640, 30, 3}, {"x=ﾀ-22/-11ﾀ", 721, 250, 0}, {"(4)", 640, 310, 3}}},
                {1, "", {{"(5)", 40, 30, 3}, {"10*0.1x=", 121, 80, 0}, {"  10*0.4(x-2)-10*0.1", 121, 130, 0},
                         {"x=3", 121, 470, 5}, {"(6)", 640, 30, 3}, {"x=-4", 721, 450, 5}}},
                {0, "", {{"(7)", 40, 30, 3}, {"x=17", 121, 380, 5}, {"(8)", 640, 30, 3},
                         {"100*5+100*ﾀ3/100ﾀx", 721, 100, 0}, {"       =100*ﾀ7/100ﾀx", 721, 170, 0},
                         {"x=125", 721, 520, 5}}}},
               {{"x=ﾀ-22/-11ﾀ", "x=2", 60}, {"x=ﾀ-120/-30ﾀ", "x=4", 60}});
}

TEST(Section6, SetsComeBackUnchangedAfterEachOther) {
    const RunResult r = runSection(6, "1\nkk2\nkk1\nkk");
    ASSERT_EQ(pageAfterSubMenu(r, 0).size(), 3u);
    EXPECT_EQ(rowsOf(pageAfterSubMenu(r, 2)), rowsOf(pageAfterSubMenu(r, 0)));
    EXPECT_NE(rowsOf(pageAfterSubMenu(r, 1)), rowsOf(pageAfterSubMenu(r, 0)));
}

TEST(Section6, ZeroOrFourRedrawOnlyTheSubMenuAndThreeLeaves) {
    const RunResult r = runSection(6, "0\n4\n3\n");
    expectOnlySubMenuRedrawn(r, 3);
    EXPECT_EQ(r.formulasWith("6　P96(練習問題)").size(), 2u);
}

}  // namespace
