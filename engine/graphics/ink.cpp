#include "engine/graphics/ink.h"

#include "engine/graphics/display_list.h"

#include <algorithm>
#include <cmath>

namespace lesson {

namespace {

Point mid(Point a, Point b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// a + (b - a) * t
Point toward(Point a, Point b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

LogicalBox pointsBounds(const std::vector<Point>& points, float margin) {
    LogicalBox b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points)
        b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
    return {b.x0 - margin, b.y0 - margin, b.x1 + margin, b.y1 + margin};
}

LogicalBox united(const std::optional<LogicalBox>& a, const LogicalBox& b) {
    if (!a) return b;
    return {std::min(a->x0, b.x0), std::min(a->y0, b.y0), std::max(a->x1, b.x1), std::max(a->y1, b.y1)};
}

float squaredDistanceToSegment(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = dx * dx + dy * dy;
    float t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

float cross(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Within `reach` of each other: segments a0-a1 and b0-b1 (a point is a
// segment of no length).
bool segmentsWithin(Point a0, Point a1, Point b0, Point b1, float reach) {
    const float d1 = cross(a0, a1, b0), d2 = cross(a0, a1, b1), d3 = cross(b0, b1, a0), d4 = cross(b0, b1, a1);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    const float r2 = reach * reach;
    return squaredDistanceToSegment(a0, b0, b1) <= r2 || squaredDistanceToSegment(a1, b0, b1) <= r2 ||
           squaredDistanceToSegment(b0, a0, a1) <= r2 || squaredDistanceToSegment(b1, a0, a1) <= r2;
}

// Runs of a path's segments with their bounds, so that a long eraser path
// and a long stroke compare run by run before segment by segment. Segment i
// runs from point i to the next (a path of one point is one segment of no
// length).
struct Run {
    std::size_t from, to;  // segments [from, to)
    LogicalBox bounds;
};
constexpr std::size_t kRunSegments = 32;

std::size_t segmentCount(const std::vector<Point>& p) { return std::max<std::size_t>(1, p.size() - 1); }
Point segmentEnd(const std::vector<Point>& p, std::size_t i) { return p[std::min(i + 1, p.size() - 1)]; }

std::vector<Run> runsOf(const std::vector<Point>& p, float margin) {
    std::vector<Run> runs;
    for (std::size_t from = 0; from < segmentCount(p); from += kRunSegments) {
        const std::size_t to = std::min(from + kRunSegments, segmentCount(p));
        const std::vector<Point> points(p.begin() + static_cast<std::ptrdiff_t>(from),
                                        p.begin() + static_cast<std::ptrdiff_t>(std::min(to + 1, p.size())));
        runs.push_back({from, to, pointsBounds(points, margin)});
    }
    return runs;
}

// Whether the eraser's path passes within its reach of the stroke.
bool erases(const std::vector<Point>& path, const std::vector<Run>& pathRuns, const InkStroke& stroke) {
    const float reach = kEraserReach + stroke.pen->width / 2;
    const std::vector<Point>& s = stroke.points;
    const std::vector<Run> strokeRuns = runsOf(s, stroke.pen->width / 2 + 1);
    for (const Run& a : pathRuns) {
        if (!overlaps(a.bounds, stroke.bounds)) continue;
        for (const Run& b : strokeRuns) {
            if (!overlaps(a.bounds, b.bounds)) continue;
            for (std::size_t i = a.from; i < a.to; ++i)
                for (std::size_t j = b.from; j < b.to; ++j)
                    if (segmentsWithin(path[i], segmentEnd(path, i), s[j], segmentEnd(s, j), reach)) return true;
        }
    }
    return false;
}

}  // namespace

const InkPen* inkPen(char letter) {
    for (const InkPen& pen : kInkPens)
        if (pen.letter == letter) return &pen;
    return nullptr;
}

bool overlaps(const LogicalBox& a, const LogicalBox& b) {
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

InkAction fittedInk(InkAction action) {
    std::vector<Point> points;
    points.reserve(action.points.size());
    for (Point p : action.points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        p = {std::clamp(p.x, 0.0f, kPageWidth), std::clamp(p.y, 0.0f, kPageHeight)};
        if (points.empty() || points.back().x != p.x || points.back().y != p.y) points.push_back(p);
    }
    if (points.size() > kMaxStrokePoints) {
        // Evenly chosen, the first and the last kept.
        std::vector<Point> thinned(kMaxStrokePoints);
        const double step = static_cast<double>(points.size() - 1) / (kMaxStrokePoints - 1);
        for (std::size_t i = 0; i < kMaxStrokePoints; ++i)
            thinned[i] = points[static_cast<std::size_t>(std::llround(static_cast<double>(i) * step))];
        points = std::move(thinned);
    }
    action.points = std::move(points);
    return action;
}

InkPath inkPath(const InkStroke& stroke) {
    const std::vector<Point>& p = stroke.points;
    InkPath path;
    if (p.empty()) return path;
    path.start = p[0];
    if (p.size() == 1) {
        path.dot = true;
        return path;
    }
    auto lineTo = [&](Point from, Point to) {
        path.curves.push_back(toward(from, to, 1.0f / 3));
        path.curves.push_back(toward(from, to, 2.0f / 3));
        path.curves.push_back(to);
    };
    if (p.size() == 2) {
        lineTo(p[0], p[1]);
        return path;
    }
    // Straight to the first midpoint, a quadratic curve about each inner
    // point to the next midpoint, and straight on to the last point.
    Point at = mid(p[0], p[1]);
    lineTo(p[0], at);
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
        const Point to = mid(p[i], p[i + 1]);
        path.curves.push_back(toward(at, p[i], 2.0f / 3));
        path.curves.push_back(toward(to, p[i], 2.0f / 3));
        path.curves.push_back(to);
        at = to;
    }
    lineTo(at, p.back());
    return path;
}

std::optional<LogicalBox> PageInk::apply(const InkAction& given) {
    if (given.pen == kInkUndo) return undo();
    Change change;
    std::optional<LogicalBox> area;
    if (given.pen == kInkClear) {
        for (std::size_t i = 0; i < strokes_.size(); ++i) {
            area = united(area, strokes_[i]->bounds);
            change.removed.emplace_back(i, std::move(strokes_[i]));
        }
        strokes_.clear();
    } else {
        const InkAction action = fittedInk(given);
        if (action.points.empty()) return std::nullopt;
        if (action.pen == kEraserPen) {
            const std::vector<Run> runs = runsOf(action.points, kEraserReach);
            std::vector<std::shared_ptr<const InkStroke>> kept;
            for (std::size_t i = 0; i < strokes_.size(); ++i) {
                if (erases(action.points, runs, *strokes_[i])) {
                    area = united(area, strokes_[i]->bounds);
                    change.removed.emplace_back(i, std::move(strokes_[i]));
                } else {
                    kept.push_back(std::move(strokes_[i]));
                }
            }
            strokes_ = std::move(kept);
        } else if (const InkPen* pen = inkPen(action.pen)) {
            auto stroke = std::make_shared<InkStroke>();
            stroke->pen = pen;
            stroke->points = action.points;
            stroke->bounds = pointsBounds(stroke->points, pen->width / 2 + 1);
            area = stroke->bounds;
            strokes_.push_back(std::move(stroke));
            change.added = true;
        }
    }
    // An eraser that touched nothing, or a clear of no ink, is nothing to undo.
    if (area) remember(std::move(change));
    return area;
}

void PageInk::remember(Change change) {
    history_.push_back(std::move(change));
    if (history_.size() > kInkUndoDepth) history_.pop_front();
}

std::optional<LogicalBox> PageInk::undo() {
    if (history_.empty()) return std::nullopt;
    Change change = std::move(history_.back());
    history_.pop_back();
    std::optional<LogicalBox> area;
    if (change.added && !strokes_.empty()) {
        area = strokes_.back()->bounds;
        strokes_.pop_back();
    }
    // Back where they stood, in the order they stood.
    for (auto& [at, stroke] : change.removed) {
        area = united(area, stroke->bounds);
        strokes_.insert(strokes_.begin() + static_cast<std::ptrdiff_t>(std::min(at, strokes_.size())),
                        std::move(stroke));
    }
    return area;
}

void PageInk::clear() {
    strokes_.clear();
    history_.clear();
}

namespace {

void saveStroke(ByteWriter& w, const InkStroke& stroke) {
    w.number(static_cast<unsigned char>(stroke.pen->letter));
    w.number(stroke.points.size());
    for (const Point& p : stroke.points) {
        w.real(p.x);
        w.real(p.y);
    }
    for (float f : {stroke.bounds.x0, stroke.bounds.y0, stroke.bounds.x1, stroke.bounds.y1}) w.real(f);
}

std::shared_ptr<const InkStroke> loadStroke(ByteReader& r) {
    auto stroke = std::make_shared<InkStroke>();
    stroke->pen = inkPen(static_cast<char>(r.count(255)));
    if (!stroke->pen) throw PlaceUnreadable("no such pen");
    stroke->points.resize(r.count(kMaxStrokePoints));
    for (Point& p : stroke->points) {
        p.x = r.real();
        p.y = r.real();
    }
    for (float* f : {&stroke->bounds.x0, &stroke->bounds.y0, &stroke->bounds.x1, &stroke->bounds.y1}) *f = r.real();
    return stroke;
}

}  // namespace

void PageInk::save(ByteWriter& w) const {
    w.number(strokes_.size());
    for (const auto& stroke : strokes_) saveStroke(w, *stroke);
    w.number(history_.size());
    for (const Change& change : history_) {
        w.flag(change.added);
        w.number(change.removed.size());
        for (const auto& [at, stroke] : change.removed) {
            w.number(at);
            saveStroke(w, *stroke);
        }
    }
}

void PageInk::load(ByteReader& r) {
    std::vector<std::shared_ptr<const InkStroke>> strokes(r.count(r.left()));
    for (auto& stroke : strokes) stroke = loadStroke(r);
    std::deque<Change> history(r.count(kInkUndoDepth));
    for (Change& change : history) {
        change.added = r.flag();
        change.removed.resize(r.count(r.left()));
        for (auto& [at, stroke] : change.removed) {
            at = r.count(r.left() + strokes.size());
            stroke = loadStroke(r);
        }
    }
    strokes_ = std::move(strokes);
    history_ = std::move(history);
}

bool PageInk::touches(const LogicalBox& area) const {
    return std::any_of(strokes_.begin(), strokes_.end(),
                       [&](const std::shared_ptr<const InkStroke>& s) { return overlaps(s->bounds, area); });
}

}  // namespace lesson
