// What a class reads from the back of the room: the error line against what
// it stands on, and four rows that a later step must not cut into.

#include "engine/graphics/palette.h"
#include "engine/graphics/schemes.h"
#include "hosts/desktop/desktop_host.h"
#include "engine/typesetter/formula.h"
#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace lesson;
using testing_support::EngineFixture;
using testing_support::RunResult;

namespace {

double contrast(Rgb a, Rgb b) { return contrastRatio(a, b); }

// Dark pixels (ink of dark text) in a band of a 1344 x 720 page image.
int inkIn(cairo_surface_t* s, int x0, int y0, int x1, int y1) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = data + y * stride + x * 4;
            if (p[0] + p[1] + p[2] < 3 * 160) ++count;
        }
    return count;
}

int inkIn(const std::string& png, int x0, int y0, int x1, int y1) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << png;
    const int n = inkIn(s, x0, y0, x1, y1);
    cairo_surface_destroy(s);
    return n;
}

int inkAfter(const std::string& keys, int x0, int y0, int x1, int y1) {
    const RunResult r = testing_support::runHeadless(solvara::program(), "5926\n" + keys, {1, true});
    return inkIn(r.screenshot, x0, y0, x1, y1);
}

std::string repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

}  // namespace

TEST(Legibility, ErrorLineReadsOnWhatTheClearPaintsAndSoDoTheMenuTexts) {
    EXPECT_GE(contrast(kPalette[13], kClearColor), 4.5);
    EXPECT_GE(contrast(kPalette[13], kPalette[10]), 4.5);  // menu texts on the menu frame
    EXPECT_GE(contrast(kPalette[13], kPalette[3]), 4.5);   // numbers on the number boxes

    // The error screen keeps its ground when the window is resized and the
    // page drawn again from the display list.
    EngineFixture f;
    Layer& g = f.layer();
    g.cls();
    g.text(288, 432, "1,9エラーが発生しました。", 1, 1, 13);
    rasterOf(g).resize(800, 600);
    cairo_surface_t* s = rasterOf(g).surface();
    cairo_surface_flush(s);
    const unsigned char* p = cairo_image_surface_get_data(s);  // the top-left pixel
    EXPECT_EQ(p[2], kClearColor.r);
    EXPECT_EQ(p[1], kClearColor.g);
    EXPECT_EQ(p[0], kClearColor.b);
}

TEST(Legibility, LaterStepsLeaveEveryInkOfTheRowsAboveAndBeside) {
    // Section 1, fare page: the label of the bus arc is blanked and written
    // again at the 13th key; "合計の電車代は" below it keeps all its ink.
    const std::string fare = "1\n1\n";
    EXPECT_EQ(inkAfter(fare + repeat('k', 12), 0, 300, 320, 350), inkAfter(fare + repeat('k', 13), 0, 300, 320, 350));

    // Section 2, task 2: every frame of the balance blanks its area; the "。"
    // of the title stays whole.
    EngineFixture title;
    drawFormulaAt(title.engine(), 40, 30, 0, "課題2　xの値を求めなさい。");
    const int titleInk = inkIn(rasterOf(title.layer()).surface(), 380, 30, 540, 85);
    ASSERT_GT(titleInk, 100);
    EXPECT_EQ(inkAfter("2\n3\n" + repeat('k', 12), 380, 30, 540, 85), titleInk);

    // Section 5, ②: a wrong sub-menu number blanks the entry field beside the
    // last row of the page; the row keeps its ink.
    const std::string fractions = "5\n2\n" + repeat('k', 12) + "1\n" + repeat('k', 16) + "1\nk";
    EXPECT_EQ(inkAfter(fractions, 640, 585, 1150, 645), inkAfter(fractions + "9\n", 640, 585, 1150, 645));
}

TEST(Legibility, AnswerColumnsOfQuestion4DoNotRunIntoEachOther) {
    const RunResult r = testing_support::runHeadless(solvara::program(),
                                                     "5926\n5\n1\n" + repeat('k', 12) + "1\n" + repeat('k', 12));
    const auto problem = r.formulasWith("4x+1=3(x+2)");
    const auto label = r.formulasWith("(3)");
    ASSERT_FALSE(problem.empty());
    ASSERT_FALSE(label.empty());
    EXPECT_EQ(problem[0].num("y"), label[0].num("y"));
    EXPECT_GE(label[0].num("x"), problem[0].num("end") + 5);
}
