// Erasing is drawing again in white: nothing of the first picture may remain.

#include "hosts/desktop/desktop_host.h"
#include "engine/typesetter/formula.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

using namespace lesson;
using testing_support::EngineFixture;

namespace {

int nonWhitePixels(Raster& raster) {
    cairo_surface_t* s = raster.surface();
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    int count = 0;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const auto* p = data + y * stride + x * 4;
            if (p[0] != 255 || p[1] != 255 || p[2] != 255) ++count;
        }
    return count;
}

}  // namespace

class Erase : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(Erase, DrawingAgainInWhiteLeavesPureWhite) {
    const auto [w, h] = GetParam();
    EngineFixture f("", 1, w, h);
    Engine& e = f.engine();
    Layer& g = f.layer();
    auto picture = [&](int color) {
        drawFormulaAt(e, 121.5f, 333, color, "-15");
        drawFormulaAt(e, 400, 300, color, "ﾀ2x-7/3ﾀ=x^2");
        g.setDrawWidth(3);
        g.circle(1064, 656, 4, color);
        g.setDrawWidth(12);
        g.line(735.1f, 411.2f, 1024.9f, 488.8f, color);
        g.setDrawWidth(3);
        g.polyline({{880, 450}, {850, 488.8f}, {910, 488.8f}}, color, color);
        g.setDrawWidth(2);
        g.box(96, 639, 400, 675, color, color);
    };
    picture(0);
    ASSERT_GT(nonWhitePixels(rasterOf(g)), 1000);
    picture(15);
    EXPECT_EQ(nonWhitePixels(rasterOf(g)), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Erase,
                         ::testing::Values(std::pair{1344, 720}, std::pair{1920, 1080}, std::pair{1000, 563},
                                           std::pair{2880, 1620}));

TEST(Erase, WhiteTextOnAColouredFillKeepsItsShape) {
    // White menu text is drawn as it is, not widened like an erasing redraw.
    EngineFixture a("", 1), b("", 1);
    for (EngineFixture* f : {&a, &b}) f->layer().box(0, 0, 600, 200, 10, 10);
    drawFormulaAt(a.engine(), 20, 20, 15, "2　等式の性質");
    drawFormulaAt(b.engine(), 20, 20, 13, "2　等式の性質");
    auto colored = [](Raster& r) {
        cairo_surface_flush(r.surface());
        const unsigned char* d = cairo_image_surface_get_data(r.surface());
        const int stride = cairo_image_surface_get_stride(r.surface());
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 600; ++x)
                if (d[y * stride + x * 4 + 2] > 0x30) ++n;  // red channel: the fill has little red
        return n;
    };
    // The white glyphs cover about as many pixels as the same glyphs in yellow.
    const int white = colored(rasterOf(a.layer()));
    const int yellow = colored(rasterOf(b.layer()));
    EXPECT_NEAR(white, yellow, yellow * 0.05);
}

TEST(DisplayList, ResizeRedrawsTheSamePage) {
    EngineFixture f("", 1, 1344, 720);
    drawFormulaAt(f.engine(), 40, 40, 0, "ﾀx/3ﾀ=5");
    f.layer().box(0, 0, 1760, 1800, 15);
    drawFormulaAt(f.engine(), 40, 40, 5, "x=15");
    Raster& r = rasterOf(f.layer());
    EXPECT_LE(r.displayListSize(), 8u);  // the page clear dropped what it covered
    r.resize(2688, 1440);
    EXPECT_GT(nonWhitePixels(r), 1000);
}

// A drill of hours: the area blanked for every problem and the prompt's box
// wiped at every wait leave a page of the same length as after ten problems
// (every round kept to step back copies it).
TEST(DisplayList, ADrillOfHoursKeepsAPageOfTheSameLength) {
    EngineFixture f;
    Layer& g = f.layer();
    auto problem = [&](int i) {
        g.box(40, 90, 2040, 1890, 15);
        drawFormulaAt(f.engine(), 100, 110, 0, "x+" + std::to_string(i % 7) + "=5");
        g.box(96, 657, 400, 693, 13, 4);
        g.box(0, 657, 400, 693, 15);
    };
    for (int i = 0; i < 10; ++i) problem(i);
    const std::size_t after10 = g.page().size();
    for (int i = 10; i < 300; ++i) problem(i);
    EXPECT_EQ(g.page().size(), after10);
    EXPECT_LE(after10, 12u);
}

TEST(Erase, AnAreaDrawnAgainStandsOnTheSchemesGround) {
    // The part of the page under ink taken away is drawn again on the ground
    // of the scheme it is seen in, before a clear and after one.
    EngineFixture f;
    Raster& r = rasterOf(f.layer());
    const Scheme& dark = *findScheme("dark");
    r.setScheme(dark);
    auto middle = [&] {
        r.redrawArea({600, 300, 700, 400});
        cairo_surface_flush(r.surface());
        const unsigned char* p = cairo_image_surface_get_data(r.surface()) +
                                 350 * cairo_image_surface_get_stride(r.surface()) + 650 * 4;
        return hexColour({p[2], p[1], p[0]});
    };
    EXPECT_EQ(middle(), hexColour(dark.ground()));
    f.layer().cls();
    EXPECT_EQ(middle(), hexColour(dark.clearGround()));
}
