#include "engine/graphics/display_list.h"

#include "engine/graphics/faces.h"
#include "engine/graphics/palette.h"
#include "engine/chars/chars.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace lesson {

namespace {

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

// A text cut into runs is matched as it was drawn.
const DrawCommand& drawnAs(const DisplayList::Entry& e) { return e.cutFrom ? *e.cutFrom : e.cmd; }

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

// Coats of one picture kept in the display list (see DisplayList::remember).
constexpr int kMaxCoats = 4;

// A box's edges are laid on whole device pixels, up to half of one inside
// its corners, and a glyph drawn fitted to the pixels may reach a little
// past its outline: a glyph is under a box when its ink and this much more
// lie under it (at a page's size or larger).
constexpr float kInkFringe = 1;

}  // namespace

float cellAdvance(const DrawCommand& cmd, std::string_view ch) {
    return cmd.mx * cmd.font.size * (isSingleByte(ch) ? 0.5f : 1.0f);
}

float textCellsWidth(const DrawCommand& cmd) {
    float w = 0;
    for (std::string_view ch : splitChars(cmd.text)) w += cellAdvance(cmd, ch);
    return w;
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

namespace {

// Where a command draws, without the margins of commandBounds: a text its cells.
LogicalBox drawnBox(const DrawCommand& cmd) {
    switch (cmd.op) {
        case DrawCommand::Op::Line:
        case DrawCommand::Op::Box:
            return {std::min(cmd.x1, cmd.x2), std::min(cmd.y1, cmd.y2), std::max(cmd.x1, cmd.x2),
                    std::max(cmd.y1, cmd.y2)};
        case DrawCommand::Op::Circle: {
            const float r = std::fabs(cmd.r);
            return {cmd.x1 - r, cmd.y1 - r, cmd.x1 + r, cmd.y1 + r};
        }
        case DrawCommand::Op::Polyline: {
            LogicalBox b{1e30f, 1e30f, -1e30f, -1e30f};
            for (const Point& p : cmd.points)
                b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
            return b;
        }
        case DrawCommand::Op::Text:
            return {cmd.x1, cmd.y1, cmd.x1 + textCellsWidth(cmd), cmd.y1 + cmd.my * cmd.font.size};
        default:
            return commandBounds(cmd);
    }
}

}  // namespace

bool drawnInWhite(const DrawCommand& cmd) {
    return cmd.op != DrawCommand::Op::Pause && cmd.op != DrawCommand::Op::Cls && isErase(cmd);
}

bool DisplayList::clearedBy(const DrawCommand& box) const {
    if (box.op != DrawCommand::Op::Box || !isErase(box)) return false;
    const float half = std::max(0.0f, box.pen) / 2;
    const float right = std::max(box.x1, box.x2) + half, bottom = std::max(box.y1, box.y2) + half;
    if (std::min(box.x1, box.x2) - half > 0 || std::min(box.y1, box.y2) - half > 0) return false;
    return std::all_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
        if (isErase(e.cmd)) return true;
        const LogicalBox drawn = drawnBox(e.cmd);
        return std::min(drawn.x1, kPageWidth) <= right && std::min(drawn.y1, kPageHeight) <= bottom;
    });
}

bool DisplayList::blankAbove(float y) const {
    return !cleared_ && std::all_of(entries_.begin(), entries_.end(),
                                    [y](const Entry& e) { return isErase(e.cmd) || drawnBox(e.cmd).y0 >= y; });
}

std::optional<bool> DisplayList::add(const DrawCommand& cmd) {
    if (cmd.op == DrawCommand::Op::Pause) return std::nullopt;
    if (cmd.op == DrawCommand::Op::Cls) {
        entries_.clear();
        strokes_.clear();
        cleared_ = true;
        return false;
    }
    if (!onPage(commandBounds(cmd))) return std::nullopt;  // clipped away
    if (clearedBy(cmd)) strokes_.clear();  // the page cleared for the next one
    // A white box, or a picture drawn again in white where it stood, erases.
    // White text on a coloured fill is drawn as it is.
    const bool erase = isErase(cmd) && (cmd.op == DrawCommand::Op::Box || drawnBefore(cmd));
    remember(cmd, erase);
    return erase;
}

void DisplayList::reset() {
    entries_.clear();
    strokes_.clear();
    cleared_ = false;
}

void saveFont(ByteWriter& w, const FontState& font) {
    w.text(font.name);
    w.real(font.size);
    w.flag(font.bold);
    w.flag(font.italic);
}

FontState loadFont(ByteReader& r) {
    FontState font;
    font.name = r.text();
    font.size = r.real();
    font.bold = r.flag();
    font.italic = r.flag();
    return font;
}

