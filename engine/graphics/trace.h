#pragma once
// JSON Lines record of a run: every layer call, each formula drawn, each
// wait as it starts and each key a wait consumed, in the order they happen.

#include "engine/graphics/commands.h"
#include "engine/graphics/output_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace lesson {

// The trace file, written as the run goes. It takes its name only when
// closed: a run's every end closes it (its own end, the error it shows, a
// signal, the display lost), as the page stands; one that is never closed
// (the run failed before its end) leaves nothing, like any output file.
class Trace : public DrawSink {
public:
    explicit Trace(const std::string& path);
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    void draw(const DrawCommand& cmd) override;
    void formula(std::string_view text, float x, float y, int color, float end) override;
    void key(std::string_view key) override;
    void wait(std::string_view kind) override;
    void tap(float x, float y) override;
    void ink(const InkAction& action) override;
    void flush();
    // Closes the file: why the trace could not be written whole, or nothing.
    std::optional<std::string> close();

private:
    void write(const std::string& line);
    OutputFile file_;
    bool closed_ = false;
    std::optional<std::string> closeError_;
};

// One line of the trace for a drawing command, a formula, a key, a wait, a tap, an ink action.
std::string traceLine(const DrawCommand& cmd);
std::string traceFormulaLine(std::string_view text, float x, float y, int color, float end);
std::string traceKeyLine(std::string_view key);
std::string traceWaitLine(std::string_view kind);
std::string traceTapLine(float x, float y);
// {"op":"ink","pen":"r","points":[[X,Y],...]}; undo and clear without points.
std::string traceInkLine(const InkAction& action);

// JSON helpers, shared with the tests' reader.
std::string jsonString(std::string_view s);
std::string jsonNumber(float v);

}  // namespace lesson
