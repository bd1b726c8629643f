#include "hosts/desktop/raster.h"

#include "engine/graphics/lowering.h"
#include "engine/graphics/output_file.h"
#include "engine/graphics/palette.h"
#include "engine/graphics/schemes.h"
#include "engine/chars/chars.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lesson {

namespace {

void setRgb(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

}  // namespace

void PixelRect::unite(const PixelRect& o) {
    if (o.empty()) return;
    if (empty()) {
        *this = o;
        return;
    }
    x0 = std::min(x0, o.x0);
    y0 = std::min(y0, o.y0);
    x1 = std::max(x1, o.x1);
    y1 = std::max(y1, o.y1);
}

Raster::Raster(Fonts& fonts, int width, int height, const DisplayList* page) : fonts_(fonts), page_(page) {
    resize(width, height);
}

Raster::Raster(Fonts& fonts, cairo_surface_t* target, int width, int height)
    : fonts_(fonts), width_(std::max(1, width)), height_(std::max(1, height)),
      surface_(cairo_surface_reference(target)), paged_(true) {
    setUpContext(false);
}

void Raster::nextPage() { cairo_show_page(cr_); }

Raster::~Raster() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

void Raster::setUpContext(bool cleared) {
    if (cr_) cairo_destroy(cr_);
    cr_ = cairo_create(surface_);
    setRgb(cr_, cleared ? scheme_->clearGround() : scheme_->ground());
    cairo_paint(cr_);
    fit_ = std::min(width_ / kPageWidth, height_ / kPageHeight);
    boxX_ = (width_ - kPageWidth * fit_) / 2;
    boxY_ = (height_ - kPageHeight * fit_) / 2;
    // The view's part of the page fills the page's box; the rest of the page
    // lies outside it and is clipped away with the letterbox.
    scale_ = fit_ * view_.zoom;
    offsetX_ = boxX_ - view_.x * scale_;
    offsetY_ = boxY_ - view_.y * scale_;
    showOnPage(cr_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
    dirty_ = {0, 0, width_, height_};
}

void Raster::resize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
    redraw();
}

void Raster::setView(const PageView& view) {
    view_ = view;
    redraw();
}

void Raster::setColor(int color) { setRgb(cr_, scheme_->colour(color)); }

void Raster::setScheme(const Scheme& scheme) {
    if (scheme_ == &scheme) return;
    scheme_ = &scheme;
    redraw();
}

void Raster::redraw() {
    if (page_) {
        paint(*page_);
    } else {
        setUpContext(false);
    }
}

void Raster::paint(const DisplayList& page) {
    setUpContext(page.cleared());
    drawFrom(page, nullptr);
    dirty_ = {0, 0, width_, height_};
}

void Raster::drawFrom(const DisplayList& page, const LogicalBox* area) {
    page.forEachDrawn(
        area, [&](const DisplayList::Entry& entry) {
            for (int i = 0; i < entry.coats; ++i) render(entry.cmd, entry.erase);
        },
        [&](const InkStroke& stroke) { renderInk(stroke); });
}

void Raster::redrawArea(const LogicalBox& area) {
    if (!page_) return;
    // Out to whole device pixels: the pixels at the area's edge are drawn whole.
    const double x0 = snapped(area.x0, offsetX_, Snap::Down), y0 = snapped(area.y0, offsetY_, Snap::Down);
    const double x1 = snapped(area.x1, offsetX_, Snap::Up), y1 = snapped(area.y1, offsetY_, Snap::Up);
    const LogicalBox drawn{static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                           static_cast<float>(y1)};
    cairo_save(cr_);
    cairo_rectangle(cr_, x0, y0, x1 - x0, y1 - y0);
    cairo_clip(cr_);
    setRgb(cr_, page_->cleared() ? scheme_->clearGround() : scheme_->ground());
    cairo_paint(cr_);
    drawFrom(*page_, &drawn);
    cairo_restore(cr_);
    markDirty(drawn);
}

void Raster::renderInk(const InkStroke& stroke) { renderInkStroke(cr_, stroke, scheme_->inkColour(stroke.pen->colour)); }

void renderInkStroke(cairo_t* cr, const InkStroke& stroke, Rgb c) {
    const InkPath path = inkPath(stroke);
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, stroke.pen->opacity);
    cairo_new_path(cr);
    if (path.dot) {
        cairo_arc(cr, path.start.x, path.start.y, stroke.pen->width / 2, 0, kTurn);
        cairo_fill(cr);
        return;
    }
    cairo_move_to(cr, path.start.x, path.start.y);
    for (std::size_t i = 0; i + 2 < path.curves.size(); i += 3)
        cairo_curve_to(cr, path.curves[i].x, path.curves[i].y, path.curves[i + 1].x, path.curves[i + 1].y,
                       path.curves[i + 2].x, path.curves[i + 2].y);
    cairo_set_line_width(cr, stroke.pen->width);
    cairo_stroke(cr);
}

