// The colour schemes: legibility measured on every scheme's colours, the
// lesson's parts kept apart (also as a pupil with red-green colour blindness
// sees them), and the choice remembered in the state folder.

#include "engine/graphics/schemes.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>

using namespace lesson;

namespace {

using Vec = std::array<double, 3>;
using Matrix = std::array<Vec, 3>;

double linear(std::uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

// Dichromats' vision in linear RGB (Machado, Oliveira and Fernandes 2009, severity 1).
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// CIELAB (D65) of a colour as seen through a vision matrix.
Vec labSeen(Rgb c, const Matrix& vision) {
    const Vec rgb = {linear(c.r), linear(c.g), linear(c.b)};
    Vec v{};
    for (int i = 0; i < 3; ++i)
        v[i] = std::clamp(vision[i][0] * rgb[0] + vision[i][1] * rgb[1] + vision[i][2] * rgb[2], 0.0, 1.0);
    const double x = (0.4124 * v[0] + 0.3576 * v[1] + 0.1805 * v[2]) / 0.95047;
    const double y = 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2];
    const double z = (0.0193 * v[0] + 0.1192 * v[1] + 0.9505 * v[2]) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double difference(Rgb a, Rgb b, const Matrix& vision) {
    const Vec p = labSeen(a, vision), q = labSeen(b, vision);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Parts a pupil tells apart at a glance: a colour difference (CIE 1976) of 20 or more.
constexpr double kApart = 20;

}  // namespace

TEST(Schemes, EveryPairingReadsAndThePartsStayApart) {
    for (const Scheme& s : kSchemes) {
        SCOPED_TRACE(std::string(s.name));
        // The normal scheme is the page as it always was: it meets the
        // pairings its palette was chosen for, and stays as it is where it
        // falls short of the rest. Every other scheme meets all of it.
        const bool normal = &s == &normalScheme();
        auto readable = [&](std::span<const ColourPairing> pairings) {
            for (const ColourPairing& p : pairings)
                EXPECT_GE(contrastRatio(s.colour(p.front), s.colour(p.back)), 4.5)
                    << "text " << p.front << " on " << p.back;
        };
        readable(kPaletteTextPairings);
        if (!normal) readable(kMoreTextPairings);
        const std::initializer_list<const Matrix*> visions = {&kIdentity, &kDeuteranopia, &kProtanopia};
        for (const Matrix* vision : visions) {
            if (normal && vision != &kIdentity) continue;
            for (std::size_t i = 0; i < std::size(kLessonParts); ++i)
                for (std::size_t j = i + 1; j < std::size(kLessonParts); ++j)
                    EXPECT_GE(difference(s.colour(kLessonParts[i]), s.colour(kLessonParts[j]), *vision), kApart)
                        << "parts " << kLessonParts[i] << " and " << kLessonParts[j] << " in vision "
                        << (vision == &kIdentity ? "normal" : vision == &kDeuteranopia ? "deuteranopia" : "protanopia");
        }
        if (normal) continue;
        for (int line : kLinesOnGround) EXPECT_GE(contrastRatio(s.colour(line), s.ground()), 3.0) << "line " << line;
        // The pen's inks show on the ground (the marker is drawn under text, translucent).
        for (std::size_t i = 0; i < kInkColours.size(); ++i) {
            if (i == kMarkerInk) continue;
            EXPECT_GE(contrastRatio(s.inkColour(kInkColours[i]), s.ground()), 3.0) << "ink " << i;
        }
    }
}

TEST(Schemes, TheChoiceIsRememberedInTheStateFolderOrNotAtAll) {
    namespace fs = std::filesystem;
    const fs::path state = testing_support::tempPath("state");
    const char* before = std::getenv("XDG_STATE_HOME");
    const std::string saved = before ? before : "";
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);

    EXPECT_EQ(rememberedScheme("solvara"), nullptr);  // nothing yet, the folder not there
    const Scheme& chalk = nextScheme(nextScheme(nextScheme(normalScheme())));
    EXPECT_EQ(chalk.name, "chalk");
    EXPECT_EQ(&nextScheme(chalk), &normalScheme());
    EXPECT_EQ(rememberScheme("solvara", chalk), std::nullopt);
    EXPECT_EQ(rememberedScheme("solvara"), &chalk);
    EXPECT_EQ(rememberedScheme("ratiora"), nullptr);  // one choice per program
    for (const auto& entry : fs::directory_iterator(state / "solvara"))
        EXPECT_EQ(entry.path().filename(), "scheme");  // no temporary file left beside it

    // A name that is no scheme is not taken; a folder that cannot be
    // written tells why and keeps the choice before.
    std::ofstream(state / "solvara" / "scheme") << "sepia\n";
    EXPECT_EQ(rememberedScheme("solvara"), nullptr);
    std::ofstream(state / "solvara" / "scheme") << "dark\n";
    ::chmod((state / "solvara").c_str(), 0500);
    if (::access((state / "solvara").c_str(), W_OK) != 0) {  // not when the tests run as root
        EXPECT_NE(rememberScheme("solvara", chalk), std::nullopt);
        EXPECT_EQ(rememberedScheme("solvara")->name, "dark");
    }
    ::chmod((state / "solvara").c_str(), 0700);
    fs::remove_all(state);
    if (before) ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_STATE_HOME");
}
