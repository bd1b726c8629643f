// The teacher's ink in a scripted lesson: strokes of every pen, the eraser,
// undo and clear read at waits and through backs, over what the lesson draws
// later, gone with the page's clear; and in the PDF and the handout.

#include "engine/frame/frame.h"
#include "hosts/desktop/desktop_host.h"
#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lesson;
using testing_support::Event;
using testing_support::tempPath;

namespace {

// Solvara's first section, its first page, at its first any-key wait: the
// next key draws the page's next line, the one after it the bus fare's row
// (its first glyphs over y 169 to 217, from x 136).
const std::string kFirstWait = "5926\\n1\\n1\\n";
// A red curve on white, the marker over the page's title, a black dot, and a
// blue line running off both sides of the page.
const std::string kInk = "\\~r:700,300 900,260 1100,300;\\~m:150,40 800,40;\\~k:1000,500;\\~b:-50,450 1400,450;";

struct Rgb8 {
    int r, g, b;
};

struct Inked {
    std::vector<Event> events;
    std::vector<std::uint32_t> pixels;  // the page at 1344 x 720
    std::vector<std::shared_ptr<const InkStroke>> strokes;
    Rgb8 at(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * 1344 + static_cast<std::size_t>(x)];
        return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
    }
    std::vector<Event> ink() const { return testing_support::ofOp(events, "ink"); }
};

Inked run(const std::string& keys, LayerOptions lo = {}) {
    lo.headless = true;
    lo.seed = 3;
    lo.keys = parseKeyScript(keys);
    testing_support::RecordingSink recording;
    Inked result;
    {
        ProgramRun run(lo);
        run.layer().addSink(recording);
        Engine e(run);
        runFrame(e, solvara::program());
        cairo_surface_t* s = rasterOf(run.layer()).surface();
        cairo_surface_flush(s);
        for (int y = 0; y < 720; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                                     y * cairo_image_surface_get_stride(s));
            result.pixels.insert(result.pixels.end(), row, row + 1344);
        }
        result.strokes = run.layer().page().inkStrokes().strokes();
        EXPECT_TRUE(run.finish().empty());
    }
    result.events = recording.events();
    return result;
}

bool near(Rgb8 a, Rgb a8, int by = 3) {
    return std::abs(a.r - a8.r) <= by && std::abs(a.g - a8.g) <= by && std::abs(a.b - a8.b) <= by;
}

std::string pens(const Inked& r) {
    std::string out;
    for (const auto& s : r.strokes) out += s->pen->letter;
    return out;
}

TEST(Ink, StaysThroughBacksOverLaterStepsUntilThePageIsCleared) {
    const Rgb red = inkPen('r')->colour;
    // At the next wait: a red line across where the bus fare's row comes,
    // the eraser over the blue line, undone, and again.
    const std::string next = "k\\~r:120,193 260,193;\\~e:600,430 600,470;\\~u;\\~e:600,430 600,470;";
    const Inked first = run(kFirstWait + kInk), there = run(kFirstWait + kInk + next);
    EXPECT_EQ(pens(first), "rmkb");
    EXPECT_EQ(pens(there), "rmkr");
    EXPECT_TRUE(near(there.at(150, 193), red));

    // A back stands at the first wait with its ink, pixel for pixel; going
    // on from there is as if the undone wait's ink had never been drawn.
    const Inked back = run(kFirstWait + kInk + next + "\\<");
    EXPECT_EQ(back.pixels, first.pixels);
    EXPECT_EQ(pens(back), "rmkb");
    EXPECT_EQ(run(kFirstWait + kInk + next + "\\<k").pixels, run(kFirstWait + kInk + "k").pixels);
    // A back at a wait whose ink was drawn between typed keys keeps it too.
    EXPECT_EQ(run(kFirstWait + kInk + "k\\<").pixels, first.pixels);

    // The lesson's later drawing goes under the ink: the row's text is drawn
    // after the red line, which stays on top where they cross.
    const Inked later = run(kFirstWait + kInk + next + "k");
    bool drawnUnder = false;
    for (std::size_t i = later.events.size(); i-- > 0 && later.events[i].op() != "ink";)
        drawnUnder = drawnUnder || (later.events[i].op() == "text" && later.events[i].num("y") <= 193 &&
                                    later.events[i].num("x") <= 150 && later.events[i].num("x") + 32 >= 150);
    EXPECT_TRUE(drawnUnder);
    int covered = 0;
    for (int x = 125; x <= 255; ++x) covered += !near(later.at(x, 193), red);
    EXPECT_EQ(covered, 0);

    // Through the page's steps to its sub-menu, the ink stays; the next page
    // clears it away with the page.
    const std::string steps(30, 'k');
    EXPECT_EQ(pens(run(kFirstWait + kInk + steps)), "rmkb");
    const Inked cleared = run(kFirstWait + kInk + steps + "2\\n");
    EXPECT_TRUE(cleared.strokes.empty());
    EXPECT_FALSE(near(cleared.at(800, 280), red, 60));
}

