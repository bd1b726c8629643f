// The page saved in vectors: a handout of a section walked through holds one
// PDF page for each screen shown, and the PDF of a page holds its text as
// text (poppler's pdfinfo and pdftotext read them as a user's viewer would).

#include "engine/frame/frame.h"
#include "engine/frame/options.h"
#include "hosts/desktop/desktop_host.h"
#include "engine/chars/chars.h"
#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

using namespace lesson;
using testing_support::RecordingSink;
using testing_support::tempPath;

namespace {

std::string output(const std::string& command) {
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        EXPECT_EQ(::pclose(p), 0) << command;
    }
    return out;
}

int pdfPages(const std::string& path) {
    const std::string info = output("pdfinfo '" + path + "'");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The texts drawn since the last full page clear of a run, a string for each
// run of characters drawn one after another on one line.
struct Walked {
    std::vector<std::string> lastPageTexts;
};

Walked walk(const ProgramSpec& program, const std::string& keys, LayerOptions options) {
    options.headless = true;
    options.keys = parseKeyScript(keys);
    options.seed = 3;
    RecordingSink recording;
    Walked result;
    {
        ProgramRun run(options);
        run.layer().addSink(recording);
        Engine e(run);
        runFrame(e, program);
        EXPECT_TRUE(run.finish().empty());
    }
    // The recording is the trace of the run.
    double y = -1;
    for (const auto& ev : recording.events()) {
        // A full page clear: the layer's clear, or a white box from the
        // page's corner over the whole 1344 x 720 page.
        const bool clear = ev.op() == "cls" ||
                           (ev.op() == "box" && ev.num("fill") == kWhite && ev.num("line") == kWhite &&
                            std::min(ev.num("x1"), ev.num("x2")) <= 0 && std::min(ev.num("y1"), ev.num("y2")) <= 0 &&
                            std::max(ev.num("x1"), ev.num("x2")) >= 1344 && std::max(ev.num("y1"), ev.num("y2")) >= 720);
        if (clear) result.lastPageTexts.clear();
        if (ev.op() != "text" || ev.num("color") == kWhite) {
            y = -1;
            continue;
        }
        std::string ch = ev.str("text");
        if (ch == " " || ch == "\u3000") continue;
        if (ev.num("y") != y || result.lastPageTexts.empty()) result.lastPageTexts.emplace_back();
        y = ev.num("y");
        result.lastPageTexts.back() += ch;
    }
    return result;
}

// Screens of a run read off its stream: a screen ends where a white box from
// the page's corner covers everything drawn since the last screen (the
// lessons clear with boxes of several sizes, some narrower than the page), or
// at the layer's clear, and it counts when something other than white was
// drawn on it above the prompt band (a sub-menu line alone is nothing to
// read); the page standing at the stop is the last screen.
int screensOf(const std::vector<testing_support::Event>& events) {
    struct Extent {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        bool empty() const { return x1 < x0; }
        bool aboveThePromptBand() const { return !empty() && y0 < kPromptBandTop; }
    } drawn;
    int screens = 0;
    for (const auto& ev : events) {
        const std::string op = ev.op();
        if (op == "cls") {
            screens += drawn.aboveThePromptBand();
            drawn = {};
            continue;
        }
        if (op != "box" && op != "line" && op != "circle" && op != "polyline" && op != "text") continue;
        const int color = static_cast<int>(ev.num(op == "box" ? "line" : "color"));
        const bool white = color == kWhite && (!ev.has("fill") || ev.isNull("fill") || ev.num("fill") == kWhite);
        double x0, y0, x1, y1;
        if (op == "box" || op == "line") {
            x0 = std::min(ev.num("x1"), ev.num("x2")), x1 = std::max(ev.num("x1"), ev.num("x2"));
            y0 = std::min(ev.num("y1"), ev.num("y2")), y1 = std::max(ev.num("y1"), ev.num("y2"));
        } else if (op == "circle") {
            x0 = ev.num("x") - ev.num("r"), x1 = ev.num("x") + ev.num("r");
            y0 = ev.num("y") - ev.num("r"), y1 = ev.num("y") + ev.num("r");
        } else if (op == "polyline") {
            x0 = y0 = 1e9, x1 = y1 = -1e9;
            for (const auto& p : ev.at("points").array) {
                x0 = std::min(x0, p.array[0].number), x1 = std::max(x1, p.array[0].number);
                y0 = std::min(y0, p.array[1].number), y1 = std::max(y1, p.array[1].number);
            }
        } else {
            // Full-width characters take a cell of the font size, the others half of one.
            double width = 0;
            const std::string text = ev.str("text");
            for (std::size_t i = 0; i < text.size();) {
                const auto c = static_cast<unsigned char>(text[i]);
                const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                const bool halfKana = n == 3 && c == 0xEF && (static_cast<unsigned char>(text[i + 1]) == 0xBD ||
                                                              static_cast<unsigned char>(text[i + 1]) == 0xBE);
                width += ev.num("mx") * ev.num("size") * (n == 1 || halfKana ? 0.5 : 1.0);
                i += n;
            }
            x0 = ev.num("x"), x1 = x0 + width, y0 = ev.num("y"), y1 = y0 + ev.num("my") * ev.num("size");
        }
        if (op == "box" && white && x0 <= 0 && y0 <= 0 && !drawn.empty() && x1 >= std::min(drawn.x1, 1344.0) &&
            y1 >= std::min(drawn.y1, 720.0)) {
            screens += drawn.aboveThePromptBand();
            drawn = {};
            continue;
        }
        if (white || x1 < 0 || y1 < 0 || x0 >= 1344 || y0 >= 720) continue;
        drawn = {std::min(drawn.x0, x0), std::min(drawn.y0, y0), std::max(drawn.x1, x1), std::max(drawn.y1, y1)};
    }
    return screens + drawn.aboveThePromptBand();
}

// A page of a PDF rasterised at one pixel a point (1344 x 720), grey.
struct Grey {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    bool inkWithin(double x0, double y0, double x1, double y1) const {
        for (int y = std::max(0, static_cast<int>(y0)); y < std::min(height, static_cast<int>(y1) + 1); ++y)
            for (int x = std::max(0, static_cast<int>(x0)); x < std::min(width, static_cast<int>(x1) + 1); ++x)
                if (pixels[static_cast<std::size_t>(y) * width + x] < 160) return true;
        return false;
    }
};

Grey rasterised(const std::string& pdf, int page) {
    const std::string base = tempPath("page");
    output("pdftoppm -r 72 -gray -singlefile -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf +
           "' '" + base + "'");
    Grey g;
    std::FILE* f = std::fopen((base + ".pgm").c_str(), "rb");
    if (!f) return g;
    int max = 0;
    if (std::fscanf(f, "P5 %d %d %d", &g.width, &g.height, &max) == 3 && std::fgetc(f) != EOF) {
        g.pixels.resize(static_cast<std::size_t>(g.width) * g.height);
        if (std::fread(g.pixels.data(), 1, g.pixels.size(), f) != g.pixels.size()) g.pixels.clear();
    }
    std::fclose(f);
    std::remove((base + ".pgm").c_str());
    return g;
}

std::vector<std::uint32_t> pixelsOf(Raster& raster) {
    cairo_surface_t* s = raster.surface();
    cairo_surface_flush(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(raster.width()) * raster.height());
    for (int y = 0; y < raster.height(); ++y)
        std::memcpy(&out[static_cast<std::size_t>(y) * raster.width()], data + static_cast<std::size_t>(y) * stride,
                    sizeof(std::uint32_t) * raster.width());
    return out;
}

std::size_t differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return n;
}

