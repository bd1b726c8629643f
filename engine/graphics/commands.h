#pragma once
// The drawing stream. Every drawing call of the lesson engine becomes one
// DrawCommand; the window, the screenshot and the trace are consumers of the
// same stream (DrawSink), so what a class sees and what a test reads agree.

#include "engine/session/key_script.h"
#include "engine/session/point.h"

#include <string>
#include <string_view>
#include <vector>

namespace lesson {

// Current font of the layer: face name as the program asked for it, size,
// weight and slant.
struct FontState {
    std::string name = "ｺﾞｼｯｸ";
    float size = 16;
    bool bold = false;
    bool italic = false;
};

// A box on the page in logical units.
struct LogicalBox {
    float x0, y0, x1, y1;
};

inline constexpr int kNoFill = -1;
inline constexpr int kWhite = 15;
inline constexpr int kBlack = 0;

struct DrawCommand {
    enum class Op { Line, Box, Circle, Polyline, Text, Cls, Pause };
    Op op = Op::Line;
    // Line: (x1, y1)-(x2, y2). Box: corners. Circle: centre (x1, y1), radius r.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float r = 0, start = 0, end = 0;  // circle: angles as fractions of a turn
    int color = 0;                    // line / outline / glyph colour
    int fill = kNoFill;               // box: fill colour (== color when filled in its line colour)
    float pen = 1;
    std::vector<Point> points;        // polyline
    std::string text;                 // text: UTF-8
    int mx = 1, my = 1;               // text magnification
    FontState font;                   // text
};

// A consumer of the layer's stream: every drawing command, and beside them
// every key read and every formula drawn (with its markup and where it
// ended), every tap and every ink action. The layer hands each to all of its sinks in turn.
class DrawSink {
public:
    virtual ~DrawSink() = default;
    virtual void draw(const DrawCommand& cmd) = 0;
    virtual void key(std::string_view key) {}
    // A tap read at a wait, at a page position.
    virtual void tap(float x, float y) {}
    virtual void formula(std::string_view text, float x, float y, int color, float end) {}
    // A wait for the user begins: "gate", "menu", "submenu", "step" or "anykey".
    virtual void wait(std::string_view kind) {}
    // The teacher's ink: a stroke, an erasure, an undo or a clear of the
    // page's ink, its points within the page (see fittedInk).
    virtual void ink(const InkAction& action) {}
};

}  // namespace lesson
