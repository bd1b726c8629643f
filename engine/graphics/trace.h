#pragma once
// JSON Lines record of a run: every layer call, each formula drawn outside a
// measurement and each key a wait consumed, in the order they happen.

#include "engine/graphics/commands.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace lesson {

class Trace : public DrawSink {
public:
    explicit Trace(const std::string& path);
    ~Trace() override;
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    bool ok() const { return file_ != nullptr; }
    void draw(const DrawCommand& cmd) override;
    void formula(std::string_view text, float x, float y, int color, float end);
    void key(std::string_view key);
    void flush();

private:
    void write(const std::string& line);
    std::FILE* file_ = nullptr;
};

// JSON helpers, shared with the tests' reader.
std::string jsonString(std::string_view s);
std::string jsonNumber(float v);

}  // namespace lesson
