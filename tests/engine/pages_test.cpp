// The page runners: rows, answer blocks, the practice loop and sub-menus, and
// the pen width of a part of a page.

#include "engine/pages/pen.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

using namespace lesson;
using namespace lesson::notation;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::ofOp;

TEST(Rows, PositionsFollowThePreviousRow) {
    EngineFixture f("k");
    Engine& e = f.engine();
    Page page;
    runRows(e, page, {
                         {5, 40, 30, "方程式"},
                         {0, after, same, "…"},
                         {3, afterPlus(10), plus(50), "x"},
                         {0, 176, plus(-20), "y", key},
                     });
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 4u);
    EXPECT_EQ(formulas[1].num("x"), 40 + 3 * 34);
    EXPECT_EQ(formulas[1].num("y"), 30);
    EXPECT_EQ(formulas[2].num("x"), 40 + 4 * 34 + 10);
    EXPECT_EQ(formulas[2].num("y"), 80);
    EXPECT_EQ(formulas[2].num("color"), 3);
    EXPECT_EQ(formulas[3].num("y"), 60);
    EXPECT_EQ(page.endX, 176 + 27);
    EXPECT_EQ(ofOp(f.events(), "key").size(), 1u);
}

TEST(Rows, MarksAsideRowsTwoKeyWaitsAndCellRows) {
    EngineFixture f("kkk");
    Engine& e = f.engine();
    Page page;
    runRows(e, page, {
                         {0, 121, 80, "①", mark(1)},
                         {0, after, same, " 2:5", mark(2) | key},
                         {0, 60, 270, "ケーキ", aside},            // leaves the reference at " 2:5"
                         {0, after, same, "円", twoKeys},
                         {3, afterMark(1), markY(1, 70), "=ﾀ2/5ﾀ"},
                         {5, atMark(2, 10), markY(2, -30), "7", box(40, 50, 3, 15)},
                         {5, afterPlus(10), same, "", boxAround(60, 48, 3, 13)},
                     });
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 7u);
    const double endOf25 = formulas[1].num("end");
    EXPECT_EQ(formulas[3].num("x"), endOf25);  // "円" follows " 2:5", not "ケーキ"
    EXPECT_EQ(formulas[3].num("y"), 80);
    EXPECT_EQ(formulas[4].num("x"), formulas[0].num("end"));
    EXPECT_EQ(formulas[4].num("y"), 150);
    EXPECT_EQ(ofOp(f.events(), "key").size(), 3u);
    // The cell's top-left is the row's place; after it, `after` is its right edge.
    auto boxes = ofOp(f.events(), "box");
    const Event& cell = boxes[boxes.size() - 2];
    EXPECT_EQ(cell.num("x1"), formulas[0].num("end") + 10);
    EXPECT_EQ(cell.num("y1"), 50);
    EXPECT_EQ(cell.num("x2") - cell.num("x1"), 40);
    const Event& around = boxes.back();
    EXPECT_EQ(around.num("x1"), cell.num("x2") + 10);
    EXPECT_EQ(around.num("y1"), 50 - 2);  // placed around the text line at y 50
    EXPECT_EQ(around.num("y2") - around.num("y1"), 48);
    // A mark the page cannot hold is a run-time error, not a stray write.
    EXPECT_THROW(runRow(e, page, {0, 40, 30, "x", mark(kMarks)}), EngineError);
    EXPECT_THROW(runRow(e, page, {0, afterMark(0), 30, "x"}), EngineError);
}

TEST(Sections, AimsOnceThenTheSubMenuUntilTheNumberAfterTheLastPage) {
    EngineFixture f("1\n2\n9\n3\n");
    Engine& e = f.engine();
    int runs = 0;
    runSection(e, {{{3, 44, 240, "<めあて>"}}, "①A　②B　③終了", {[&](Engine&) { ++runs; }, [&](Engine&) { runs += 10; }}});
    EXPECT_EQ(runs, 11);
    auto formulas = ofOp(f.events(), "formula");
    int aims = 0;
    for (const Event& ev : formulas) aims += ev.str("text") == "<めあて>";
    EXPECT_EQ(aims, 1);
}

TEST(Answers, LabelStepsIndentColoursAndWaits) {
    EngineFixture f("kk");
    Engine& e = f.engine();
    Page page{0, 30};
    runAnswers(e, page, Column{40, 121},
               {
                   {"(1)", plus(60), {"x-9=3", {"x-9+9=3+9", 50}, {"x=12", 50}}, key},
                   {"(2)", plus(60), {"ﾀx/7ﾀ=3", {"x=21", afterPlus(60), same}}, key},
               });
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 7u);
    EXPECT_EQ(formulas[0].str("text"), "(1)");
    EXPECT_EQ(formulas[0].num("x"), 40);
    EXPECT_EQ(formulas[0].num("y"), 90);
    EXPECT_EQ(formulas[0].num("color"), 3);
    EXPECT_EQ(formulas[1].num("x"), 121);
    EXPECT_EQ(formulas[1].num("y"), 90);
    EXPECT_EQ(formulas[1].num("color"), 0);
    EXPECT_EQ(formulas[3].num("y"), 190);
    EXPECT_EQ(formulas[3].num("color"), 5);
    EXPECT_EQ(formulas[4].num("y"), 250);
    // "after +60": after the end of the previous step, not of the label.
    EXPECT_EQ(formulas[6].num("x"), formulas[5].num("end") + 60);
    EXPECT_EQ(formulas[6].num("y"), 250);
    EXPECT_EQ(formulas[6].num("color"), 5);
    EXPECT_EQ(ofOp(f.events(), "key").size(), 2u);
}

