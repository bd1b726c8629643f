// Ratiora section 5: the walkers' frames, the table's waits, the check
// column of exercise 2 and a walk through every page.

#include "lessons_b/section5.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace ratiora::speed;
using testing_support::Event;
using testing_support::RunResult;

namespace {

const std::string kSection = "5926\n5\n";  // password, main-menu item 5

RunResult run(const std::string& keys) { return testing_support::runHeadless(ratiora::program(), kSection + keys); }
std::string ks(int n) { return std::string(static_cast<std::size_t>(n), 'k'); }

// Event indices of the boxes at (x1, y1) with this fill.
std::vector<int> boxesAt(const RunResult& r, double x1, double y1, int fill, int from = 0, int to = -1) {
    return r.indicesWhere(
        [&](const Event& ev) {
            return ev.op() == "box" && ev.num("x1") == x1 && ev.num("y1") == y1 && ev.num("fill") == fill;
        },
        from, to);
}

}  // namespace

TEST(RatioraSection5Model, SisterWaitsTenMinutesThenGoesThreeTimesAsFast) {
    const auto parts = [](const Walkers& w) {
        return std::tuple(w.t, w.brotherX, w.sisterX, w.showsTenMinutes(), w.showsMeeting());
    };
    EXPECT_EQ(parts(walkersAt(0)), std::tuple(0, 83.0f, 83.0f, false, false));
    for (int t = 1; t <= kLastFrame; ++t) {
        const Walkers w = walkersAt(t), before = walkersAt(t - 1);
        EXPECT_EQ(parts(w), std::tuple(t, before.brotherX + 25, before.sisterX + (t <= 10 ? 0 : 75), t >= 10, t == 15));
    }
    EXPECT_EQ(parts(walkersAt(kLastFrame)), std::tuple(15, 458.0f, 458.0f, true, true));
    EXPECT_EQ(parts(caughtUp()), std::tuple(14, 458.0f, 458.0f, true, false));
}

// Each frame blanks below y 90, draws the figure once and waits once; its
// walkers (circles of radius 8), the "10分" arc (dots below the brother's
// line left of x 334) and the meeting line (dots on x 458 between the lines).
TEST(RatioraSection5Pages, EveryFrameIsOneRedrawOfTheModel) {
    const RunResult r = run("1\n" + ks(1 + 16));
    std::vector<int> blanks = boxesAt(r, 0, 90, 15);
    ASSERT_EQ(blanks.size(), 17u);
    blanks.push_back(static_cast<int>(r.events.size()));
    std::vector<int> meetingFrames;  // read off the trace alone
    for (int f = 0; f < 17; ++f) {
        const Walkers w = f <= kLastFrame ? walkersAt(f) : caughtUp();
        const std::vector<int> prompt = r.indicesWhere(testing_support::isAnyKeyPrompt, blanks[f], blanks[f + 1]);
        ASSERT_EQ(prompt.size(), 1u) << f;
        std::vector<std::pair<double, double>> walkers;
        int arcDots = 0, lineDots = 0, homes = 0;
        for (int i = blanks[f]; i < prompt[0]; ++i) {
            const Event& ev = r.events[i];
            homes += ev.op() == "formula" && ev.str("text") == "家";
            if (ev.op() != "circle") continue;
            const double x = ev.num("x"), y = ev.num("y");
            if (ev.num("r") == 8) walkers.push_back({x, y});
            arcDots += ev.num("r") < 1 && y > 201 && x < 334;
            lineDots += ev.num("r") < 1 && std::abs(x - 458) < 0.01 && y > 201 && y < 329;
        }
        EXPECT_EQ(homes, 1) << f;
        EXPECT_EQ(walkers, (std::vector<std::pair<double, double>>{{w.brotherX, 200}, {w.sisterX, 330}})) << f;
        EXPECT_EQ(arcDots > 0, f >= 10) << f;
        if (lineDots > 0) meetingFrames.push_back(f);
    }
    EXPECT_EQ(meetingFrames, std::vector<int>{kLastFrame});
}

TEST(RatioraSection5Pages, TableWaitsTwiceBeforeItsNumbersAndOnceBetweenThem) {
    const RunResult r = run("1\n" + ks(35));
    // The content cells in the order they are filled; the last empty cell before them.
    const std::vector<std::pair<double, double>> cells{{230, 470}, {458, 470}, {230, 520},
                                                       {458, 520}, {230, 570}, {458, 570}};
    int previous = boxesAt(r, 458, 570, 15).at(0);
    EXPECT_EQ(std::pair(r.events[previous].num("x2"), r.events[previous].num("y2")), std::pair(458.0 + 114, 570.0 + 50));
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const std::vector<int> at = boxesAt(r, cells[c].first, cells[c].second, 15);
        ASSERT_EQ(at.size(), 2u) << c;  // empty, then with its number
        EXPECT_EQ(r.anyKeyPromptsBetween(previous, at[1]), c == 0 ? 2 : 1) << c;
        previous = at[1];
    }
    const int answer = r.indexOfFormula("<解答>");
    EXPECT_EQ(r.anyKeyPromptsBetween(previous, answer), 0);
    const Event second = r.events[r.indexOfFormula("姉が出発してから")];
    EXPECT_EQ(std::pair(second.num("x"), second.num("y")), std::pair(r.events[answer].num("end") + 30, 30.0));
}

TEST(RatioraSection5Pages, CheckColumnStandsRightOfTheWidestRowOnTheEquationsLine) {
    const RunResult r = run("5\n" + ks(13));
    const auto at = [&](const std::string& text) { return r.events[r.indexOfFormula(text)]; };
    const double column = at("5*x+5*ﾀ4/5ﾀx+5*54=5*450").num("end") + 40;
    EXPECT_EQ(at("女子の人数が220人のとき").num("x"), column);
    EXPECT_EQ(at("女子の人数が220人のとき").num("y"), at("x+ﾀ4/5ﾀx+54=450").num("y"));
    EXPECT_EQ(at("答え　230人").num("x"), column);
    EXPECT_GT(column, at("5x+4x=2250-270").num("end") + 40);
}

TEST(RatioraSection5Pages, WalkThroughEveryPageAndBackToTheMainMenu) {
    const std::vector<std::pair<std::string, int>> pages{
        {"教科書P104 例3をやってみよう。", 35}, {"教科書P105 問4解答", 12},
        {"<方程式を使って問題を解く手順>", 1},  {"教科書P105 練習問題①　解答", 8},
        {"教科書P105 練習問題②　解答", 13},
    };
    std::string keys;
    for (std::size_t p = 0; p < pages.size(); ++p) keys += std::to_string(p + 1) + "\n" + ks(pages[p].second);
    keys += "6\n9\n";
    const RunResult r = run(keys);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>((kSection + keys).size()));
    const std::vector<int> lines = r.subMenuLines();
    ASSERT_EQ(lines.size(), pages.size() + 1);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const int start = r.indexOfFormula(pages[p].first, lines[p]);
        ASSERT_GT(start, lines[p]) << pages[p].first;
        ASSERT_LT(start, lines[p + 1]) << pages[p].first;
        EXPECT_EQ(r.anyKeyPromptsBetween(start, lines[p + 1]), pages[p].second) << pages[p].first;
    }
    EXPECT_EQ(r.formulasWith("<めあて>").size(), 1u);
    EXPECT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 2u);
}
