// The page saved in vectors: a handout of a section walked through holds one
// PDF page for each screen shown, and the PDF of a page holds its text as
// text (poppler's pdfinfo and pdftotext read them as a user's viewer would).

#include "engine/frame/frame.h"
#include "lessons_a/sections.h"
#include "lessons_b/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
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

// Full page clears drawn in a run, and the texts drawn since the last one,
// a string for each run of characters drawn one after another on one line.
struct Walked {
    int clears = 0;
    std::vector<std::string> lastPageTexts;
};

Walked walk(const ProgramSpec& program, const std::string& keys, LayerOptions options) {
    options.headless = true;
    options.keys = parseKeyScript(keys);
    options.seed = 3;
    RecordingSink recording;
    Walked result;
    {
        Layer layer(options);
        layer.addSink(recording);
        Engine e(layer);
        runFrame(e, program);
        EXPECT_TRUE(layer.finish().empty());
    }
    // The recording is the trace of the run: count its page clears.
    double y = -1;
    for (const auto& ev : recording.events()) {
        // A full page clear: the layer's clear, or a white box from the
        // page's corner over the whole 1344 x 720 page.
        const bool clear = ev.op() == "cls" ||
                           (ev.op() == "box" && ev.num("fill") == kWhite && ev.num("line") == kWhite &&
                            std::min(ev.num("x1"), ev.num("x2")) <= 0 && std::min(ev.num("y1"), ev.num("y2")) <= 0 &&
                            std::max(ev.num("x1"), ev.num("x2")) >= 1344 && std::max(ev.num("y1"), ev.num("y2")) >= 720);
        if (clear) {
            ++result.clears;
            result.lastPageTexts.clear();
        }
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

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

// Every section of both programs walked a good way in: "1" and Enter goes on
// at every wait (an any-key wait, the next step, the first page of a menu).
TEST(Saving, HandoutHasOnePagePerScreenShown) {
    for (const ProgramSpec& program : {solvara::program(), ratiora::program()}) {
        for (std::size_t section = 1; section < program.menu.size(); ++section) {
            SCOPED_TRACE(program.name + " section " + std::to_string(section));
            LayerOptions options;
            options.handout = tempPath("handout") + ".pdf";
            const Walked r = walk(program, "5926\n" + std::to_string(section) + "\n" + repeat("1\n", 80), options);
            EXPECT_GT(r.clears, 1);
            EXPECT_EQ(pdfPages(options.handout), r.clears + 1);
        }
    }
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
