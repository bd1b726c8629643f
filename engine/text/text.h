#pragma once
// Plain text of prompts and typed answers: the two conversion tables to
// full-width and mathematical glyphs, blank removal, drawing on the 16-unit
// grid, numbers as texts and the markup of a reduced fraction.

#include "engine/engine.h"

#include <string>
#include <string_view>

namespace lesson {

// convChar replaced by the conversion tables.
void toFullWidth(Engine& e);
// workText without any single-byte blank.
void stripSpaces(Engine& e);
// Draws workText at (textX, textY) on the 16-unit grid; runEndX after it.
void drawCharRun(Engine& e);
// Draws textString character by character; textX advanced, textString empty.
void drawPlainText(Engine& e);
// The same for a text at (x, y) in colour.
void drawPlainAt(Engine& e, float x, float y, int color, std::string text);
// fracText of fracNum over fracDen; both reduced.
void reduceFraction(Engine& e);

// The layer's number-to-text conversion: a leading blank for a number that
// is not negative, no zero before the point of a number between -1 and 1.
std::string numberToText(float value);
// The same without the blank.
std::string numberText(float value);
// The layer's text-to-number conversion: the leading numeric part, 0 for none.
float textToNumber(std::string_view text);

}  // namespace lesson
