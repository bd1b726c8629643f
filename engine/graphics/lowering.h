#pragma once
// A drawing command lowered into what a host fills: rectangles, paths and
// placed glyphs, in page units. Every rule of turning a command into shapes
// is decided here once for all hosts: a box's outline as the ring between
// two rectangles, a circle smaller than its pen as a dot, the spread that
// widens an erasing redraw, a bold glyph's widening. A host only fills what
// it is handed, putting the rectangles' edges on its own device pixels.

#include "engine/graphics/commands.h"

#include <array>
#include <string_view>
#include <vector>

namespace lesson {

// A whole turn, in radians.
inline constexpr double kTurn = 6.283185307179586;

// A rectangle in page units whose edges the host puts on whole device pixels.
struct FillRect {
    double x0, y0, x1, y1;
};

// Rectangles filled together in one palette colour by the even-odd rule: a
// box, or a box's outline as the ring between its outer and inner rectangle.
struct RectFill {
    int colour = kBlack;
    std::array<FillRect, 2> rects{};
    int count = 1;
};

// One step of a path. Arc runs from angle `from` to `to` (radians) with the
// angle growing (clockwise on the page, whose y axis points down),
// ArcNegative with it shrinking; each joins the path at its first point.
struct PathStep {
    enum class Kind { Move, Line, Arc, ArcNegative, Close };
    Kind kind = Kind::Move;
    double x = 0, y = 0;  // the point moved or drawn to; an arc's centre
    double r = 0, from = 0, to = 0;
};

// A path filled in one palette colour (when fill is not kNoFill), then
// stroked in another (when width is more than 0), with round caps and joins.
struct PathFill {
    std::vector<PathStep> steps;
    int fill = kNoFill;
    int stroke = kBlack;
    double width = 0;  // the stroke's width in page units
};

// One glyph of a text, placed with its origin on the baseline: the
// character drawn (after the face's substitution) and the one it stands for.
struct PlacedGlyph {
    char32_t drawn, own;
    double x, baseline;
};

// The glyphs of one text in one face and colour. The face's em is `across`
// wide and `height` high in page units. An erasing redraw fills each glyph
// and strokes its outline `outline` wide: the erasing spread and, for a bold
// face, twice its widening (a 48th of the em on each side); 0 when the
// glyphs are only filled.
struct GlyphRun {
    std::string_view family;  // the face table's family
    bool bold = false, italic = false;
    double across = 0, height = 0;
    int colour = kBlack;
    double outline = 0;
    std::vector<PlacedGlyph> glyphs;
};

// What a host fills, in the order a command is lowered.
class FillTarget {
public:
    virtual ~FillTarget() = default;
    virtual void fillRects(const RectFill& rects) = 0;
    virtual void fillPath(const PathFill& path) = 0;
    virtual void fillGlyphs(const GlyphRun& run) = 0;
};

// One command lowered for a view of `scale` device pixels to the page unit
// (an erasing redraw, `erase`, reaches kEraseSpreadPixels device pixels
// further) and handed to target. A page clear and a pause fill nothing.
void lowerCommand(const DrawCommand& cmd, bool erase, double scale, FillTarget& target);

}  // namespace lesson
