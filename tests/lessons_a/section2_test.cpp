// Section 2: balance geometry and animations, the one-step drill, and walks
// through the pages by scripted keys.

#include "lessons_a/section2.h"

#include "engine/typesetter/formula.h"
#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>

using namespace solvara::equality;
using lesson::kPi;
using lesson::Engine;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::runHeadless;
using testing_support::RunResult;

namespace {

constexpr float kStep = kPi / 96;
const std::string kEnter = "5926\n2\n";

void expectPoint(lesson::Point p, float x, float y, float tol = 0.05f) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

bool overlaps(const Event& a, const Event& b) {
    return a.num("x1") < b.num("x2") && b.num("x1") < a.num("x2") && a.num("y1") < b.num("y2") &&
           b.num("y1") < a.num("y2");
}

// The beam angles of every frame, grouped into animations (frames between two keys).
std::vector<std::vector<double>> animations(const std::vector<Event>& events) {
    std::vector<std::vector<double>> out(1);
    double angle = NAN;
    for (const Event& ev : events) {
        if (ev.op() == "line" && ev.num("color") == 4 && ev.num("pen") == 12)
            angle = std::atan2(ev.num("y1") - ev.num("y2"), ev.num("x2") - ev.num("x1"));
        if (ev.op() == "pause") out.back().push_back(angle);
        if (ev.op() == "key" && !out.back().empty()) out.emplace_back();
    }
    if (out.back().empty()) out.pop_back();
    return out;
}

// ---- A small evaluator of the drill's rows: numbers, x, + - * /, brackets,
// fractions in the markup (an unpaired fraction mark is dropped, as drawn).

std::string plainExpression(const std::string& markup) {
    const std::string mark = "ﾀ";
    std::string out, rest = markup;
    for (auto at = rest.find(mark); at != std::string::npos; at = rest.find(mark)) {
        out += rest.substr(0, at);
        const auto close = rest.find(mark, at + mark.size());
        if (close == std::string::npos) {
            rest = rest.substr(at + mark.size());
            continue;
        }
        const std::string inner = rest.substr(at + mark.size(), close - at - mark.size());
        const auto slash = inner.find('/');
        out += "((" + inner.substr(0, slash) + ")/(" + inner.substr(slash + 1) + "))";
        rest = rest.substr(close + mark.size());
    }
    return out + rest;
}

struct Evaluator {
    std::string s;
    double x;
    std::size_t i = 0;
    double expr() {
        double v = term();
        while (i < s.size() && (s[i] == '+' || s[i] == '-')) v = s[i++] == '+' ? v + term() : v - term();
        return v;
    }
    double term() {
        double v = unary();
        for (;;) {
            if (i < s.size() && s[i] == '*') ++i, v *= unary();
            else if (i < s.size() && s[i] == '/') ++i, v /= unary();
            else if (i < s.size() && (s[i] == 'x' || s[i] == '(')) v *= unary();  // 5x, (1/4)x
            else return v;
        }
    }
    double unary() { return i < s.size() && s[i] == '-' ? (++i, -unary()) : primary(); }
    double primary() {
        if (s.at(i) == 'x') return ++i, x;
        if (s[i] == '(') {
            ++i;
            const double v = expr();
            EXPECT_EQ(s.at(i++), ')') << s;
            return v;
        }
        std::size_t used = 0;
        const double v = std::stod(s.substr(i), &used);
        i += used;
        return v;
    }
};

// Left side minus right side of an equation row at x.
double imbalance(const std::string& row, double x) {
    const std::string plain = plainExpression(row);
    const auto eq = plain.find('=');
    EXPECT_NE(eq, std::string::npos) << row;
    Evaluator left{plain.substr(0, eq), x}, right{plain.substr(eq + 1), x};
    const double d = left.expr() - right.expr();
    EXPECT_EQ(left.i, left.s.size()) << row;
    EXPECT_EQ(right.i, right.s.size()) << row;
    return d;
}

}  // namespace

// ---- Geometry ---------------------------------------------------------------

TEST(Section2Geometry, LevelBalanceOfTask1) {
    const BalancePoints p = balancePoints({880, 450}, 0);
    expectPoint(p[1], 730, 450);
    expectPoint(p[2], 1030, 450);
    expectPoint(p[3], 610, 420);
    expectPoint(p[4], 850, 420);
    expectPoint(p[5], 910, 420);
    expectPoint(p[6], 1150, 420);
    expectPoint(p[7], 850, 488.8f);
    expectPoint(p[8], 910, 488.8f);
}

