#pragma once
// The part of the page a host shows: the whole page, or a magnified part of
// it that a teacher zoomed into (by fingers, the wheel or the keys). A view
// is the host's alone: the lesson, its trace and its outputs never see it.
// The page's script keeps the same rule in hosts/web/page/view.js.

#include "engine/graphics/display_list.h"

#include <algorithm>

namespace lesson {

// How far a teacher can zoom in, and the factor of one press of Ctrl+= or Ctrl+-.
inline constexpr float kMaxZoom = 6;
inline constexpr float kZoomStep = 1.5f;

struct PageView {
    float x = 0, y = 0;  // the top-left page point shown
    float zoom = 1;      // 1: the whole page

    float width() const { return kPageWidth / zoom; }
    float height() const { return kPageHeight / zoom; }
    bool whole() const { return zoom <= 1; }

    // The view at `zoom` that shows page point `at` where `shown` is: a
    // fraction (0..1) of the view's width and height. Never less than the
    // whole page, never beyond its edges.
    static PageView placing(Point at, Point shown, float zoom) {
        PageView v;
        v.zoom = std::clamp(zoom, 1.0f, kMaxZoom);
        v.x = std::clamp(at.x - shown.x * v.width(), 0.0f, kPageWidth - v.width());
        v.y = std::clamp(at.y - shown.y * v.height(), 0.0f, kPageHeight - v.height());
        return v;
    }
    // The page point shown at a fraction of the view's width and height.
    Point pageAt(Point shown) const { return {x + shown.x * width(), y + shown.y * height()}; }
    // Zoomed by `factor` about the page point shown at `shown`.
    PageView zoomedAbout(Point shown, float factor) const { return placing(pageAt(shown), shown, zoom * factor); }
    // Moved so that the page slides by (dx, dy) fractions of the view.
    PageView panned(float dx, float dy) const { return placing(pageAt({-dx, -dy}), {0, 0}, zoom); }
};

}  // namespace lesson
