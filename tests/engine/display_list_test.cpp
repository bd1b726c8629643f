// The display list on its own: what a later box paints over leaves it, a
// picture drawn on itself is counted in coats, a white redraw erases and is
// marked to be widened, and the page clears and blank tops are told.

#include "engine/graphics/display_list.h"

#include <gtest/gtest.h>

using namespace lesson;

namespace {

DrawCommand box(float x1, float y1, float x2, float y2, int color, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Box;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.color = color;
    c.fill = fill;
    return c;
}

DrawCommand line(float x1, float y1, float x2, float y2, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Line;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.color = color;
    c.pen = 3;
    return c;
}

DrawCommand text(float x, float y, const std::string& s, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Text;
    c.x1 = x, c.y1 = y;
    c.text = s;
    c.color = color;
    return c;
}

bool holds(const DisplayList& list, const DrawCommand& cmd) {
    for (const DisplayList::Entry& e : list.entries())
        if (e.cmd.op == cmd.op && e.cmd.x1 == cmd.x1 && e.cmd.y1 == cmd.y1 && e.cmd.color == cmd.color) return true;
    return false;
}

}  // namespace

TEST(DisplayListPruning, ABoxPaintedOverWhollyLeavesAnErasingOneOnlyUnderAnErasingOne) {
    DisplayList list;
    // A filled box, then one a unit larger on every side: its bounds reach
    // past the later box's inside, but the box itself lies under it.
    const DrawCommand under = box(100, 100, 200, 200, 7, 3);
    list.add(under);
    list.add(box(99, 99, 201, 201, 7, 11));
    EXPECT_FALSE(holds(list, under));
    EXPECT_EQ(list.size(), 1u);

    // A box only partly under it stays.
    const DrawCommand beside = box(150, 150, 260, 260, 0, 13);
    list.add(beside);
    list.add(box(99, 99, 201, 201, 7, 11));
    EXPECT_TRUE(holds(list, beside));

    // An erasing (white) box reaches past its corners when drawn: a coloured
    // box of the same place leaves it, an erasing one takes it away.
    DisplayList wipes;
    const DrawCommand wipe = box(400, 400, 500, 500, kWhite, kWhite);
    EXPECT_EQ(wipes.add(wipe), std::optional<bool>(true));
    wipes.add(box(399, 399, 501, 501, 7, 3));
    EXPECT_TRUE(holds(wipes, wipe));
    EXPECT_EQ(wipes.size(), 2u);
    wipes.add(box(399, 399, 501, 501, kWhite, kWhite));
    EXPECT_FALSE(holds(wipes, wipe));
    EXPECT_EQ(wipes.size(), 1u);
}

TEST(DisplayListPruning, APageClearIsToldAndLeavesNothingButItself) {
    DisplayList list;
    list.add(text(40, 30, "方程式", 5));
    list.add(line(100, 300, 900, 300, 0));
    list.add(box(96, 657, 400, 693, 13, 4));
    EXPECT_FALSE(list.blankAbove());
    const DrawCommand clear = box(0, 0, 1760, 1300, kWhite, kWhite);
    EXPECT_TRUE(list.clearedBy(clear));
    // Not from the page's corner, or not reaching over the prompt box: no clear.
    EXPECT_FALSE(list.clearedBy(box(10, 0, 1760, 1300, kWhite, kWhite)));
    EXPECT_FALSE(list.clearedBy(box(0, 0, 1760, 600, kWhite, kWhite)));
    EXPECT_FALSE(list.clearedBy(box(0, 0, 1760, 1300, 7, 3)));
    list.add(clear);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list.entries()[0].erase);
    EXPECT_TRUE(list.blankAbove());
}

TEST(DisplayListCoats, ThePictureDrawnOnItselfIsKeptOnceWithAFewCoats) {
    DisplayList list;
    DrawCommand cursor;
    cursor.op = DrawCommand::Op::Circle;
    cursor.x1 = 1064, cursor.y1 = 656, cursor.r = 4;
    cursor.color = 5;
    list.add(cursor);
    list.add(cursor);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entries()[0].coats, 2);
    for (int i = 0; i < 50; ++i) list.add(cursor);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entries()[0].coats, 4);  // solid after a few; the rest counted away
    // The same circle in another colour is another picture.
    cursor.color = 3;
    list.add(cursor);
    EXPECT_EQ(list.size(), 2u);
}

TEST(DisplayListErase, AWhiteRedrawErasesWhatStoodThereAndIsWidenedWhenDrawn) {
    DisplayList list;
    const DrawCommand stroke = line(100, 300, 900, 300, 0);
    EXPECT_EQ(list.add(stroke), std::optional<bool>(false));
    EXPECT_EQ(list.add(text(40, 30, "x=15", 5)), std::optional<bool>(false));
    // Drawn again in white where it stood: an erasing redraw, and the first drawing is gone.
    EXPECT_EQ(list.add(line(100, 300, 900, 300, kWhite)), std::optional<bool>(true));
    EXPECT_FALSE(holds(list, stroke));
    EXPECT_EQ(list.add(text(40, 30, "x=15", kWhite)), std::optional<bool>(true));
    for (const DisplayList::Entry& e : list.entries()) EXPECT_TRUE(e.erase);
    // White where nothing of that shape stood (white text on a fill) is drawn as it is.
    list.add(box(0, 400, 600, 600, 10, 10));
    EXPECT_EQ(list.add(text(20, 420, "2　等式の性質", kWhite)), std::optional<bool>(false));
    EXPECT_EQ(list.add(line(100, 500, 300, 500, kWhite)), std::optional<bool>(false));
    // A picture wholly off the page, and a pause, are not drawn at all.
    EXPECT_EQ(list.add(line(2000, 900, 2100, 900, 0)), std::nullopt);
    DrawCommand pause;
    pause.op = DrawCommand::Op::Pause;
    EXPECT_EQ(list.add(pause), std::nullopt);
}

TEST(DisplayListBlankAbove, OnlyWhiteAboveTheGivenLineAndNotOnTheClearsGround) {
    DisplayList list;
    EXPECT_TRUE(list.blankAbove());
    list.add(text(16, 666, "①例１", 0));  // the sub-menu line in the prompt band
    EXPECT_TRUE(list.blankAbove(kPromptBandTop));
    EXPECT_FALSE(list.blankAbove());
    list.add(box(0, 0, 300, 100, kWhite, kWhite));  // white drawing is no ink
    EXPECT_TRUE(list.blankAbove(kPromptBandTop));
    list.add(line(100, 600, 300, 600, 0));
    EXPECT_FALSE(list.blankAbove(kPromptBandTop));
    // The layer's clear paints the page in its own ground: not blank, though empty.
    DrawCommand cls;
    cls.op = DrawCommand::Op::Cls;
    list.add(cls);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_TRUE(list.cleared());
    EXPECT_FALSE(list.blankAbove());
    list.reset();
    EXPECT_TRUE(list.blankAbove());
}
