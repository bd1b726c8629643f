#include "engine/graphics/lowering.h"

#include "engine/chars/chars.h"
#include "engine/graphics/display_list.h"
#include "engine/graphics/faces.h"
#include "engine/graphics/palette.h"

#include <algorithm>
#include <cmath>

namespace lesson {

namespace {

using Kind = PathStep::Kind;

// Filled on whole device pixels: crisp edges, and a fill that needs no
// anti-aliasing pass over the whole box. The outline is the ring between the
// rectangle half the pen outside the corners and the one half the pen
// inside (none when the pen fills the box).
void lowerBox(const DrawCommand& cmd, double width, FillTarget& target) {
    const double x = std::min(cmd.x1, cmd.x2), y = std::min(cmd.y1, cmd.y2);
    const double x2 = std::max(cmd.x1, cmd.x2), y2 = std::max(cmd.y1, cmd.y2);
    const double half = width / 2;
    const int colour = paletteIndex(cmd.color);
    const int fill = paletteIndex(cmd.fill == kNoFill ? cmd.color : cmd.fill);
    const FillRect outer{x - half, y - half, x2 + half, y2 + half};
    if (fill == colour) {
        target.fillRects({colour, {outer}, 1});
        return;
    }
    target.fillRects({fill, {FillRect{x, y, x2, y2}}, 1});
    RectFill ring{colour, {outer}, 1};
    if (x2 - x > 2 * half && y2 - y > 2 * half) ring.rects[ring.count++] = {x + half, y + half, x2 - half, y2 - half};
    target.fillRects(ring);
}

// Angles are fractions of a turn, counter-clockwise as on paper; 0 and 0 is
// a full circle. A full circle smaller than its pen is a dot: a solid disc,
// not a ring.
void lowerCircle(const DrawCommand& cmd, double width, FillTarget& target) {
    const double r = std::fabs(cmd.r);
    const bool full = cmd.start == 0 && cmd.end == 0;
    PathFill path;
    if (full && cmd.fill == kNoFill && 2 * r < cmd.pen) {
        path.steps.push_back({Kind::Arc, cmd.x1, cmd.y1, r + width / 2, 0, kTurn});
        path.fill = paletteIndex(cmd.color);
        target.fillPath(path);
        return;
    }
    const bool filled = cmd.fill != kNoFill;
    if (full) {
        path.steps.push_back({Kind::Arc, cmd.x1, cmd.y1, r, 0, kTurn});
        path.steps.push_back({Kind::Close});
    } else {
        // The page's y axis points down: counter-clockwise is the angle shrinking.
        if (filled) path.steps.push_back({Kind::Move, cmd.x1, cmd.y1});
        path.steps.push_back({Kind::ArcNegative, cmd.x1, cmd.y1, r, -cmd.start * kTurn, -cmd.end * kTurn});
        if (filled) path.steps.push_back({Kind::Close});
    }
    if (filled) path.fill = paletteIndex(cmd.fill);
    path.stroke = paletteIndex(cmd.color);
    path.width = width;
    target.fillPath(path);
}

void lowerPolyline(const DrawCommand& cmd, double width, FillTarget& target) {
    if (cmd.points.empty()) return;
    PathFill path;
    path.steps.push_back({Kind::Move, cmd.points[0].x, cmd.points[0].y});
    for (std::size_t i = 1; i < cmd.points.size(); ++i)
        path.steps.push_back({Kind::Line, cmd.points[i].x, cmd.points[i].y});
    if (cmd.fill != kNoFill) {
        path.steps.push_back({Kind::Close});
        path.fill = paletteIndex(cmd.fill);
    }
    path.stroke = paletteIndex(cmd.color);
    path.width = width;
    target.fillPath(path);
}

// A character a font can hold: a Unicode scalar value.
bool scalarValue(char32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

// Glyph by glyph, each in its cell; blank characters take their cell and
// leave it empty.
void lowerText(const DrawCommand& cmd, bool erase, double scale, FillTarget& target) {
    if (cmd.mx <= 0 || cmd.my <= 0 || cmd.font.size <= 0) return;
    const FaceRule& rule = faceRule(cmd.font.name);
    const double size = cmd.font.size;
    GlyphRun run;
    run.family = rule.family;
    run.bold = cmd.font.bold;
    run.italic = cmd.font.italic;
    run.across = cmd.mx * size * rule.widthScale;
    run.height = cmd.my * size;
    run.colour = paletteIndex(cmd.color);
    if (erase) {
        // A bold glyph is widened by about a 48th of its em on each side when
        // it is drawn; its erasing outline is widened by as much more.
        const double em = std::max(run.across, run.height);
        run.outline = kEraseSpreadPixels / scale + (cmd.font.bold ? em / 24 : 0.0);
    }
    double x = cmd.x1;
    const double baseline = cmd.y1 + rule.baseline * run.height;
    for (std::string_view ch : splitChars(cmd.text)) {
        const char32_t own = codePoint(ch);
        const char32_t drawn = drawnCharacter(rule, own);
        if (!blankCharacter(drawn) && scalarValue(drawn)) run.glyphs.push_back({drawn, own, x, baseline});
        x += cellAdvance(cmd, ch);
    }
    if (!run.glyphs.empty()) target.fillGlyphs(run);
}

}  // namespace

void lowerCommand(const DrawCommand& cmd, bool erase, double scale, FillTarget& target) {
    // An erasing redraw reaches the spread further on each side of its strokes.
    const double width = std::max(0.0f, cmd.pen) + (erase ? kEraseSpreadPixels / scale : 0.0);
    switch (cmd.op) {
        case DrawCommand::Op::Line: {
            PathFill path;
            path.steps = {{Kind::Move, cmd.x1, cmd.y1}, {Kind::Line, cmd.x2, cmd.y2}};
            path.stroke = paletteIndex(cmd.color);
            path.width = width;
            target.fillPath(path);
            break;
        }
        case DrawCommand::Op::Box:
            lowerBox(cmd, width, target);
            break;
        case DrawCommand::Op::Circle:
            lowerCircle(cmd, width, target);
            break;
        case DrawCommand::Op::Polyline:
            lowerPolyline(cmd, width, target);
            break;
        case DrawCommand::Op::Text:
            lowerText(cmd, erase, scale, target);
            break;
        case DrawCommand::Op::Cls:
        case DrawCommand::Op::Pause:
            break;
    }
}

}  // namespace lesson
