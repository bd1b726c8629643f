#include "engine/graphics/layer.h"

#include "engine/graphics/host.h"
#include "engine/graphics/output_file.h"
#include "engine/graphics/trace.h"

#include <cstdio>
#include <ctime>

namespace lesson {

namespace {
// The layer's pause between animation frames: a nine-frame tilt takes about
// a quarter of a second and reads as one smooth movement.
constexpr int kPauseMillis = 30;
}  // namespace

std::optional<std::string> Layer::cannotStart(bool headless, const std::string& title) {
    return hostCannotStart(headless, title);
}

bool Layer::windowCanWalk() { return hostWalksInWindow(); }

void Layer::onDisplayLost(std::function<void()> lastWords) { host_->onDisplayLost(std::move(lastWords)); }

// The page's place in the stream: the display list takes each command, and
// the host draws what the list keeps. The teacher's ink stays over the page:
// a command drawn where ink lies has that part of the page drawn again, the
// ink over it, and an ink action has the part it changed drawn again (the
// translucent marker never drawn on itself).
class Layer::PageSink : public DrawSink {
public:
    PageSink(DisplayList& page, Host& host) : page_(page), host_(host) {}
    void draw(const DrawCommand& cmd) override {
        const bool inked = !page_.inkStrokes().empty();
        const std::optional<bool> erase = page_.add(cmd);
        if (!erase) return;
        if (inked && page_.inkStrokes().empty() && cmd.op != DrawCommand::Op::Cls) {
            host_.redraw();  // a white box cleared the page, and its ink with it
        } else if (const LogicalBox area = commandBounds(cmd); page_.inkTouches(area)) {
            host_.redrawArea(area);
        } else {
            host_.draw(cmd, *erase);
        }
    }
    void ink(const InkAction& action) override {
        if (const std::optional<LogicalBox> area = page_.applyInk(action)) host_.redrawArea(*area);
    }

private:
    DisplayList& page_;
    Host& host_;
};

// The top of a round of a loop: the program above the layer holds nothing
// on its stack there but the loop, so what it kept (its engine's variables,
// the loop's own), the generator, the pen, the font and the page are all it
// takes to go on from it.
namespace {

struct LayerRound {
    std::any above;
    std::mt19937 rng;
    unsigned rngSeed;
    std::uint64_t rngDraws;
    FontState font;
    float pen;
    DisplayList page;
};

// The display list alone: the page a step back replays off the screen.
class ReplaySink : public DrawSink {
public:
    explicit ReplaySink(DisplayList& page) : page_(page) {}
    void draw(const DrawCommand& cmd) override { page_.add(cmd); }
    void ink(const InkAction& action) override { page_.applyInk(action); }

private:
    DisplayList& page_;
};

}  // namespace

// What the session tells the layer: the sinks see each key and wait, the
// page is shown, and a step back switches the stream to the display list
// alone and back.
class Layer::Events : public SessionEvents {
public:
    explicit Events(Layer& layer) : layer_(layer) {}
    void show() override { layer_.show(); }
    void keyRead(std::string_view key) override {
        const std::optional<Point> tap = tapPoint(key);
        for (DrawSink* sink : *layer_.active_) {
            if (tap) sink->tap(tap->x, tap->y);
            else sink->key(key);
        }
    }
    void ink(const InkAction& action) override {
        // Every sink sees it as the page takes it: within the page, thinned.
        const InkAction fitted = fittedInk(action);
        for (DrawSink* sink : *layer_.active_) sink->ink(fitted);
    }
    void waitBegun(WaitKind kind) override {
        for (DrawSink* sink : *layer_.active_) sink->wait(waitKindName(kind));
    }
    void replayBegins() override {
        // The run starts again as the program did: the layer's drawing state
        // and a white page that only keeps its display list until the wait
        // gone back to.
        layer_.font_ = FontState{};
        layer_.pen_ = 1;
        layer_.page_.reset();
        layer_.active_ = &layer_.replaySinks_;
    }
    void replayEnds() override {
        layer_.active_ = &layer_.sinks_;
        layer_.host_->redraw();  // the page drawn once, from its display list
    }
    void beforeSleep() override { layer_.flushTrace(); }
    std::uint64_t pageMark() override {
        ByteWriter w;
        layer_.page_.save(w);
        return checkOf(w.bytes());
    }

private:
    Layer& layer_;
};

Layer::Layer(LayerOptions options)
    : options_(std::move(options)),
      host_(makeHost(options_, page_)),
      pageSink_(std::make_unique<PageSink>(page_, *host_)),
      replaySink_(std::make_unique<ReplaySink>(page_)),
      replaySinks_{replaySink_.get()},
      events_(std::make_unique<Events>(*this)),
      session_({std::move(options_.keys), std::move(options_.moreKeys), !options_.timing.empty()}, *host_, *events_) {
    options_.keys = {};
    options_.moreKeys = {};
    page_.setInk(host_->ink());
    // The host's sinks (the handout) come first: they see a page clear while
    // the page still stands as the class saw it.
    sinks_ = host_->sinks();
    sinks_.push_back(pageSink_.get());
    if (!options_.trace.empty()) {
        trace_ = std::make_unique<Trace>(options_.trace);
        sinks_.push_back(trace_.get());
    }
    if (PlaceStore* store = options_.keepPlace ? host_->placeStore() : nullptr) {
        session_.keepPlace(*store);
        resumed_ = session_.resumePlace();
    }
}

Layer::~Layer() = default;

bool Layer::headless() const { return !host_->interactive(); }

const std::any* Layer::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                   const AboveCodec& above) {
    // In the place: the generator as its seed and draws, the font, the pen,
    // the page, then the state above.
    const RoundCodec codec{
        [&](const std::any& kept) {
            const LayerRound& round = std::any_cast<const LayerRound&>(kept);
            ByteWriter w;
            w.number(round.rngSeed);
            w.number(round.rngDraws);
            saveFont(w, round.font);
            w.real(round.pen);
            round.page.save(w);
            above.save(w, round.above);
            return w.take();
        },
        [&](std::string_view bytes) {
            ByteReader r(bytes);
            LayerRound round{{}, {}, 0, 0, {}, 1, page_};
            round.rngSeed = static_cast<unsigned>(r.number());
            round.rngDraws = r.number();
            round.rng.seed(round.rngSeed);
            round.rng.discard(round.rngDraws);
            round.font = loadFont(r);
            round.pen = r.real();
            round.page.load(r);
            round.above = above.load(r);
            if (!r.atEnd()) throw PlaceUnreadable("a round too long");
            return std::any(std::move(round));
        }};
    const std::any* kept = session_.roundBegins(
        scope, kind, [&] { return std::any(LayerRound{keep(), rng_, rngSeed_, rngDraws_, font_, pen_, page_}); }, codec);
    if (!kept) return nullptr;
    // A replay goes on from the round kept: the layer's own state back as it was there.
    const LayerRound& round = std::any_cast<const LayerRound&>(*kept);
    rng_ = round.rng;
    rngSeed_ = round.rngSeed;
    rngDraws_ = round.rngDraws;
    font_ = round.font;
    pen_ = round.pen;
    page_ = round.page;
    return &round.above;
}

