#pragma once
// Font faces of the lesson pages. The programs ask for faces by the names of
// the classroom PC ("ゴシック", "ｺﾞｼｯｸ", "Times New Roman", "MT Extra"); this
// table maps each to a font that Debian installs, with the per-face numbers
// that put a glyph into its cell so that a formula reads as typeset maths.

#include <cairo.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace lesson {

struct FaceRule {
    std::string_view asked;      // face name as the lessons ask for it ("" = any other)
    std::string_view family;     // fontconfig family that draws it
    std::string_view package;    // Debian package that installs that family
    float baseline;              // baseline as a fraction of the cell height, from the cell top
    float widthScale;            // horizontal em as a fraction of the magnified size
    char32_t from, to;           // one character drawn by another (MT Extra: l as script ℓ)
};

// The face table. Every face name not listed falls to the last row.
const FaceRule& faceRule(std::string_view askedName);

class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // A message naming every missing family and its package, or nothing when
    // every face of the table is installed.
    static std::optional<std::string> missingFont();

    cairo_font_face_t* face(std::string_view family, bool bold, bool italic);

private:
    std::map<std::tuple<std::string, bool, bool>, cairo_font_face_t*> faces_;
};

}  // namespace lesson
