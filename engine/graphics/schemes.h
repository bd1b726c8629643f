#pragma once
// The colour schemes a page can be seen in. A scheme is a view, as a zoom
// is: the lessons draw palette indices, and a host maps each index to a
// colour through the scheme when it draws. The trace, the journal and a
// step back never see it. The normal scheme is the palette itself; the
// others put light text on a dark ground, with the fills that carry text
// (table cells, prompt boxes, the menu frame) light and their text dark, so
// that every pairing the pages draw keeps reading (kTextPairings).

#include "engine/graphics/palette.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lesson {

// The pen's inks, in the order of Scheme::ink: CUD red, blue, black and the
// marker (drawn translucent by the pen).
inline constexpr std::array<Rgb, 4> kInkColours = {{
    {0xFF, 0x4B, 0x00},
    {0x00, 0x5A, 0xFF},
    {0x00, 0x00, 0x00},
    {0xFF, 0xF1, 0x00},
}};
inline constexpr int kMarkerInk = 3;

struct Scheme {
    std::string_view name;
    std::array<Rgb, 16> palette;
    std::array<Rgb, 4> ink;  // each of kInkColours as this scheme shows it

    Rgb colour(int index) const { return palette[paletteIndex(index)]; }
    Rgb ground() const { return palette[kWhite]; }
    Rgb clearGround() const { return palette[colour::kClearGround]; }
    // An ink of the pen as this scheme shows it (a colour that is none of
    // the inks is shown as it is).
    Rgb inkColour(Rgb ink) const;
};

namespace scheme_colours {
constexpr Rgb rgb(unsigned hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8), static_cast<std::uint8_t>(hex)};
}
}  // namespace scheme_colours

// clang-format off
inline constexpr std::array<Scheme, 4> kSchemes = [] {
    using scheme_colours::rgb;
    return std::array<Scheme, 4>{{
        {"normal", kPalette, kInkColours},
        // Black ground, white steps, sky-blue labels, vermilion answers, yellow tasks.
        {"dark",
         {{rgb(0xFFFFFF), rgb(0xA8B0FF), rgb(0x6FD98A), rgb(0x56B4F0), rgb(0x40C8B8), rgb(0xFF6E50), rgb(0xE8B050), rgb(0xF0E442),
           rgb(0x5CC870), rgb(0x101010), rgb(0x8CB4FF), rgb(0x0A3038), rgb(0xF08CC8), rgb(0x2A2400), rgb(0xF0A020), rgb(0x000000)}},
         {{rgb(0xFF6E50), rgb(0x4D94FF), rgb(0xFFFFFF), rgb(0xFFF100)}}},
        // Black ground, yellow steps, light-blue labels, vermilion answers, white tasks;
        // the marker is blue, under yellow text.
        {"yellow",
         {{rgb(0xFFFF00), rgb(0xA8B0FF), rgb(0x6FD98A), rgb(0x5CC8FF), rgb(0x40C8B8), rgb(0xFF7A5C), rgb(0xE8B050), rgb(0xFFFFFF),
           rgb(0x5CC870), rgb(0x101010), rgb(0x8CB4FF), rgb(0x0A3038), rgb(0xF08CC8), rgb(0x2A2400), rgb(0xF0A020), rgb(0x000000)}},
         {{rgb(0xFF7A5C), rgb(0x5CC8FF), rgb(0xFFFF00), rgb(0x3060FF)}}},
        // A chalkboard: green ground, chalk-white steps, blue labels, pink answers, yellow tasks.
        {"chalk",
         {{rgb(0xF4F4EC), rgb(0xC0C8FF), rgb(0xA8E8B0), rgb(0x8CCBFF), rgb(0x60D0C0), rgb(0xFF9C8A), rgb(0xF0C070), rgb(0xFFE866),
           rgb(0x7ED890), rgb(0x102018), rgb(0xA8C8FF), rgb(0x0C2A20), rgb(0xF4A8D8), rgb(0x142A1E), rgb(0xF0B040), rgb(0x1E3D2F)}},
         {{rgb(0xFF9C8A), rgb(0x8CCBFF), rgb(0xF4F4EC), rgb(0xFFF100)}}},
    }};
}();
// clang-format on

inline const Scheme& normalScheme() { return kSchemes[0]; }

// How the pages pair their colours: text on the ground or on a fill, and
// lines and fills on the ground, by palette index.
struct ColourPairing {
    int front, back;
};
// The pairings the palette was chosen for: body text, labels, answers and
// tasks on the ground; prompt text on the prompt boxes; menu texts and the
// error line on the frame; number text on the number box; text on table
// headers and cells.
inline constexpr ColourPairing kPaletteTextPairings[] = {
    {0, kWhite}, {3, kWhite}, {5, kWhite}, {7, kWhite}, {9, 4}, {9, 12}, {13, 10}, {15, 10}, {13, 3}, {0, 11}, {0, 13},
};
// More that the pages draw: the colours text may start in on the ground,
// the label of the green box, number text on the any-key box, labels on
// table headers and cells. The normal scheme, the page as it always was,
// keeps its colours; every other scheme meets these too.
inline constexpr ColourPairing kMoreTextPairings[] = {
    {1, kWhite}, {2, kWhite}, {4, kWhite}, {6, kWhite}, {13, 8}, {13, 4}, {3, 11}, {3, 13},
};
// Lines and filled figures drawn on the ground (the grid's heavy lines, the
// beam, the boxes and weights).
inline constexpr int kLinesOnGround[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14};
// The colours that tell the lesson's parts apart: the steps, the label (and
// the moved term, drawn in it), the answer, the task.
inline constexpr int kLessonParts[] = {colour::kBodyText, colour::kLabel, colour::kAnswer, colour::kTask};

// The scheme of that name, or nothing.
const Scheme* findScheme(std::string_view name);
// The scheme after this one, the first after the last.
const Scheme& nextScheme(const Scheme& scheme);
// "normal, dark, yellow, chalk".
std::string schemeNames();
// Every scheme with its sixteen colours, one JSON object:
// {"normal": ["#000000", ...], "dark": [...], ...}.
std::string schemesJson();
// "#RRGGBB".
std::string hexColour(Rgb c);

// WCAG 2 relative luminance and contrast ratio (1 to 21).
double relativeLuminance(Rgb c);
double contrastRatio(Rgb a, Rgb b);

// The remembered scheme of a program, in a small file of its state folder
// ($XDG_STATE_HOME/<program>/, else ~/.local/state/<program>/).
std::string schemeStatePath(const std::string& program);
// The scheme remembered there, or nothing (no file, an unknown name).
const Scheme* rememberedScheme(const std::string& program);
// Remembers the scheme, the file written beside its name and renamed when
// whole: why it could not be, or nothing.
std::optional<std::string> rememberScheme(const std::string& program, const Scheme& scheme);

}  // namespace lesson