// The rectangle a box command fills, and whether two rectangles share any area.
LogicalBox rectangleOf(const DrawCommand& box) {
    return {std::min(box.x1, box.x2), std::min(box.y1, box.y2), std::max(box.x1, box.x2), std::max(box.y1, box.y2)};
}
bool meet(const LogicalBox& a, const LogicalBox& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

// Checks the page at each wait for a key: the page drawn
// again from its display list, which the PDF is made from, is the page as
// the class saw it drawn, pixel for pixel, so nothing visible left the list;
// and every glyph the list keeps that a later box overlaps still shows (the
// page drawn without it differs), so no covered text stays in a PDF's text.
class PageCheck : public DrawSink {
public:
    explicit PageCheck(Layer& layer) : layer_(layer) {}

    // Notes a box drawn over a part of a text's cells since the last wait.
    void draw(const DrawCommand& cmd) override {
        if (cmd.op == DrawCommand::Op::Cls) texts_.clear();
        if (cmd.op == DrawCommand::Op::Text)
            texts_.push_back({cmd.x1, cmd.y1, cmd.x1 + textCellsWidth(cmd), cmd.y1 + cmd.my * cmd.font.size});
        if (cmd.op != DrawCommand::Op::Box) return;
        const LogicalBox b = rectangleOf(cmd);
        boxOverText_ = boxOverText_ || std::any_of(texts_.begin(), texts_.end(), [&](const LogicalBox& t) {
                           return meet(t, b) && !(t.x0 >= b.x0 && t.x1 <= b.x1 && t.y0 >= b.y0 && t.y1 <= b.y1);
                       });
    }

    void check() {
        ++waits;
        Raster& shown = rasterOf(layer_);
        const std::vector<DisplayList::Entry>& entries = layer_.page().entries();
        const bool cleared = layer_.page().cleared();
        std::vector<std::uint32_t> seen;
        std::optional<Raster> drawn;
        // The pixels of the entries drawn on a page of their own, and of the page.
        auto pixels = [&](std::span<const DisplayList::Entry> list) {
            if (!drawn) {
                seen = pixelsOf(shown);
                drawn.emplace(fonts_, shown.width(), shown.height());
            }
            drawn->paint(list, cleared);
            return pixelsOf(*drawn);
        };
        if (boxOverText_) {
            ++boxedPages;
            EXPECT_EQ(differing(pixels(entries), seen), 0u) << "wait " << waits << ": the list lost something visible";
            boxOverText_ = false;
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const DrawCommand& text = entries[i].cmd;
            if (text.op != DrawCommand::Op::Text) continue;
            const std::vector<std::string_view> chars = splitChars(text.text);
            float x = text.x1;
            for (std::size_t c = 0; c < chars.size(); x += cellAdvance(text, chars[c]), ++c) {
                const float right = x + cellAdvance(text, chars[c]);
                const LogicalBox cell{x, text.y1, right, text.y1 + text.my * text.font.size};
                // The later boxes over its cell; each glyph is checked once under the same ones.
                const auto overlapping = std::count_if(entries.begin() + static_cast<long>(i) + 1, entries.end(),
                                                       [&](const auto& later) {
                                                           return later.cmd.op == DrawCommand::Op::Box &&
                                                                  meet(rectangleOf(later.cmd), cell);
                                                       });
                if (overlapping == 0 || blankCharacter(codePoint(chars[c]))) continue;
                if (!checked_.insert({std::string(chars[c]), x, text.y1, overlapping}).second) continue;
                // The page without this glyph: the text on either side of it kept.
                std::vector<DisplayList::Entry> without(entries.begin(), entries.end());
                DisplayList::Entry after = without[i];
                without[i].cmd.text = charSlice(text.text, 0, static_cast<int>(c));
                after.cmd.text = charSlice(text.text, static_cast<int>(c) + 1);
                after.cmd.x1 = right;
                without.insert(without.begin() + static_cast<long>(i) + 1, after);
                ++glyphsChecked;
                EXPECT_GT(differing(pixels(without), seen), 0u)
                    << "wait " << waits << ": \"" << chars[c] << "\" of \"" << text.text << "\" at " << x << ","
                    << text.y1 << " is covered, yet kept";
            }
        }
    }

    int waits = 0, boxedPages = 0, glyphsChecked = 0;  // waits; pages and glyphs checked

private:
    Layer& layer_;
    Fonts fonts_;
    std::set<std::tuple<std::string, float, float, long>> checked_;
    std::vector<LogicalBox> texts_;  // drawn since the page's clear
    bool boxOverText_ = false;
};

std::string withoutBlanks(std::string text) {
    for (const std::string blank : {" ", "\n", "\u3000"})
        for (std::size_t at; (at = text.find(blank)) != std::string::npos;) text.erase(at, blank.size());
    return text;
}

}  // namespace

