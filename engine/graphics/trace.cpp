#include "engine/graphics/trace.h"

#include "engine/chars/chars.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

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
}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        file_ = std::fopen(path_.c_str(), "wb");
        if (!file_) error_ = errno;
        return;
    }
    const auto slash = path_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
    temp_ = folder + "." + path_.substr(folder.size()) + ".XXXXXX";
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        error_ = errno;
        temp_.clear();
        return;
    }
    // A new file gets the permissions any new file of the user gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        ::close(fd);
        abandon();
    }
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    abandon();
}

void OutputFile::abandon() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

void OutputFile::write(std::string_view data) {
    if (!ok()) return;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) error_ = errno != 0 ? errno : EIO;
}

void OutputFile::flush() {
    if (ok() && std::fflush(file_) != 0) error_ = errno;
}

std::optional<std::string> OutputFile::commit() {
    if (file_) {
        flush();
        if (std::fclose(file_) != 0 && error_ == 0) error_ = errno;
        file_ = nullptr;
        if (error_ == 0 && !temp_.empty()) {
            if (::rename(temp_.c_str(), path_.c_str()) == 0)
                temp_.clear();
            else
                error_ = errno;
        }
    } else if (error_ == 0) {
        error_ = EBADF;  // committed twice
    }
    abandon();
    if (error_ == 0) return std::nullopt;
    return std::strerror(error_);
}

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view data) {
    OutputFile file(path);
    file.write(data);
    return file.commit();
}

Trace::Trace(const std::string& path) : file_(path) {}

Trace::~Trace() { close(); }

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
        case Op::Polyline: {
            std::string pts = "[";
            for (std::size_t i = 0; i < c.points.size(); ++i) {
                if (i) pts += ',';
                pts += "[" + n(c.points[i].x) + "," + n(c.points[i].y) + "]";
            }
            pts += "]";
            return "{\"op\":\"polyline\",\"points\":" + pts + ",\"color\":" + std::to_string(c.color) +
                  ",\"fill\":" + fillJson(c.fill) + ",\"pen\":" + n(c.pen) + "}";
        }
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

void Trace::draw(const DrawCommand& c) { write(traceLine(c)); }

void Trace::formula(std::string_view text, float x, float y, int color, float end) {
    write(traceFormulaLine(text, x, y, color, end));
}

void Trace::key(std::string_view key) { write(traceKeyLine(key)); }

void Trace::tap(float x, float y) { write(traceTapLine(x, y)); }

}  // namespace lesson
