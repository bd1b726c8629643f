#include "hosts/desktop/fonts.h"

#include "engine/chars/chars.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace lesson {

namespace {

FcPattern* matchFamily(std::string_view family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    const std::string name(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

bool familyInstalled(std::string_view family) {
    FcPattern* match = matchFamily(family, false, false);
    if (!match) return false;
    bool found = false;
    FcChar8* got = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &got) == FcResultMatch; ++i) {
        if (std::string_view(reinterpret_cast<const char*>(got)) == family) found = true;
    }
    FcPatternDestroy(match);
    return found;
}

// Fonts objects alive: their faces hold on to the caches.
int liveFonts = 0;

// Fontconfig and cairo keep their font caches for the whole process; they
// are given back when it exits, after every layer is gone, so that a leak
// checker sees nothing of them. A process that exits with faces still alive
// (from deep inside a library) leaves them alone: cairo would abort.
void releaseFontCaches() {
    if (liveFonts > 0) return;
    cairo_debug_reset_static_data();
    FcFini();
}

void releaseFontCachesAtExit() {
    static const bool registered = std::atexit(releaseFontCaches) == 0;
    (void)registered;
}

}  // namespace

Fonts::Fonts() {
    releaseFontCachesAtExit();
    ++liveFonts;
    // The faces the pages draw with are looked up once at start-up, not in the
    // middle of the first page that needs them.
    const std::string_view gothic = faceRule("").family;
    face(gothic, true, false);
    face(gothic, false, false);
    face("Liberation Serif", true, true);
    face("DejaVu Sans", true, false);
}

Fonts::~Fonts() {
    for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
    --liveFonts;
}

std::optional<std::string> Fonts::missingFont() {
    releaseFontCachesAtExit();
    if (!FcInit()) return std::string("fontconfig could not be started; install it with: apt-get install fontconfig");
    // Every missing family at once, each with the package that installs it.
    std::string families, packages;
    for (const FaceRule& rule : faceRules()) {
        const std::string package(rule.package);
        if (packages.find(package) != std::string::npos || familyInstalled(rule.family)) continue;
        families += (families.empty() ? "\"" : ", \"") + std::string(rule.family) + "\"";
        packages += (packages.empty() ? "" : " ") + package;
    }
    if (families.empty()) return std::nullopt;
    const bool one = packages.find(' ') == std::string::npos;
    return std::string(one ? "the font " : "the fonts ") + families + (one ? " is" : " are") +
           " missing; install " + (one ? "it" : "them") + " with: apt-get install " + packages;
}

cairo_font_face_t* Fonts::face(std::string_view family, bool bold, bool italic) {
    const auto key = std::make_tuple(std::string(family), bold, italic);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    FcPattern* match = matchFamily(family, bold, italic);
    cairo_font_face_t* face = nullptr;
    if (match) {
        face = cairo_ft_font_face_create_for_pattern(match);
        FcPatternDestroy(match);
    } else {
        face = cairo_toy_font_face_create(std::string(family).c_str(),
                                          italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                          bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    }
    faces_[key] = face;
    return face;
}

std::optional<GlyphInk> Fonts::measureInk(std::string_view family, bool bold, bool italic, char32_t cp) {
    // Measured on an em of 1000 units, the outline as drawn, not fitted to pixels.
    constexpr double kEm = 1000;
    cairo_matrix_t size, device;
    cairo_matrix_init_scale(&size, kEm, kEm);
    cairo_matrix_init_identity(&device);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_scaled_font_t* font = cairo_scaled_font_create(face(family, bold, italic), &size, &device, options);
    cairo_font_options_destroy(options);
    std::optional<GlyphInk> ink;
    char utf8[5] = {0, 0, 0, 0, 0};
    encodeUtf8(cp, utf8);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_status(font) == CAIRO_STATUS_SUCCESS &&
        cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8, -1, &glyphs, &count, nullptr, nullptr, nullptr) ==
            CAIRO_STATUS_SUCCESS &&
        count == 1) {
        if (glyphs[0].index == 0) {
            ink = GlyphInk{0, 0, 0, 0};  // not in the face: nothing is drawn
        } else {
            cairo_text_extents_t e;
            cairo_scaled_font_glyph_extents(font, glyphs, 1, &e);
            ink = GlyphInk{static_cast<float>(e.x_bearing / kEm), static_cast<float>(e.y_bearing / kEm),
                           static_cast<float>((e.x_bearing + e.width) / kEm),
                           static_cast<float>((e.y_bearing + e.height) / kEm)};
        }
    }
    cairo_glyph_free(glyphs);
    cairo_scaled_font_destroy(font);
    return ink;
}

}  // namespace lesson
