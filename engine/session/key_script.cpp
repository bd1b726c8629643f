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

// Points "X,Y X,Y ..." (a space or more between them), each number finite.
bool readInkPoints(const std::string& text, std::vector<Point>& points) {
    const char* s = text.c_str();
    for (;;) {
        while (*s == ' ') ++s;
        if (*s == '\0') return !points.empty();
        char* end = nullptr;
        Point p;
        p.x = std::strtof(s, &end);
        if (end == s || *end != ',') return false;
        s = end + 1;
        p.y = std::strtof(s, &end);
        if (end == s || (*end != ' ' && *end != '\0') || !std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        points.push_back(p);
        s = end;
    }
}

// "P:X,Y X,Y ...;", "u;" or "c;" of a script's ink item from chars[at]: its
// key, `at` left on the ";"; nothing when it is malformed.
std::optional<std::string> inkInScript(const std::vector<std::string_view>& chars, std::size_t& at) {
    std::string body;
    std::size_t i = at;
    for (; i < chars.size() && chars[i] != ";"; ++i) body += chars[i];
    if (i == chars.size() || body.empty()) return std::nullopt;
    InkAction action;
    action.pen = body[0];
    const bool alone = body.size() == 1 && (action.pen == kInkUndo || action.pen == kInkClear);
    if (!alone && (body.size() < 2 || body[1] != ':' || kInkPenLetters.find(action.pen) == std::string_view::npos ||
                   !readInkPoints(body.substr(2), action.points)))
        return std::nullopt;
    at = i;
    return inkKey(action);
}

// A malformed ink item as the script has it, cut short when long.
std::string quotedInk(const std::vector<std::string_view>& chars, std::size_t from) {
    constexpr std::size_t kShown = 40;
    std::string text = "\\~";
    std::size_t i = from;
    for (; i < chars.size() && i < from + kShown; ++i) {
        text += chars[i];
        if (chars[i] == ";") return text;
    }
    return i < chars.size() ? text + "..." : text;
}

}  // namespace

std::string inkKey(const InkAction& action) {
    std::string key{kInkMark, action.pen};
    char buf[64];
    for (std::size_t i = 0; i < action.points.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%.9g,%.9g", i ? " " : "", static_cast<double>(action.points[i].x),
                      static_cast<double>(action.points[i].y));
        key += buf;
    }
    return key;
}

std::optional<InkAction> inkOf(std::string_view key) {
    if (key.size() < 2 || key[0] != kInkMark) return std::nullopt;
    InkAction action;
    action.pen = key[1];
    if (action.pen == kInkUndo || action.pen == kInkClear) {
        if (key.size() != 2) return std::nullopt;
        return action;
    }
    if (kInkPenLetters.find(action.pen) == std::string_view::npos ||
        !readInkPoints(std::string(key.substr(2)), action.points))
        return std::nullopt;
    return action;
}

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

std::vector<std::string> parseKeyScript(std::string_view script, std::string* malformed) {
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
            } else if (next == "~") {
                end = i + 2;
                if (std::optional<std::string> ink = inkInScript(chars, end)) {
                    keys.push_back(std::move(*ink));
                } else {
                    if (malformed && malformed->empty()) *malformed = quotedInk(chars, i + 2);
                    // Left out up to its end, or the script's.
                    while (end < chars.size() && chars[end] != ";") ++end;
                }
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
