#pragma once
// JSON Lines record of a run: every layer call, each formula drawn outside a
// measurement and each key a wait consumed, in the order they happen.

#include "engine/graphics/commands.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace lesson {

// A file written whole or not at all: the bytes go to a hidden temporary file
// beside it, which takes the name only when every byte was written and the
// file closed; on failure the temporary file is removed and the name keeps
// what it held (or stays absent). A name that is a device or a pipe
// (/dev/stdout, a FIFO) cannot be replaced and is written in place.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();  // not committed: nothing is left behind
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool ok() const { return file_ != nullptr && error_ == 0; }
    void write(std::string_view data);
    void flush();
    // Closes the file and gives it its name: why it could not be written
    // whole, or nothing.
    std::optional<std::string> commit();

private:
    void abandon();
    std::string path_;
    std::string temp_;  // empty: written in place
    std::FILE* file_ = nullptr;
    int error_ = 0;  // the first failure's errno
};

class Trace : public DrawSink {
public:
    explicit Trace(const std::string& path);
    ~Trace() override;
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    bool ok() const { return file_.ok(); }
    void draw(const DrawCommand& cmd) override;
    void formula(std::string_view text, float x, float y, int color, float end) override;
    void key(std::string_view key) override;
    void tap(float x, float y) override;
    void flush();
    // Closes the file: why the trace could not be written whole, or nothing.
    std::optional<std::string> close();

private:
    void write(const std::string& line);
    OutputFile file_;
    bool closed_ = false;
    std::optional<std::string> closeError_;
};

// Writes a whole file and checks every step, closing included (a full disk
// shows only there): why it failed, or nothing. On failure the name keeps
// what it held (see OutputFile).
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view data);

// One line of the trace for a drawing command, a formula, a key, a tap.
std::string traceLine(const DrawCommand& cmd);
std::string traceFormulaLine(std::string_view text, float x, float y, int color, float end);
std::string traceKeyLine(std::string_view key);
std::string traceTapLine(float x, float y);

// JSON helpers, shared with the tests' reader.
std::string jsonString(std::string_view s);
std::string jsonNumber(float v);

}  // namespace lesson
