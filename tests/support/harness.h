#pragma once
// Headless runs for the tests: a whole program driven by a key script, or an
// engine on its own for single routines, each with its trace read back.

#include "engine/engine.h"
#include "engine/frame/frame.h"
#include "tests/support/trace_reader.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The stream as events, kept in memory as the layer hands it on: what the
// trace file would hold, without writing and reading one.
class RecordingSink : public lesson::DrawSink {
public:
    void draw(const lesson::DrawCommand& cmd) override;
    void key(std::string_view key) override;
    void tap(float x, float y) override;
    void formula(std::string_view text, float x, float y, int color, float end) override;
    void wait(std::string_view kind) override;
    void ink(const lesson::InkAction& action) override;
    const std::vector<Event>& events() const { return events_; }

private:
    std::vector<Event> events_;
};

// The pixels of a PNG; empty when it cannot be read.
std::vector<unsigned char> pixelsOf(const std::string& path);

// A fresh file name in the test's temporary directory.
std::string tempPath(const std::string& stem);

struct RunResult {
    int status = 0;
    std::vector<Event> events;
    std::string screenshot;  // PNG path when asked for

    std::vector<Event> ofOp(const std::string& op) const;
    std::vector<Event> formulas() const;
    // Formula events with exactly this markup.
    std::vector<Event> formulasWith(const std::string& text) const;
    // Index in events of the first formula with this markup at or after `from`; -1 if none.
    int indexOfFormula(const std::string& text, int from = 0) const;
    // Keys consumed by waits.
    int keyCount() const;
    // Indices in [from, to) of the events that pass `test` (to < 0: up to the end).
    std::vector<int> indicesWhere(const std::function<bool(const Event&)>& test, int from = 0, int to = -1) const;
    // Any-key waits begun in [from, to).
    int anyKeyPromptsBetween(int from, int to = -1) const;
    // Indices of the sub-menu waits (each draws the sub-menu line next).
    std::vector<int> subMenuLines() const;
    // The first formula drawn with this markup (a test failure when there is none).
    const Event& formula(const std::string& text) const;
};

// The start of a wait of this kind ("gate", "menu", "submenu", "step", "anykey").
bool isWait(const Event& ev, const std::string& kind);
// An any-key wait: "何かキーを押して下さい。" is drawn next.
bool isAnyKeyPrompt(const Event& ev);
// A sub-menu wait: the sub-menu line is drawn next.
bool isSubMenuLineStart(const Event& ev);

struct RunOptions {
    unsigned seed = 1;
    bool screenshot = false;
    int width = 1344;
    int height = 720;
};

// Runs the program's frame headless: password, menu, sections, with `keys`
// (backslash-n is Enter) until they are used up or the program ends.
RunResult runHeadless(const lesson::ProgramSpec& program, const std::string& keys, const RunOptions& options = {});

// One engine, headless, for calling routines directly.
class EngineFixture {
public:
    explicit EngineFixture(const std::string& keys = "", unsigned seed = 1, int width = 1344, int height = 720);
    ~EngineFixture();
    lesson::Engine& engine() { return *engine_; }
    lesson::Layer& layer() { return run_->layer(); }
    // The trace so far.
    std::vector<Event> events();
    // Events recorded after the index `from`.
    std::vector<Event> eventsSince(std::size_t from);

private:
    RecordingSink recording_;
    std::unique_ptr<lesson::ProgramRun> run_;
    std::unique_ptr<lesson::Engine> engine_;
};

}  // namespace testing_support
