// Section 1: the practice generator and its row texts, the sub-menu, and a
// walk through every page by scripted keys, read back from the trace.

#include "lessons_a/section1.h"

#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

using namespace solvara::s1;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::runHeadless;
using testing_support::RunResult;

namespace {

const std::string kSolution = "左辺=右辺 だから　解である。";
const std::string kNoSolution = "左辺≠右辺 だから　解ではない。";
constexpr double kAfter = -1;  // x: where the previous expected row ended

std::vector<std::string> practiceTexts(lesson::Engine& e, const SolutionCheck& p) {
    fillPracticeTables(e, p);
    std::vector<std::string> out;
    for (const lesson::Row& r : practiceRows(e)) out.push_back(r.text);
    return out;
}

int valueAfterEquals(const std::string& text) { return std::stoi(text.substr(text.rfind('=') + 1)); }

// A run read back as a script: formulas, key waits, step prompts, sub-menu waits.
std::string tokenOf(const Event& ev) {
    using testing_support::isWait;
    if (ev.op() == "formula") return ev.str("text");
    if (isWait(ev, "anykey")) return "KEY";
    if (isWait(ev, "step")) return "STEP";
    if (isWait(ev, "submenu")) return "MENU";
    return "";
}

std::vector<std::string> scriptOf(const RunResult& run, int from, int to) {
    std::vector<std::string> out;
    for (int i = std::max(from, 0); i < to && i < static_cast<int>(run.events.size()); ++i)
        if (std::string t = tokenOf(run.events[i]); !t.empty()) out.push_back(t);
    return out;
}

int countOf(const std::vector<std::string>& script, const std::string& token) {
    return static_cast<int>(std::count(script.begin(), script.end(), token));
}

struct Expected {
    std::string text;
    double x, y;
    int color;
};

// Each row drawn (first time at or after `from`) at its place and colour.
void expectRows(const RunResult& run, int from, const std::vector<Expected>& rows) {
    double previousEnd = 0;
    for (const Expected& row : rows) {
        const int at = run.indexOfFormula(row.text, from);
        ASSERT_GE(at, 0) << row.text;
        const Event& ev = run.events[at];
        EXPECT_EQ(ev.num("x"), row.x == kAfter ? previousEnd : row.x) << row.text;
        EXPECT_EQ(ev.num("y"), row.y) << row.text;
        EXPECT_EQ(ev.num("color"), row.color) << row.text;
        previousEnd = ev.num("end");
    }
}

std::string keys(int n) { return std::string(static_cast<std::size_t>(n), 'k'); }

}  // namespace

// ---- The practice generator ------------------------------------------

TEST(Section1Practice, ListedProblemReadsXPlus16Equals4XPlus7) {
    const SolutionCheck p = solutionCheckFrom(0.9f, 0.1f, 0.7f, 0.9f, 0.95f);  // s 3, t = s, a 4, b 7
    EXPECT_EQ(p.s, 3);
    EXPECT_EQ(p.t, 3);
    EXPECT_EQ(p.a, 4);
    EXPECT_EQ(p.b, 7);
    EXPECT_EQ(p.c, 16);
    EngineFixture f;
    const std::vector<std::string> expected{
        "練習 ", "3",     "は次の方程式の解ですか。", "x+16=4x+7", "xに3を代入して", "左辺=", "3+16",
        "=19",   "右辺=", "4*3+7",                    "=12+7",     "=19",            kSolution,
    };
    EXPECT_EQ(practiceTexts(f.engine(), p), expected);
}

