// The typesetter's advances, fraction geometry, roots and layout state.

#include "engine/text/layout_state.h"
#include "engine/typesetter/formula.h"
#include "engine/typesetter/glyph_rules.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace lesson;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::ofOp;

namespace {

float advanceOf(Engine& e, const std::string& text, float x = 100, float y = 200) {
    return drawFormulaAt(e, x, y, 0, text) - x;
}


}  // namespace

TEST(Typesetter, EmptyTextDrawsNothingAndKeepsX) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(advanceOf(e, ""), 0);
    for (const Event& ev : f.events()) EXPECT_EQ(ev.op(), "formula");
}

TEST(Typesetter, AdvancesOfTheListedFormulas) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(advanceOf(e, "240円*2"), 169);
    EXPECT_EQ(advanceOf(e, "ﾀx/3ﾀ=5"), 91);
    EXPECT_EQ(advanceOf(e, "x=ﾀ15/5ﾀ"), 123);
    EXPECT_EQ(advanceOf(e, "x^2"), 51);
}

TEST(Typesetter, AsteriskShowsAsMultiplicationSign) {
    EngineFixture f;
    drawFormulaAt(f.engine(), 0, 100, 0, "240円*2");
    auto texts = ofOp(f.events(), "text");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[4].str("text"), "×");
    EXPECT_EQ(texts[4].num("x"), 81 + 34 - 4);  // rule 21 draws 4 to the left
    EXPECT_EQ(texts[4].num("mx"), 2);
}

TEST(Typesetter, FractionBarAndPartsArePlacedAroundTheLine) {
    EngineFixture f;
    const float x0 = 100, y0 = 200;
    drawFormulaAt(f.engine(), x0, y0, 3, "ﾀx/3ﾀ=5");
    auto events = f.events();
    auto lines = ofOp(events, "line");
    ASSERT_FALSE(lines.empty());
    const Event& bar = lines.front();
    EXPECT_EQ(bar.num("x1"), x0);
    EXPECT_EQ(bar.num("x2"), x0 + 32);
    EXPECT_EQ(bar.num("y1"), y0 + 25);
    EXPECT_EQ(bar.num("pen"), 4);
    // The denominator is drawn first, below the bar; the numerator above it.
    const std::vector<Event> visible = ofOp(events, "text");
    ASSERT_EQ(visible.size(), 4u);
    EXPECT_EQ(visible[0].str("text"), "3");
    EXPECT_EQ(visible[0].num("y"), y0 + 28);
    EXPECT_EQ(visible[0].num("mx"), 4);
    EXPECT_EQ(visible[1].str("text"), "x");
    EXPECT_EQ(visible[1].num("y"), y0 - 10 - 16);
    EXPECT_EQ(visible[1].str("font"), "Times New Roman");
    EXPECT_TRUE(visible[1].flag("italic"));
}

TEST(Typesetter, WiderPartSetsTheWidthAndTheOtherIsCentred) {
    EngineFixture f;
    drawFormulaAt(f.engine(), 0, 300, 0, "x=ﾀ15/5ﾀ");
    const std::vector<Event> visible = ofOp(f.events(), "text");
    // x (27) and = (32): the fraction starts at 59; denominator 5 indented by 16.
    ASSERT_EQ(visible.size(), 5u);
    EXPECT_EQ(visible[2].str("text"), "5");
    EXPECT_EQ(visible[2].num("x"), 59 + 16);
    EXPECT_EQ(visible[3].str("text"), "1");
    EXPECT_EQ(visible[3].num("x"), 59);
}

