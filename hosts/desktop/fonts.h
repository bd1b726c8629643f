#pragma once
// The installed fonts that draw the faces of the lesson pages (fontconfig
// and cairo): each family of the face table looked up once.

#include "engine/graphics/display_list.h"
#include "engine/graphics/faces.h"

#include <cairo.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace lesson {

class Fonts : public InkSource {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // A message naming every missing family and its package, or nothing when
    // every face of the table is installed.
    static std::optional<std::string> missingFont();

    cairo_font_face_t* face(std::string_view family, bool bold, bool italic);

protected:
    // A glyph's ink as the face's outline gives it.
    std::optional<GlyphInk> measureInk(std::string_view family, bool bold, bool italic, char32_t cp) override;

private:
    std::map<std::tuple<std::string, bool, bool>, cairo_font_face_t*> faces_;
};

}  // namespace lesson