TEST(Section1Practice, TestedValueIsOneOfTheFirstTwoRemainingCandidates) {
    struct Case {
        float rSolution, rOther;
        int s, t;
    };
    // Edges of floor(r * 3) + 1 (the solution) and floor(r * 2) + 1 (the other value).
    const Case cases[] = {
        {0.0f, 0.4999f, 1, 2}, {0.3333f, 0.5f, 1, 3}, {0.3334f, 0.0f, 2, 1}, {0.6666f, 0.9999f, 2, 3},
        {0.6667f, 0.0f, 3, 1}, {0.9999f, 0.9999f, 3, 2},
    };
    for (const Case& c : cases) {
        const SolutionCheck p = solutionCheckFrom(c.rSolution, c.rOther, 0.0f, 0.0f, 0.0f);
        EXPECT_EQ(p.s, c.s) << c.rSolution;
        EXPECT_EQ(p.t, c.t) << c.rSolution << " " << c.rOther;
    }
    EXPECT_EQ(solutionCheckFrom(0.9999f, 0.9999f, 0.5f, 0, 0).t, 3);  // the flag makes t the solution
}

TEST(Section1Practice, RangesHoldOverManySeeds) {
    std::map<int, std::set<int>> others;  // s -> tested values other than s
    std::set<int> ss, as, bs;
    int draws = 0, solutions = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        EngineFixture f("", seed);
        for (int n = 0; n < 200; ++n, ++draws) {
            const SolutionCheck p = drawSolutionCheck(f.engine());
            ASSERT_EQ(p.c, (p.a - 1) * p.s + p.b);
            ASSERT_NE(p.t, 4);
            ASSERT_EQ(p.t == p.s, p.f == 1);
            ss.insert(p.s);
            as.insert(p.a);
            bs.insert(p.b);
            if (p.f == 1) ++solutions;
            else others[p.s].insert(p.t);
        }
    }
    EXPECT_EQ(ss, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(as, (std::set<int>{2, 3, 4}));
    EXPECT_EQ(bs, (std::set<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(others[1], (std::set<int>{2, 3}));
    EXPECT_EQ(others[2], (std::set<int>{1, 3}));
    EXPECT_EQ(others[3], (std::set<int>{1, 2}));
    EXPECT_NEAR(static_cast<double>(solutions) / draws, 0.5, 0.05);
}

TEST(Section1Practice, VerdictMatchesTheSidesForEveryProblem) {
    EngineFixture f;
    for (float rS : {0.0f, 0.5f, 0.9f})
        for (float rO : {0.0f, 0.9f})
            for (float rF : {0.0f, 0.9f})
                for (int a = 0; a < 3; ++a)
                    for (int b = 0; b < 6; ++b) {
                        const SolutionCheck p = solutionCheckFrom(rS, rO, rF, (a + 0.5f) / 3, (b + 0.5f) / 6);
                        const std::vector<std::string> texts = practiceTexts(f.engine(), p);
                        const int left = valueAfterEquals(texts[7]), right = valueAfterEquals(texts[11]);
                        EXPECT_EQ(left, p.t + p.c);
                        EXPECT_EQ(right, p.a * p.t + p.b);
                        EXPECT_EQ(left == right, p.t == p.s);
                        EXPECT_EQ(texts.back(), p.t == p.s ? kSolution : kNoSolution);
                    }
}

// ---- The sub-menu -----------------------------------------------------

TEST(Section1Menu, WrongEntriesRedrawOnlyTheSubMenuLine) {
    // 0, 5, an empty entry and 2.5, then 終了 and the main menu's 終了.
    const RunResult run = runHeadless(solvara::program(), "5926\n1\n0\n5\n\n2.5\n4\n8\n");
    EXPECT_EQ(run.status, 0);
    const int aims = run.indexOfFormula("<めあて>");
    const int menu = run.indexOfFormula("＜Solvara　メニュー＞", aims);
    ASSERT_GT(menu, aims);
    const std::vector<std::string> script = scriptOf(run, aims, menu);
    const std::vector<std::string> expected{"<めあて>", "1 等式を成り立たせる文字の値を調べよう。",
                                            "2 方程式とその解の意味を知り、代入して解をさがそう。",
                                            "MENU", "MENU", "MENU", "MENU", "MENU"};
    EXPECT_EQ(script, expected);
    // Until the last sub-menu line nothing above the prompt band is blanked.
    int lastMenu = aims;
    for (int i = aims; i < menu; ++i)
        if (tokenOf(run.events[i]) == "MENU") lastMenu = i;
    for (int i = aims; i < lastMenu; ++i)
        if (run.events[i].op() == "box") {
            EXPECT_GT(run.events[i].num("y1"), 600);
        }
}

// ---- A walk through all three pages and back to the main menu --------

class Section1Walk : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string fare = "1\n" + keys(22), definitions = "2\n" + keys(6);
        const std::string practice = "3\n" + keys(9) + "2\n" + keys(9) + "1\n" + keys(5);
        run_ = new RunResult(
            runHeadless(solvara::program(), "5926\n1\n" + fare + definitions + practice + "4\n8\n", {.seed = 7}));
    }
    static void TearDownTestSuite() { delete run_; }
    static const RunResult& run() { return *run_; }
    static int at(const std::string& text, int from = 0) { return run_->indexOfFormula(text, from); }
    static RunResult* run_;
};

