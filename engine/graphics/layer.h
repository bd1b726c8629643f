#pragma once
// The graphics and keyboard layer that the whole engine is written against:
// line, box, circle and arc, polyline, scaled text in a chosen face, clear,
// a short pause, a non-blocking key read, the time of day and the random
// generator. Each drawing call becomes one DrawCommand handed to every sink
// (the trace, the host's) and to the page's display list, which the host
// draws (a window, an off-screen page, a browser's canvas).

#include "engine/graphics/commands.h"
#include "engine/graphics/display_list.h"
#include "engine/graphics/keys.h"
#include "engine/session/session.h"

#include <any>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lesson {

class Host;
class Trace;

// How the state of the program above the layer at a round (what its `keep`
// gave) is written into the place and read back.
struct AboveCodec {
    std::function<void(ByteWriter&, const std::any&)> save;
    std::function<std::any(ByteReader&)> load;  // throws PlaceUnreadable
};

struct LayerOptions {
    bool headless = false;
    std::vector<std::string> keys;  // scripted keys, typed before the keyboard
    // Asked for each key once the scripted keys are used up (long generated
    // key streams of the tests, a walk); "" ends a headless run as usual,
    // and hands a window over to the teacher.
    std::function<std::string()> moreKeys;
    std::string screenshot;         // PNG written when the program stops
    std::string trace;              // JSON Lines of every call
    std::string timing;             // per-key-step times (benchmarks)
    std::string pdf;                // the page in vectors when the program stops
    std::string handout;            // PDF of every screen shown, one page each
    std::string spoken;             // each wait's spoken text, a line each
    std::string scheme;             // the colour scheme asked for (schemes.h), or "" for the one remembered
    int width = 1344, height = 720; // screenshot / headless page size in pixels
    std::optional<unsigned> seed;   // replaces the clock seed
    std::string program;            // the program's name, for the pages it saves
    // The run keeps its place where the host keeps it, and a new run within
    // the hour stands where the last one stood (a window or a page with no
    // scripted keys and no walk).
    bool keepPlace = false;
};

class Layer {
public:
    explicit Layer(LayerOptions options);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // A reason why the layer cannot start (no display, a missing font), or
    // nothing. For a window, a missing font is also shown in a message box
    // titled `title` when a display can show one.
    static std::optional<std::string> cannotStart(bool headless, const std::string& title = "");

    // Whether a walk (LayerOptions::moreKeys) can run where someone types:
    // the walk's keys come first, then the program waits for the teacher.
    static bool windowCanWalk();
    // Called, in place of returning, when the connection to the display is
    // lost under the window; it must end the process.
    void onDisplayLost(std::function<void()> lastWords);

    // Drawing, in logical units of the 1344 x 720 page.
    void line(float x1, float y1, float x2, float y2, int color);
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

    // "" when no key is waiting, else one key. Shows the page first. Back
    // throws StepBack when there is a wait to go back to (else it is not a
    // key); forward is a key at an any-key wait, "1" and Enter at a step
    // prompt, and not a key elsewhere.
    std::string inkey();
    // A wait of the lessons starts (its keys are kept so that a step back can
    // replay them). A sub-menu tells the number of its last item.
    void beginWait(WaitKind kind, int lastItem = 0);
    WaitKind waitKind() const { return session_.waitKind(); }
    // The waits begun so far: where the program stands in its run.
    std::size_t waitsBegun() const { return session_.waitsBegun(); }
    // The top of a round of a loop that the program can go on from with the
    // state `keep` gives (the engine's variables, the loop's own), in the
    // loop `scope` (the waits begun before it) whose rounds wait at `kind`.
    // In a run, the layer keeps that state here with its own (the generator,
    // the pen, the font, the page); in a replay after a step back, it goes on
    // from the latest round kept of the same loop before the wait it goes
    // back to, if there is one: its own state back as it was there, and
    // what `keep` gave there returned for the program to take back.
    // Kept in the place, the state is written with `codec` (and read back
    // with it after a reopening).
    const std::any* roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                const AboveCodec& codec);
    // The place kept is forgotten: the program ended as it ends (the main
    // menu's last item, the window closed).
    void forgetPlace() { session_.forgetPlace(); }
    // Whether this run stands where a run before stood (its place read back).
    bool resumed() const { return resumed_; }
    // A choice of the wait now open, where it was drawn: a tap there chooses it.
    void offerChoice(const TapArea& area) { session_.offerChoice(area); }
    int waitLastItem() const { return session_.waitLastItem(); }
    // Headless: asked for each key once the scripted keys are used up, in
    // place of LayerOptions::moreKeys (a source that looks at the wait).
    void setMoreKeys(std::function<std::string()> source) { session_.setMoreKeys(std::move(source)); }
    // Waits for window events until the window is closed (the error screen).
    void idle();

    std::string timeOfDay() const;
    void randomize(int seed);
    float rnd();

    void setTitle(const std::string& title);
    bool headless() const;

    // A formula drawn, for the sinks that keep formulas (the trace).
    void traceFormula(std::string_view text, float x, float y, int color, float end);
    // A wait begins with this step said (engine/typesetter/spoken.h) and this
    // page: for the host, and a line of the spoken text file.
    void speakStep(const std::string& step, const std::string& page);
    // One more consumer of the stream from now on (not owned; it must stay
    // alive as long as the layer).
    void addSink(DrawSink& sink);
    // Writes the screenshot and the timing and closes the trace; called once
    // when the program stops. Returns a line for each file that could not be
    // written whole (a full disk included).
    std::vector<std::string> finish();
    void flushTrace();

    // What is visible on the page, as every renderer draws it.
    const DisplayList& page() const { return page_; }
    // The host that draws the page and reads the keys.
    Host& host() { return *host_; }

    // Ctrl+S: the page as it stands, saved by the host (on the desktop a PNG
    // at the window's size and a PDF, named after the program and the time,
    // in the pictures folder, else the home folder). Returns where it went,
    // or why it could not be saved.
    std::string savePage();

private:
    class PageSink;
    class Events;
    void emit(DrawCommand cmd);
    void show();

    LayerOptions options_;
    DisplayList page_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<DrawSink> pageSink_;  // the display list, and the host drawing what it keeps
    std::unique_ptr<DrawSink> replaySink_;  // the display list alone
    std::unique_ptr<Trace> trace_;
    // The stream's consumers: in a run the host's, the page, the trace and
    // any added; while a step back replays off the screen, the display list
    // alone.
    std::vector<DrawSink*> sinks_;
    std::vector<DrawSink*> replaySinks_;
    const std::vector<DrawSink*>* active_ = &sinks_;
    std::unique_ptr<SessionEvents> events_;
    Session session_;
    FontState font_;
    float pen_ = 1;
    std::mt19937 rng_{0};
    // The generator as its seed and the numbers drawn since: what the place
    // keeps of it.
    unsigned rngSeed_ = 0;
    std::uint64_t rngDraws_ = 0;
    std::string spokenText_;  // the lines of --spoken
    bool finished_ = false;
    bool resumed_ = false;
};

}  // namespace lesson
