#include "engine/graphics/faces.h"

#include <array>

namespace lesson {

namespace {

// The gothic face: a universal-design gothic whose half-width zero is plain
// (not slashed like "Ø") and whose point stands clear of the digits on both
// sides, so that "20" and "0.3" read as numbers from the back of a room.
constexpr std::string_view kGothic = "BIZ UDGothic";
constexpr std::string_view kGothicPackage = "fonts-morisawa-bizud-gothic";

// asked name        family            package                  baseline width  from  to
constexpr std::array<FaceRule, 5> kFaces = {{
    {"ゴシック",        kGothic,          kGothicPackage,          0.86f, 1.00f, 0, 0},
    {"ｺﾞｼｯｸ",           kGothic,          kGothicPackage,          0.86f, 1.00f, 0, 0},
    {"Times New Roman", "Liberation Serif", "fonts-liberation",   1.10f, 0.62f, 0, 0},
    {"MT Extra",        "DejaVu Sans",    "fonts-dejavu-core",     0.88f, 0.75f, U'l', U'\u2113'},
    {"",                kGothic,          kGothicPackage,          0.86f, 1.00f, 0, 0},
}};

// family             page name        italic
constexpr std::array<PageFamily, 3> kPageFamilies = {{
    {"Liberation Serif", "Lesson Serif",  true},
    {"DejaVu Sans",      "Lesson Sans",   false},
    {kGothic,            "Lesson Gothic", false},
}};

}  // namespace

const FaceRule& faceRule(std::string_view askedName) {
    for (const FaceRule& rule : kFaces)
        if (rule.asked == askedName) return rule;
    return kFaces.back();
}

std::span<const FaceRule> faceRules() { return kFaces; }

const PageFamily& pageFamily(std::string_view family) {
    for (const PageFamily& f : kPageFamilies)
        if (f.family == family) return f;
    return kPageFamilies.back();
}

}  // namespace lesson
