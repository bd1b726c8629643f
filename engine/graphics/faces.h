#pragma once
// Font faces of the lesson pages. The programs ask for faces by the names of
// the classroom PC ("ゴシック", "ｺﾞｼｯｸ", "Times New Roman", "MT Extra"); this
// table maps each to a font family, with the per-face numbers that put a
// glyph into its cell so that a formula reads as typeset maths. Every
// renderer draws text by it.

#include <span>
#include <string_view>

namespace lesson {

struct FaceRule {
    std::string_view asked;      // face name as the lessons ask for it ("" = any other)
    std::string_view family;     // font family that draws it
    std::string_view package;    // Debian package that installs that family
    float baseline;              // baseline as a fraction of the cell height, from the cell top
    float widthScale;            // horizontal em as a fraction of the magnified size
    char32_t from, to;           // one character drawn by another (MT Extra: l as script ℓ)
};

// A family the face table draws with, as a browser page embeds it: under a
// name of its own, upright or italic, in regular and bold weight.
struct PageFamily {
    std::string_view family;    // font family of the face table
    std::string_view pageName;  // the name the page's fonts go by
    bool italic;                // drawn italic (else upright)
};

// The face table. Every face name not listed falls to the last row.
const FaceRule& faceRule(std::string_view askedName);
std::span<const FaceRule> faceRules();
// The page's name of a family of the face table (the last row's for any other).
const PageFamily& pageFamily(std::string_view family);

// The character a face draws for cp (its substitution applied).
inline char32_t drawnCharacter(const FaceRule& rule, char32_t cp) {
    return rule.from != 0 && cp == rule.from ? rule.to : cp;
}
// Characters that take their cell but leave it blank.
inline bool blankCharacter(char32_t cp) { return cp <= U' ' || cp == 0x7F || cp == 0x3000 || cp == 0xFFFD; }

}  // namespace lesson
