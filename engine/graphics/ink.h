#pragma once
// The teacher's ink over the page: the pens, the strokes a page keeps (in
// page units, within the page, thinned), the eraser's reach, the undo of the
// page's last actions, and the one smoothing rule every host draws a stroke by.

#include "engine/graphics/commands.h"
#include "engine/graphics/palette.h"
#include "engine/session/key_script.h"
#include "engine/session/place.h"

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace lesson {

struct InkPen {
    char letter;
    Rgb colour;
    float opacity;  // 1 covers; the marker lets the page show through
    float width;    // in page units
};

// Colours of the colour-universal set, which pupils of the common colour
// visions tell apart from one another: a vermilion red beside the page's
// crimson answers, a bright azure beside its cobalt and deep blues, black,
// and a translucent yellow marker wide enough to lay over a line of text.
// The pen starts red.
inline constexpr std::array<InkPen, 4> kInkPens = {{
    {'r', {0xFF, 0x4B, 0x00}, 1.0f, 5},
    {'b', {0x00, 0x5A, 0xFF}, 1.0f, 5},
    {'k', {0x00, 0x00, 0x00}, 1.0f, 5},
    {'m', {0xFF, 0xF1, 0x00}, 0.4f, 24},
}};
inline constexpr char kEraserPen = 'e';
// How far from its path the eraser takes a stroke away (to the stroke's edge).
inline constexpr float kEraserReach = 12;
// A longer stroke is thinned to this many points.
inline constexpr std::size_t kMaxStrokePoints = 4096;
// The page's ink actions that undo can take back.
inline constexpr std::size_t kInkUndoDepth = 64;

// The pen of a letter; nothing for the eraser, undo and clear.
const InkPen* inkPen(char letter);

// An action as the page takes it: its points clipped to the page, a point
// repeated at once dropped, a stroke of more than kMaxStrokePoints thinned.
InkAction fittedInk(InkAction action);

struct InkStroke {
    const InkPen* pen = nullptr;
    std::vector<Point> points;  // fitted to the page
    LogicalBox bounds{};        // the points, half the pen and a unit of fringe around
};

// A stroke's path, smoothed: quadratic curves through the midpoints of
// successive points, from the first point to the last, written as cubic
// segments (two control points and an end each) after `start`. A stroke
// of one point is a dot of the pen's width.
struct InkPath {
    Point start;
    std::vector<Point> curves;
    bool dot = false;
};
InkPath inkPath(const InkStroke& stroke);

// Whether two boxes share any part.
bool overlaps(const LogicalBox& a, const LogicalBox& b);

// The ink of one page, in drawing order, and what undo takes back.
class PageInk {
public:
    // Takes one action: the part of the page it changed, or nothing.
    std::optional<LogicalBox> apply(const InkAction& action);
    // The page is cleared for the next one: its ink goes, and what undo could take back.
    void clear();
    const std::vector<std::shared_ptr<const InkStroke>>& strokes() const { return strokes_; }
    // Whether a stroke lies in the area.
    bool touches(const LogicalBox& area) const;
    bool empty() const { return strokes_.empty(); }
    // The page's ink and what undo can take back, in bytes and back (the
    // place kept across a reopening).
    void save(ByteWriter& w) const;
    void load(ByteReader& r);  // throws PlaceUnreadable

private:
    // One action done: a stroke added at the end, and strokes taken away
    // (with the places they stood at).
    struct Change {
        bool added = false;
        std::vector<std::pair<std::size_t, std::shared_ptr<const InkStroke>>> removed;
    };
    std::optional<LogicalBox> undo();
    void remember(Change change);

    // Shared, so that the copies of the page a step back keeps cost little.
    std::vector<std::shared_ptr<const InkStroke>> strokes_;
    std::deque<Change> history_;
};

}  // namespace lesson
