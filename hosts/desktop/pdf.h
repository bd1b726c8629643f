#pragma once
// The page in vectors: a PDF of 1344 x 720 points drawn from the page's
// display list, its text as real glyphs of the embedded fonts. A handout
// is a PDF of every screen shown, one page each.

#include "engine/graphics/display_list.h"
#include "engine/graphics/schemes.h"

#include <cairo.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lesson {

class Fonts;
class Raster;

// A PDF built in memory, page by page, and written whole at the end.
class PdfBook {
public:
    // Paper is white: the normal scheme, unless one was asked for.
    explicit PdfBook(Fonts& fonts, const Scheme& scheme = normalScheme());
    ~PdfBook();
    PdfBook(const PdfBook&) = delete;
    PdfBook& operator=(const PdfBook&) = delete;

    // One more page: what the display list holds.
    void addPage(const DisplayList& page);
    int pages() const { return pages_; }
    // Ends the document and writes it to path: why it could not be written
    // whole, or nothing. Only once.
    std::optional<std::string> write(const std::string& path);

private:
    std::string bytes_;
    cairo_surface_t* surface_ = nullptr;
    std::unique_ptr<Raster> drawer_;
    int pages_ = 0;
};

// The PDF of a single page.
std::optional<std::string> writePagePdf(Fonts& fonts, const DisplayList& page, const std::string& path,
                                        const Scheme& scheme = normalScheme());

// Sees every command before the page's display list does. A screen ends at
// the layer's clear, or at a white box from the page's corner that covers
// everything on the page; the page becomes a handout page as it stood before
// the first of the wipes that led up to that clear (the menu blanks the page
// area before the whole page, some pages clear twice, or wipe the prompt band
// first). A page with nothing but white above the prompt band is no screen
// and is left out.
class HandoutSink : public DrawSink {
public:
    HandoutSink(Fonts& fonts, const DisplayList& page, const Scheme& scheme = normalScheme())
        : book_(fonts, scheme), page_(page) {}
    void draw(const DrawCommand& cmd) override;
    // Ink drawn while wipes stand: the screen taken before them shows it too.
    void ink(const InkAction& action) override;
    // The last screen, as it stands, and the file.
    std::optional<std::string> write(const std::string& path);
    int pages() const { return book_.pages(); }

private:
    void takePage(const DisplayList& shown);
    PdfBook book_;
    std::reference_wrapper<const DisplayList> page_;
    std::optional<DisplayList> beforeWipes_;  // the page before the wipes drawn since anything else
};

}  // namespace lesson
