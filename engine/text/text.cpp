#include "engine/text/text.h"

#include "engine/chars/chars.h"
#include "engine/text/layout_state.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace lesson {

namespace {

// The two conversion tables, single-byte character on the left. The first is
// searched first; its result is then looked up in the second.
constexpr std::array<std::pair<std::string_view, std::string_view>, 27> kFirstTable = {{
    {" ", "　"}, {"X", "Ｘ"}, {"Y", "Ｙ"}, {"A", "Α"}, {"B", "Ｂ"}, {"C", "Ｃ"}, {"D", "Ｄ"},
    {"E", "Ｅ"}, {"F", "Ｆ"}, {"G", "Ｇ"}, {"H", "Ｈ"}, {"I", "Ｉ"}, {"J", "Ｊ"}, {"K", "Ｋ"},
    {"L", "Ｌ"}, {"M", "Ｍ"}, {"N", "Ｎ"}, {"O", "Ｏ"}, {"P", "Ｐ"}, {"Q", "Ｑ"}, {"R", "Ｒ"},
    {"S", "Ｓ"}, {"T", "Ｔ"}, {"U", "Ｕ"}, {"V", "Ｖ"}, {"W", "Ｗ"}, {"Z", "Ｚ"},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 60> kSecondTable = {{
    {" ", "　"}, {"0", "０"}, {"1", "１"}, {"2", "２"}, {"3", "３"}, {"4", "４"}, {"5", "５"},
    {"6", "６"}, {"7", "７"}, {"8", "８"}, {"9", "９"}, {" ", "　"}, {"*", "×"}, {"/", "÷"},
    {"+", "＋"}, {"-", "－"}, {"ﾀ", "―"}, {"=", "＝"}, {".", "．"}, {"?", "∽"}, {"(", "（"},
    {")", "）"}, {"!", "√"}, {"$", "≡"}, {"@", "±"}, {"&", "π"}, {"'", "∠"}, {"[", "≦"},
    {"]", "≧"}, {"<", "＜"}, {">", "＞"}, {",", "，"}, {"%", "°"}, {"x", "χ"}, {"y", "ｙ"},
    {"a", "ａ"}, {"b", "ｂ"}, {"c", "ｃ"}, {"d", "ｄ"}, {"e", "ｅ"}, {"f", "ｆ"}, {"g", "ｇ"},
    {"h", "ｈ"}, {"i", "ｉ"}, {"j", "ｊ"}, {"k", "ｋ"}, {"l", "ｌ"}, {"m", "ｍ"}, {"n", "ｎ"},
    {"o", "ｏ"}, {"p", "ｐ"}, {"q", "ｑ"}, {"r", "ｒ"}, {"s", "ｓ"}, {"t", "ｔ"}, {"u", "ｕ"},
    {"v", "ｖ"}, {"w", "ｗ"}, {"~", "△"}, {":", "："},
}};

template <std::size_t N>
std::string_view lookUp(const std::array<std::pair<std::string_view, std::string_view>, N>& table,
                        std::string_view c) {
    for (const auto& [from, to] : table)
        if (from == c) return to;
    return c;
}

// Greatest common divisor by repeated remainders; of 0 and d it is d.
float greatestCommonDivisor(float a, float b) {
    while (b != 0) {
        a = a - b * std::floor(a / b);
        std::swap(a, b);
    }
    return a;
}

}  // namespace

void toFullWidth(Engine& e) {
    const std::string first(lookUp(kFirstTable, e.convChar));
    e.convChar = std::string(lookUp(kSecondTable, first));
}

void stripSpaces(Engine& e) {
    std::string out;
    out.reserve(e.workText.size());
    for (char c : e.workText)
        if (c != ' ') out += c;
    e.workText = std::move(out);
}

void drawCharRun(Engine& e) {
    stripSpaces(e);
    e.runEndX = e.textX;
    e.layer.setFontBold(true);
    for (std::string_view ch : splitChars(e.workText)) {
        if (ch == "^") {
            FormulaLayoutWriter::of(e).superscriptPending = 1;
            continue;
        }
        std::string c(ch);
        if (FormulaLayoutWriter::of(e).superscriptPending != 1) {
            e.convChar = c;
            toFullWidth(e);
            c = e.convChar;
        } else {
            FormulaLayoutWriter::of(e).superscriptPending = 0;
        }
        const float raise = isSingleByte(c) ? 4.0f : 0.0f;
        const bool fullStop = c == "．";
        if (fullStop) e.runEndX -= 4;
        e.layer.text(e.runEndX, e.textY - raise, c, 1, 1, e.textColor);
        if (fullStop) e.runEndX -= 12;
        e.runEndX += 16;
    }
}

void drawPlainText(Engine& e) {
    for (std::string_view ch : splitChars(e.textString)) {
        if (ch == "^") {
            FormulaLayoutWriter::of(e).superscriptPending = 1;
            continue;
        }
        e.workText = std::string(ch);
        drawCharRun(e);
        e.textX = e.runEndX;
    }
    e.textString.clear();
}

void reduceFraction(Engine& e) {
    const float sign = e.fracNum * e.fracDen < 0 ? -1.0f : 1.0f;
    float num = e.fracNum;
    float den = e.fracDen;
    bool whole = true;
    if (den == 0) {
        // Never passed by the lessons; the value is shown as 0 rather than dividing by zero.
        num = 0;
        den = 1;
    } else if (den != 1) {
        const float g = greatestCommonDivisor(std::fabs(num), std::fabs(den));
        num = sign * std::fabs(num) / g;
        den = std::fabs(den) / g;
        whole = num == 0 || den == 1;
    }
    e.fracNum = num;
    e.fracDen = den;
    const std::string n = numberText(std::fabs(num));
    const std::string d = numberText(den);
    const bool negative = num < 0;
    if (whole) e.fracText = negative ? "-" + n : n;
    else e.fracText = negative ? "-ﾀ" + n + "/" + d + "ﾀ" : "ﾀ" + n + "/" + d + "ﾀ";
}

std::string numberToText(float value) {
    if (value == 0 || !std::isfinite(value)) return " 0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(value));
    std::string s = buf;
    // No zero before the point of a number between -1 and 1.
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    return value < 0 ? s : " " + s;
}

std::string numberText(float value) {
    std::string s = numberToText(value);
    if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    return s;
}

float textToNumber(std::string_view text) {
    std::size_t i = 0;
    std::string digits;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
    bool seenDigit = false, seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0;
    return std::strtof(digits.c_str(), nullptr);
}

void drawPlainAt(Engine& e, float x, float y, int color, std::string text) {
    e.textColor = color;
    e.textX = x;
    e.textY = y;
    e.textString = std::move(text);
    drawPlainText(e);
}

}  // namespace lesson