TEST(Ink, PensDotsClippingThinningEraserUndoAndClear) {
    const Inked first = run(kFirstWait + kInk);
    // A one-point stroke is a round dot of the pen's width.
    EXPECT_TRUE(near(first.at(1000, 500), {0, 0, 0}, 10));
    EXPECT_TRUE(near(first.at(1000, 504), {255, 255, 255}));
    // The marker lets the page through: a blend on white.
    const Rgb8 marked = first.at(180, 30);
    EXPECT_GT(marked.b, 100);
    EXPECT_LT(marked.b, 200);
    // Off-page points are clipped to the page; the trace records each action.
    const std::vector<Event> ink = first.ink();
    ASSERT_EQ(ink.size(), 4u);
    const auto& blue = ink[3].at("points").array;
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_EQ(blue[0].array[0].number, 0);
    EXPECT_EQ(blue[1].array[0].number, 1344);

    // Clear takes the page's ink (back to the page as the lesson drew it),
    // undo brings it back; an eraser takes only what it passes near.
    const Inked plain = run(kFirstWait);
    const Inked clear = run(kFirstWait + kInk + "\\~c;");
    EXPECT_TRUE(clear.strokes.empty());
    EXPECT_EQ(clear.pixels, plain.pixels);
    EXPECT_EQ(run(kFirstWait + kInk + "\\~c;\\~u;").pixels, first.pixels);
    EXPECT_EQ(pens(run(kFirstWait + kInk + "\\~e:1000,480 1000,490;\\~e:10,10;")), "rmb");
    EXPECT_EQ(run(kFirstWait + kInk + "\\~e:1000,480 1000,490;\\~e:10,10;\\~u;").pixels, first.pixels);

    // 5,000 points are thinned to 4,096, the first and the last kept.
    std::string many = "\\~k:";
    for (int i = 0; i < 5000; ++i) many += std::to_string(100 + i * 0.2) + "," + std::to_string(350 + i % 7) + " ";
    many.back() = ';';
    const Inked thinned = run(kFirstWait + many);
    ASSERT_EQ(thinned.strokes.size(), 1u);
    EXPECT_EQ(thinned.strokes[0]->points.size(), kMaxStrokePoints);
    EXPECT_NEAR(thinned.strokes[0]->points.back().x, 100 + 4999 * 0.2, 1e-3);
    EXPECT_EQ(thinned.ink()[0].at("points").array.size(), kMaxStrokePoints);
}

// The pixels of a PDF's first page at 72 dpi (1344 x 720), as poppler draws it.
struct Rendered {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    Rgb8 at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

Rendered renderPdf(const std::string& pdf, int page) {
    const std::string stem = tempPath("page");
    const std::string command = "pdftoppm -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                " -singlefile '" + pdf + "' '" + stem + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    Rendered out;
    std::FILE* f = std::fopen((stem + ".ppm").c_str(), "rb");
    if (!f) return out;
    int depth = 0;
    if (std::fscanf(f, "P6 %d %d %d", &out.width, &out.height, &depth) == 3 && std::fgetc(f) != EOF) {
        out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
        out.rgb.resize(std::fread(out.rgb.data(), 1, out.rgb.size(), f));
    }
    std::fclose(f);
    return out;
}

std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

TEST(Ink, PdfAndHandoutShowItInVectorsTheMarkerTranslucent) {
    LayerOptions lo;
    lo.handout = tempPath("handout") + ".pdf";
    // The ink drawn at the first wait, then the page's steps up to its
    // sub-menu and on to the next page: the handout's page of the first
    // screen is the page as it was taught.
    run(kFirstWait + kInk + std::string(30, 'k') + "2\\n", lo);
    LayerOptions one;
    one.pdf = tempPath("ink") + ".pdf";
    run(kFirstWait + kInk, one);
    // The handout's last page is the next page; the one before it, the inked one.
    const std::string info = commandOutput("pdfinfo '" + lo.handout + "'");
    const int pages = std::atoi(info.c_str() + info.find("Pages:") + 6);
    ASSERT_GE(pages, 2);
    for (const auto& [pdf, page] : {std::pair{one.pdf, 1}, std::pair{lo.handout, pages - 1}}) {
        SCOPED_TRACE(pdf);
        const Rendered shown = renderPdf(pdf, page);
        ASSERT_EQ(shown.rgb.size(), 1344u * 720 * 3);
        EXPECT_TRUE(near(shown.at(900, 270), inkPen('r')->colour, 12));
        EXPECT_TRUE(near(shown.at(1000, 500), {0, 0, 0}, 12));
        EXPECT_TRUE(near(shown.at(700, 450), inkPen('b')->colour, 12));
        // On white the marker is a blend of white and its yellow; the title's
        // black glyphs under it still show dark through it.
        const Rgb8 onWhite = shown.at(180, 30);
        EXPECT_GT(onWhite.b, 100);
        EXPECT_LT(onWhite.b, 200);
        int dark = 0;
        for (int x = 150; x < 800; ++x) dark += shown.at(x, 40).r < 140;
        EXPECT_GT(dark, 20);
    }
    // Smoothed: the curve runs through the midpoints, inside the raw corner.
    EXPECT_TRUE(near(renderPdf(one.pdf, 1).at(900, 261), {255, 255, 255}, 12));
    // The ink is paths, not a picture, and the title under the marker is still text.
    EXPECT_EQ(commandOutput("pdfimages -list '" + one.pdf + "' | tail -n +3 | wc -l"), "0\n");
    EXPECT_NE(commandOutput("pdftotext '" + one.pdf + "' -").find("金額が同じ"), std::string::npos);
}

}  // namespace
