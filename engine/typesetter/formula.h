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

// A formula laid out once: its marks in drawing order and its advance.
struct FormulaLayout {
    std::vector<FormulaMark> marks;
    float advance = 0;
    FontState endFont;  // the font and pen the layer is left with after drawing
    float endPen = 0;
};

// Lays markup out at (x, y) in colour. The layout state (fractionMode,
// superscriptPending, raisedPending, rootMode, rootBarStartX) changes as it
// does when the formula is drawn; nothing reaches the layer.
FormulaLayout layoutFormula(Engine& e, std::string_view markup, float x, float y, int color);
// Draws the marks of a layout through the layer.
void emitFormula(Engine& e, const FormulaLayout& layout);

// Draws textString at (textX, textY) in textColor; textX advanced, textString empty.
void drawFormula(Engine& e);
// formulaWidth = the advance drawFormula would give workText.
void measureFormula(Engine& e);
// Removes one leading "+" from workText.
void dropLeadingPlus(Engine& e);

// Convenience for pages: draws text at (x, y) in colour and returns textX after it.
float drawFormulaAt(Engine& e, float x, float y, int color, std::string text);

}  // namespace lesson
