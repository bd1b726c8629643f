// Formula cells, span arcs and the grid.

#include "engine/typesetter/cells.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lesson;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::ofOp;

namespace {


void cell(Engine& e, float w, float h, const std::string& text) {
    e.boxWidth = w;
    e.boxHeight = h;
    e.lineColor = 7;
    e.boxFillColor = 13;
    e.workText = text;
    drawBoxedFormula(e);
}

}  // namespace

TEST(Cells, TextIsCentredInItsCell) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 100;
    e.textY = 200;
    cell(e, 40, 50, "x");
    EXPECT_EQ(e.textX, 140);
    EXPECT_EQ(e.textY, 200);
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 1u);
    EXPECT_EQ(formulas[0].num("x"), 106.5);
    EXPECT_EQ(formulas[0].num("y"), 203);
    auto boxes = ofOp(f.events(), "box");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].num("x2"), 140);
    EXPECT_EQ(boxes[0].num("y2"), 250);
    EXPECT_EQ(boxes[0].num("line"), 7);
    EXPECT_EQ(boxes[0].num("fill"), 13);
}

TEST(Cells, FractionTextSitsHigherAndCellsFormARow) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 0;
    e.textY = 100;
    cell(e, 60, 50, "ﾀ1/2ﾀ");
    cell(e, 60, 50, "3");
    cell(e, 60, 50, "4");
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 3u);
    EXPECT_EQ(formulas[0].num("y"), 100);
    EXPECT_EQ(formulas[1].num("y"), 103);
    auto boxes = ofOp(f.events(), "box");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].num("x1"), 60);
    EXPECT_EQ(boxes[2].num("x1"), 120);
    EXPECT_EQ(e.textX, 180);
}

TEST(Cells, TwoLineBoxWithEmptyLowerLineCentresTheUpper) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 10;
    e.textY = 100;
    e.boxWidth = 200;
    e.boxHeight = 100;
    e.upperText = "x";
    e.lowerText = "";
    drawTwoLineBox(e);
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_GE(formulas.size(), 1u);
    EXPECT_EQ(formulas[0].num("y"), 128);
    EXPECT_EQ(e.textX, 210);
}

TEST(Cells, BoxAroundFormulaKeepsTheTextLine) {
    EngineFixture f;
    Engine& e = f.engine();
    e.textX = 0;
    e.textY = 100;
    e.boxWidth = 100;
    e.boxHeight = 60;
    e.workText = "3";
    drawBoxAroundFormula(e);
    auto boxes = ofOp(f.events(), "box");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].num("y1"), 92);
    EXPECT_EQ(boxes[0].num("y2"), 152);
    EXPECT_EQ(ofOp(f.events(), "formula")[0].num("y"), 100);
}

TEST(SpanArc, LevelSegmentAboveAndBelow) {
    for (float side : {-1.0f, 1.0f}) {
        EngineFixture f;
        Engine& e = f.engine();
        e.arcX1 = 100;
        e.arcY1 = 200;
        e.arcX2 = 300;
        e.arcY2 = 200;
        e.arcSide = side;
        e.arcHeight = 60;
        e.arcStep = 3;
        e.lineColor = 7;
        e.textColor = 7;
        e.labelText = "120円";
        drawSpanArc(e);
        EXPECT_TRUE(e.labelText.empty());
        auto events = f.events();
        auto dots = ofOp(events, "circle");
        ASSERT_EQ(dots.size(), 61u);
        const float first = side < 0 ? 300 : 100;
        EXPECT_NEAR(dots.front().num("x"), first, 0.01);
        EXPECT_NEAR(dots.front().num("y"), 200, 0.01);
        EXPECT_NEAR(dots[30].num("x"), 200, 0.01);
        EXPECT_NEAR(dots[30].num("y"), side < 0 ? 140 : 260, 0.01);
        EXPECT_NEAR(dots.back().num("x"), 400 - first, 0.01);
        EXPECT_EQ(dots.front().num("r"), 0.5);
        auto label = ofOp(events, "formula").back();
        EXPECT_NEAR(label.num("y"), side < 0 ? 96 : 260, 0.01);
        EXPECT_NEAR((label.num("x") + label.num("end")) / 2, 200, 0.01);
    }
}

TEST(SpanArc, HeightZeroIsStraightAndSmallHeightsAreSixteenths) {
    for (auto [height, bulge] : std::vector<std::pair<float, float>>{{0, 0}, {5, 80}}) {
        EngineFixture f;
        Engine& e = f.engine();
        e.arcX1 = 100;
        e.arcY1 = 400;
        e.arcX2 = 300;
        e.arcY2 = 400;
        e.arcSide = -1;
        e.arcHeight = height;
        e.arcStep = 60;
        e.labelText = "a";
        drawSpanArc(e);
        auto dots = ofOp(f.events(), "circle");
        ASSERT_EQ(dots.size(), 4u);  // 0, 60, 120 and 180 degrees
        float top = 400;
        for (const Event& d : dots) top = std::min<float>(top, d.num("y"));
        EXPECT_NEAR(400 - top, bulge * std::sin(3.14159f / 3), 0.05);
    }
}

TEST(SpanArc, NonPositiveStepDrawsOneDotInsteadOfLoopingForEver) {
    EngineFixture f;
    Engine& e = f.engine();
    e.arcX1 = 0;
    e.arcY1 = 0;
    e.arcX2 = 100;
    e.arcY2 = 0;
    e.arcStep = 0;
    drawSpanArc(e);
    EXPECT_EQ(ofOp(f.events(), "circle").size(), 1u);
}

TEST(Grid, WhiteGridDrawsNothingButSetsTheOrigin) {
    EngineFixture f;
    Engine& e = f.engine();
    e.gridX = 50;
    e.gridY = 60;
    e.gridCell = 20;
    e.gridColumns = 7;
    e.gridRows = 5;
    e.lineColor = 15;
    drawGrid(e);
    EXPECT_EQ(e.gridOriginX, 50);
    EXPECT_EQ(e.gridOriginY, 160);
    EXPECT_TRUE(ofOp(f.events(), "line").empty());
}

TEST(Grid, LineCountsAndHeavyLines) {
    EngineFixture f;
    Engine& e = f.engine();
    f.layer().setDrawWidth(2);
    e.gridX = 50;
    e.gridY = 60;
    e.gridCell = 20;
    e.gridColumns = 7;
    e.gridRows = 5;
    e.lineColor = 7;
    drawGrid(e);
    auto lines = ofOp(f.events(), "line");
    std::vector<Event> vertical, horizontal;
    for (const Event& l : lines) (l.num("x1") == l.num("x2") ? vertical : horizontal).push_back(l);
    ASSERT_EQ(vertical.size(), 8u);
    ASSERT_EQ(horizontal.size(), 6u);
    for (int i = 0; i < 8; ++i) {
        const bool heavy = i % 5 == 0;
        EXPECT_EQ(vertical[i].num("pen"), heavy ? 3 : 1) << i;
        EXPECT_EQ(vertical[i].num("color"), heavy ? 14 : 7) << i;
    }
    // Rows are counted from the bottom: lines 0 and 5 are the bottom and top edges.
    EXPECT_EQ(horizontal[0].num("y1"), 160);
    EXPECT_EQ(horizontal[0].num("pen"), 3);
    EXPECT_EQ(horizontal[5].num("y1"), 60);
    EXPECT_EQ(horizontal[5].num("pen"), 3);
    EXPECT_EQ(horizontal[1].num("pen"), 1);
    EXPECT_EQ(f.layer().drawWidth(), 2);
}