TEST(Section2Geometry, TiltedBeamEndsAndPans) {
    const BalancePoints right = balancePoints({880, 450}, -kPi / 12);
    expectPoint(right[2], 1024.9f, 488.8f);
    expectPoint(right[1], 735.1f, 411.2f);
    EXPECT_NEAR(right[2].y, right[7].y, 0.01);  // the lowered end comes level with the fulcrum base
    expectPoint(right[5], right[2].x - 120, right[2].y - 30, 0.001f);
    expectPoint(right[4], right[1].x + 120, right[1].y - 30, 0.001f);
    const BalancePoints left = balancePoints({880, 450}, kPi / 12);
    expectPoint(left[1], 735.1f, 488.8f);
    expectPoint(left[2], 1024.9f, 411.2f);
}

TEST(Section2Geometry, DrawBalanceBlanksItsAreaAndLeavesThePoints) {
    EngineFixture f;
    Engine& e = f.engine();
    e.pointX(0) = 880;
    e.pointY(0) = 450;
    drawBalance(e, 0);
    drawLoad1(e);
    EXPECT_FLOAT_EQ(e.pointX(3), 610);
    EXPECT_FLOAT_EQ(e.pointY(5), 420);
    EXPECT_EQ(e.layer.drawWidth(), 3);

    const auto events = f.events();
    std::vector<Event> boxes, beams, fulcrums;
    for (const Event& ev : events) {
        if (ev.op() == "box") boxes.push_back(ev);
        if (ev.op() == "line" && ev.num("color") == 4) beams.push_back(ev);
        if (ev.op() == "polyline") fulcrums.push_back(ev);
    }
    ASSERT_GE(boxes.size(), 1u + 1 + 3 + 10);
    EXPECT_EQ(boxes[0].num("x1"), 540);
    EXPECT_EQ(boxes[0].num("y1"), 220);
    EXPECT_EQ(boxes[0].num("x2"), 1260);
    EXPECT_EQ(boxes[0].num("y2"), 550);
    EXPECT_EQ(boxes[0].num("fill"), 15);
    ASSERT_EQ(beams.size(), 1u);
    EXPECT_EQ(beams[0].num("pen"), 12);
    ASSERT_EQ(fulcrums.size(), 1u);
    EXPECT_EQ(fulcrums[0].num("fill"), 4);
    EXPECT_EQ(fulcrums[0].num("color"), 5);
    EXPECT_NEAR(fulcrums[0].at("points").array[1].array[1].number, 488.8, 0.05);

    // The green box, then three empty slots, then two rows of five grams.
    const Event& green = boxes[1];
    EXPECT_EQ(green.num("x1"), 610);
    EXPECT_EQ(green.num("y1"), 320);
    EXPECT_EQ(green.num("x2"), 700);
    EXPECT_EQ(green.num("y2"), 420);
    EXPECT_EQ(green.num("fill"), 8);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(boxes[2 + i].num("x1"), 760 + 30 * i);
    EXPECT_EQ(boxes[5].num("x1"), 955);
    EXPECT_EQ(boxes[14].num("y1"), 320);  // second row
}

// ---- Animations -------------------------------------------------------------

TEST(Section2Animation, FrameAnglesRunFromStartToEndInNineSteps) {
    const struct {
        Tilt tilt;
        float first, last;
    } cases[] = {{Tilt::Right, 0, -kPi / 12}, {Tilt::Left, 0, kPi / 12},
                 {Tilt::LevelFromRight, -kPi / 12, 0}, {Tilt::LevelFromLeft, kPi / 12, 0}};
    for (const auto& c : cases) {
        EXPECT_NEAR(frameAngle(c.tilt, 0), c.first, 1e-6);
        EXPECT_NEAR(frameAngle(c.tilt, kFrames - 1), c.last, 1e-6);
        for (int k = 1; k < kFrames; ++k)
            EXPECT_NEAR(std::abs(frameAngle(c.tilt, k) - frameAngle(c.tilt, k - 1)), kStep, 1e-6);
    }
}

