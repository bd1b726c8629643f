// libFuzzer target of the formula typesetter. Any bytes are markup: built-up
// fractions, roots, exponents, line-drawn signs, double-byte text and bytes
// that are no UTF-8 at all. Each input is measured and then drawn from the
// same layout state; nothing may crash, and the measured width must be the
// advance that drawing gives.
//
// The first byte picks the layout state left by an earlier formula (an open
// root, a pending exponent) and the x where the formula starts; the rest is
// the markup.

#include "engine/engine.h"
#include "engine/graphics/program_run.h"
#include "engine/text/layout_state.h"
#include "engine/typesetter/formula.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct LayoutState {
    int fractionMode, superscriptPending, raisedPending;
    lesson::RootMode rootMode;
    float rootBarStartX;
};

void restore(lesson::Engine& e, const LayoutState& s) {
    lesson::FormulaLayoutWriter::of(e) = {s.fractionMode, s.superscriptPending, s.raisedPending, s.rootMode,
                                          s.rootBarStartX};
}

LayoutState stateFromByte(std::uint8_t b) {
    using lesson::RootMode;
    static constexpr RootMode kRootModes[] = {RootMode::Closed, RootMode::Open, RootMode::OpenSmall, RootMode::Tall};
    return {0, b & 1, (b >> 1) & 1, kRootModes[(b >> 2) & 3], static_cast<float>((b >> 4) * 40)};
}

struct Bench {
    Bench() {
        lesson::LayerOptions options;
        options.headless = true;
        options.width = 336;  // a quarter page: the raster still draws every call
        options.height = 180;
        run = std::make_unique<lesson::ProgramRun>(options);
        engine = std::make_unique<lesson::Engine>(*run);
        lesson::Layer& g = run->layer();
        g.setFontName("ｺﾞｼｯｸ");
        g.setFontSize(16);
        g.setDrawWidth(3);
    }
    std::unique_ptr<lesson::ProgramRun> run;
    std::unique_ptr<lesson::Engine> engine;
};

[[noreturn]] void fail(const char* what, const std::string& markup, double a, double b) {
    std::fprintf(stderr, "fuzz_typesetter: %s (%.6f vs %.6f) for markup of %zu bytes\n", what, a, b, markup.size());
    std::abort();
}

// The width measureFormula gives the markup from the given layout state.
float measured(lesson::Engine& e, const LayoutState& start, const std::string& markup, float x, float y) {
    restore(e, start);
    e.textX = x;
    e.textY = y;
    e.workText = markup;
    lesson::measureFormula(e);
    if (e.textX != x || e.textY != y) fail("measuring moved the pen", markup, e.textX, x);
    if (e.workText != markup || !e.textString.empty()) fail("measuring changed its texts", markup, 0, 0);
    return e.formulaWidth;
}

// The advance drawFormula gives the markup from the same state.
float drawn(lesson::Engine& e, const LayoutState& start, const std::string& markup, float x, float y) {
    restore(e, start);
    e.textX = x;
    e.textY = y;
    e.textColor = 0;
    e.textString = markup;
    lesson::drawFormula(e);
    if (e.textY != y) fail("drawing moved the line", markup, e.textY, y);
    if (!e.textString.empty()) fail("drawing left text behind", markup, 0, 0);
    return e.textX - x;
}

// Every routine puts the normal font and the caller's pen back.
void checkLayerRestored(const lesson::Layer& g, const std::string& markup, float pen) {
    if (g.drawWidth() != pen) fail("the pen width was not restored", markup, g.drawWidth(), pen);
    const lesson::FontState& f = g.font();
    if (f.name != "ゴシック" && f.name != "ｺﾞｼｯｸ") fail("the face was not restored", markup, 0, 0);
    if (f.size != 16 || f.italic || f.bold) fail("the font was not restored", markup, f.size, 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Bench bench;
    if (size == 0) return 0;
    lesson::Engine& e = *bench.engine;
    lesson::Layer& g = bench.run->layer();
    g.cls();  // a fresh page: the raster's display list does not grow across inputs
    const LayoutState start = stateFromByte(data[0]);
    const std::string markup(reinterpret_cast<const char*>(data + 1), size - 1);
    const float x = static_cast<float>((data[0] * 37) % 1344);
    const float y = 300;
    const float pen = g.drawWidth();

    const float width = measured(e, start, markup, x, y);
    const float advance = drawn(e, start, markup, x, y);
    if (!std::isfinite(width) || std::fabs(advance - width) > 1e-3f)
        fail("measured width differs from the drawn advance", markup, width, advance);
    checkLayerRestored(g, markup, pen);
    return 0;
}