void Raster::showOnPage(cairo_t* cr) const {
    cairo_translate(cr, offsetX_, offsetY_);
    cairo_scale(cr, scale_, scale_);
    cairo_rectangle(cr, view_.x, view_.y, view_.width(), view_.height());
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

void Raster::paint(std::span<const DisplayList::Entry> entries, bool cleared) {
    setUpContext(cleared);
    for (const DisplayList::Entry& entry : entries)
        for (int i = 0; i < entry.coats; ++i) render(entry.cmd, entry.erase);
    dirty_ = {0, 0, width_, height_};
}

void Raster::draw(const DrawCommand& cmd, bool erase) {
    if (cmd.op == DrawCommand::Op::Pause) return;
    if (cmd.op == DrawCommand::Op::Cls) {
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_reset_clip(cr_);
        setRgb(cr_, scheme_->clearGround());
        cairo_paint(cr_);
        cairo_restore(cr_);
        dirty_ = {0, 0, width_, height_};
        return;
    }
    render(cmd, erase);
    markDirty(commandBounds(cmd));
}

void Raster::markDirty(const LogicalBox& b) { dirty_.unite(pixelsOf(b)); }

PixelRect Raster::pixelsOf(const LogicalBox& b) const {
    PixelRect r{static_cast<int>(std::floor(b.x0 * scale_ + offsetX_)) - 1,
                static_cast<int>(std::floor(b.y0 * scale_ + offsetY_)) - 1,
                static_cast<int>(std::ceil(b.x1 * scale_ + offsetX_)) + 1,
                static_cast<int>(std::ceil(b.y1 * scale_ + offsetY_)) + 1};
    r.x0 = std::clamp(r.x0, 0, width_);
    r.x1 = std::clamp(r.x1, 0, width_);
    r.y0 = std::clamp(r.y0, 0, height_);
    r.y1 = std::clamp(r.y1, 0, height_);
    return r;
}

PixelRect Raster::takeDirty() {
    PixelRect d = dirty_;
    dirty_ = {};
    return d;
}

double Raster::snapped(double v, float offset, Snap way) const {
    const double device = v * scale_ + offset;
    const double whole = way == Snap::Nearest ? std::round(device)
                         : way == Snap::Down  ? std::floor(device)
                                              : std::ceil(device);
    return (whole - offset) / scale_;
}

void Raster::render(const DrawCommand& cmd, bool erase) { lowerCommand(cmd, erase, scale_, *this); }

void Raster::fillRects(const RectFill& rects) {
    cairo_new_path(cr_);
    for (int i = 0; i < rects.count; ++i) {
        const FillRect& r = rects.rects[i];
        const double left = snapped(r.x0, offsetX_, Snap::Nearest), top = snapped(r.y0, offsetY_, Snap::Nearest);
        cairo_rectangle(cr_, left, top, snapped(r.x1, offsetX_, Snap::Nearest) - left,
                        snapped(r.y1, offsetY_, Snap::Nearest) - top);
    }
    setColor(rects.colour);
    // One rectangle is filled as it is (a PDF keeps its plain fill); a ring even-odd.
    if (rects.count > 1) cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
}

void Raster::fillPath(const PathFill& path) {
    cairo_new_path(cr_);
    for (const PathStep& step : path.steps) {
        switch (step.kind) {
            case PathStep::Kind::Move:
                cairo_move_to(cr_, step.x, step.y);
                break;
            case PathStep::Kind::Line:
                cairo_line_to(cr_, step.x, step.y);
                break;
            case PathStep::Kind::Arc:
                cairo_arc(cr_, step.x, step.y, step.r, step.from, step.to);
                break;
            case PathStep::Kind::ArcNegative:
                cairo_arc_negative(cr_, step.x, step.y, step.r, step.from, step.to);
                break;
            case PathStep::Kind::Close:
                cairo_close_path(cr_);
                break;
        }
    }
    const bool stroked = path.width > 0;
    if (path.fill != kNoFill) {
        setColor(path.fill);
        if (stroked) cairo_fill_preserve(cr_); else cairo_fill(cr_);
    }
    if (!stroked) {
        cairo_new_path(cr_);
        return;
    }
    setColor(path.stroke);
    cairo_set_line_width(cr_, path.width);
    cairo_stroke(cr_);
}

void Raster::fillGlyphs(const GlyphRun& run) {
    cairo_set_font_face(cr_, fonts_.face(run.family, run.bold, run.italic));
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, run.across, run.height);
    cairo_set_font_matrix(cr_, &matrix);
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr_);
    setColor(run.colour);
    for (const PlacedGlyph& placed : run.glyphs) {
        char utf8[5] = {0, 0, 0, 0, 0};
        encodeUtf8(placed.drawn, utf8);
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        if (cairo_scaled_font_text_to_glyphs(font, placed.x, placed.baseline, utf8, -1, &glyphs, &count, nullptr,
                                             nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
            count > 0 && glyphs[0].index != 0) {
            if (run.outline > 0) {
                cairo_new_path(cr_);
                cairo_glyph_path(cr_, glyphs, 1);
                cairo_fill_preserve(cr_);
                cairo_set_line_width(cr_, run.outline);
                cairo_stroke(cr_);
            } else if (paged_) {
                // On a PDF page the glyph carries its character: the text
                // can be searched and copied.
                char text[5] = {0, 0, 0, 0, 0};
                encodeUtf8(placed.own, text);
                const cairo_text_cluster_t cluster{static_cast<int>(std::strlen(text)), 1};
                cairo_show_text_glyphs(cr_, text, cluster.num_bytes, glyphs, 1, &cluster, 1,
                                       cairo_text_cluster_flags_t{});
            } else {
                cairo_show_glyphs(cr_, glyphs, 1);
            }
        }
        cairo_glyph_free(glyphs);
    }
}

std::optional<std::string> Raster::writePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    std::string png;
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        surface_,
        [](void* out, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    if (status != CAIRO_STATUS_SUCCESS) return cairo_status_to_string(status);
    return writeWholeFile(path, png);
}

}  // namespace lesson
