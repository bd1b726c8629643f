#include "engine/graphics/trace.h"

#include "engine/chars/chars.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>

namespace lesson {

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t n = charLength(s, pos);
        const auto b = static_cast<unsigned char>(s[pos]);
        if (n > 1) {
            out.append(s.substr(pos, n));
        } else if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\b') {
            out += "\\b";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b >= 0x7F) {
            // Control characters, and bytes that are not valid UTF-8, are written as escapes.
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", b);
            out += buf;
        } else {
            out += static_cast<char>(b);
        }
        pos += n;
    }
    out += '"';
    return out;
}

std::string jsonNumber(float v) {
    if (!std::isfinite(v)) return "null";
    if (v == 0) return "0";
    // The fewest significant digits that read back as the same float (nine
    // always do), written out in plain decimals within the page's range of
    // numbers and with an exponent beyond it. printf and strtof round
    // exactly in every C library, so every build writes the same text.
    char buf[48];
    int digits = 1;
    for (; digits < 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(v));
        if (std::strtof(buf, nullptr) == v) break;
    }
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(v));
    const std::string sci = buf;
    const std::size_t e = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + e + 1);
    if (exponent < -5 || exponent > 20) return sci;
    const bool negative = sci[0] == '-';
    std::string mantissa;  // the significant digits alone
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (sci[i] != '.') mantissa += sci[i];
    std::string out = negative ? "-" : "";
    const int count = static_cast<int>(mantissa.size());
    if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else if (exponent + 1 >= count) {
        out += mantissa + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        out += mantissa.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
               mantissa.substr(static_cast<std::size_t>(exponent + 1));
    }
    return out;
}

namespace {
std::string fillJson(int fill) { return fill == kNoFill ? "null" : std::to_string(fill); }
std::string boolJson(bool b) { return b ? "true" : "false"; }
std::string pointsJson(const std::vector<Point>& points) {
    std::string out = "[";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i) out += ',';
        out += "[" + jsonNumber(points[i].x) + "," + jsonNumber(points[i].y) + "]";
    }
    return out + "]";
}
}  // namespace

Trace::Trace(const std::string& path) : file_(path) {}

void Trace::write(const std::string& line) {
    file_.write(line);
    file_.write("\n");
}

void Trace::flush() { file_.flush(); }

std::optional<std::string> Trace::close() {
    if (!closed_) {
        closed_ = true;
        closeError_ = file_.commit();
    }
    return closeError_;
}

std::string traceLine(const DrawCommand& c) {
    using Op = DrawCommand::Op;
    const auto n = jsonNumber;
    switch (c.op) {
        case Op::Line:
            return "{\"op\":\"line\",\"x1\":" + n(c.x1) + ",\"y1\":" + n(c.y1) + ",\"x2\":" + n(c.x2) + ",\"y2\":" +
                  n(c.y2) + ",\"color\":" + std::to_string(c.color) + ",\"pen\":" + n(c.pen) + "}";
        case Op::Box:
            return "{\"op\":\"box\",\"x1\":" + n(c.x1) + ",\"y1\":" + n(c.y1) + ",\"x2\":" + n(c.x2) + ",\"y2\":" +
                  n(c.y2) + ",\"line\":" + std::to_string(c.color) + ",\"fill\":" +
                  std::to_string(c.fill == kNoFill ? c.color : c.fill) + ",\"pen\":" + n(c.pen) + "}";
        case Op::Circle:
            return "{\"op\":\"circle\",\"x\":" + n(c.x1) + ",\"y\":" + n(c.y1) + ",\"r\":" + n(c.r) +
                  ",\"color\":" + std::to_string(c.color) + ",\"fill\":" + fillJson(c.fill) + ",\"start\":" +
                  n(c.start) + ",\"end\":" + n(c.end) + ",\"pen\":" + n(c.pen) + "}";
        case Op::Polyline:
            return "{\"op\":\"polyline\",\"points\":" + pointsJson(c.points) + ",\"color\":" + std::to_string(c.color) +
                  ",\"fill\":" + fillJson(c.fill) + ",\"pen\":" + n(c.pen) + "}";
        case Op::Text:
            return "{\"op\":\"text\",\"x\":" + n(c.x1) + ",\"y\":" + n(c.y1) + ",\"text\":" + jsonString(c.text) +
                  ",\"mx\":" + std::to_string(c.mx) + ",\"my\":" + std::to_string(c.my) + ",\"color\":" +
                  std::to_string(c.color) + ",\"font\":" + jsonString(c.font.name) + ",\"size\":" +
                  n(c.font.size) + ",\"bold\":" + boolJson(c.font.bold) + ",\"italic\":" +
                  boolJson(c.font.italic) + "}";
        case Op::Cls:
            return "{\"op\":\"cls\"}";
        case Op::Pause:
            return "{\"op\":\"pause\"}";
    }
    return "{}";
}

std::string traceFormulaLine(std::string_view text, float x, float y, int color, float end) {
    return "{\"op\":\"formula\",\"text\":" + jsonString(text) + ",\"x\":" + jsonNumber(x) + ",\"y\":" +
           jsonNumber(y) + ",\"color\":" + std::to_string(color) + ",\"end\":" + jsonNumber(end) + "}";
}

std::string traceKeyLine(std::string_view key) { return "{\"op\":\"key\",\"key\":" + jsonString(key) + "}"; }

std::string traceTapLine(float x, float y) {
    return "{\"op\":\"tap\",\"x\":" + jsonNumber(x) + ",\"y\":" + jsonNumber(y) + "}";
}

std::string traceInkLine(const InkAction& action) {
    std::string line = "{\"op\":\"ink\",\"pen\":" + jsonString(std::string(1, action.pen));
    if (action.stroke()) line += ",\"points\":" + pointsJson(action.points);
    return line + "}";
}

void Trace::draw(const DrawCommand& c) { write(traceLine(c)); }

void Trace::ink(const InkAction& action) { write(traceInkLine(action)); }

void Trace::formula(std::string_view text, float x, float y, int color, float end) {
    write(traceFormulaLine(text, x, y, color, end));
}

void Trace::key(std::string_view key) { write(traceKeyLine(key)); }

std::string traceWaitLine(std::string_view kind) { return "{\"op\":\"wait\",\"kind\":" + jsonString(kind) + "}"; }

void Trace::wait(std::string_view kind) { write(traceWaitLine(kind)); }

void Trace::tap(float x, float y) { write(traceTapLine(x, y)); }

}  // namespace lesson