void saveCommand(ByteWriter& w, const DrawCommand& cmd) {
    w.number(static_cast<std::uint64_t>(cmd.op));
    for (float f : {cmd.x1, cmd.y1, cmd.x2, cmd.y2, cmd.r, cmd.start, cmd.end, cmd.pen}) w.real(f);
    w.signedNumber(cmd.color);
    w.signedNumber(cmd.fill);
    w.number(cmd.points.size());
    for (const Point& p : cmd.points) {
        w.real(p.x);
        w.real(p.y);
    }
    w.text(cmd.text);
    w.signedNumber(cmd.mx);
    w.signedNumber(cmd.my);
    saveFont(w, cmd.font);
}

DrawCommand loadCommand(ByteReader& r) {
    DrawCommand cmd;
    const std::uint64_t op = r.number();
    if (op > static_cast<std::uint64_t>(DrawCommand::Op::Pause)) throw PlaceUnreadable("no such drawing");
    cmd.op = static_cast<DrawCommand::Op>(op);
    for (float* f : {&cmd.x1, &cmd.y1, &cmd.x2, &cmd.y2, &cmd.r, &cmd.start, &cmd.end, &cmd.pen}) *f = r.real();
    cmd.color = r.integer();
    cmd.fill = r.integer();
    cmd.points.resize(r.count(r.left() / 8));
    for (Point& p : cmd.points) {
        p.x = r.real();
        p.y = r.real();
    }
    cmd.text = r.text();
    cmd.mx = r.integer();
    cmd.my = r.integer();
    cmd.font = loadFont(r);
    return cmd;
}

void DisplayList::save(ByteWriter& w) const {
    w.flag(cleared_);
    w.number(entries_.size());
    for (const Entry& e : entries_) {
        saveCommand(w, e.cmd);
        w.flag(e.erase);
        for (float f : {e.bounds.x0, e.bounds.y0, e.bounds.x1, e.bounds.y1}) w.real(f);
        w.number(static_cast<std::uint64_t>(e.coats));
        w.flag(e.cutFrom != nullptr);
        if (e.cutFrom) saveCommand(w, *e.cutFrom);
    }
    strokes_.save(w);
}

void DisplayList::load(ByteReader& r) {
    cleared_ = r.flag();
    std::vector<Entry> entries(r.count(r.left()));
    for (Entry& e : entries) {
        e.cmd = loadCommand(r);
        e.erase = r.flag();
        for (float* f : {&e.bounds.x0, &e.bounds.y0, &e.bounds.x1, &e.bounds.y1}) *f = r.real();
        e.coats = static_cast<int>(r.count(kMaxCoats));
        if (r.flag()) e.cutFrom = std::make_shared<const DrawCommand>(loadCommand(r));
    }
    strokes_.load(r);
    entries_ = std::move(entries);
}

void DisplayList::forEachDrawn(const LogicalBox* area, const std::function<void(const Entry&)>& entry,
                               const std::function<void(const InkStroke&)>& stroke) const {
    for (const Entry& e : entries_)
        if (!area || overlaps(e.bounds, *area)) entry(e);
    for (const auto& s : strokes_.strokes())
        if (!area || overlaps(s->bounds, *area)) stroke(*s);
}

bool DisplayList::drawnBefore(const DrawCommand& cmd) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (paletteIndex(it->cmd.color) != kWhite && sameGeometry(drawnAs(*it), cmd)) return true;
    return false;
}

void DisplayList::remember(const DrawCommand& cmd, bool erase) {
    if (isOpaqueBox(cmd)) {
        // What a filled box covers is gone for good. Only the part of an entry
        // on the page counts (the rest is clipped away), and a box edge that
        // reaches the page's edge covers up to it.
        const float half = std::max(0.0f, cmd.pen) / 2;
        const float left = std::min(cmd.x1, cmd.x2), right = std::max(cmd.x1, cmd.x2);
        const float top = std::min(cmd.y1, cmd.y2), bottom = std::max(cmd.y1, cmd.y2);
        constexpr float kFar = 1e30f;
        const LogicalBox painted{left - half <= 0 ? -kFar : left - half, top - half <= 0 ? -kFar : top - half,
                                 right + half >= kPageWidth ? kFar : right + half,
                                 bottom + half >= kPageHeight ? kFar : bottom + half};
        // A whole picture is gone when its bounds lie a unit inside the box's own corners.
        const LogicalBox cover{painted.x0 + half + 1, painted.y0 + half + 1, painted.x1 - half - 1,
                               painted.y1 - half - 1};
        std::erase_if(entries_, [&](const Entry& old) { return inside(old.bounds, cover); });
        // A box that this one paints over wholly is gone too (the prompt's
        // wipe drawn again at every wait, a drill's area blanked for every
        // problem): the list's length follows the page, not the problems
        // drilled. An erasing box reaches past its corners, so only an
        // erasing box paints over all of it.
        const LogicalBox own{left - half, top - half, right + half, bottom + half};
        std::erase_if(entries_, [&](const Entry& old) {
            if (!isOpaqueBox(old.cmd) || (old.erase && !erase)) return false;
            const float oldHalf = std::max(0.0f, old.cmd.pen) / 2;
            return inside({std::min(old.cmd.x1, old.cmd.x2) - oldHalf, std::min(old.cmd.y1, old.cmd.y2) - oldHalf,
                           std::max(old.cmd.x1, old.cmd.x2) + oldHalf, std::max(old.cmd.y1, old.cmd.y2) + oldHalf},
                          own);
        });
        dropCoveredGlyphs(painted);
    }
    if (erase && cmd.op != DrawCommand::Op::Box) {
        // A picture drawn again in white is gone: drop its earlier drawings.
        std::erase_if(entries_, [&](const Entry& old) { return sameGeometry(drawnAs(old), cmd); });
    }
    if (!entries_.empty() && identical(entries_.back().cmd, cmd)) {
        // The same picture drawn again on itself (the entry cursor while keys
        // arrive): only its anti-aliased edges change, and they are solid
        // after a few coats, so a few are kept and the rest counted away.
        Entry& last = entries_.back();
        last.coats = std::min(last.coats + 1, kMaxCoats);
        return;
    }
    entries_.push_back({cmd, erase, visiblePart(commandBounds(cmd)), 1});
}

