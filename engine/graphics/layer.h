#pragma once
// The graphics and keyboard layer that the whole engine is written against:
// line, box, circle and arc, polyline, scaled text in a chosen face, clear,
// a short pause, a non-blocking key read, the time of day and the random
// generator. Each drawing call becomes one DrawCommand handed to every sink
// (the trace, and the raster of the window or of the headless page).

#include "engine/graphics/commands.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lesson {

class Fonts;
class Raster;
class Trace;
class Window;

// Thrown to end the program from any wait: the window was closed, the
// scripted keys of a headless run are used up, or the quit item was chosen.
struct ProgramEnd {
    int status = 0;
};

struct LayerOptions {
    bool headless = false;
    std::vector<std::string> keys;  // scripted keys, typed before the keyboard
    // Headless only: asked for each key once the scripted keys are used up
    // (long generated key streams of the tests); "" ends the run as usual.
    std::function<std::string()> moreKeys;
    std::string screenshot;         // PNG written when the program stops
    std::string trace;              // JSON Lines of every call
    std::string timing;             // per-key-step times (benchmarks)
    int width = 1344, height = 720; // screenshot / headless page size in pixels
    std::optional<unsigned> seed;   // replaces the clock seed
};

// Scripted keys: each character is one key; backslash-n, backslash-r or a
// newline is Enter, backslash-b Backspace, two backslashes one backslash.
std::vector<std::string> parseKeyScript(std::string_view script);

class Layer {
public:
    explicit Layer(const LayerOptions& options);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // A reason why the layer cannot start (no display, a missing font), or nothing.
    static std::optional<std::string> cannotStart(bool headless);

    // Drawing, in logical units of the 1344 x 720 page.
    void line(float x1, float y1, float x2, float y2, int color);
    void lineRelative(float x, float y, float dx, float dy, int color);
    // A box is always filled: in its line colour when fill is kNoFill, else in
    // the fill colour with an outline in the line colour.
    void box(float x1, float y1, float x2, float y2, int lineColor, int fill = kNoFill);
    // Angles are fractions of a full turn, counter-clockwise; 0 and 0 is a full circle.
    void circle(float x, float y, float r, int color, float start = 0, float end = 0, int fill = kNoFill);
    void polyline(const std::vector<Point>& points, int color, int fill = kNoFill);
    void text(float x, float y, std::string_view text, int mx, int my, int color);
    void cls();
    void pause();

    void setFontName(std::string_view name) { font_.name = std::string(name); }
    void setFontSize(float size) { font_.size = size; }
    void setFontBold(bool on) { font_.bold = on; }
    void setFontItalic(bool on) { font_.italic = on; }
    const FontState& font() const { return font_; }
    void setDrawWidth(float width) { pen_ = width; }
    float drawWidth() const { return pen_; }

    // "" when no key is waiting, else one key. Shows the page first.
    std::string inkey();
    // Waits for window events until the window is closed (the error screen).
    void idle();

    std::string timeOfDay() const;
    void randomize(int seed);
    float rnd();

    void setTitle(const std::string& title);
    bool headless() const { return window_ == nullptr; }

    // The trace of formulas: suppressed while a formula is being measured.
    void traceFormula(std::string_view text, float x, float y, int color, float end);
    // Writes the screenshot and flushes the trace; called once when the program stops.
    void finish();
    void flushTrace();
    // Scripted keys not yet read.
    std::size_t scriptedKeysLeft() const { return script_.size(); }

    // For tests: the page as it stands.
    Raster& raster();

private:
    void emit(DrawCommand cmd);
    void show();

    LayerOptions options_;
    std::unique_ptr<Fonts> fonts_;
    std::unique_ptr<Raster> raster_;  // headless page
    std::unique_ptr<Window> window_;
    std::unique_ptr<Trace> trace_;
    std::deque<std::string> script_;
    std::deque<std::string> typed_;
    FontState font_;
    float pen_ = 1;
    std::mt19937 rng_{0};
    bool finished_ = false;
    // key-step timing
    std::chrono::steady_clock::time_point lastKeyTime_{};
    bool timingStarted_ = false;
    std::vector<double> stepMillis_;
};

}  // namespace lesson
