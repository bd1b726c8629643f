#pragma once
// The graphics layer that the whole engine draws through: line, box, circle
// and arc, polyline, scaled text in a chosen face, clear and a short pause.
// Each drawing call becomes one DrawCommand handed to every sink (the host's,
// the page's display list and the host drawing what it keeps, the trace, any
// added); while a step back replays off the screen, to the display list alone.
// The keys, waits and ink the session reads go to the same sinks.

#include "engine/graphics/commands.h"
#include "engine/graphics/display_list.h"
#include "engine/graphics/keys.h"
#include "engine/graphics/layer_options.h"
#include "engine/session/session.h"

#include <memory>
#include <string_view>
#include <vector>

namespace lesson {

class Host;

class Layer {
public:
    // Draws onto `page`, which `host` draws; a pause waits as `session` says.
    Layer(DisplayList& page, Host& host, Session& session);
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

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

    void setFont(const FontState& font) { font_ = font; }
    void setFontName(std::string_view name) { font_.name = std::string(name); }
    void setFontSize(float size) { font_.size = size; }
    void setFontBold(bool on) { font_.bold = on; }
    void setFontItalic(bool on) { font_.italic = on; }
    const FontState& font() const { return font_; }
    void setDrawWidth(float width) { pen_ = width; }
    float drawWidth() const { return pen_; }

    // A formula drawn, for the sinks that keep formulas (the trace).
    void traceFormula(std::string_view text, float x, float y, int color, float end);
    // One more consumer of the stream from now on (not owned; it must stay
    // alive as long as the layer).
    void addSink(DrawSink& sink);

    // What the session reads, handed to the sinks: a key (or a tap), an ink
    // action (every sink sees it as the page takes it), a wait begun.
    void keyRead(std::string_view key);
    void ink(const InkAction& action);
    void waitBegun(WaitKind kind);
    // The page shown by the host (not while a step back replays).
    void show();
    // A step back replays the run from its start: the drawing state as the
    // program starts and a white page that only keeps its display list until
    // the wait gone back to, then drawn once.
    void beginReplay();
    void endReplay();

    // What is visible on the page, as every renderer draws it.
    const DisplayList& page() const { return page_; }
    // The host that draws the page and reads the keys.
    Host& host() { return host_; }

private:
    class PageSink;
    void emit(DrawCommand cmd);

    DisplayList& page_;
    Host& host_;
    Session& session_;
    std::unique_ptr<DrawSink> pageSink_;    // the display list, and the host drawing what it keeps
    std::unique_ptr<DrawSink> replaySink_;  // the display list alone
    // The stream's consumers: in a run the host's, the page, and any added;
    // while a step back replays off the screen, the display list alone.
    std::vector<DrawSink*> sinks_;
    std::vector<DrawSink*> replaySinks_;
    const std::vector<DrawSink*>* active_ = &sinks_;
    FontState font_;
    float pen_ = 1;
};

}  // namespace lesson