// Each section of both programs walked through as a handout: one page for
// each screen the class saw, each with something to read above the prompt
// band, the last the main menu whole; and at
// each wait the page's display list (a PDF's page) holds what the class sees
// and no glyph that a box covered wholly, as the erased rows of an answers
// page overprinted by the next ones, or an erased label.
TEST(Saving, HandoutHasEveryScreenShownNoneBlankAndOnlyWhatIsVisible) {
    int boxed = 0, glyphs = 0;
    for (const ProgramSpec& program : {solvara::program(), ratiora::program()}) {
        for (std::size_t section = 1; section < program.menu.size(); ++section) {
            SCOPED_TRACE(program.name + " section " + std::to_string(section));
            LayerOptions options;
            options.headless = true;
            options.seed = 3;
            options.handout = tempPath("handout") + ".pdf";
            RecordingSink recording;
            {
                ProgramRun run(options);
                PageCheck page(run.layer());
                run.layer().addSink(recording);
                run.layer().addSink(page);
                run.session().setMoreKeys([&page, walk = sectionWalk(run.session(), static_cast<int>(section))] {
                    page.check();
                    return walk();
                });
                Engine e(run);
                runFrame(e, program);
                ASSERT_TRUE(run.finish().empty());
                EXPECT_GT(page.waits, 3);
                boxed += page.boxedPages;
                glyphs += page.glyphsChecked;
            }
            const int pages = pdfPages(options.handout);
            EXPECT_EQ(pages, screensOf(recording.events()));
            for (int page = 1; page <= pages; ++page) {
                SCOPED_TRACE("page " + std::to_string(page));
                const Grey grey = rasterised(options.handout, page);
                ASSERT_EQ(grey.width, 1344);
                EXPECT_TRUE(grey.inkWithin(0, 0, 1344, kPromptBandTop - 1)) << "nothing to read above the prompt band";
            }
            // The last screen is the main menu as it stands, whole.
            const std::string last = withoutBlanks(output("pdftotext -raw -f " + std::to_string(pages) + " -l " +
                                                          std::to_string(pages) + " '" + options.handout + "' -"));
            for (const MenuItem& item : program.menu) EXPECT_NE(last.find(withoutBlanks(item.text)), std::string::npos) << item.text;
        }
    }
    // Boxes over parts of texts, and glyphs under them that still show, were met.
    EXPECT_GT(boxed, 100);
    EXPECT_GT(glyphs, 50);
}

// The page as it stands at the stop, its text searchable in the PDF: each
// line of characters drawn on the last screen (a main menu, a section's
// menu of pages) is found whole.
TEST(Saving, PdfOfAPageHoldsItsText) {
    for (const ProgramSpec& program : {solvara::program(), ratiora::program()}) {
        for (const std::string keys : {"5926\n", "5926\n2\n"}) {
            SCOPED_TRACE(program.name + " after " + keys);
            LayerOptions options;
            options.pdf = tempPath("page") + ".pdf";
            const Walked r = walk(program, keys, options);
            ASSERT_GT(r.lastPageTexts.size(), 3u);
            EXPECT_EQ(pdfPages(options.pdf), 1);
            std::string text = output("pdftotext -raw '" + options.pdf + "' -");
            std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
            for (const std::string& line : r.lastPageTexts) EXPECT_NE(text.find(line), std::string::npos) << line;
        }
    }
}
