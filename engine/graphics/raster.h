#pragma once
// Cairo rendering of the drawing stream onto a pixel surface. The 1344 x 720
// logical page is scaled uniformly into the surface and letterboxed in white.
// With a window the raster keeps a display list of what is on the page, so a
// new window size is drawn again from the commands, never stretched.

#include "engine/graphics/commands.h"
#include "engine/graphics/fonts.h"

#include <cairo.h>

#include <optional>
#include <string>
#include <vector>

namespace lesson {

inline constexpr float kPageWidth = 1344;
inline constexpr float kPageHeight = 720;

struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // half-open
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    void unite(const PixelRect& o);
};

// Bounding box of a command in logical units, generous enough to hold its
// anti-aliased edges and glyph overhangs.
struct LogicalBox {
    float x0, y0, x1, y1;
};
LogicalBox commandBounds(const DrawCommand& cmd);

class Raster : public DrawSink {
public:
    Raster(Fonts& fonts, int width, int height, bool keepDisplayList = true);
    // Draws onto a surface of the caller's (a PDF page of width x height
    // points) the same way as onto pixels; keeps no display list.
    Raster(Fonts& fonts, cairo_surface_t* target, int width, int height);
    ~Raster() override;
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    void draw(const DrawCommand& cmd) override;

    // New pixel size: the page is drawn again from the display list.
    void resize(int width, int height);
    // Draws the display list into another raster (a screenshot at its own size).
    void replayInto(Raster& other) const;
    // The page as before the first command, and from now on only the display
    // list follows the stream (a replay off the screen) until rendering is
    // turned on again, when the page is drawn once from the list.
    void restartUnrendered();
    void setRendering(bool on);
    // Ends the page on a paged surface (PDF) and starts a blank one.
    void nextPage();

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_surface_t* surface() const { return surface_; }
    std::size_t displayListSize() const { return list_.size(); }

    PixelRect takeDirty();
    // Writes the page as a PNG: why it could not be written, or nothing.
    std::optional<std::string> writePng(const std::string& path) const;

private:
    void setUpContext();
    void redraw();
    void render(const DrawCommand& cmd, bool erase);
    bool drawnBefore(const DrawCommand& cmd) const;
    void pixelRectangle(double x0, double y0, double x1, double y1);
    void renderText(const DrawCommand& cmd, bool erase);
    void remember(const DrawCommand& cmd, bool erase);
    void markDirty(const LogicalBox& box);

    Fonts& fonts_;
    int width_ = 0, height_ = 0;
    float scale_ = 1, offsetX_ = 0, offsetY_ = 0;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool keepList_ = false;
    bool paged_ = false;    // a caller's paged surface (PDF), not pixels
    bool cleared_ = false;  // the layer's clear painted the page; a redraw starts from it
    bool rendering_ = true;
    // The display list holds what is still visible, in drawing order: what a
    // later opaque box covers, or a white redraw erases, is dropped, so its
    // length follows the page, not the hours the program has run.
    struct Entry {
        DrawCommand cmd;
        bool erase;
        LogicalBox bounds;  // on the page
        int coats;          // times it is drawn (the same picture drawn on itself)
    };
    std::vector<Entry> list_;
    PixelRect dirty_;
};

}  // namespace lesson