TEST(Section2Animation, EveryTaskAnimatesNineFramesToItsEndAngle) {
    const struct {
        std::string keys;
        double firstEnd;  // the tilt; every return ends level
    } tasks[] = {{"1\n" + std::string(9, 'k'), -kPi / 12},
                 {"3\n" + std::string(7, 'k'), kPi / 12},
                 {"4\n" + std::string(6, 'k'), -kPi / 12},
                 {"5\n" + std::string(6, 'k'), kPi / 12}};
    for (const auto& t : tasks) {
        const RunResult r = runHeadless(solvara::program(), kEnter + t.keys);
        const auto anims = animations(r.events);
        ASSERT_EQ(anims.size(), 2u) << t.keys;
        for (const auto& frames : anims) ASSERT_EQ(frames.size(), 9u) << t.keys;
        EXPECT_NEAR(anims[0].front(), 0, 1e-3);
        EXPECT_NEAR(anims[0].back(), t.firstEnd, 1e-3) << t.keys;
        EXPECT_NEAR(anims[1].front(), t.firstEnd, 1e-3);
        EXPECT_NEAR(anims[1].back(), 0, 1e-3) << t.keys;
    }
}

TEST(Section2Animation, LiftedWeightsSurviveEveryFrame) {
    const RunResult r = runHeadless(solvara::program(), kEnter + "1\n" + std::string(9, 'k'));
    const auto& ev = r.events;
    int lifted = 0;
    for (std::size_t i = 0; i < ev.size(); ++i) {
        if (ev[i].op() != "box" || ev[i].num("line") != 11) continue;
        ++lifted;
        EXPECT_EQ(ev[i].num("y1"), 150);
        for (std::size_t j = i + 1; j < ev.size(); ++j)
            if (ev[j].op() == "box") {
                EXPECT_FALSE(overlaps(ev[i], ev[j])) << "box " << j << " covers lifted " << i;
            }
    }
    EXPECT_EQ(lifted, 6);
    EXPECT_EQ(r.ofOp("pause").size(), 18u);
}

// ---- The drill ----------------------------------------------------------------

TEST(Section2Practice, RowsOfTheFourForms) {
    EngineFixture f;
    Engine& e = f.engine();
    using Rows = std::array<std::string, 3>;
    EXPECT_EQ(practiceRows(e, 1, {5, -3, 2, 1}), (Rows{"x+5=-3", "x+5-5=-3-5", "x=-8"}));
    EXPECT_EQ(practiceRows(e, 2, {4, -7, 2, 1}), (Rows{"x-4=-7", "x-4+4=-7+4", "x=-3"}));
    EXPECT_EQ(practiceRows(e, 3, {2, 1, -4, 3}), (Rows{"-ﾀ1/4ﾀﾀx=3", "-ﾀ1/4ﾀﾀx*(-4)=3*(-4)", "x=-12"}));
    EXPECT_EQ(practiceRows(e, 3, {2, 1, 3, -2}), (Rows{"ﾀ1/3ﾀﾀx=-2", "ﾀ1/3ﾀﾀx*3=-2*3", "x=-6"}));
    EXPECT_EQ(practiceRows(e, 4, {2, 1, -5, 3}), (Rows{"-5x=-15", "ﾀ-5x/-5ﾀ=ﾀ-15/-5ﾀ", "x=3"}));
    // The unpaired mark is dropped when drawn: the row is as wide as -(1/4)x=3.
    EXPECT_EQ(lesson::drawFormulaAt(e, 0, 100, 0, "-ﾀ1/4ﾀﾀx=3"), lesson::drawFormulaAt(e, 0, 200, 0, "-ﾀ1/4ﾀx=3"));
}

TEST(Section2Practice, GeneratorRangesAtTheirEnds) {
    const PracticeNumbers low = drawPracticeNumbers([] { return 0.0f; });
    EXPECT_EQ(low.a, 2);
    EXPECT_EQ(low.b, -1);
    EXPECT_EQ(low.c, -2);
    EXPECT_EQ(low.d, -1);
    const PracticeNumbers high = drawPracticeNumbers([] { return std::nextafter(1.0f, 0.0f); });
    EXPECT_EQ(high.a, 8);
    EXPECT_EQ(high.b, 9);
    EXPECT_EQ(high.c, 9);
    EXPECT_EQ(high.d, 8);
}

