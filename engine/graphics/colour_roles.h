#pragma once
// The colours of the lesson pages by the part they play, as the palette
// indices the drawing calls take (palette.h holds the colours themselves).
// The engine names its colours here; the lessons' rows keep the numbers of
// the tables they come from.

#include "engine/graphics/commands.h"

namespace lesson::colour {

// Text.
inline constexpr int kBodyText = kBlack;
inline constexpr int kAnswer = 5;          // red: an answer, and the digits typed into the entry field
inline constexpr int kLabel = 3;           // cobalt blue: an answer's label, "(1)", and a moved term
inline constexpr int kTask = 7;            // purple: textbook tasks and examples
inline constexpr int kStartText = 4;       // deep teal: the text colour the program starts with
inline constexpr int kBoxLabel = 13;       // yellow: the label of a filled box (a weight, a number box)
inline constexpr int kErrorText = 13;      // yellow: the error line, on the clear's deep blue

// The password gate and the main menu.
inline constexpr int kGateOutline = 13;
inline constexpr int kGateText = 3;
inline constexpr int kMenuFrame = 10;      // deep blue: the menu's filled frame
inline constexpr int kMenuTitle = kWhite;  // the program's name on the frame

// What the layer's clear paints (only the error screen clears): the menu
// frame's deep blue, on which the error line reads as the menu texts do.
inline constexpr int kClearGround = kMenuFrame;

// The page, boxes and figures.
inline constexpr int kErase = kWhite;      // the page: drawing in it again erases
inline constexpr int kCellFill = kWhite;   // a cell's fill unless the row gives one
inline constexpr int kOutline = 7;         // purple: the outline of weights, slots and boxes
inline constexpr int kWeightFill = 10;     // deep blue: a gram weight
inline constexpr int kLiftedOutline = 11;  // light cyan: a weight taken off a pan
inline constexpr int kGreenBoxFill = 8;    // the box of x grams
inline constexpr int kHeavyGridLine = 14;  // amber: every fifth line of the grid

// The prompts.
inline constexpr int kPromptText = 9;      // pale yellow on the prompt boxes
inline constexpr int kPromptOutline = 13;
inline constexpr int kStepPromptFill = 12;
inline constexpr int kAnyKeyPromptFill = 4;
inline constexpr int kEntryCursor = kAnswer;  // the dot where the next digit goes

}  // namespace lesson::colour
