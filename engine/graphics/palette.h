#pragma once
// The 16 colours of the lesson pages, chosen for a projector: saturated, and
// legible in every pairing the lessons use (labels 3, tasks 7 and answers 5
// on white, prompt text 9 on fills 4 and 12, menu text 13 and 15 on fill 10,
// number text 13 on fill 3, text 0 on fills 11 and 13). Fill 8 is the green
// box of the balance lessons. colour_roles.h names the indices by the part
// they play.

#include "engine/graphics/colour_roles.h"

#include <array>
#include <cstdint>

namespace lesson {

struct Rgb {
    std::uint8_t r, g, b;
};

inline constexpr std::array<Rgb, 16> kPalette = {{
    {0x00, 0x00, 0x00},  //  0 black: body text
    {0x1A, 0x23, 0x7E},  //  1 indigo
    {0x1B, 0x7A, 0x34},  //  2 dark green
    {0x00, 0x47, 0xB3},  //  3 cobalt blue: highlighted text, answer labels, number-box fill
    {0x00, 0x6B, 0x5E},  //  4 deep teal: any-key box, beam and fulcrum
    {0xE0, 0x10, 0x10},  //  5 red: answers
    {0x8A, 0x5A, 0x00},  //  6 ochre
    {0x7B, 0x1F, 0xA2},  //  7 purple: textbook tasks and examples, outlines
    {0x2E, 0x9E, 0x3E},  //  8 green: the green box
    {0xFF, 0xF5, 0x9D},  //  9 pale yellow: prompt text
    {0x0D, 0x3B, 0x8C},  // 10 deep blue: menu frame, weights
    {0xB2, 0xEB, 0xF2},  // 11 light cyan: table headers
    {0xA3, 0x16, 0x5A},  // 12 deep magenta: step-prompt box
    {0xFF, 0xE0, 0x66},  // 13 yellow: text on dark fills, table cells
    {0xF0, 0x8C, 0x00},  // 14 amber: heavy grid lines
    {0xFF, 0xFF, 0xFF},  // 15 white: the page
}};

// What the layer's clear paints: the menu frame's deep blue, so that the
// error line in colour 13 reads on it as the menu texts do (about 8 : 1).
inline constexpr Rgb kClearColor = kPalette[colour::kClearGround];

// Palette index as the layer takes it: the integer part, kept within 0..15.
inline int paletteIndex(int color) { return color < 0 ? 0 : (color > 15 ? 15 : color); }

}  // namespace lesson
