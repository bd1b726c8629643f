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

    // A reason why the layer cannot start (no display, a missing font), or
    // nothing. For a window, a missing font is also shown in a message box
    // titled `title` when a display can show one.
    static std::optional<std::string> cannotStart(bool headless, const std::string& title = "");

    // From now on SIGTERM, SIGINT and SIGHUP end the program at its next
    // drawing call or wait (ProgramEnd with status 128 + the signal), so that
    // its files are written as the page stands.
    static void catchStopSignals();
    // The signal that ended the program, or 0.
    static int stopSignal();
    // Called, in place of returning, when the connection to the display is
    // lost under the window; it must end the process.
    void onDisplayLost(std::function<void()> lastWords);

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

    // A formula drawn, for the sinks that keep formulas (the trace).
    void traceFormula(std::string_view text, float x, float y, int color, float end);
    // One more consumer of the stream from now on (not owned; it must stay
    // alive as long as the layer, or until removed).
    void addSink(DrawSink& sink);
    void removeSink(DrawSink& sink);
    // Writes the screenshot and the timing and closes the trace; called once
    // when the program stops. Returns a line for each file that could not be
    // written whole (a full disk included).
    std::vector<std::string> finish();
    void flushTrace();
    // Scripted keys not yet read.
    std::size_t scriptedKeysLeft() const { return script_.size(); }

    // For tests: the page as it stands.
    Raster& raster();

private:
    void emit(DrawCommand cmd);
    void show();
    void checkStop() const;

    LayerOptions options_;
    std::unique_ptr<Fonts> fonts_;
    std::unique_ptr<Raster> raster_;  // headless page
    std::unique_ptr<Window> window_;
    std::unique_ptr<Trace> trace_;
    std::vector<DrawSink*> sinks_;  // the page's raster, the trace, and any added
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