TEST(Typesetter, DenominatorDropsForExponentAndRoot) {
    EngineFixture f;
    Engine& e = f.engine();
    auto denominatorY = [&](const std::string& text) {
        const auto before = f.events().size();
        drawFormulaAt(e, 0, 300, 0, text);
        for (const Event& t : f.eventsSince(before))
            if (t.op() == "text") return t.num("y");
        return -1.0;
    };
    EXPECT_EQ(denominatorY("ﾀ1/2ﾀ"), 328);
    EXPECT_EQ(denominatorY("ﾀ1/3^2ﾀ"), 336);
    EXPECT_EQ(denominatorY("ﾀ!3ﾝ/2ﾀ"), 336);
}

TEST(Typesetter, LayoutCarriesItsBoxAndMovesWithItsOrigin) {
    EngineFixture f;
    Engine& e = f.engine();
    const FormulaLayout plain = layoutFormula(e, "2x+1", 100, 200, 0);
    EXPECT_EQ(plain.box.width, 27 * 4);
    EXPECT_EQ(plain.box.top, 0);
    EXPECT_EQ(plain.box.bottom, kLineHeight);
    // The numerator rises 10 above the line; the denominator's line ends 28 + 32 below it.
    const FormulaLayout fraction = layoutFormula(e, "x=ﾀ15/5ﾀ", 100, 200, 0);
    EXPECT_EQ(fraction.box.width, 123);
    EXPECT_EQ(fraction.box.top, -10);
    EXPECT_EQ(fraction.box.bottom, 60);
    EXPECT_EQ(layoutFormula(e, "ﾀ1/3^2ﾀ", 0, 0, 0).box.bottom, 36 + 32);

    // Drawn 40 right and 30 down of where it was laid out, every mark moves by that.
    const auto before = f.events().size();
    emitFormula(e, fraction, 140, 230);
    const std::vector<Event> moved = f.eventsSince(before);
    const auto drawnAt = f.events().size();
    drawFormulaAt(e, 140, 230, 0, "x=ﾀ15/5ﾀ");
    const std::vector<Event> drawn = f.eventsSince(drawnAt);
    ASSERT_EQ(drawn.size(), moved.size() + 1);  // and the formula's own record
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_EQ(moved[i].op(), drawn[i].op()) << i;
        for (const char* key : {"x", "y", "x1", "y1", "x2", "y2"})
            if (drawn[i].has(key)) {
                EXPECT_EQ(moved[i].num(key), drawn[i].num(key)) << i << " " << key;
            }
    }
}

TEST(Typesetter, RootBarRunsUntilClosed) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(advanceOf(e, "!2ﾝ+1", 100, 200), 28 + 27 + 27 + 27);
    auto lines = ofOp(f.events(), "line");
    // The bar over "2" at y-4 from the end of the sign to the end of the 2; "+" draws two lines after.
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].num("x1"), 128);
    EXPECT_EQ(lines[0].num("x2"), 155);
    EXPECT_EQ(lines[0].num("y1"), 196);
    EXPECT_EQ(e.formulaLayout().rootMode, RootMode::Closed);
}

TEST(Typesetter, TallRootCoversTheFraction) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(advanceOf(e, "#ﾀ1/2ﾀﾝ", 100, 200), 64);
    auto events = f.events();
    auto polylines = ofOp(events, "polyline");
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0].at("points").array[4].array[0].number, 138);
    bool overBar = false;
    for (const Event& l : ofOp(events, "line"))
        if (l.num("y1") == 186 && l.num("x1") == 132 && l.num("x2") == 164) overBar = true;
    EXPECT_TRUE(overBar);
    EXPECT_EQ(e.formulaLayout().rootMode, RootMode::Closed);
}

TEST(Typesetter, OpenRootCarriesIntoTheNextCall) {
    EngineFixture f;
    Engine& e = f.engine();
    drawFormulaAt(e, 100, 200, 0, "!2");
    EXPECT_EQ(e.formulaLayout().rootMode, RootMode::Open);
    const auto before = f.events().size();
    drawFormulaAt(e, 300, 200, 0, "3");
    auto lines = ofOp(f.eventsSince(before), "line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].num("x1"), 128);  // from the old start of the bar
    EXPECT_EQ(lines[0].num("x2"), 327);
}

TEST(Typesetter, LoneBracketIsDroppedAndSlashOutsideIsDivision) {
    EngineFixture f;
    Engine& e = f.engine();
    EXPECT_EQ(advanceOf(e, "ﾀ2x"), 27 + 27);
    drawFormulaAt(e, 0, 100, 0, "6/2");
    auto texts = ofOp(f.events(), "text");
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2].str("text"), "÷");
}

