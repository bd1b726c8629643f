#pragma once
// What is still visible on the page, in drawing order, with the teacher's ink
// over it, and the rules every
// renderer of it shares: the cell each character of a text takes, the bounds
// of a command, and which white redraws erase (drawn a little wider so that
// no anti-aliased fringe of the first picture survives). The window, the
// screenshot, the PDF pages, the handout and the browser's canvas all draw
// the page from this one list.

#include "engine/graphics/commands.h"
#include "engine/session/place.h"
#include "engine/graphics/ink.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace lesson {

inline constexpr float kPageWidth = 1344;
inline constexpr float kPageHeight = 720;
// The prompt band along the bottom of the page, where the prompts and the
// sub-menu line stand.
inline constexpr float kPromptBandTop = 639;
inline constexpr float kPromptBandBottom = 720;

// How many device pixels an erasing redraw reaches past the picture it
// erases (on each side of a stroke, around each glyph).
inline constexpr double kEraseSpreadPixels = 2.5;

// Bounding box of a command in logical units, generous enough to hold its
// anti-aliased edges and glyph overhangs.
LogicalBox commandBounds(const DrawCommand& cmd);

// A command, or the layer's font, in bytes and back.
void saveFont(ByteWriter& w, const FontState& font);
FontState loadFont(ByteReader& r);
void saveCommand(ByteWriter& w, const DrawCommand& cmd);
DrawCommand loadCommand(ByteReader& r);

// The advance of one character of a text command: half a cell for a
// single-byte character, a whole cell for the others, times the
// magnification. Every renderer steps glyph by glyph with it.
float cellAdvance(const DrawCommand& cmd, std::string_view ch);
float textCellsWidth(const DrawCommand& cmd);

// Drawn wholly in white: a wipe (or white on a fill the command does not paint).
bool drawnInWhite(const DrawCommand& cmd);

// The ink of one glyph: the box its outline fills, in ems of its face, from
// its origin on the baseline (x to the right, y down).
struct GlyphInk {
    float x0, y0, x1, y1;
};

// Where the display list learns the glyphs' ink: each host measures it in
// the fonts it draws with, each glyph once. Nothing (an unknown glyph) keeps
// the glyph.
class InkSource {
public:
    virtual ~InkSource() = default;
    std::optional<GlyphInk> glyphInk(std::string_view family, bool bold, bool italic, char32_t cp);

protected:
    virtual std::optional<GlyphInk> measureInk(std::string_view family, bool bold, bool italic, char32_t cp) = 0;

private:
    std::map<std::string, std::map<std::tuple<bool, bool, char32_t>, std::optional<GlyphInk>>, std::less<>> measured_;
};

class DisplayList {
public:
    struct Entry {
        DrawCommand cmd;
        bool erase;         // a white redraw that erases: widened when drawn
        LogicalBox bounds;  // on the page
        int coats;          // times it is drawn (the same picture drawn on itself)
        // A text whose other glyphs a box covered keeps its visible glyphs as
        // runs of their own, each at its cells; a white redraw of the text as
        // it was drawn still erases them.
        std::shared_ptr<const DrawCommand> cutFrom = nullptr;
    };

    // The glyphs' ink, for telling a glyph a box covers wholly (it leaves the
    // page, and the PDF's text) from one it covers in part (it stays). With
    // none, a text leaves only when a box covers all of it.
    void setInk(InkSource* ink) { ink_ = ink; }

    // Takes one command of the stream. Returns nothing when there is nothing
    // to draw (a pause, a picture wholly off the page); else whether it is
    // drawn as an erasing redraw. The layer's clear empties the list and
    // makes the page's ground the clear colour.
    std::optional<bool> add(const DrawCommand& cmd);
    // The page as before the first command.
    void reset();
    // The page in bytes, for the place kept across a reopening, and back
    // (the glyphs' ink source stays the list's own).
    void save(ByteWriter& w) const;
    void load(ByteReader& r);  // throws PlaceUnreadable

    // The teacher's ink, over everything the page draws: it stays through the
    // page's steps and goes with the page when the page is cleared (the
    // layer's clear, or a white box that clears the page). Returns the part
    // of the page the action changed, or nothing.
    std::optional<LogicalBox> applyInk(const InkAction& action) { return strokes_.apply(action); }
    const PageInk& inkStrokes() const { return strokes_; }
    // Whether ink lies in the area: a command drawn there is drawn under it.
    bool inkTouches(const LogicalBox& area) const { return strokes_.touches(area); }
    // The page in the order every host draws it: the entries, then the ink
    // over them; only what lies in the area, when one is given.
    void forEachDrawn(const LogicalBox* area, const std::function<void(const Entry&)>& entry,
                      const std::function<void(const InkStroke&)>& stroke) const;

    // A white box from the page's corner that covers everything on the page
    // other than white: the lessons' page clears, whatever their size.
    bool clearedBy(const DrawCommand& box) const;
    // Nothing but white on the page above y (its top part).
    bool blankAbove(float y = kPageHeight) const;

    const std::vector<Entry>& entries() const { return entries_; }
    bool cleared() const { return cleared_; }
    std::size_t size() const { return entries_.size(); }

private:
    bool drawnBefore(const DrawCommand& cmd) const;
    void remember(const DrawCommand& cmd, bool erase);
    void dropCoveredGlyphs(const LogicalBox& painted);
    bool glyphCovered(const DrawCommand& text, float x, std::string_view ch, const LogicalBox& painted) const;

    // What a later opaque box covers, or a white redraw erases, is dropped,
    // so the list's length follows the page, not the hours the program has run.
    std::vector<Entry> entries_;
    bool cleared_ = false;  // the layer's clear painted the page; a redraw starts from it
    InkSource* ink_ = nullptr;
    PageInk strokes_;
};

}  // namespace lesson
