// Start-up, password gate and main menu of both programs.

#include "engine/frame/frame.h"
#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

using namespace lesson;
using testing_support::Event;
using testing_support::RunResult;
using testing_support::runHeadless;

namespace {

int gateBoxes(const RunResult& r) {
    int n = 0;
    for (const Event& b : r.ofOp("box"))
        if (b.num("x1") == 240 && b.num("y1") == 150) ++n;
    return n;
}

int menus(const RunResult& r) { return static_cast<int>(r.formulasWith("＜Solvara　メニュー＞").size()); }

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// A program whose sections record that they ran.
ProgramSpec recordingProgram(std::vector<int>& started) {
    ProgramSpec app = solvara::program();
    for (std::size_t i = 0; i + 1 < app.menu.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        app.menu[i].section = [&started, number](Engine&) { started.push_back(number); };
    }
    return app;
}

}  // namespace

TEST(Gate, TenthWrongPasswordEndsTheProgram) {
    const RunResult r = runHeadless(solvara::program(), repeat("1111\\n", 10) + "5926\\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(gateBoxes(r), 10);
    EXPECT_EQ(menus(r), 0);
    EXPECT_EQ(r.keyCount(), 50);  // the right password after them is never read
}

TEST(Gate, RightPasswordAtTheTenthEntryOpensTheMenu) {
    const RunResult r = runHeadless(solvara::program(), repeat("1\\n", 9) + "5926\\n");
    EXPECT_EQ(gateBoxes(r), 10);
    EXPECT_EQ(menus(r), 1);
}

TEST(Gate, PromptAndEntryPositions) {
    const RunResult r = runHeadless(solvara::program(), "");
    auto prompt = r.formulasWith("パスワードを入力してください。");
    ASSERT_EQ(prompt.size(), 1u);
    EXPECT_EQ(prompt[0].num("x"), 280);
    EXPECT_EQ(prompt[0].num("y"), 200);
    EXPECT_EQ(prompt[0].num("color"), 3);
    // The entry label "入力" stands 48 left of the field at (400, 275).
    bool label = false;
    for (const Event& t : r.ofOp("text"))
        if (t.str("text") == "入" && t.num("x") == 352 && t.num("y") == 275 && t.num("color") == 0) label = true;
    EXPECT_TRUE(label);
}

TEST(Menu, SolvaraMenuAsGiven) {
    const RunResult r = runHeadless(solvara::program(), "5926\\n");
    const std::vector<std::tuple<std::string, float, float, int>> items = {
        {"＜Solvara　メニュー＞", 264, 30, 15}, {"1　方程式とその解", 44, 120, 13}, {"2　等式の性質", 44, 180, 15},
        {"3　P91(練習問題)", 44, 240, 13},      {"4　方程式の解き方", 44, 300, 15}, {"5　いろいろな方程式", 44, 360, 13},
        {"6　P96(練習問題)", 44, 420, 15},      {"7　", 44, 480, 13},               {"8　終了", 44, 540, 15}};
    for (const auto& [text, x, y, color] : items) {
        auto f = r.formulasWith(text);
        ASSERT_EQ(f.size(), 1u) << text;
        EXPECT_EQ(f[0].num("x"), x) << text;
        EXPECT_EQ(f[0].num("y"), y) << text;
        EXPECT_EQ(f[0].num("color"), color) << text;
    }
    bool frame = false;
    for (const Event& b : r.ofOp("box"))
        if (b.num("x1") == 22 && b.num("y1") == 10 && b.num("x2") == 1342 && b.num("y2") == 610 && b.num("fill") == 10)
            frame = true;
    EXPECT_TRUE(frame);
    // The prompt text ends where the entry label begins.
    bool prompt = false;
    for (const Event& t : r.ofOp("text"))
        if (t.str("text") == "番" && t.num("x") == kEntryAnchor.x - 240 && t.num("y") == kEntryAnchor.y) prompt = true;
    EXPECT_TRUE(prompt);
}

TEST(Menu, RatioraMenuAsGiven) {
    const RunResult r = runHeadless(ratiora::program(), "5926\\n");
    ASSERT_EQ(r.formulasWith("＜Ratiora　メニュー＞").size(), 1u);
    auto quit = r.formulasWith("9　終了");
    ASSERT_EQ(quit.size(), 1u);
    EXPECT_EQ(quit[0].num("x"), 704);
    EXPECT_EQ(quit[0].num("y"), 120);
    EXPECT_EQ(r.formulasWith("8　P110(学びを身につけよう)").size(), 1u);
    const RunResult quitRun = runHeadless(ratiora::program(), "5926\\n9\\n1\\n");
    EXPECT_EQ(quitRun.status, 0);
    EXPECT_EQ(quitRun.keyCount(), 7);  // nothing is read after the quit item
}

TEST(Menu, FractionsAreValidChoicesWhenTheirValueIs) {
    std::vector<int> started;
    runHeadless(recordingProgram(started), "5926\\n3/1\\n");
    EXPECT_EQ(started, std::vector<int>{3});
    const RunResult r = runHeadless(solvara::program(), "5926\\n16/2\\n1\\n");
    EXPECT_EQ(r.keyCount(), 10);  // 16/2 is 8: the program ended there
    EXPECT_EQ(menus(r), 1);
}

TEST(Menu, EmptySlotOutOfRangeAndBrokenEntriesRedrawTheMenu) {
    std::vector<int> started;
    const RunResult r = runHeadless(recordingProgram(started), "5926\\n7\\n0\\n\\n9\\n2.5\\n1/0\\n-1\\n");
    EXPECT_TRUE(started.empty() || started == std::vector<int>{7});
    EXPECT_EQ(std::count(started.begin(), started.end(), 2), 0);
    EXPECT_EQ(menus(r), 8);
    EXPECT_EQ(r.formulasWith("エラーが発生しました。").size(), 0u);
}

TEST(Menu, AChoiceBlanksThePageBeforeTheSection) {
    std::vector<int> started;
    const RunResult r = runHeadless(recordingProgram(started), "5926\\n1\\n");
    ASSERT_EQ(started, std::vector<int>{1});
    // After the menu prompt is cleared the whole page is blanked, then the menu comes again.
    const int clear = [&] {
        for (int i = static_cast<int>(r.events.size()) - 1; i >= 0; --i)
            if (r.events[i].op() == "box" && r.events[i].num("x1") == kEntryAnchor.x - 640) return i;
        return -1;
    }();
    ASSERT_GE(clear, 0);
    const Event& blank = r.events[clear + 1];
    EXPECT_EQ(blank.op(), "box");
    EXPECT_EQ(blank.num("x2"), 1760);
    EXPECT_EQ(blank.num("y2"), 1800);
}

TEST(Frame, RunTimeErrorEndsOnTheErrorScreen) {
    ProgramSpec app = solvara::program();
    app.menu[0].section = [](Engine& e) { e.practiceNum(81) = 1; };
    const RunResult r = runHeadless(app, "5926\\n1\\n");
    EXPECT_EQ(r.status, 0);
    ASSERT_FALSE(r.ofOp("cls").empty());
    const Event message = r.ofOp("text").back();
    EXPECT_NE(message.str("text").find("エラーが発生しました。マウスで×をクリックして下さい。"), std::string::npos);
    EXPECT_EQ(message.str("text").find(", 9"), message.str("text").find(',')) << message.str("text");
    EXPECT_EQ(message.num("x"), 288);
    EXPECT_EQ(message.num("y"), 432);
    EXPECT_EQ(message.num("color"), 13);
}

TEST(Frame, SeedOptionMakesRunsRepeatable) {
    std::vector<float> a, b;
    for (auto* out : {&a, &b}) {
        ProgramSpec app = solvara::program();
        app.menu[0].section = [out](Engine& e) {
            for (int i = 0; i < 5; ++i) out->push_back(e.rnd());
        };
        runHeadless(app, "5926\\n1\\n", {42});
    }
    EXPECT_EQ(a, b);
    for (float v : a) {
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 1);
    }
}
