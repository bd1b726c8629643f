#include "engine/session/key_script.h"

#include "engine/chars/chars.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lesson {

namespace {

// "X,Y;" of a script's tap from chars[at]: the tap key, `at` left on the ";".
std::optional<std::string> tapInScript(const std::vector<std::string_view>& chars, std::size_t& at) {
    std::string body;
    std::size_t i = at;
    for (; i < chars.size() && chars[i] != ";"; ++i) body += chars[i];
    if (i == chars.size()) return std::nullopt;
    const std::optional<Point> p = tapPoint(kTapMark + body);
    if (!p) return std::nullopt;
    at = i;
    return tapKey(p->x, p->y);
}

}  // namespace

std::string tapKey(float x, float y) {
    // Nine significant digits read back as the same float.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%c%.9g,%.9g", kTapMark, static_cast<double>(x), static_cast<double>(y));
    return buf;
}

std::optional<Point> tapPoint(std::string_view key) {
    if (key.size() < 4 || key[0] != kTapMark) return std::nullopt;
    const std::string body(key.substr(1));
    const char* s = body.c_str();
    char* end = nullptr;
    Point p;
    p.x = std::strtof(s, &end);
    if (end == s || *end != ',') return std::nullopt;
    s = end + 1;
    p.y = std::strtof(s, &end);
    if (end == s || *end != '\0' || !std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
    return p;
}

std::vector<std::string> parseKeyScript(std::string_view script) {
    std::vector<std::string> keys;
    const auto chars = splitChars(script);
    std::optional<std::string> tap;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::string_view c = chars[i];
        if (c == "\n" || c == "\r") {
            keys.emplace_back("\r");
        } else if (c == "\\" && i + 1 < chars.size()) {
            const std::string_view next = chars[i + 1];
            if (next == "n" || next == "r") {
                keys.emplace_back("\r");
                ++i;
            } else if (next == "b") {
                keys.emplace_back("\b");
                ++i;
            } else if (next == "\\") {
                keys.emplace_back("\\");
                ++i;
            } else if (next == "<") {
                keys.emplace_back(kBackKey);
                ++i;
            } else if (next == ">") {
                keys.emplace_back(kForwardKey);
                ++i;
            } else if (std::size_t end = i + 2; next == "@" && (tap = tapInScript(chars, end))) {
                keys.push_back(std::move(*tap));
                i = end;
            } else {
                keys.emplace_back("\\");
            }
        } else {
            keys.emplace_back(c);
        }
    }
    return keys;
}

}  // namespace lesson
