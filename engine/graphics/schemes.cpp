#include "engine/graphics/schemes.h"

#include "engine/graphics/output_file.h"
#include "engine/graphics/trace.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace lesson {

Rgb Scheme::inkColour(Rgb c) const {
    for (std::size_t i = 0; i < kInkColours.size(); ++i)
        if (kInkColours[i].r == c.r && kInkColours[i].g == c.g && kInkColours[i].b == c.b) return ink[i];
    return c;
}

const Scheme* findScheme(std::string_view name) {
    for (const Scheme& s : kSchemes)
        if (s.name == name) return &s;
    return nullptr;
}

const Scheme& nextScheme(const Scheme& scheme) {
    for (std::size_t i = 0; i < kSchemes.size(); ++i)
        if (&kSchemes[i] == &scheme) return kSchemes[(i + 1) % kSchemes.size()];
    return kSchemes[0];
}

std::string schemeNames() {
    std::string names;
    for (const Scheme& s : kSchemes) names += (names.empty() ? "" : ", ") + std::string(s.name);
    return names;
}

std::string hexColour(Rgb c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "#";
    for (std::uint8_t v : {c.r, c.g, c.b}) {
        out += kDigits[v >> 4];
        out += kDigits[v & 15];
    }
    return out;
}

std::string schemesJson() {
    std::string json = "{";
    for (const Scheme& s : kSchemes) {
        json += (json.size() > 1 ? ", " : "") + jsonString(s.name) + ": [";
        for (std::size_t i = 0; i < s.palette.size(); ++i) json += (i ? ", \"" : "\"") + hexColour(s.palette[i]) + "\"";
        json += "]";
    }
    return json + "}";
}

double relativeLuminance(Rgb c) {
    auto linear = [](std::uint8_t v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrastRatio(Rgb a, Rgb b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string schemeStatePath(const std::string& program) {
    const std::string folder = stateFolder(program);
    return folder.empty() ? std::string() : folder + "/scheme";
}

const Scheme* rememberedScheme(const std::string& program) {
    const std::string path = schemeStatePath(program);
    if (path.empty()) return nullptr;
    std::ifstream in(path);
    std::string name;
    if (!std::getline(in, name)) return nullptr;
    return findScheme(name);
}

std::optional<std::string> rememberScheme(const std::string& program, const Scheme& scheme) {
    const std::string path = schemeStatePath(program);
    if (path.empty()) return std::string("no home folder to keep it in");
    const std::string folder = path.substr(0, path.rfind('/'));
    if (!makeFolders(folder)) return folder + ": " + std::strerror(errno);
    return writeWholeFile(path, std::string(scheme.name) + "\n");
}

}  // namespace lesson
