#include "engine/chars/chars.h"

namespace lesson {

namespace {
bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
}  // namespace

std::size_t charLength(std::string_view s, std::size_t pos) {
    const auto b = static_cast<unsigned char>(s[pos]);
    std::size_t need = 1;
    if (b >= 0xC2 && b <= 0xDF) need = 2;
    else if (b >= 0xE0 && b <= 0xEF) need = 3;
    else if (b >= 0xF0 && b <= 0xF4) need = 4;
    if (need == 1 || pos + need > s.size()) return 1;
    for (std::size_t i = 1; i < need; ++i)
        if (!isContinuation(static_cast<unsigned char>(s[pos + i]))) return 1;
    // Reject overlong forms and surrogates so that every multi-byte piece is a real character.
    const auto b1 = static_cast<unsigned char>(s[pos + 1]);
    if (b == 0xE0 && b1 < 0xA0) return 1;
    if (b == 0xED && b1 >= 0xA0) return 1;
    if (b == 0xF0 && b1 < 0x90) return 1;
    if (b == 0xF4 && b1 >= 0x90) return 1;
    return need;
}

std::vector<std::string_view> splitChars(std::string_view s) {
    std::vector<std::string_view> out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t n = charLength(s, pos);
        out.push_back(s.substr(pos, n));
        pos += n;
    }
    return out;
}

int charCount(std::string_view s) {
    int n = 0;
    for (std::size_t pos = 0; pos < s.size(); pos += charLength(s, pos)) ++n;
    return n;
}

char32_t codePoint(std::string_view ch) {
    if (ch.empty()) return 0;
    const auto b = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return b < 0x80 ? b : 0xFFFD;
        // The six payload bits of continuation byte i.
    auto continuation = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(ch[i]) & 0x3F); };
    if (ch.size() == 2) return (static_cast<char32_t>(b & 0x1F) << 6) | continuation(1);
    if (ch.size() == 3) return (static_cast<char32_t>(b & 0x0F) << 12) | (continuation(1) << 6) | continuation(2);
    return (static_cast<char32_t>(b & 0x07) << 18) | (continuation(1) << 12) | (continuation(2) << 6) |
           continuation(3);
}

bool isSingleByte(std::string_view ch) {
    if (ch.size() <= 1) return true;
    const char32_t cp = codePoint(ch);
    return cp >= 0xFF61 && cp <= 0xFF9F;
}

std::string charSlice(std::string_view s, int first, int count) {
    std::string out;
    int index = 0;
    for (std::size_t pos = 0; pos < s.size() && count > 0;) {
        const std::size_t n = charLength(s, pos);
        if (index >= first) {
            out.append(s.substr(pos, n));
            --count;
        }
        ++index;
        pos += n;
    }
    return out;
}

int charFind(std::string_view s, std::string_view needle, int from) {
    int index = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t n = charLength(s, pos);
        if (index >= from && s.substr(pos, needle.size()) == needle) return index;
        ++index;
        pos += n;
    }
    return -1;
}

void encodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out[0] = static_cast<char>(0xF0 | (cp >> 18));
        out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace lesson
