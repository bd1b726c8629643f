#pragma once
// The glyph rules of the typesetter, one row per rule, tried in order; the
// first row whose condition holds draws the character. Hold this table beside
// the rule list: number, condition, what is drawn, advance, what follows.

#include <array>
#include <string_view>

namespace lesson {

enum class Pending { None, Superscript, Raised };
enum class InFraction { Any, Yes, No };

struct GlyphCondition {
    std::string_view chars = {};  // one of these characters ("" = any character)
    InFraction fraction = InFraction::Any;
    Pending pending = Pending::None;
    bool doubleByte = false;
};

struct Offset {
    float dx, dy;
};

struct GlyphDrawing {
    enum class Kind { Nothing, Glyph, Lines, Stroke, Closed } kind = Kind::Nothing;
    // Glyph: top-left offset, magnification, font for this glyph only.
    float dx = 0, dy = 0;
    int mx = 0, my = 0;
    std::string_view face = {};  // "" keeps the normal face
    float size = 0;              // 0 keeps size 16
    bool italic = false;
    bool boldOn = false;         // sets bold on before the glyph
    bool boldOffAfter = false;   // and off after it
    // Lines (start offset and length), or the points of a polyline, in this pen width.
    float pen = 0;
    std::array<Offset, 5> points{};
    int count = 0;
};

// What follows a glyph: the over-bar step, or a change of the layout state.
enum class AfterGlyph {
    BarStep,           // the over-bar step follows
    SetSuperscript,    // superscriptPending = 1, no bar step
    SetRaised,         // raisedPending = 1, no bar step
    CloseRoot,         // the root closes, no bar step
    OpenRoot,          // a root opens, its bar starts after the sign
    OpenSmallRoot,     // a small root opens, its bar starts after the sign
    BarStartAfter,     // the bar starts again after the figure, no bar step
    ClearRaised,       // raisedPending = 0, then the bar step
    ClearSuperscript,  // superscriptPending = 0, then the bar step
};

struct GlyphRule {
    int number;
    GlyphCondition when;
    GlyphDrawing draw;
    float advance;
    AfterGlyph then;
};

namespace rules {
constexpr GlyphDrawing nothing() { return {}; }
constexpr GlyphDrawing glyph(float dx, float dy, int mx, int my, float size = 0, std::string_view face = {},
                             bool italic = false) {
    GlyphDrawing d;
    d.kind = GlyphDrawing::Kind::Glyph;
    d.dx = dx;
    d.dy = dy;
    d.mx = mx;
    d.my = my;
    d.size = size;
    d.face = face;
    d.italic = italic;
    return d;
}
constexpr GlyphDrawing bold(GlyphDrawing d, bool offAfter) {
    d.boldOn = true;
    d.boldOffAfter = offAfter;
    return d;
}
// Up to two lines, each given as start offset (x, y) and length (dx, dy).
constexpr GlyphDrawing lines(float pen, Offset start1, Offset length1, Offset start2 = {}, Offset length2 = {},
                             int count = 1) {
    GlyphDrawing d;
    d.kind = GlyphDrawing::Kind::Lines;
    d.pen = pen;
    d.points = {start1, length1, start2, length2, Offset{}};
    d.count = count;
    return d;
}
constexpr GlyphDrawing cross(float pen, Offset s1, Offset l1, Offset s2, Offset l2) { return lines(pen, s1, l1, s2, l2, 2); }
constexpr GlyphDrawing stroke(float pen, std::array<Offset, 5> points) {
    GlyphDrawing d;
    d.kind = GlyphDrawing::Kind::Stroke;
    d.pen = pen;
    d.points = points;
    d.count = 5;
    return d;
}
constexpr GlyphDrawing closed(float pen, std::array<Offset, 5> points) {
    GlyphDrawing d = stroke(pen, points);
    d.kind = GlyphDrawing::Kind::Closed;
    return d;
}
constexpr GlyphCondition when(std::string_view chars = {}, InFraction f = InFraction::Any,
                              Pending p = Pending::None, bool doubleByte = false) {
    return {chars, f, p, doubleByte};
}
constexpr InFraction kFrac = InFraction::Yes;
constexpr InFraction kTop = InFraction::No;
constexpr InFraction kAny = InFraction::Any;
constexpr std::string_view kTimes = "Times New Roman";
constexpr std::string_view kExtra = "MT Extra";
}  // namespace rules

// clang-format off
inline constexpr std::array<GlyphRule, 26> kGlyphRules = [] {
    using namespace rules;
    using P = Pending;
    return std::array<GlyphRule, 26>{{
    // #   condition                              drawing                                                             adv  afterwards
    {  1, when("^"),                             nothing(),                                                            0, AfterGlyph::SetSuperscript },
    {  2, when("\\"),                            nothing(),                                                            0, AfterGlyph::SetRaised },
    {  3, when("ﾝ"),                             nothing(),                                                            0, AfterGlyph::CloseRoot },
    {  4, when("√", kFrac),                      stroke(3, {{{4, 24}, {8, 13}, {16, 29}, {24, -6}, {26, -6}}}),       26, AfterGlyph::OpenSmallRoot },
    {  5, when("√"),                             stroke(3, {{{4, 36}, {8, 24}, {16, 40}, {24, -4}, {32, -4}}}),       28, AfterGlyph::OpenRoot },
    {  6, when("&"),                             closed(5, {{{4, 40}, {11, 8}, {32, 8}, {25, 40}, {4, 40}}}),         36, AfterGlyph::BarStartAfter },
    {  7, when("＃"),                            closed(5, {{{10, 8}, {32, 8}, {26, 36}, {4, 36}, {10, 8}}}),         36, AfterGlyph::BarStartAfter },
    {  8, when("."),                             glyph(-3, 14, 3, 2),                                                  8, AfterGlyph::BarStep },
    {  9, when("'°"),                            glyph(0, 0, 3, 3),                                                   12, AfterGlyph::BarStep },
    { 10, when("="),                             bold(glyph(4, 0, 3, 3, 14), false),                                  32, AfterGlyph::BarStep },
    { 11, when({}, kAny, P::Raised),             glyph(0, -10, 6, 3, 8),                                              24, AfterGlyph::ClearRaised },
    { 12, when({}, kFrac, P::Superscript),       glyph(0, -4, 6, 3, 8),                                               24, AfterGlyph::ClearSuperscript },
    { 13, when({}, kAny, P::Superscript),        glyph(0, 0, 3, 2),                                                   24, AfterGlyph::ClearSuperscript },
    { 14, when("axc", kFrac),                    glyph(4, -16, 12, 5, 8, kTimes, true),                               32, AfterGlyph::BarStep },
    { 15, when("axc"),                           glyph(4, -22, 10, 7, 8, kTimes, true),                               27, AfterGlyph::BarStep },
    { 16, when("l"),                             bold(glyph(0, 0, 6, 3, 16, kExtra), true),                           32, AfterGlyph::BarStep },
    { 17, when("-", kFrac),                      lines(5, {6, 14}, {20, 0}),                                          32, AfterGlyph::BarStep },
    { 18, when("+", kFrac),                      cross(5, {6, 14}, {20, 0}, {16, 4}, {0, 20}),                        32, AfterGlyph::BarStep },
    { 19, when("-"),                             lines(5, {4, 20}, {19, 0}),                                          27, AfterGlyph::BarStep },
    { 20, when("+"),                             cross(5, {4, 22}, {19, 0}, {13, 10}, {0, 24}),                       27, AfterGlyph::BarStep },
    { 21, when("×÷±", kTop),                     glyph(-4, 0, 2, 3),                                                  27, AfterGlyph::BarStep },
    { 22, when(" "),                             nothing(),                                                           27, AfterGlyph::BarStep },
    { 23, when({}, kFrac, P::None, true),        glyph(0, 0, 3, 3, 11),                                               38, AfterGlyph::BarStep },
    { 24, when({}, kAny, P::None, true),         glyph(0, 0, 2, 3),                                                   34, AfterGlyph::BarStep },
    { 25, when({}, kFrac),                       glyph(0, 0, 4, 2),                                                   32, AfterGlyph::BarStep },
    { 26, when(),                                glyph(0, 0, 3, 3),                                                   27, AfterGlyph::BarStep },
    }};
}();
// clang-format on

// The lines glyphs stand on, from a line's top down: a line of normal glyphs
// (3 x 3 at size 16, with the room the cells give it), and the smaller line
// of a numerator or denominator (4 x 2 at size 16).
inline constexpr float kLineHeight = 44;
inline constexpr float kFractionPartHeight = 32;

// Where a fraction puts its parts and bars, from the top of the line it
// stands on.
struct FractionMetrics {
    float numeratorTop;
    float barY;
    float barPen;
    float denominatorTop;
    float denominatorTopLowered;  // under a denominator with a root or an exponent
    float rootDrop;               // the denominator's further drop when the fraction holds a root
    float tallRootBarY;           // the over-bar of a tall root sign standing before it
};
inline constexpr FractionMetrics kFraction{-10, 25, 4, 28, 36, 8, -14};

// The characters written in the markup for a sign drawn as another.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kSubstitutions = {{
    {"%", "°"}, {"*", "×"}, {"/", "÷"}, {"@", "±"}, {"!", "√"},
}};

}  // namespace lesson
