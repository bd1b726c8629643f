#pragma once
// Cairo rendering of the page onto a pixel surface or a PDF page. The
// 1344 x 720 logical page is scaled uniformly into the surface and
// letterboxed in white. A raster that follows a display list draws its page
// again from it at a new size, never stretched.

#include "engine/graphics/display_list.h"
#include "engine/graphics/lowering.h"
#include "engine/graphics/view.h"
#include "engine/graphics/schemes.h"
#include "hosts/desktop/fonts.h"

#include <cairo.h>

#include <optional>
#include <span>
#include <string>

namespace lesson {

struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // half-open
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    void unite(const PixelRect& o);
};

class Raster : private FillTarget {
public:
    // Pixels; `page` (when given) is the display list it draws again from.
    Raster(Fonts& fonts, int width, int height, const DisplayList* page = nullptr);
    // Draws onto a surface of the caller's (a PDF page of width x height
    // points) the same way as onto pixels.
    Raster(Fonts& fonts, cairo_surface_t* target, int width, int height);
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    // One command as the display list took it (a page clear included).
    void draw(const DrawCommand& cmd, bool erase);
    // The page drawn whole from a display list, the teacher's ink over it
    // (or from entries of one, on the page's ground or on white).
    void paint(const DisplayList& page);
    void paint(std::span<const DisplayList::Entry> entries, bool cleared);
    // The page drawn again from the display list it follows: whole, or the
    // part within area (on whole pixels).
    void redraw();
    void redrawArea(const LogicalBox& area);

    // The colours it draws the palette's indices in; a new scheme draws the
    // page again (from the display list it follows).
    void setScheme(const Scheme& scheme);
    const Scheme& scheme() const { return *scheme_; }

    // New pixel size: the page is drawn again from the display list.
    void resize(int width, int height);
    // The part of the page shown, magnified into the page's box: the page is
    // drawn again from the display list at that scale, never stretched.
    void setView(const PageView& view);
    const PageView& view() const { return view_; }
    // Where a pixel stands in the page's box, as fractions of its width and
    // height (what a view places a page point at).
    Point shownAt(double px, double py) const {
        return {static_cast<float>((px - boxX_) / (kPageWidth * fit_)),
                static_cast<float>((py - boxY_) / (kPageHeight * fit_))};
    }
    // Ends the page on a paged surface (PDF) and starts a blank one.
    void nextPage();

    // Sets cr to draw in page units where this raster shows the page (the
    // letterbox, the view and its clip): the stroke under the pen, drawn on
    // the window over the page.
    void showOnPage(cairo_t* cr) const;
    // The page position shown at a pixel (the letterbox and the view undone).
    Point pageAt(double px, double py) const {
        return {static_cast<float>((px - offsetX_) / scale_), static_cast<float>((py - offsetY_) / scale_)};
    }
    int width() const { return width_; }
    int height() const { return height_; }
    cairo_surface_t* surface() const { return surface_; }
    std::size_t displayListSize() const { return page_ ? page_->size() : 0; }

    PixelRect takeDirty();
    // The pixels a page box covers, its fringe included, within the surface.
    PixelRect pixelsOf(const LogicalBox& box) const;
    // Writes the page as a PNG: why it could not be written, or nothing.
    std::optional<std::string> writePng(const std::string& path) const;

private:
    void setUpContext(bool cleared);
    // One command lowered at the view's scale, and filled.
    void render(const DrawCommand& cmd, bool erase);
    void fillRects(const RectFill& rects) override;
    void fillPath(const PathFill& path) override;
    void fillGlyphs(const GlyphRun& run) override;
    // A page coordinate put on a device pixel's edge: the nearest, the one
    // below or the one above (offset: the page's origin in device pixels
    // along that axis). Every fill and redrawn area is snapped by it.
    enum class Snap { Nearest, Down, Up };
    double snapped(double v, float offset, Snap way) const;
    void renderInk(const InkStroke& stroke);
    void drawFrom(const DisplayList& page, const LogicalBox* area);
    void markDirty(const LogicalBox& box);
    void setColor(int color);

    Fonts& fonts_;
    const DisplayList* page_ = nullptr;
    const Scheme* scheme_ = &normalScheme();
    int width_ = 0, height_ = 0;
    float scale_ = 1, offsetX_ = 0, offsetY_ = 0;
    // The whole page's scale into the surface and its letterboxed box.
    float fit_ = 1, boxX_ = 0, boxY_ = 0;
    PageView view_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool paged_ = false;  // a caller's paged surface (PDF), not pixels
    PixelRect dirty_;
};

// One stroke of ink drawn in page units on cr, as every page of the desktop
// draws it, in its pen's colour as the scheme shows it.
void renderInkStroke(cairo_t* cr, const InkStroke& stroke, Rgb colour);

}  // namespace lesson