TEST(Section2Practice, OverManySeedsRangesHoldAndEveryRowSolves) {
    std::set<int> as, bs, cs, ds;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        EngineFixture f("", seed);
        Engine& e = f.engine();
        const PracticeNumbers n = drawPracticeNumbers([&e] { return e.rnd(); });
        as.insert(n.a), bs.insert(n.b), cs.insert(n.c), ds.insert(n.d);
        for (int form = 1; form <= 4; ++form) {
            const auto rows = practiceRows(e, form, n);
            ASSERT_EQ(rows[2].rfind("x=", 0), 0u) << rows[2];
            const double answer = std::stod(rows[2].substr(2));
            EXPECT_NEAR(imbalance(rows[0], answer), 0, 1e-9) << rows[0] << " at " << answer;
            EXPECT_NEAR(imbalance(rows[1], answer), 0, 1e-9) << rows[1] << " at " << answer;
            EXPECT_GT(std::abs(imbalance(rows[0], answer + 1)), 1e-6) << rows[0];
        }
    }
    EXPECT_EQ(as, (std::set<int>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(bs, (std::set<int>{-9, -8, -7, -6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(cs, (std::set<int>{-9, -8, -7, -6, -5, -4, -3, -2, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ds, (std::set<int>{-8, -7, -6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Section2Practice, OneAtTheFirstStepEndsWithTheTextbookNote) {
    const RunResult r = runHeadless(solvara::program(), kEnter + "7\nkk1\nk");
    int problems = 0;
    for (const Event& ev : r.formulas()) problems += ev.num("x") == 127 && ev.num("y") == 110;
    EXPECT_EQ(problems, 1);
    const auto note = r.formulasWith("教科書P90,91");
    ASSERT_EQ(note.size(), 1u);
    EXPECT_EQ(note[0].num("x"), 40);
    EXPECT_EQ(note[0].num("y"), 320);
    EXPECT_EQ(note[0].num("color"), 7);
    // The note waits for a key after the step prompt.
    int key = r.indexOfFormula("教科書P90,91");
    while (key > 0 && r.events[key].op() != "key") --key;
    EXPECT_EQ(r.events[key].str("key"), "k");
}

TEST(Section2Practice, FormsComeInTurnWhateverIsEntered) {
    const RunResult r = runHeadless(solvara::program(), kEnter + "7\nkk2\nkk0\nkk1/2\nkk2\nkk1\nk");
    const std::regex forms[] = {std::regex("x\\+\\d=-?\\d"), std::regex("x-\\d=-?\\d"),
                                std::regex("-?ﾀ1/\\dﾀﾀx=-?\\d"), std::regex("-?\\dx=-?\\d+")};
    std::vector<std::string> problems;
    for (const Event& ev : r.formulas())
        if (ev.num("x") == 127 && ev.num("y") == 110) problems.push_back(ev.str("text"));
    ASSERT_EQ(problems.size(), 5u);
    const int expected[] = {0, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(std::regex_match(problems[i], forms[expected[i]])) << problems[i];
}

// ---- The section's pages --------------------------------------------------------

TEST(Section2Menu, OutOfRangeRedrawsOnlyTheSubMenuAndTenLeaves) {
    const RunResult r = runHeadless(solvara::program(), kEnter + "0\n11\n");
    const int aims = r.indexOfFormula("<めあて>");
    ASSERT_GT(aims, 0);
    int subMenus = 0;
    for (int i = aims; i < static_cast<int>(r.events.size()); ++i) {
        const Event& ev = r.events[i];
        subMenus += ev.op() == "text" && ev.str("text") == "①";
        if (ev.op() == "box") {
            EXPECT_GE(ev.num("y1"), lesson::kPromptBandTop) << "box " << i << " above the prompt band";
        }
    }
    EXPECT_EQ(subMenus, 3);
    EXPECT_EQ(r.formulasWith("<めあて>").size(), 1u);

    const RunResult leave = runHeadless(solvara::program(), kEnter + "0\n10\n");
    const int menuAgain = leave.indexOfFormula("＜Solvara　メニュー＞", leave.indexOfFormula("<めあて>"));
    EXPECT_GT(menuAgain, 0);
}

TEST(Section2Walk, EveryPageByScriptedKeys) {
    const std::string keys = kEnter + "1\n" + std::string(9, 'k') + "2\nkkkk" + "3\n" + std::string(7, 'k') +
                             "4\n" + std::string(6, 'k') + "5\n" + std::string(6, 'k') + "6\n" + "7\nkk1\nk" +
                             "8\nkkkk" + "9\n" + std::string(10, 'k') + "10\n8\n";
    const RunResult r = runHeadless(solvara::program(), keys);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.keyCount(), static_cast<int>(lesson::parseKeyScript(keys).size()));
    EXPECT_EQ(r.formulasWith("＜Solvara　メニュー＞").size(), 2u);

    // Any-key waits of each page: between one sub-menu line and the next.
    std::vector<int> waits;
    for (const Event& ev : r.events) {
        if (testing_support::isSubMenuLineStart(ev)) waits.push_back(0);
        if (testing_support::isAnyKeyPrompt(ev) && !waits.empty()) ++waits.back();
    }
    EXPECT_EQ(waits, (std::vector<int>{9, 4, 7, 6, 6, 0, 3, 4, 10, 0}));

    // Rows in order, where and in which colour they stand.
    const struct {
        const char* text;
        float x, y;
        int color;
    } rows[] = {
        {"x+3=10", 94, 230, 0}, {"x+3-3<10", 40, 280, 0}, {"    x=7", 40, 380, 3},
        {"A=B ならば A-C=B-C", 94, 580, 3}, {"x+3=10", 158, 150, 0}, {"x=7", 185, 270, 5},
        {"x+3", 104, 210, 0}, {"方程式を解くとは、式を変形して", 40, 330, 3}, {"x-2+2>5", 40, 130, 0},
        {"    x=7", 40, 230, 5}, {"ﾀ2x/2ﾀ=ﾀ14/2ﾀ", 67, 220, 3}, {"A=B ならば ﾀA/Cﾀ=ﾀB/Cﾀ", 94, 500, 3},
        {"ﾀx/3ﾀ*3>5", 67, 200, 0}, {"  x=15", 67, 330, 5}, {"A=B ならば B=A", 94, 600, 0},
        {"問4 解答", 40, 30, 3}, {"x=ﾀ2/2ﾀ=1", 121, 550, 5}, {"x+1.2=0", 681, 410, 0},
        {"x=-12", 121, 580, 5}, {"x=ﾀ1/4ﾀ", 681, 570, 5}, {"ﾀ2/3ﾀx=8", 74, 100, 0}, {"x=12", 74, 400, 5},
    };
    int from = 0;
    for (const auto& row : rows) {
        from = r.indexOfFormula(row.text, from);
        ASSERT_GE(from, 0) << row.text;
        const Event& ev = r.events[from];
        EXPECT_EQ(ev.num("x"), row.x) << row.text;
        EXPECT_EQ(ev.num("y"), row.y) << row.text;
        EXPECT_EQ(ev.num("color"), row.color) << row.text;
    }

    // Positions taken from where earlier rows ended.
    const auto first = [&r](const std::string& text) { return r.formulasWith(text).at(0); };
    EXPECT_EQ(first("-3").num("x"), first("x+3").num("end"));
    EXPECT_EQ(first("x=21").num("x"), first("ﾀx/7ﾀ*7=3*7").num("end") + 60);
    EXPECT_EQ(first("x=-6").num("y"), first("ﾀ-8x/-8ﾀ=ﾀ48/-8ﾀ").num("y"));
    const double e1 = first("<解答1>").num("end"), e2 = first("<解答2>").num("end");
    EXPECT_EQ(first("ﾀ2/3ﾀ=8/ﾀ2/3ﾀ").num("x"), e1 - 27);
    EXPECT_EQ(first("ﾀ3/2ﾀ").num("x"), e1);
    const double mx = first("ﾀ2/3ﾀx=8").num("end") + 160;
    EXPECT_EQ(first("<解答2>").num("x"), mx);
    EXPECT_EQ(first("<解答2>").num("y"), 170);
    EXPECT_EQ(first("ﾀ2/3ﾀx*").num("x"), mx + 34);
    EXPECT_EQ(first("ﾀ3/2ﾀ=8*ﾀ3/2ﾀ").num("x"), e2 - 27);

    // Only the first heading of the answers waits for a key.
    for (const char* heading : {"問4 解答", "問5 解答", "問6 解答", "問7 解答"}) {
        const int at = r.indexOfFormula(heading);
        const int next = r.indexOfFormula("(1)", at);
        int keysBetween = 0;
        for (int i = at; i < next; ++i) keysBetween += r.events[i].op() == "key";
        EXPECT_EQ(keysBetween, std::string(heading) == "問4 解答" ? 1 : 0) << heading;
    }
}
