// A command lowered into what a host fills: the rules every host shares,
// and the desktop's fill of a box on whole device pixels.

#include "engine/graphics/lowering.h"

#include "engine/graphics/display_list.h"
#include "engine/graphics/palette.h"
#include "hosts/desktop/desktop_host.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace lesson;

namespace {

struct Lowered : FillTarget {
    std::vector<RectFill> rects;
    std::vector<PathFill> paths;
    std::vector<GlyphRun> runs;
    void fillRects(const RectFill& r) override { rects.push_back(r); }
    void fillPath(const PathFill& p) override { paths.push_back(p); }
    void fillGlyphs(const GlyphRun& g) override { runs.push_back(g); }
};

Lowered lowered(const DrawCommand& cmd, bool erase = false, double scale = 1) {
    Lowered out;
    lowerCommand(cmd, erase, scale, out);
    return out;
}

DrawCommand shape(DrawCommand::Op op, float x1, float y1, float x2, float y2, float pen) {
    DrawCommand c;
    c.op = op;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.pen = pen;
    c.color = 7;
    return c;
}

}  // namespace

TEST(Lowering, ABoxIsItsFillAndTheRingOfItsOutline) {
    // Corners given the wrong way round; a pen of 4 reaches 2 out and 2 in.
    DrawCommand box = shape(DrawCommand::Op::Box, 300, 200, 100, 150, 4);
    box.fill = 8;
    const Lowered plain = lowered(box);
    ASSERT_EQ(plain.rects.size(), 2u);
    EXPECT_EQ(plain.rects[0].colour, 8);
    ASSERT_EQ(plain.rects[0].count, 1);
    EXPECT_EQ(std::tie(plain.rects[0].rects[0].x0, plain.rects[0].rects[0].y1), std::tuple(100.0, 200.0));
    const RectFill& ring = plain.rects[1];
    EXPECT_EQ(ring.colour, 7);
    ASSERT_EQ(ring.count, 2);
    EXPECT_EQ(std::tie(ring.rects[0].x0, ring.rects[0].y0, ring.rects[0].x1, ring.rects[0].y1),
              std::tuple(98.0, 148.0, 302.0, 202.0));
    EXPECT_EQ(std::tie(ring.rects[1].x0, ring.rects[1].y0, ring.rects[1].x1, ring.rects[1].y1),
              std::tuple(102.0, 152.0, 298.0, 198.0));
    // Erasing at a zoom of 2.5 the ring reaches half the spread further, in device pixels.
    const RectFill wiped = lowered(box, true, 2.5).rects[1];
    EXPECT_DOUBLE_EQ(wiped.rects[0].x0, 98 - kEraseSpreadPixels / 2.5 / 2);
    EXPECT_DOUBLE_EQ(wiped.rects[1].x0, 102 + kEraseSpreadPixels / 2.5 / 2);
    // A box filled in its line colour, and one the pen fills whole, are one rectangle.
    box.fill = 7;
    EXPECT_EQ(lowered(box).rects.size(), 1u);
    box.fill = 8;
    box.y2 = 197;
    EXPECT_EQ(lowered(box).rects[1].count, 1);

    // On the desktop every rectangle stands on whole device pixels, at 1x and
    // zoomed: no pixel of the box is a blend of its colours and the page's.
    for (const float zoom : {1.0f, 2.3f}) {
        testing_support::EngineFixture f("", 1, 1000, 563);
        Raster& raster = rasterOf(f.layer());
        raster.setView(PageView::placing({200, 175}, {0.5f, 0.5f}, zoom));
        f.layer().setDrawWidth(3);
        f.layer().box(100.3f, 150.6f, 300.2f, 200.1f, 7, 8);
        cairo_surface_flush(raster.surface());
        const unsigned char* data = cairo_image_surface_get_data(raster.surface());
        const int stride = cairo_image_surface_get_stride(raster.surface());
        std::set<std::tuple<int, int, int>> colours;
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x) {
                const unsigned char* p = data + y * stride + x * 4;
                colours.insert({p[2], p[1], p[0]});
            }
        const std::set<std::tuple<int, int, int>> expected{{0xFF, 0xFF, 0xFF}, {0x7B, 0x1F, 0xA2}, {0x2E, 0x9E, 0x3E}};
        EXPECT_EQ(colours, expected) << "zoom " << zoom;
    }
}

TEST(Lowering, ASmallCircleIsADotAndTheErasingSpreadIsDevicePixels) {
    // A full circle smaller than its pen is a solid dot, as wide as the ring would reach.
    DrawCommand dot = shape(DrawCommand::Op::Circle, 50, 60, 0, 0, 3);
    dot.r = -1;
    const PathFill disc = lowered(dot).paths.at(0);
    ASSERT_EQ(disc.steps.size(), 1u);
    EXPECT_EQ(disc.steps[0].kind, PathStep::Kind::Arc);
    EXPECT_DOUBLE_EQ(disc.steps[0].r, 2.5);
    EXPECT_EQ(disc.fill, 7);
    EXPECT_EQ(disc.width, 0);
    // As large as its pen it is a ring: stroked, not filled.
    dot.r = 1.5f;
    const PathFill ring = lowered(dot).paths.at(0);
    EXPECT_EQ(ring.fill, kNoFill);
    EXPECT_EQ(ring.width, 3);
    EXPECT_EQ(ring.steps.back().kind, PathStep::Kind::Close);

    // The erasing spread is device pixels: less of a page unit the more the view is zoomed.
    DrawCommand line = shape(DrawCommand::Op::Line, 0, 0, 10, 10, 2);
    EXPECT_EQ(lowered(line).paths.at(0).width, 2);
    EXPECT_DOUBLE_EQ(lowered(line, true, 1).paths.at(0).width, 2 + kEraseSpreadPixels);
    EXPECT_DOUBLE_EQ(lowered(line, true, 4).paths.at(0).width, 2 + kEraseSpreadPixels / 4);
}

TEST(Lowering, TextIsGlyphsInTheirCellsAndABoldOutlineIsWider) {
    DrawCommand text = shape(DrawCommand::Op::Text, 40, 100, 0, 0, 1);
    text.text = "x 等";
    text.font.size = 24;
    text.mx = 2;
    const GlyphRun run = lowered(text).runs.at(0);
    ASSERT_EQ(run.glyphs.size(), 2u);  // the blank takes its cell and draws nothing
    EXPECT_DOUBLE_EQ(run.glyphs[0].x, 40);
    EXPECT_DOUBLE_EQ(run.glyphs[1].x, 40 + cellAdvance(text, "x") + cellAdvance(text, " "));
    EXPECT_EQ(run.glyphs[1].drawn, U'等');
    EXPECT_EQ(run.height, 24);
    EXPECT_EQ(run.outline, 0);

    // Erasing, the outline is the spread; for a bold face a 48th of the
    // larger em more on each side.
    const GlyphRun regular = lowered(text, true, 2).runs.at(0);
    EXPECT_DOUBLE_EQ(regular.outline, kEraseSpreadPixels / 2);
    text.font.bold = true;
    const GlyphRun bold = lowered(text, true, 2).runs.at(0);
    EXPECT_TRUE(bold.bold);
    EXPECT_DOUBLE_EQ(bold.outline - regular.outline, 2 * std::max(bold.across, bold.height) / 48);
}
