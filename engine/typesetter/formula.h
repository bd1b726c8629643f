#pragma once
// The formula typesetter: one-line markup laid out left to right at fixed
// advances per character class, with built-up fractions, exponents, roots
// with their over-bars, font switches for a few letters and line-drawn signs.
//
// Markup: "ﾀ" num "/" den "ﾀ" fraction; "^" exponent; "\" small raised;
// "!" root until "ﾝ"; "#" tall root over a fraction; "*" ×; "@" ±; "%" °;
// "&" and "＃" parallelograms; "+" "-" drawn with lines.

#include "engine/engine.h"

#include <string>
#include <string_view>
#include <vector>

namespace lesson {

// One mark of a laid-out formula, with the pen width and font it is drawn in.
struct FormulaMark {
    enum class Kind { Glyph, Line, Polyline } kind = Kind::Glyph;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a glyph's top-left is (x1, y1)
    std::vector<Point> points;
    std::string text;
    int mx = 0, my = 0;
    int color = 0;
    float pen = 0;
    FontState font;
};

// The box a formula stands in, relative to its origin (the top-left of its
// line): its advance, and the top and bottom of the lines its glyphs stand
// on (kLines in glyph_rules.h). A fraction's numerator rises above the
// line top and its denominator hangs below the line. Drawn figures (root signs,
// parallelograms) and a glyph's ink may reach past the box.
struct FormulaBox {
    float width = 0;
    float top = 0;
    float bottom = 0;
    float height() const { return bottom - top; }
};

// A formula laid out once from its origin: its marks in drawing order, in
// the page coordinates of that origin, and its box. Drawn elsewhere, every
// mark moves with the origin (drawn where it was laid out, each mark stands
// exactly where the pen stepping glyph by glyph put it).
struct FormulaLayout {
    Point origin;
    std::string markup;  // what was laid out, for the formula's record in the trace
    int color = 0;
    std::vector<FormulaMark> marks;
    FormulaBox box;
    FontState endFont;  // the font and pen the layer is left with after drawing
    float endPen = 0;
    // Laid out with no root open, and the layout state left as it was found
    // (no root opened, no exponent left pending or taken): laid out anywhere
    // else from the state it left, it is the same formula moved.
    bool movable = false;
};

// Lays markup out from the origin (x, y) in colour. The layout state
// (fractionMode, superscriptPending, raisedPending, rootMode, rootBarStartX)
// changes as it does when the formula is drawn there: an open root's bar
// start is a page x, kept for the next call. Nothing reaches the layer.
FormulaLayout layoutFormula(Engine& e, std::string_view markup, float x, float y, int color);
// Draws the marks of a layout through the layer with its origin at (x, y).
void emitFormula(Engine& e, const FormulaLayout& layout, float x, float y);
// Draws a layout with its origin at (x, y) as drawFormula draws its markup
// there: the marks and the formula's record in the trace; textX after it,
// textY = y, textString empty. Returns its box. A layout that is not
// movable is laid out again there from the state it left, as a formula
// drawn after it was measured is.
FormulaBox drawFormulaLayout(Engine& e, const FormulaLayout& layout, float x, float y);

// Draws textString at (textX, textY) in textColor; textX advanced, textString
// empty. Returns the box it stands in, relative to where it was drawn.
FormulaBox drawFormula(Engine& e);
// formulaWidth = the advance drawFormula would give workText; returns the
// whole box.
FormulaBox measureFormula(Engine& e);
// Removes one leading "+" from workText.
void dropLeadingPlus(Engine& e);

// Convenience for pages: draws text at (x, y) in colour and returns textX after it.
float drawFormulaAt(Engine& e, float x, float y, int color, std::string text);

}  // namespace lesson
