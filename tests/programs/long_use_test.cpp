// A PC left running all day: what the window keeps to draw its page again
// follows the page, not the hours of use, and a page drawn again after a
// resize is the same page.

#include "engine/frame/frame.h"
#include "engine/typesetter/spoken.h"
#include "hosts/desktop/desktop_host.h"
#include "lessons_a/sections.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace lesson;

namespace {

// Solvara run headless until its scripted keys are used up; the run keeps
// the page as it stands.
std::unique_ptr<ProgramRun> runSolvara(const std::string& keys) {
    LayerOptions options;
    options.headless = true;
    options.keys = parseKeyScript(keys);
    options.seed = 1;
    auto run = std::make_unique<ProgramRun>(options);
    Engine e(*run);
    runFrame(e, solvara::program());
    return run;
}

std::string times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Pixels that differ between two pages of the same size.
int differingPixels(Raster& a, Raster& b) {
    cairo_surface_flush(a.surface());
    cairo_surface_flush(b.surface());
    const int stride = cairo_image_surface_get_stride(a.surface());
    const unsigned char* pa = cairo_image_surface_get_data(a.surface());
    const unsigned char* pb = cairo_image_surface_get_data(b.surface());
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += std::memcmp(pa + y * stride + x * 4, pb + y * stride + x * 4, 3) != 0;
    return n;
}

}  // namespace

TEST(LongUse, WhatIsKeptOfThePageDoesNotGrowWithTheVisits) {
    // Section 1, first page, back to the main menu: 50 keys a visit.
    const std::string visit = "1\n1\n" + times("k", 44) + "4\n";
    auto few = runSolvara("5926\n" + times(visit, 2));
    auto many = runSolvara("5926\n" + times(visit, 60));
    EXPECT_EQ(rasterOf(many->layer()).displayListSize(), rasterOf(few->layer()).displayListSize());
}

TEST(LongUse, ADrillsPageTextHoldsItsProblemNotEveryOneBefore) {
    // Section 2's drill: each problem drawn over the last in the same area.
    // The page's text told at each wait (a screen reader's label, and what is
    // kept of it for the waits a back goes to) is the page as it stands.
    auto pageAfter = [](int problems) {
        LayerOptions options;
        options.headless = true;
        options.keys = parseKeyScript("5926\n2\n7\n" + times("kkkkkk2\n", problems));
        options.seed = 1;
        ProgramRun run(options);
        SpokenSteps spoken(run);
        run.layer().addSink(spoken);
        Engine e(run);
        runFrame(e, solvara::program());
        return run.spokenPage();
    };
    const std::string few = pageAfter(2), many = pageAfter(80);
    ASSERT_FALSE(few.empty());
    EXPECT_LT(many.size(), few.size() * 3 / 2) << many;
    EXPECT_EQ(many.find("次の方程式を解きなさい"), many.rfind("次の方程式を解きなさい")) << many;
}

TEST(LongUse, AMenuPageAfter250000KeysIsDrawnAgainWhole) {
    // Keys that the menu ignores, typed for hours; then the window is resized.
    auto worn = runSolvara("5926\n" + std::string(250000, 'k'));
    auto fresh = runSolvara("5926\nkkk");
    rasterOf(worn->layer()).resize(1000, 563);
    rasterOf(fresh->layer()).resize(1000, 563);
    EXPECT_EQ(differingPixels(rasterOf(worn->layer()), rasterOf(fresh->layer())), 0);
}
