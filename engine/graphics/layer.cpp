#include "engine/graphics/layer.h"

#include "engine/graphics/host.h"

#include <optional>

namespace lesson {

namespace {
// The layer's pause between animation frames: a nine-frame tilt takes about
// a quarter of a second and reads as one smooth movement.
constexpr int kPauseMillis = 30;

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

Layer::Layer(DisplayList& page, Host& host, Session& session)
    : page_(page),
      host_(host),
      session_(session),
      pageSink_(std::make_unique<PageSink>(page_, host_)),
      replaySink_(std::make_unique<ReplaySink>(page_)),
      replaySinks_{replaySink_.get()} {
    // The host's sinks (the handout) come first: they see a page clear while
    // the page still stands as the class saw it.
    sinks_ = host_.sinks();
    sinks_.push_back(pageSink_.get());
}

Layer::~Layer() = default;

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
    if (!session_.replaying()) host_.show();
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

void Layer::traceFormula(std::string_view text, float x, float y, int color, float end) {
    for (DrawSink* sink : *active_) sink->formula(text, x, y, color, end);
}

void Layer::keyRead(std::string_view key) {
    const std::optional<Point> tap = tapPoint(key);
    for (DrawSink* sink : *active_) {
        if (tap) sink->tap(tap->x, tap->y);
        else sink->key(key);
    }
}

void Layer::ink(const InkAction& action) {
    // Every sink sees it as the page takes it: within the page, thinned.
    const InkAction fitted = fittedInk(action);
    for (DrawSink* sink : *active_) sink->ink(fitted);
}

void Layer::waitBegun(WaitKind kind) {
    for (DrawSink* sink : *active_) sink->wait(waitKindName(kind));
}

void Layer::beginReplay() {
    font_ = FontState{};
    pen_ = 1;
    page_.reset();
    active_ = &replaySinks_;
}

void Layer::endReplay() {
    active_ = &sinks_;
    host_.redraw();  // the page drawn once, from its display list
}

}  // namespace lesson
