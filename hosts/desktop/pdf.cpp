#include "hosts/desktop/pdf.h"

#include "engine/graphics/output_file.h"
#include "hosts/desktop/raster.h"

#include <cairo-pdf.h>

#include <algorithm>

namespace lesson {

PdfBook::PdfBook(Fonts& fonts, const Scheme& scheme) {
    surface_ = cairo_pdf_surface_create_for_stream(
        [](void* out, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes_, kPageWidth, kPageHeight);
    drawer_ = std::make_unique<Raster>(fonts, surface_, static_cast<int>(kPageWidth), static_cast<int>(kPageHeight));
    drawer_->setScheme(scheme);
}

PdfBook::~PdfBook() {
    drawer_.reset();
    if (surface_) cairo_surface_destroy(surface_);
}

void PdfBook::addPage(const DisplayList& page) {
    if (!surface_) return;
    if (pages_ > 0) drawer_->nextPage();
    drawer_->paint(page);
    ++pages_;
}

std::optional<std::string> PdfBook::write(const std::string& path) {
    if (!surface_) return std::string("the document was already written");
    drawer_.reset();  // the last page (a blank one when none was added) ends with the document
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (status != CAIRO_STATUS_SUCCESS) return std::string(cairo_status_to_string(status));
    return writeWholeFile(path, bytes_);
}

std::optional<std::string> writePagePdf(Fonts& fonts, const DisplayList& page, const std::string& path,
                                        const Scheme& scheme) {
    PdfBook book(fonts, scheme);
    book.addPage(page);
    return book.write(path);
}

void HandoutSink::takePage(const DisplayList& shown) {
    // A page with nothing to read above the prompt band (the sub-menu line
    // alone, on the blank screen of a section without aims) is no screen.
    if (!shown.blankAbove(kPromptBandTop)) book_.addPage(shown);
}

void HandoutSink::draw(const DrawCommand& cmd) {
    if (cmd.op == DrawCommand::Op::Pause) return;
    const DisplayList& page = page_.get();
    if (cmd.op == DrawCommand::Op::Cls || page.clearedBy(cmd)) {
        takePage(beforeWipes_ ? *beforeWipes_ : page);
        beforeWipes_.reset();
    } else if (drawnInWhite(cmd)) {
        if (!beforeWipes_) beforeWipes_ = page;
    } else {
        beforeWipes_.reset();
    }
}

void HandoutSink::ink(const InkAction& action) {
    if (beforeWipes_) beforeWipes_->applyInk(action);
}

std::optional<std::string> HandoutSink::write(const std::string& path) {
    takePage(page_.get());
    return book_.write(path);
}

}  // namespace lesson
