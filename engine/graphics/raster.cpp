#include "engine/graphics/raster.h"

#include "engine/graphics/palette.h"
#include "engine/graphics/trace.h"
#include "engine/chars/chars.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lesson {

namespace {

constexpr double kTurn = 6.283185307179586;
// Erasing is drawing again in white. Anti-aliased edges of the first picture
// reach past its exact outline, so a white redraw is widened by this many
// device pixels and covers them; an erased text leaves pure white.
constexpr double kEraseSpreadPixels = 2.5;

void setColor(cairo_t* cr, int color) {
    const Rgb c = kPalette[paletteIndex(color)];
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

bool isOpaqueBox(const DrawCommand& cmd) { return cmd.op == DrawCommand::Op::Box; }

bool isErase(const DrawCommand& cmd) {
    return paletteIndex(cmd.color) == kWhite && (cmd.fill == kNoFill || paletteIndex(cmd.fill) == kWhite);
}

bool sameGeometry(const DrawCommand& a, const DrawCommand& b) {
    if (a.op != b.op || a.x1 != b.x1 || a.y1 != b.y1 || a.x2 != b.x2 || a.y2 != b.y2) return false;
    if (a.r != b.r || a.start != b.start || a.end != b.end) return false;
    if (a.op != DrawCommand::Op::Text && a.pen > b.pen) return false;  // text ignores the pen
    if (a.op == DrawCommand::Op::Text) {
        return a.text == b.text && a.mx == b.mx && a.my == b.my && a.font.name == b.font.name &&
               a.font.size == b.font.size && a.font.bold == b.font.bold && a.font.italic == b.font.italic;
    }
    if (a.op == DrawCommand::Op::Polyline) {
        if (a.points.size() != b.points.size() || (a.fill == kNoFill) != (b.fill == kNoFill)) return false;
        for (std::size_t i = 0; i < a.points.size(); ++i)
            if (a.points[i].x != b.points[i].x || a.points[i].y != b.points[i].y) return false;
    }
    return true;
}

bool inside(const LogicalBox& inner, const LogicalBox& outer) {
    return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 && inner.y1 <= outer.y1;
}

bool onPage(const LogicalBox& b) {
    return b.x1 > 0 && b.y1 > 0 && b.x0 < kPageWidth && b.y0 < kPageHeight;
}

// The part of a box that lies on the page: drawing outside it is clipped.
LogicalBox visiblePart(const LogicalBox& b) {
    return {std::max(b.x0, 0.0f), std::max(b.y0, 0.0f), std::min(b.x1, kPageWidth), std::min(b.y1, kPageHeight)};
}

// Drawn again on itself: the same picture in the same colours and pen.
bool identical(const DrawCommand& a, const DrawCommand& b) {
    return a.color == b.color && a.fill == b.fill && a.pen == b.pen && sameGeometry(a, b) && sameGeometry(b, a);
}

// Coats of one picture kept in the display list (see Raster::remember).
constexpr int kMaxCoats = 4;

float textCellsWidth(const DrawCommand& cmd) {
    float w = 0;
    for (std::string_view ch : splitChars(cmd.text))
        w += cmd.mx * cmd.font.size * (isSingleByte(ch) ? 0.5f : 1.0f);
    return w;
}

// One character as UTF-8 into out (room for four bytes and the end).
void encodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out[0] = static_cast<char>(0xF0 | (cp >> 18));
        out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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

LogicalBox commandBounds(const DrawCommand& cmd) {
    const float m = cmd.pen / 2 + 2;
    switch (cmd.op) {
        case DrawCommand::Op::Line:
        case DrawCommand::Op::Box:
            return {std::min(cmd.x1, cmd.x2) - m, std::min(cmd.y1, cmd.y2) - m, std::max(cmd.x1, cmd.x2) + m,
                    std::max(cmd.y1, cmd.y2) + m};
        case DrawCommand::Op::Circle: {
            const float r = std::fabs(cmd.r) + m;
            return {cmd.x1 - r, cmd.y1 - r, cmd.x1 + r, cmd.y1 + r};
        }
        case DrawCommand::Op::Polyline: {
            LogicalBox b{1e30f, 1e30f, -1e30f, -1e30f};
            for (const Point& p : cmd.points) {
                b.x0 = std::min(b.x0, p.x - m);
                b.y0 = std::min(b.y0, p.y - m);
                b.x1 = std::max(b.x1, p.x + m);
                b.y1 = std::max(b.y1, p.y + m);
            }
            return b;
        }
        case DrawCommand::Op::Text: {
            const float h = cmd.my * cmd.font.size;
            const float spill = 0.35f * h + 2;
            return {cmd.x1 - spill, cmd.y1 - spill, cmd.x1 + textCellsWidth(cmd) + spill, cmd.y1 + h + spill};
        }
        case DrawCommand::Op::Cls:
            return {-1e30f, -1e30f, 1e30f, 1e30f};
        case DrawCommand::Op::Pause:
            break;
    }
    return {0, 0, 0, 0};
}

Raster::Raster(Fonts& fonts, int width, int height, bool keepDisplayList)
    : fonts_(fonts), keepList_(keepDisplayList) {
    resize(width, height);
}

Raster::Raster(Fonts& fonts, cairo_surface_t* target, int width, int height)
    : fonts_(fonts), width_(std::max(1, width)), height_(std::max(1, height)),
      surface_(cairo_surface_reference(target)), paged_(true) {
    setUpContext();
}

void Raster::nextPage() {
    cairo_show_page(cr_);
    list_.clear();
    cleared_ = false;
    setUpContext();
}

Raster::~Raster() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

void Raster::setUpContext() {
    if (cr_) cairo_destroy(cr_);
    cr_ = cairo_create(surface_);
    const Rgb ground = cleared_ ? kClearColor : kPalette[15];
    cairo_set_source_rgb(cr_, ground.r / 255.0, ground.g / 255.0, ground.b / 255.0);
    cairo_paint(cr_);
    scale_ = std::min(width_ / kPageWidth, height_ / kPageHeight);
    offsetX_ = (width_ - kPageWidth * scale_) / 2;
    offsetY_ = (height_ - kPageHeight * scale_) / 2;
    cairo_translate(cr_, offsetX_, offsetY_);
    cairo_scale(cr_, scale_, scale_);
    cairo_rectangle(cr_, 0, 0, kPageWidth, kPageHeight);
    cairo_clip(cr_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
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

void Raster::redraw() {
    setUpContext();
    for (const Entry& entry : list_)
        for (int i = 0; i < entry.coats; ++i) render(entry.cmd, entry.erase);
    dirty_ = {0, 0, width_, height_};
}

void Raster::restartUnrendered() {
    list_.clear();
    cleared_ = false;
    rendering_ = false;
}

void Raster::setRendering(bool on) {
    if (on && !rendering_) {
        rendering_ = true;
        redraw();
    }
    rendering_ = on;
}

void Raster::replayInto(Raster& other) const {
    if (cleared_) {
        DrawCommand clear;
        clear.op = DrawCommand::Op::Cls;
        other.draw(clear);
    }
    for (const Entry& entry : list_)
        for (int i = 0; i < entry.coats; ++i) other.draw(entry.cmd);
}

void Raster::draw(const DrawCommand& cmd) {
    if (cmd.op == DrawCommand::Op::Pause) return;
    if (cmd.op == DrawCommand::Op::Cls) {
        list_.clear();
        cleared_ = true;
        if (!rendering_) return;
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_reset_clip(cr_);
        cairo_set_source_rgb(cr_, kClearColor.r / 255.0, kClearColor.g / 255.0, kClearColor.b / 255.0);
        cairo_paint(cr_);
        cairo_restore(cr_);
        dirty_ = {0, 0, width_, height_};
        return;
    }
    const LogicalBox box = commandBounds(cmd);
    if (!onPage(box)) return;  // measuring far below the page, or clipped away
    // A white box, or a picture drawn again in white where it stood, erases:
    // it is drawn a little wider so that no anti-aliased fringe survives.
    // White text on a coloured fill is drawn as it is.
    const bool erase = isErase(cmd) && (cmd.op == DrawCommand::Op::Box || drawnBefore(cmd));
    if (keepList_) remember(cmd, erase);
    if (!rendering_) return;
    render(cmd, erase);
    markDirty(box);
}

void Raster::remember(const DrawCommand& cmd, bool erase) {
    if (isOpaqueBox(cmd)) {
        // What a filled box covers is gone for good. Only the part of an entry
        // on the page counts (the rest is clipped away), and a box edge that
        // reaches the page's edge covers up to it.
        const float half = std::max(0.0f, cmd.pen) / 2;
        const float left = std::min(cmd.x1, cmd.x2), right = std::max(cmd.x1, cmd.x2);
        const float top = std::min(cmd.y1, cmd.y2), bottom = std::max(cmd.y1, cmd.y2);
        constexpr float kFar = 1e30f;
        const LogicalBox cover{left - half <= 0 ? -kFar : left + 1, top - half <= 0 ? -kFar : top + 1,
                               right + half >= kPageWidth ? kFar : right - 1,
                               bottom + half >= kPageHeight ? kFar : bottom - 1};
        std::erase_if(list_, [&](const Entry& old) { return inside(old.bounds, cover); });
    }
    if (erase && cmd.op != DrawCommand::Op::Box) {
        // A picture drawn again in white is gone: drop its earlier drawings.
        std::erase_if(list_, [&](const Entry& old) { return sameGeometry(old.cmd, cmd); });
    }
    if (!list_.empty() && identical(list_.back().cmd, cmd)) {
        // The same picture drawn again on itself (the entry cursor while keys
        // arrive): only its anti-aliased edges change, and they are solid
        // after a few coats, so a few are kept and the rest counted away.
        Entry& last = list_.back();
        last.coats = std::min(last.coats + 1, kMaxCoats);
        return;
    }
    list_.push_back({cmd, erase, visiblePart(commandBounds(cmd)), 1});
}

void Raster::markDirty(const LogicalBox& b) {
    PixelRect r{static_cast<int>(std::floor(b.x0 * scale_ + offsetX_)) - 1,
                static_cast<int>(std::floor(b.y0 * scale_ + offsetY_)) - 1,
                static_cast<int>(std::ceil(b.x1 * scale_ + offsetX_)) + 1,
                static_cast<int>(std::ceil(b.y1 * scale_ + offsetY_)) + 1};
    r.x0 = std::clamp(r.x0, 0, width_);
    r.x1 = std::clamp(r.x1, 0, width_);
    r.y0 = std::clamp(r.y0, 0, height_);
    r.y1 = std::clamp(r.y1, 0, height_);
    dirty_.unite(r);
}

PixelRect Raster::takeDirty() {
    PixelRect d = dirty_;
    dirty_ = {};
    return d;
}

void Raster::pixelRectangle(double x0, double y0, double x1, double y1) {
    auto snapX = [&](double x) { return (std::round(x * scale_ + offsetX_) - offsetX_) / scale_; };
    auto snapY = [&](double y) { return (std::round(y * scale_ + offsetY_) - offsetY_) / scale_; };
    const double left = snapX(x0), top = snapY(y0);
    cairo_rectangle(cr_, left, top, snapX(x1) - left, snapY(y1) - top);
}

bool Raster::drawnBefore(const DrawCommand& cmd) const {
    for (auto it = list_.rbegin(); it != list_.rend(); ++it)
        if (paletteIndex(it->cmd.color) != kWhite && sameGeometry(it->cmd, cmd)) return true;
    return false;
}

void Raster::render(const DrawCommand& cmd, bool erase) {
    cairo_t* cr = cr_;
    const double spread = erase ? kEraseSpreadPixels / scale_ : 0.0;
    cairo_set_line_width(cr, std::max(0.0f, cmd.pen) + spread);
    switch (cmd.op) {
        case DrawCommand::Op::Line:
            setColor(cr, cmd.color);
            cairo_move_to(cr, cmd.x1, cmd.y1);
            cairo_line_to(cr, cmd.x2, cmd.y2);
            cairo_stroke(cr);
            break;
        case DrawCommand::Op::Box: {
            // Filled as rectangles on whole device pixels (the outline is the ring
            // between two of them): crisp edges, and a fill that needs no
            // anti-aliasing pass over the whole box.
            const double x = std::min(cmd.x1, cmd.x2), y = std::min(cmd.y1, cmd.y2);
            const double x2 = std::max(cmd.x1, cmd.x2), y2 = std::max(cmd.y1, cmd.y2);
            const double half = cairo_get_line_width(cr) / 2;
            const int fill = cmd.fill == kNoFill ? cmd.color : cmd.fill;
            if (paletteIndex(fill) == paletteIndex(cmd.color)) {
                pixelRectangle(x - half, y - half, x2 + half, y2 + half);
                setColor(cr, cmd.color);
                cairo_fill(cr);
                break;
            }
            pixelRectangle(x, y, x2, y2);
            setColor(cr, fill);
            cairo_fill(cr);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            pixelRectangle(x - half, y - half, x2 + half, y2 + half);
            if (x2 - x > 2 * half && y2 - y > 2 * half) pixelRectangle(x + half, y + half, x2 - half, y2 - half);
            setColor(cr, cmd.color);
            cairo_fill(cr);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            break;
        }
        case DrawCommand::Op::Circle: {
            const double r = std::fabs(cmd.r);
            const bool full = cmd.start == 0 && cmd.end == 0;
            cairo_new_path(cr);
            if (full && cmd.fill == kNoFill && 2 * r < cmd.pen) {
                // A circle smaller than its pen is a dot: a solid disc, not a ring.
                setColor(cr, cmd.color);
                cairo_arc(cr, cmd.x1, cmd.y1, r + cairo_get_line_width(cr) / 2, 0, kTurn);
                cairo_fill(cr);
                break;
            }
            if (full) {
                cairo_arc(cr, cmd.x1, cmd.y1, r, 0, kTurn);
                cairo_close_path(cr);
            } else {
                // Angles run counter-clockwise as on paper; the page's y axis points down.
                if (cmd.fill != kNoFill) cairo_move_to(cr, cmd.x1, cmd.y1);
                cairo_arc_negative(cr, cmd.x1, cmd.y1, r, -cmd.start * kTurn, -cmd.end * kTurn);
                if (cmd.fill != kNoFill) cairo_close_path(cr);
            }
            if (cmd.fill != kNoFill) {
                setColor(cr, cmd.fill);
                cairo_fill_preserve(cr);
            }
            setColor(cr, cmd.color);
            cairo_stroke(cr);
            break;
        }
        case DrawCommand::Op::Polyline: {
            if (cmd.points.empty()) break;
            cairo_move_to(cr, cmd.points[0].x, cmd.points[0].y);
            for (std::size_t i = 1; i < cmd.points.size(); ++i) cairo_line_to(cr, cmd.points[i].x, cmd.points[i].y);
            if (cmd.fill != kNoFill) {
                cairo_close_path(cr);
                setColor(cr, cmd.fill);
                cairo_fill_preserve(cr);
            }
            setColor(cr, cmd.color);
            cairo_stroke(cr);
            break;
        }
        case DrawCommand::Op::Text:
            renderText(cmd, erase);
            break;
        case DrawCommand::Op::Cls:
        case DrawCommand::Op::Pause:
            break;
    }
}

void Raster::renderText(const DrawCommand& cmd, bool erase) {
    if (cmd.mx <= 0 || cmd.my <= 0 || cmd.font.size <= 0) return;
    const FaceRule& rule = faceRule(cmd.font.name);
    cairo_set_font_face(cr_, fonts_.face(rule.family, cmd.font.bold, cmd.font.italic));
    const double size = cmd.font.size;
    const double cellHeight = cmd.my * size;
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, cmd.mx * size * rule.widthScale, cellHeight);
    cairo_set_font_matrix(cr_, &matrix);
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr_);
    setColor(cr_, cmd.color);

    double x = cmd.x1;
    for (std::string_view ch : splitChars(cmd.text)) {
        const double cellWidth = cmd.mx * size * (isSingleByte(ch) ? 0.5 : 1.0);
        char32_t cp = codePoint(ch);
        if (rule.from != 0 && cp == rule.from) cp = rule.to;
        if (cp > U' ' && cp != 0x7F && cp != 0x3000 && cp != 0xFFFD) {
            char utf8[5] = {0, 0, 0, 0, 0};
            encodeUtf8(cp, utf8);
            cairo_glyph_t* glyphs = nullptr;
            int count = 0;
            if (cairo_scaled_font_text_to_glyphs(font, x, cmd.y1 + rule.baseline * cellHeight, utf8, -1, &glyphs,
                                                 &count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
                count > 0 && glyphs[0].index != 0) {
                if (erase) {
                    // A bold glyph is widened by about a 48th of its em on each side
                    // when it is drawn; its erasing path is widened by as much more.
                    const double em = std::max(cmd.mx * size * rule.widthScale, cellHeight);
                    const double bold = cmd.font.bold ? em / 24 : 0.0;
                    cairo_glyph_path(cr_, glyphs, 1);
                    cairo_fill_preserve(cr_);
                    cairo_set_line_width(cr_, kEraseSpreadPixels / scale_ + bold);
                    cairo_stroke(cr_);
                } else if (const char32_t own = codePoint(ch);
                           paged_ && own <= 0x10FFFF && (own < 0xD800 || own > 0xDFFF)) {
                    // On a PDF page the glyph carries its character: the text
                    // can be searched and copied.
                    char text[5] = {0, 0, 0, 0, 0};
                    encodeUtf8(own, text);
                    const cairo_text_cluster_t cluster{static_cast<int>(std::strlen(text)), 1};
                    cairo_show_text_glyphs(cr_, text, cluster.num_bytes, glyphs, 1, &cluster, 1,
                                           cairo_text_cluster_flags_t{});
                } else {
                    cairo_show_glyphs(cr_, glyphs, 1);
                }
            }
            cairo_glyph_free(glyphs);
        }
        x += cellWidth;
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