TEST(Typesetter, MeasureEqualsDrawAndEmptiesTextString) {
    const std::vector<std::string> samples = {
        "ﾀ2x-7/3ﾀ=ﾀx+1/2ﾀ", "-ﾀ1/6ﾀx*(-6)=2*(-6)", "x^2+ac=l", "A=B ならば ﾀA/Cﾀ=ﾀB/Cﾀ  (C≠0)",
        "#ﾀ1/2ﾀ+3ﾝ", "0.2x-0.03=0.3x+0.07", "&＃%'@\\2", "ﾀ!2ﾝ/x^3ﾀ"};
    for (const std::string& s : samples) {
        EngineFixture f;
        Engine& e = f.engine();
        const FormulaLayoutState saved = e.formulaLayout();
        e.workText = s;
        e.textString = "left over";
        measureFormula(e);
        const float measured = e.formulaWidth;
        EXPECT_TRUE(e.textString.empty());
        EXPECT_EQ(e.workText, s);
        FormulaLayoutWriter::of(e) = saved;
        EXPECT_EQ(advanceOf(e, s, 37.5f, 300), measured) << s;
    }
}

TEST(Typesetter, MeasuringIsNotTracedAsAFormula) {
    EngineFixture f;
    drawFormulaAt(f.engine(), 0, 100, 0, "ﾀ1/2ﾀ");
    auto formulas = ofOp(f.events(), "formula");
    ASSERT_EQ(formulas.size(), 1u);
    EXPECT_EQ(formulas[0].str("text"), "ﾀ1/2ﾀ");
    EXPECT_EQ(formulas[0].num("end"), 32);
}

TEST(Typesetter, FontAndPenAreRestored) {
    EngineFixture f;
    Engine& e = f.engine();
    f.layer().setDrawWidth(7);
    drawFormulaAt(e, 0, 100, 0, "x+l-ﾀ1/2ﾀ=!3ﾝ&");
    EXPECT_EQ(f.layer().drawWidth(), 7);
    EXPECT_EQ(f.layer().font().name, "ゴシック");
    EXPECT_EQ(f.layer().font().size, 16);
    EXPECT_FALSE(f.layer().font().bold);
    EXPECT_FALSE(f.layer().font().italic);
}

TEST(Typesetter, DropLeadingPlus) {
    EngineFixture f;
    Engine& e = f.engine();
    for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"+3x", "3x"}, {"-3x", "-3x"}, {"", ""}, {"++1", "+1"}}) {
        e.workText = in;
        dropLeadingPlus(e);
        EXPECT_EQ(e.workText, out);
    }
}

TEST(Typesetter, MeasuringAnyCorpusFormulaLeavesTheDrawingStreamUntouched) {
    EngineFixture f;
    Engine& e = f.engine();
    int formulas = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LESSON_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream markup;
        markup << in.rdbuf();
        FormulaLayoutWriter::of(e) = {};
        const std::size_t before = f.events().size();
        e.workText = markup.str();
        measureFormula(e);
        e.run.flushTrace();
        EXPECT_EQ(f.events().size(), before) << entry.path();
        // Drawing from the same state reaches the stream, with the measured advance.
        FormulaLayoutWriter::of(e) = {};
        EXPECT_EQ(advanceOf(e, markup.str(), 0, 300), e.formulaWidth) << entry.path();
        ++formulas;
    }
    EXPECT_GE(formulas, 10);
}