TEST(Answers, LabelThatKeepsItsEndIsFollowedByTheProblem) {
    EngineFixture f;
    Page page{0, 30};
    runAnswers(f.engine(), page, Column{40, 94, true}, {{"(1)", plus(60), {"x=1", {"x=2", 70}}}});
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 3u);
    EXPECT_EQ(formulas[1].num("x"), formulas[0].num("end"));
    EXPECT_EQ(formulas[2].num("x"), 94);
}

TEST(PenWidth, APartGivesItsWidthBackButLeavesTheStartOfAReplayAlone) {
    EngineFixture f("k\\<");
    Engine& e = f.engine();
    Layer& g = f.layer();
    {
        const ScopedPenWidth part(e, 5);
        drawStrokes(e, 11, {{{0, 0}, {10, 0}, 3}});
        {
            const ScopedPenWidth inner(e, 8);
            g.line(0, 10, 10, 10, 0);
        }
        g.line(0, 20, 10, 20, 0);
        anyKeyPrompt(e);
    }
    EXPECT_EQ(g.drawWidth(), 3);
    std::vector<float> pens;
    for (const Event& line : ofOp(f.events(), "line")) pens.push_back(static_cast<float>(line.num("pen")));
    EXPECT_EQ(pens, (std::vector<float>{11, 8, 5}));

    // A back at a wait inside a part: the layer has already begun its run
    // again from a fresh layer's state when the part unwinds.
    LayerOptions fresh;
    fresh.headless = true;
    const float startPen = ProgramRun(fresh).layer().drawWidth();
    EXPECT_THROW(
        {
            const ScopedPenWidth part(e, 5);
            anyKeyPrompt(e);
        },
        StepBack);
    EXPECT_EQ(g.drawWidth(), startPen);
}

TEST(PracticeLoop, NewProblemsUntilOneIsEntered) {
    // First problem: two waits, then 2 at the step prompt; second: two waits, then 1.
    EngineFixture f("kk2\\nkk1\\n");
    Engine& e = f.engine();
    Page page;
    std::vector<int> made;
    practiceLoop(e, page, 40, 90, [&](Engine&, int problem) {
        made.push_back(problem);
        return std::vector<Row>{{0, 100, 110, "x+1=" + std::to_string(problem)},
                                {0, 100, plus(50), "x=" + std::to_string(problem - 1)},
                                {5, 100, plus(50), "answer"}};
    });
    EXPECT_EQ(made, (std::vector<int>{0, 1}));
    auto events = f.events();
    // The area is blanked from its corner before each problem.
    int blanks = 0;
    for (const Event& b : ofOp(events, "box"))
        if (b.num("x1") == 40 && b.num("y1") == 90 && b.num("x2") == 2040 && b.num("y2") == 1890) ++blanks;
    EXPECT_EQ(blanks, 2);
    EXPECT_EQ(ofOp(events, "key").size(), 8u);
    EXPECT_EQ(e.entryValue, 1);
}

TEST(SubMenu, OnlyWholeNumbersInRangeChooseAPage) {
    EngineFixture f("0\\n4\\n2.5\\n1/0\\n\\n3/2\\n2\\n1\\n3\\n");
    Engine& e = f.engine();
    std::vector<int> shown;
    runSubMenu(e, "①A　②B　③終了", {[&](Engine&) { shown.push_back(1); }, [&](Engine&) { shown.push_back(2); }});
    EXPECT_EQ(shown, (std::vector<int>{2, 1}));
    auto events = f.events();
    int lines = 0;
    for (const Event& t : ofOp(events, "text"))
        if (t.str("text") == "①" && t.num("x") == 16 && t.num("y") == 666) ++lines;
    EXPECT_EQ(lines, 9);  // drawn again for each of the nine entries
    // The prompt band is cleared after every entry.
    int bands = 0;
    for (const Event& b : ofOp(events, "box"))
        if (b.num("x1") == 0 && b.num("y1") == 657 && b.num("x2") == 992) ++bands;
    EXPECT_EQ(bands, 9);
}

TEST(EquationTexts, TermsSignsAndFractionValues) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(termTextFor(0), "");
    EXPECT_EQ(termTextFor(1), "x");
    EXPECT_EQ(termTextFor(-1), "-x");
    EXPECT_EQ(termTextFor(-3), "-3x");
    EXPECT_EQ(signedText("5", 5), "+5");
    EXPECT_EQ(signedText("-5", -5), "-5");
    EXPECT_EQ(signedText("0", 0), "0");
    EXPECT_EQ(fractionValueText(e, 8, 2), "ﾀ8/2ﾀ=4");
    EXPECT_EQ(fractionValueText(e, -6, -3), "ﾀ-6/-3ﾀ=2");
    EXPECT_EQ(fractionValueText(e, 2, 3), "ﾀ2/3ﾀ");
    EXPECT_EQ(fractionValueText(e, 66, 8), "ﾀ66/8ﾀ=ﾀ33/4ﾀ");
    EXPECT_EQ(fractionValueText(e, -19, 1), "ﾀ-19/1ﾀ=-19");
    EXPECT_EQ(fractionValueText(e, -8, 5), "ﾀ-8/5ﾀ=-ﾀ8/5ﾀ");
    EXPECT_EQ(withoutLeadingPlus(e, "+8"), "8");
}