RunResult* Section1Walk::run_ = nullptr;

TEST_F(Section1Walk, FarePageDrawsAndWaitsInTheOrderOfItsTables) {
    const std::vector<std::string> expected{
        "P86 金額が同じになるのは、バスに何回乗るとき?", "KEY", "KEY",  // the segments
        "バス代", "電車代", "乗り放題チケット代", "KEY", "1200円", "KEY", "240円*2", "KEY", "180円*？", "KEY",
        "合計の電車代は ", "KEY", "240*2=", "480(円)", "KEY", "だから、合計のバス代は", "KEY",
        "1200-480=", "720(円)", "KEY", "1回のバス代が180円だから、", "KEY", "720/180=", "4(回)", "KEY",
        "Q 等式に表してみよう。", "KEY", "バスに乗る回数を", "x回", "とすると ", "180円*x", "KEY",
        "180x+480=1200", "KEY", "xに3,4,5", "を代入したときの左辺の値は?", "x", "左辺の値", "右辺",
        "3", "3*180+480=", "1200", "4", "4*180+480=", "1200", "5", "5*180+480=", "1200", "KEY",
        "3*180+480=1020", "KEY", "<", "KEY", "4*180+480=1200", "KEY", "=", "KEY", "5*180+480=1380", "KEY", ">",
        "KEY", "x=4 のときだけ等式は成り立つ", "MENU",
    };
    EXPECT_EQ(scriptOf(run(), at("P86 金額が同じになるのは、バスに何回乗るとき?"), at("方程式")), expected);
    expectRows(run(), 0, {
        {"P86 金額が同じになるのは、バスに何回乗るとき?", 40, 15, 0}, {"バス代", 136, 169, 3},
        {"電車代", 394, 169, 0}, {"乗り放題チケット代", 156, 115, 7}, {"合計の電車代は ", 40, 300, 0},
        {"240*2=", 40, 350, 0}, {"480(円)", kAfter, 350, 3}, {"720/180=", 40, 550, 0}, {"4(回)", kAfter, 550, 5},
        {"Q 等式に表してみよう。", 600, 80, 3}, {"バスに乗る回数を", 627, 130, 0}, {"x回", kAfter, 130, 3},
        {"180x+480=1200", 627, 180, 5}, {"を代入したときの左辺の値は?", 667, 280, 0},
        {"x=4 のときだけ等式は成り立つ", 600, 340, 5},
    });
}