std::optional<GlyphInk> InkSource::glyphInk(std::string_view family, bool bold, bool italic, char32_t cp) {
    auto face = measured_.find(family);
    if (face == measured_.end()) face = measured_.emplace(std::string(family), decltype(face->second){}).first;
    const auto glyph = std::make_tuple(bold, italic, cp);
    if (auto it = face->second.find(glyph); it != face->second.end()) return it->second;
    return face->second.emplace(glyph, measureInk(family, bold, italic, cp)).first->second;
}

bool DisplayList::glyphCovered(const DrawCommand& text, float x, std::string_view ch, const LogicalBox& painted) const {
    const FaceRule& rule = faceRule(text.font.name);
    const char32_t cp = drawnCharacter(rule, codePoint(ch));
    const float across = text.mx * text.font.size * rule.widthScale, height = text.my * text.font.size;
    if (blankCharacter(cp)) return inside({x, text.y1, x + cellAdvance(text, ch), text.y1 + height}, painted);
    const std::optional<GlyphInk> ink = ink_ ? ink_->glyphInk(rule.family, text.font.bold, text.font.italic, cp)
                                             : std::nullopt;
    if (!ink) return false;
    const float baseline = text.y1 + rule.baseline * height;
    return inside({x + ink->x0 * across - kInkFringe, baseline + ink->y0 * height - kInkFringe,
                   x + ink->x1 * across + kInkFringe, baseline + ink->y1 * height + kInkFringe},
                  painted);
}

void DisplayList::dropCoveredGlyphs(const LogicalBox& painted) {
    // A glyph wholly under the box is no longer on the page (nor in a PDF's
    // text); the glyphs of the text still visible stay, each at its cells.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        const DrawCommand& text = entry.cmd;
        const LogicalBox& b = entry.bounds;
        if (text.op != DrawCommand::Op::Text || !(b.x1 > painted.x0 && b.x0 < painted.x1 && b.y1 > painted.y0 &&
                                                  b.y0 < painted.y1))
            continue;
        struct Run {
            float x;
            std::string text;
            bool ink = false;  // not blank characters only
        };
        std::vector<Run> runs;
        bool covered = false, open = false;
        float x = text.x1;
        for (std::string_view ch : splitChars(text.text)) {
            if (glyphCovered(text, x, ch, painted)) {
                covered = true;
                open = false;
            } else {
                if (!open) runs.push_back({x, {}});
                open = true;
                runs.back().text += ch;
                runs.back().ink = runs.back().ink || !blankCharacter(codePoint(ch));
            }
            x += cellAdvance(text, ch);
        }
        if (!covered) continue;
        const auto whole = entry.cutFrom ? entry.cutFrom : std::make_shared<const DrawCommand>(text);
        std::vector<Entry> parts;
        for (Run& run : runs) {
            if (!run.ink) continue;
            DrawCommand part = text;
            part.x1 = run.x;
            part.text = std::move(run.text);
            const LogicalBox bounds = visiblePart(commandBounds(part));
            parts.push_back({std::move(part), entry.erase, bounds, entry.coats, whole});
        }
        // The text gives way to its visible runs, which the loop passes over.
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), std::make_move_iterator(parts.begin()),
                        std::make_move_iterator(parts.end()));
        i = i + parts.size() - 1;  // wraps to one before i when nothing is left, as the loop's step wants
    }
}

}  // namespace lesson
