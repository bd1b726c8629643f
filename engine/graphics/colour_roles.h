#pragma once
// The colours of the lesson pages by the part they play, as the palette
// indices the drawing calls take (palette.h holds the colours themselves).

#include "engine/graphics/commands.h"

namespace lesson::colour {

inline constexpr int kBodyText = kBlack;
inline constexpr int kAnswer = 5;          // red: an answer, and the digits typed into the entry field
inline constexpr int kLabel = 3;           // blue: an answer's label, "(1)"
inline constexpr int kOutline = 7;         // purple: the outline of weights, slots and boxes
inline constexpr int kErase = kWhite;      // the page: drawing in it again erases
inline constexpr int kWeightFill = 10;     // deep blue: a gram weight
inline constexpr int kLiftedOutline = 11;  // light cyan: a weight taken off a pan
inline constexpr int kGreenBoxFill = 8;    // the box of x grams
inline constexpr int kPromptText = 9;      // pale yellow on the prompt boxes
inline constexpr int kPromptOutline = 13;
inline constexpr int kStepPromptFill = 12;
inline constexpr int kAnyKeyPromptFill = 4;

}  // namespace lesson::colour