TEST_F(Section1Walk, FigureSegmentsArcsAndTheRelabelledBusArc) {
    std::vector<Event> segments, dots;
    for (int i = at("P86 金額が同じになるのは、バスに何回乗るとき?"); i < at("合計の電車代は "); ++i) {
        const Event& ev = run().events[i];
        if (ev.op() == "line" && ev.num("pen") == 10) segments.push_back(ev);
        if (ev.op() == "circle" && ev.num("r") == 0.5 && ev.num("pen") == 5) dots.push_back(ev);
    }
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].num("x1") + segments[0].num("x2") + segments[1].num("x2"), 76 + 356 + 556);
    EXPECT_EQ(segments[0].num("y1"), 165);
    EXPECT_EQ(segments[0].num("color"), 3);
    EXPECT_EQ(segments[1].num("color"), 0);
    // Three arcs with a dot every 6 degrees: 1200円 48 above, 240円*2 96 and 180円*？ 80 below.
    ASSERT_EQ(dots.size(), 3u * 31);
    const double bulge[] = {-48, 96, 80};
    const int color[] = {7, 0, 3};
    for (int arc = 0; arc < 3; ++arc) {
        EXPECT_EQ(dots[arc * 31 + 15].num("color"), color[arc]);
        EXPECT_NEAR(dots[arc * 31 + 15].num("y"), 165 + bulge[arc], 0.1);
        EXPECT_NEAR(dots[arc * 31 + 5].num("y"), 165 + bulge[arc] / 2, 0.1);
    }
    // The old label is blanked by a 320 x 48 white box from x 0 at its top, then the arc is drawn again.
    const Event& old = run().events[at("180円*？")];
    const int relabelled = at("180円*x");
    ASSERT_GT(relabelled, 0);
    EXPECT_EQ(run().events[relabelled].num("y"), old.num("y"));
    EXPECT_EQ(run().events[relabelled].num("color"), 3);
    EXPECT_LE(old.num("end"), 320);
    int blankedAt = -1, dotsAfter = 0;
    for (int i = at("とすると "); i < relabelled; ++i) {
        const Event& ev = run().events[i];
        if (ev.op() == "box" && ev.num("x1") == 0 && ev.num("y1") == old.num("y") && ev.num("x2") == 320 &&
            ev.num("y2") == old.num("y") + 48 && ev.num("fill") == 15)
            blankedAt = i;
        if (blankedAt >= 0 && ev.op() == "circle" && ev.num("color") == 3) ++dotsAfter;
    }
    EXPECT_GE(blankedAt, 0);
    EXPECT_EQ(dotsAfter, 31);
}

TEST_F(Section1Walk, SubstitutionTableCells) {
    std::vector<Event> cells;
    for (int i = at("を代入したときの左辺の値は?"); i < at("x=4 のときだけ等式は成り立つ"); ++i)
        if (run().events[i].op() == "box" && run().events[i].num("line") == 7) cells.push_back(run().events[i]);
    ASSERT_EQ(cells.size(), 16u + 6u);  // header and three rows of four, then two revealed per row
    const double widths[] = {40, 450, 40, 120};
    for (int row = 0; row < 4; ++row)
        for (int c = 0, x = 547; c < 4; x += static_cast<int>(widths[c++])) {
            const Event& cell = cells[static_cast<std::size_t>(row * 4 + c)];
            EXPECT_EQ(cell.num("x1"), x);
            EXPECT_EQ(cell.num("x2"), x + widths[c]);
            EXPECT_EQ(cell.num("y1"), 405 + 50 * row);
            EXPECT_EQ(cell.num("y2"), 455 + 50 * row);
            EXPECT_EQ(cell.num("fill"), row == 0 ? 11 : 13);
            EXPECT_EQ(cell.num("pen"), 3);
        }
    for (int row = 0; row < 3; ++row) {
        const Event& leftSide = cells[static_cast<std::size_t>(16 + 2 * row)];
        const Event& sign = cells[static_cast<std::size_t>(17 + 2 * row)];
        EXPECT_EQ(leftSide.num("x1"), 587);
        EXPECT_EQ(sign.num("x1"), 1037);
        EXPECT_EQ(sign.num("x2"), 1077);
        EXPECT_EQ(leftSide.num("y1"), 455 + 50 * row);
        EXPECT_EQ(sign.num("y1"), 455 + 50 * row);
        EXPECT_EQ(leftSide.num("fill") + sign.num("fill"), 30);
    }
}

