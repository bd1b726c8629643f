#pragma once
// The formula typesetter: one-line markup laid out left to right at fixed
// advances per character class, with built-up fractions, exponents, roots
// with their over-bars, font switches for a few letters and line-drawn signs.
//
// Markup: "ﾀ" num "/" den "ﾀ" fraction; "^" exponent; "\" small raised;
// "!" root until "ﾝ"; "#" tall root over a fraction; "*" ×; "@" ±; "%" °;
// "&" and "＃" parallelograms; "+" "-" drawn with lines.

#include "engine/engine.h"

namespace lesson {

// Draws textString at (textX, textY) in textColor; textX advanced, textString empty.
void drawFormula(Engine& e);
// formulaWidth = the advance drawFormula would give workText.
void measureFormula(Engine& e);
// Built-up fraction of workText ("num/den") at (textX, textY).
void drawFraction(Engine& e);
// One run of glyphs (workText) by the glyph rules; textX advanced.
void typesetRun(Engine& e);
// Removes one leading "+" from workText.
void dropLeadingPlus(Engine& e);

// Convenience for pages: draws text at (x, y) in colour and returns textX after it.
float drawFormulaAt(Engine& e, float x, float y, int color, std::string text);

}  // namespace lesson