void Layer::emit(DrawCommand cmd) {
    checkStop();
    cmd.pen = pen_;
    for (DrawSink* sink : *active_) sink->draw(cmd);
}

void Layer::addSink(DrawSink& sink) { sinks_.push_back(&sink); }

void Layer::line(float x1, float y1, float x2, float y2, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Line;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color;
    emit(std::move(c));
}

void Layer::box(float x1, float y1, float x2, float y2, int lineColor, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Box;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = lineColor;
    c.fill = fill == kNoFill ? lineColor : fill;
    emit(std::move(c));
}

void Layer::circle(float x, float y, float r, int color, float start, float end, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Circle;
    c.x1 = x;
    c.y1 = y;
    c.r = r;
    c.color = color;
    c.start = start;
    c.end = end;
    c.fill = fill;
    emit(std::move(c));
}

void Layer::polyline(const std::vector<Point>& points, int color, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Polyline;
    c.points = points;
    c.color = color;
    c.fill = fill;
    emit(std::move(c));
}

void Layer::text(float x, float y, std::string_view text, int mx, int my, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Text;
    c.x1 = x;
    c.y1 = y;
    c.text = std::string(text);
    c.mx = mx;
    c.my = my;
    c.color = color;
    c.font = font_;
    emit(std::move(c));
}

void Layer::cls() {
    DrawCommand c;
    c.op = DrawCommand::Op::Cls;
    emit(std::move(c));
}

void Layer::show() {
    if (!session_.replaying()) host_->show();
}

void Layer::pause() {
    DrawCommand c;
    c.op = DrawCommand::Op::Pause;
    emit(std::move(c));
    // Scripted keys are typed without waiting for the pictures they move.
    if (!session_.pausesWait()) return;
    show();
    session_.pauseFor(kPauseMillis);
}

std::string Layer::inkey() { return session_.inkey(); }

void Layer::beginWait(WaitKind kind, int lastItem) { session_.beginWait(kind, lastItem); }

void Layer::idle() { session_.idle(); }

std::string Layer::timeOfDay() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

void Layer::randomize(int seed) {
    rngSeed_ = session_.seedFor(options_.seed ? *options_.seed : static_cast<unsigned>(seed));
    rngDraws_ = 0;
    rng_.seed(rngSeed_);
}

float Layer::rnd() {
    // 24 random bits: every value is exact in single precision and below 1.
    ++rngDraws_;
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void Layer::setTitle(const std::string& title) { host_->setTitle(title); }

void Layer::traceFormula(std::string_view text, float x, float y, int color, float end) {
    for (DrawSink* sink : *active_) sink->formula(text, x, y, color, end);
}

void Layer::speakStep(const std::string& step, const std::string& page) {
    host_->speak(step, page);
    if (options_.spoken.empty()) return;
    // One line each: a line break in a text is a space.
    for (char c : step) spokenText_ += c == '\n' || c == '\r' ? ' ' : c;
    spokenText_ += '\n';
}

void Layer::flushTrace() {
    if (trace_) trace_->flush();
}

std::string Layer::savePage() { return host_->savePage(); }

std::vector<std::string> Layer::finish() {
    std::vector<std::string> failures;
    if (finished_) return failures;
    finished_ = true;
    session_.stop();  // stopped in the middle of a step back: the page as it is
    auto check = [&](const char* what, const std::string& path, const std::optional<std::string>& why) {
        if (why) failures.push_back("cannot write the " + std::string(what) + " " + path + ": " + *why);
    };
    failures = host_->finish();
    if (trace_) check("trace", options_.trace, trace_->close());
    if (!options_.spoken.empty()) check("spoken text", options_.spoken, writeWholeFile(options_.spoken, spokenText_));
    if (!options_.timing.empty()) check("timing", options_.timing, writeWholeFile(options_.timing, session_.timingText()));
    return failures;
}

}  // namespace lesson