TEST_F(Section1Walk, DefinitionsPageWaitsAndColumns) {
    const int from = at("方程式");
    const std::vector<std::string> script = scriptOf(run(), from, at("練習 "));
    std::vector<std::string> beforeKeys;
    for (std::size_t i = 1; i < script.size(); ++i)
        if (script[i] == "KEY") beforeKeys.push_back(script[i - 1]);
    const std::vector<std::string> expected{
        "を求めること", "の解は3,4,5のどれですか。", "となれば解", kNoSolution, kSolution, kNoSolution,
    };
    EXPECT_EQ(beforeKeys, expected);
    EXPECT_EQ(script.back(), "MENU");
    expectRows(run(), from, {
        {"方程式", 40, 30, 5}, {"を表す", 176, 80, 0}, {"文字", kAfter, 80, 3},
        {"例1 方程式2x+1=9", 40, 250, 7}, {"左辺=2*3+1=7", 94, 500, 0}, {kNoSolution, 40, 600, 3},
        {"② x=4を代入して", 720, 30, 7}, {"③ x=5を代入して", 720, 230, 7}, {"答　4", 720, 430, 5},
    });
}

TEST_F(Section1Walk, PracticeProblemsThenTextbookAnswersThenTheMainMenu) {
    int clears = 0;  // only the practice clears 2000 x 1800: once per problem
    for (const Event& ev : run().ofOp("box"))
        clears += ev.num("x1") == 0 && ev.num("y1") == 0 && ev.num("x2") == 2000 && ev.num("y2") == 1800;
    EXPECT_EQ(clears, 2);

    const int first = at("練習 "), second = at("練習 ", first + 1), note = at("教科書P88 問2 をやろう。");
    // Title rows without waits, a key after every further row but the verdict, then the step prompt.
    const std::vector<std::string> problem = scriptOf(run(), first, second);
    ASSERT_EQ(problem.size(), 23u);
    EXPECT_EQ(countOf({problem.begin(), problem.begin() + 4}, "KEY"), 0);
    EXPECT_EQ(countOf(problem, "KEY"), 9);
    EXPECT_EQ(problem[20], "KEY");
    EXPECT_EQ(problem[22], "STEP");
    EXPECT_EQ(scriptOf(run(), second, note).size(), 23u + 1);  // and the key before the note

    // The second problem's rows at their places and colours; its verdict agrees with its sides.
    std::vector<Event> rows;
    for (int i = second; rows.size() < 13; ++i)
        if (run().events[i].op() == "formula") rows.push_back(run().events[i]);
    const double xs[] = {40, kAfter, kAfter, 169, 142, 74, kAfter, kAfter, 74, kAfter, 142, kAfter, 74};
    const double ys[] = {30, 30, 30, 80, 135, 190, 190, 190, 245, 245, 300, 300, 355};
    const int colors[] = {0, 3, 0, 7, 3, 0, 0, 5, 0, 0, 0, 5, 5};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].num("x"), xs[i] == kAfter ? rows[i - 1].num("end") : xs[i]) << i;
        EXPECT_EQ(rows[i].num("y"), ys[i]) << i;
        EXPECT_EQ(rows[i].num("color"), colors[i]) << i;
    }
    const bool sidesAgree = valueAfterEquals(rows[7].str("text")) == valueAfterEquals(rows[11].str("text"));
    EXPECT_EQ(rows[12].str("text"), sidesAgree ? kSolution : kNoSolution);

    const int menu = run().indexOfFormula("＜Solvara　メニュー＞", note);
    ASSERT_GT(menu, note);
    const std::vector<std::string> answers = scriptOf(run(), note, menu);
    EXPECT_EQ(countOf(answers, "KEY"), 4);
    EXPECT_EQ(answers[1], "KEY");
    EXPECT_EQ(answers.back(), "MENU");
    expectRows(run(), note, {
        {"教科書P88 問2 をやろう。", 74, 405, 3}, {"ア x=3を代入して", 40, 455, 7}, {"左辺=3-8=-5", 94, 505, 0},
        {"イ x=3を代入して", 680, 30, 7}, {"ウ x=3を代入して", 680, 240, 7}, {"右辺=3*3-4=9-4=5", 734, 340, 0},
        {"答　イとウ", 680, 440, 5},
    });
    EXPECT_EQ(run().status, 0);
}
