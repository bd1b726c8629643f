// The browser's host: each command lowered as the desktop lowers it
// (engine/graphics/lowering.h) and filled by the canvas of hosts/web/page/,
// keys from the page's keyboard events, and waits that give the browser its
// turn (Asyncify).

#include "engine/graphics/host.h"

#include "engine/graphics/display_list.h"
#include "engine/graphics/faces.h"
#include "engine/graphics/ink.h"
#include "engine/graphics/keys.h"
#include "engine/graphics/layer.h"
#include "engine/graphics/lowering.h"
#include "engine/graphics/palette.h"
#include "engine/graphics/schemes.h"
#include "engine/graphics/trace.h"
#include "engine/graphics/colour_roles.h"
#include "engine/session/key_script.h"
#include "engine/session/waits.h"

#include <emscripten.h>

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The calls into the page (hosts/web/page/, bridge.js); each forwards to
// Module.page. The page begins with one JSON object of the numbers both sides
// go by (beginJson).
EM_JS(void, lesson_js_begin, (const char* json), { Module.page.begin(UTF8ToString(json)); });
// Whether the page keeps the trace (an address with seed, keys, walk or trace in its query).
EM_JS(int, lesson_js_tracing, (), { return Module.page.tracing(); });
// The canvas at its size and the view wanted, its ground painted: the
// view's scale, in device pixels to the page unit.
EM_JS(double, lesson_js_ground, (int cleared), { return Module.page.ground(cleared); });
EM_JS(void, lesson_js_cls, (), { Module.page.cls(); });
// What a command is lowered into (engine/graphics/lowering.h), in page units
// and palette colours. Rectangles, four numbers each (x0, y0, x1, y1),
// filled together even-odd on whole device pixels.
EM_JS(void, lesson_js_rects, (const double* rects, int count, int color), {
    Module.page.rects(HEAPF64.subarray(rects >> 3, (rects >> 3) + 4 * count), color);
});
// A path, six numbers a step (its kind as the page was told, x, y, r, from,
// to), filled (fill >= 0), then stroked width wide (width > 0).
EM_JS(void, lesson_js_path, (const double* steps, int count, int fill, int stroke, double width), {
    Module.page.path(HEAPF64.subarray(steps >> 3, (steps >> 3) + 6 * count), fill, stroke, width);
});
// Glyphs in one face (the browser family, the horizontal em and the cell
// height), three numbers each (code point, x, baseline); an erasing run
// strokes their outlines `outline` wide.
EM_JS(void, lesson_js_glyphs, (const char* family, int bold, int italic, double across, double height, int color,
                               double outline, const double* placed, int count), {
    Module.page.glyphs(UTF8ToString(family), bold, italic, across, height, color, outline,
                       HEAPF64.subarray(placed >> 3, (placed >> 3) + 3 * count));
});
// A glyph's ink box in ems of its face, from its origin (x right, y down),
// as the browser measures it: four floats into out; 0 when it cannot.
EM_JS(int, lesson_js_ink, (const char* family, int bold, int italic, int codePoint, float* out), {
    const ink = Module.page.ink(UTF8ToString(family), bold, italic, codePoint);
    if (!ink) return 0;
    HEAPF32.set(ink, out >> 2);
    return 1;
});
// The part of the page within an area, drawn again between area_begin (its
// ground painted, the drawing clipped to it) and area_end.
EM_JS(void, lesson_js_area_begin, (double x0, double y0, double x1, double y1, int cleared), {
    Module.page.areaBegin(x0, y0, x1, y1, cleared);
});
EM_JS(void, lesson_js_area_end, (), { Module.page.areaEnd(); });
// A stroke of the teacher's ink: its path (a start, then cubic segments of
// two control points and an end each), or a dot at the start; its pen's
// colour (r, g, b), opacity and width in page units.
EM_JS(void, lesson_js_ink_stroke, (const float* path, int count, int dot, int r, int g, int b, double opacity,
                                   double width), {
    Module.page.inkStroke(HEAPF32.subarray(path >> 2, (path >> 2) + 2 * count), dot, r, g, b, opacity, width);
});
// A wait begins: the step's new text as it is said, and the page's whole text.
EM_JS(void, lesson_js_speak, (const char* step, const char* page), {
    Module.page.speak(UTF8ToString(step), UTF8ToString(page));
});
EM_JS(void, lesson_js_title, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, lesson_js_idle, (), { Module.page.setIdle(); });
EM_JS(void, lesson_js_wait_kind, (const char* kind), { Module.page.setWait(UTF8ToString(kind)); });
EM_JS(void, lesson_js_end, (), { Module.page.end(); });
// The program's end, with its status: only then does the page count as stopped.
EM_JS(void, lesson_js_exited, (int status), { Module.page.exited(status); });
EM_JS(void, lesson_js_trace, (const char* line), { Module.page.trace(UTF8ToString(line)); });
EM_JS(int, lesson_js_resized, (), { return Module.page.takeResized(); });
// The page drawn whole again (at a new size or view): what waited for it may go on.
EM_JS(void, lesson_js_redrawn, (), { Module.page.redrawn(); });
// The next key typed (or the keys a script typed, for take_script), or null:
// a string the caller frees.
EM_JS(char*, lesson_js_take_key, (), { return Module.page.takeKey(); });
EM_JS(char*, lesson_js_take_script, (), { return Module.page.takeScript(); });
// Sleeps up to ms, waking early when a key, a script or a resize comes.
// The place in the browser's storage (hosts/web/page/place.js): taken for
// this tab (1), or not (0: another tab runs the program, or the storage is
// refused); its items as strings of char codes 0-255.
EM_JS(int, lesson_js_place_open, (const char* program), {
    Module.place = Module.makePlace(UTF8ToString(program));
    return Module.place.open() ? 1 : 0;
});
// An item's bytes into a buffer the caller frees, and their count; -1 when there is none.
EM_JS(int, lesson_js_place_read, (const char* name, unsigned char** out), {
    const text = Module.place.read(UTF8ToString(name));
    if (text === null) return -1;
    const at = _malloc(Math.max(1, text.length));
    for (let i = 0; i < text.length; ++i) HEAPU8[at + i] = text.charCodeAt(i) & 255;
    HEAPU32[out >> 2] = at;
    return text.length;
});
// Why the item could not be kept, or null: a string the caller frees.
EM_JS(char*, lesson_js_place_write, (const char* name, const unsigned char* bytes, int count), {
    let text = "";
    for (let i = 0; i < count; i += 8192)
        text += String.fromCharCode(...HEAPU8.subarray(bytes + i, bytes + Math.min(count, i + 8192)));
    const why = Module.place.write(UTF8ToString(name), text);
    if (!why) return 0;
    const size = lengthBytesUTF8(why) + 1;
    const at = _malloc(size);
    stringToUTF8(why, at, size);
    return at;
});
EM_JS(void, lesson_js_place_remove, (const char* name), { Module.place.remove(UTF8ToString(name)); });
EM_JS(void, lesson_js_place_clear, (), { Module.place.clear(); });
EM_JS(void, lesson_js_place_set_aside, (), { Module.place.setAside(); });
EM_JS(void, lesson_js_place_tell, (const char* line), { Module.place.tell(UTF8ToString(line)); });
EM_ASYNC_JS(void, lesson_js_wait, (int ms), { await Module.page.wait(ms); });
EM_ASYNC_JS(void, lesson_js_load_fonts, (), { await Module.page.loadFonts(); });

namespace lesson {

// The page reads a stroke's points as 2 x count floats from the first x, and
// a fill's rectangles as 4 x count doubles.
static_assert(sizeof(Point) == 2 * sizeof(float) && offsetof(Point, x) == 0 && offsetof(Point, y) == sizeof(float),
              "a Point is two floats, x then y");
static_assert(sizeof(FillRect) == 4 * sizeof(double) && sizeof(RectFill::rects) == 2 * sizeof(FillRect),
              "rectangles are four doubles each, one after another");

namespace {


// A wait's name as the page knows it: the trace's name, and "none" for no wait.
std::string waitName(WaitKind kind) {
    return kind == WaitKind::None ? "none" : std::string(waitKindName(kind));
}

// What the page is given as the program begins: the program's name, the
// page's size, its colours and the clear colour's index, the numbers of a
// path's steps, the key table (with the keypad's keys without NumLock by
// their codes), the numbers and keys of taps and swipes, the waits' names
// (none, those of an entry field, beside which a touch screen's pad stands,
// and the menus, which open on the whole page), and the ink: its key's mark,
// the letters of undo, clear and the eraser, the eraser's reach and the pens
// (letter, colour, opacity, width), the first the pen a teacher starts with
// (beginJson).
std::string rgbList(std::span<const Rgb> colours) {
    std::string list;
    for (const Rgb& c : colours) {
        list += list.empty() ? "[" : ",";
        list += "[" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "]";
    }
    return list + "]";
}

// The schemes in their order, each with its sixteen colours and its inks
// (kInkColours as the scheme shows them).
std::string pageSchemesJson() {
    std::string json;
    for (const Scheme& s : kSchemes)
        json += (json.empty() ? "[" : ",") + std::string("{\"name\":") + jsonString(s.name) +
                ",\"palette\":" + rgbList(s.palette) + ",\"ink\":" + rgbList(s.ink) + "}";
    return json + "]";
}

// A path step's kinds by the names the page knows them by, with their numbers.
std::string pathStepsJson() {
    using Kind = PathStep::Kind;
    constexpr std::pair<Kind, std::string_view> kNames[] = {
        {Kind::Move, "move"}, {Kind::Line, "line"}, {Kind::Arc, "arc"}, {Kind::ArcNegative, "arcNegative"},
        {Kind::Close, "close"}};
    std::string json;
    for (const auto& [kind, name] : kNames)
        json += (json.empty() ? "{" : ",") + jsonString(name) + ":" + std::to_string(static_cast<int>(kind));
    return json + "}";
}

// A number of the begin data: its numbers are whole or have at most three
// decimals, written here without printf, whose first call is a good part of
// the program's start in the browser; any other is written as the trace
// writes numbers.
std::string beginNumber(float v) {
    const long thousandths = std::lround(static_cast<double>(v) * 1000);
    if (static_cast<float>(static_cast<double>(thousandths) / 1000) != v) return jsonNumber(v);
    std::string out = (thousandths < 0 ? "-" : "") + std::to_string(std::labs(thousandths) / 1000);
    if (long part = std::labs(thousandths) % 1000) {
        std::string decimals = std::to_string(1000 + part).substr(1);
        while (decimals.back() == '0') decimals.pop_back();
        out += "." + decimals;
    }
    return out;
}

std::string beginJson(const std::string& program) {
    std::string keys;
    auto key = [&](std::string_view name, std::string_view value) {
        keys += keys.empty() ? "{" : ",";
        keys += jsonString(name) + ":" + jsonString(value);
    };
    for (const NamedKey& k : namedKeys()) key(k.name, k.key);
    key("Numpad5", kKeypadFiveKey);
    key("Numpad", kPlainKey);
    std::string pens;
    for (const InkPen& pen : kInkPens) {
        pens += pens.empty() ? "[" : ",";
        pens += "{\"pen\":" + jsonString(std::string(1, pen.letter)) + ",\"color\":[" + std::to_string(pen.colour.r) +
                "," + std::to_string(pen.colour.g) + "," + std::to_string(pen.colour.b) + "],\"opacity\":" +
                beginNumber(pen.opacity) + ",\"width\":" + beginNumber(pen.width) + "}";
    }
    const std::string ink = "{\"mark\":" + jsonString(std::string(1, kInkMark)) + ",\"undo\":" +
                            jsonString(std::string(1, kInkUndo)) + ",\"clear\":" +
                            jsonString(std::string(1, kInkClear)) + ",\"eraser\":" +
                            jsonString(std::string(1, kEraserPen)) + ",\"reach\":" + beginNumber(kEraserReach) +
                            ",\"pens\":" + pens + "]}";
    std::string entry;
    for (WaitKind kind : {WaitKind::Gate, WaitKind::MainMenu, WaitKind::SubMenu, WaitKind::Step})
        entry += (entry.empty() ? "" : ",") + jsonString(waitName(kind));
    return "{\"program\":" + jsonString(program) + ",\"page\":{\"width\":" + beginNumber(kPageWidth) +
           ",\"height\":" + beginNumber(kPageHeight) + "},\"schemes\":" + pageSchemesJson() + ",\"clear\":" + std::to_string(colour::kClearGround) +
           ",\"steps\":" + pathStepsJson() + ",\"keys\":" + keys + "}" +
           ",\"tapSlop\":" + beginNumber(kTapSlopUnits) + ",\"swipe\":" + beginNumber(kSwipeUnits) +
           ",\"back\":" + jsonString(kBackKey) + ",\"forward\":" + jsonString(kForwardKey) +
           ",\"tap\":" + jsonString(std::string(1, kTapMark)) + ",\"waits\":{\"none\":" + jsonString(waitName(WaitKind::None)) +
           ",\"entry\":[" + entry + "],\"menus\":[" + jsonString(waitName(WaitKind::MainMenu)) + "," +
           jsonString(waitName(WaitKind::SubMenu)) + "]},\"ink\":" + ink + "}";
}

std::string takeString(char* text) {
    if (!text) return {};
    std::string out(text);
    std::free(text);
    return out;
}

// The trace of the run, line by line into the page (window.lesson.trace()).
class PageTrace : public DrawSink {
public:
    void draw(const DrawCommand& cmd) override { lesson_js_trace(traceLine(cmd).c_str()); }
    void formula(std::string_view text, float x, float y, int color, float end) override {
        lesson_js_trace(traceFormulaLine(text, x, y, color, end).c_str());
    }
    void key(std::string_view key) override { lesson_js_trace(traceKeyLine(key).c_str()); }
    void tap(float x, float y) override { lesson_js_trace(traceTapLine(x, y).c_str()); }
    void wait(std::string_view kind) override { lesson_js_trace(traceWaitLine(kind).c_str()); }
    void ink(const InkAction& action) override { lesson_js_trace(traceInkLine(action).c_str()); }
};

// The glyphs' ink, as the browser measures it in the faces it draws with.
class PageInk : public InkSource {
protected:
    std::optional<GlyphInk> measureInk(std::string_view family, bool bold, bool italic, char32_t cp) override {
        float box[4];
        if (!lesson_js_ink(std::string(pageFamily(family).pageName).c_str(), bold, italic, static_cast<int>(cp), box))
            return std::nullopt;
        return GlyphInk{box[0], box[1], box[2], box[3]};
    }
};

// The place in the browser's storage, one for each program and folder.
class PagePlace : public PlaceStore {
public:
    std::optional<std::string> read(const std::string& name) override {
        unsigned char* bytes = nullptr;
        const int count = lesson_js_place_read(name.c_str(), &bytes);
        if (count < 0) return std::nullopt;
        std::string out(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
        std::free(bytes);
        return out;
    }
    std::optional<std::string> write(const std::string& name, std::string_view bytes) override {
        char* why = lesson_js_place_write(name.c_str(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                          static_cast<int>(bytes.size()));
        if (!why) return std::nullopt;
        return takeString(why);
    }
    void remove(const std::string& name) override { lesson_js_place_remove(name.c_str()); }
    void clear() override { lesson_js_place_clear(); }
    void setAside() override { lesson_js_place_set_aside(); }
    void tell(const std::string& line) override { lesson_js_place_tell(line.c_str()); }
};

class WebHost : public Host, private FillTarget {
public:
    WebHost(const LayerOptions& options, const DisplayList& page) : page_(page) {
        lesson_js_begin(beginJson(options.program).c_str());
        tracing_ = lesson_js_tracing() != 0;
        // A scripted opening (seed, keys, walk or trace in the address) neither
        // keeps a place nor resumes one; nor does a second tab of the program.
        if (options.keepPlace && !tracing_ && lesson_js_place_open(options.program.c_str()))
            place_ = std::make_unique<PagePlace>();
        // The first page waits for the faces: a glyph drawn before would be
        // drawn in the browser's own font.
        lesson_js_load_fonts();
        scale_ = lesson_js_ground(0);
        lastTurn_ = std::chrono::steady_clock::now();
    }

    // The program has ended (its last item chosen): nothing more to wait for.
    ~WebHost() override { lesson_js_end(); }

    bool interactive() const override { return true; }
    InkSource* ink() override { return &ink_; }

    void draw(const DrawCommand& cmd, bool erase) override {
        if (lesson_js_resized()) {
            redraw();  // the page at the canvas's new size, this command included
            return;
        }
        render(cmd, erase);
    }

    void redraw() override {
        scale_ = lesson_js_ground(page_.cleared() ? 1 : 0);
        drawFrom(nullptr);
        lesson_js_redrawn();
    }

    void redrawArea(const LogicalBox& area) override {
        if (lesson_js_resized()) {
            redraw();
            return;
        }
        // The canvas widens the area to whole device pixels: what lies near
        // it is drawn again too (clipped to it).
        constexpr float kNear = 8;
        const LogicalBox near{area.x0 - kNear, area.y0 - kNear, area.x1 + kNear, area.y1 + kNear};
        lesson_js_area_begin(area.x0, area.y0, area.x1, area.y1, page_.cleared() ? 1 : 0);
        drawFrom(&near);
        lesson_js_area_end();
    }

    void show() override {
        if (lesson_js_resized()) redraw();
    }

    void wait(int timeoutMs, std::deque<std::string>& keys) override {
        // The browser gets its turn at every wait, and at least this often in a
        // long scripted run, so that the page shows how far it has come.
        constexpr auto kTurnEvery = std::chrono::milliseconds(100);
        const auto now = std::chrono::steady_clock::now();
        if (timeoutMs > 0 || now - lastTurn_ > kTurnEvery) {
            lesson_js_wait(timeoutMs);
            lastTurn_ = std::chrono::steady_clock::now();
        }
        if (lesson_js_resized()) redraw();
        while (char* key = lesson_js_take_key()) keys.push_back(takeString(key));
    }

    PlaceStore* placeStore() override { return place_.get(); }
    std::string script() override { return takeString(lesson_js_take_script()); }
    void idle() override { lesson_js_idle(); }
    void waitOpens(WaitKind kind) override { lesson_js_wait_kind(waitName(kind).c_str()); }
    void setTitle(const std::string& title) override { lesson_js_title(title.c_str()); }
    void speak(const std::string& step, const std::string& page) override { lesson_js_speak(step.c_str(), page.c_str()); }
    // Ctrl+S is the page's own: it downloads the canvas as a PNG.
    std::string savePage() override { return "the page saves itself with Ctrl+S"; }
    // The trace only where the page keeps it: a teacher's plain opening keeps none.
    std::vector<DrawSink*> sinks() override {
        if (!tracing_) return {};
        return {&trace_};
    }

private:
    void drawFrom(const LogicalBox* area) {
        page_.forEachDrawn(
            area, [&](const DisplayList::Entry& entry) {
                for (int i = 0; i < entry.coats; ++i) render(entry.cmd, entry.erase);
            },
            [&](const InkStroke& stroke) { renderInk(stroke); });
    }

    void renderInk(const InkStroke& stroke) {
        const InkPath path = inkPath(stroke);
        std::vector<Point> points{path.start};
        points.insert(points.end(), path.curves.begin(), path.curves.end());
        const InkPen& pen = *stroke.pen;
        lesson_js_ink_stroke(&points[0].x, static_cast<int>(points.size()), path.dot, pen.colour.r, pen.colour.g,
                             pen.colour.b, pen.opacity, pen.width);
    }

    // A page clear paints the canvas; every other command is lowered at the
    // view's scale and handed to the page to fill.
    void render(const DrawCommand& cmd, bool erase) {
        if (cmd.op == DrawCommand::Op::Cls) {
            lesson_js_cls();
            return;
        }
        lowerCommand(cmd, erase, scale_, *this);
    }

    void fillRects(const RectFill& rects) override {
        lesson_js_rects(&rects.rects[0].x0, rects.count, rects.colour);
    }

    void fillPath(const PathFill& path) override {
        std::vector<double> steps;
        steps.reserve(6 * path.steps.size());
        for (const PathStep& step : path.steps)
            steps.insert(steps.end(), {static_cast<double>(step.kind), step.x, step.y, step.r, step.from, step.to});
        lesson_js_path(steps.data(), static_cast<int>(path.steps.size()), path.fill, path.stroke, path.width);
    }

    void fillGlyphs(const GlyphRun& run) override {
        std::vector<double> placed;
        placed.reserve(3 * run.glyphs.size());
        for (const PlacedGlyph& glyph : run.glyphs)
            placed.insert(placed.end(), {static_cast<double>(glyph.drawn), glyph.x, glyph.baseline});
        lesson_js_glyphs(std::string(pageFamily(run.family).pageName).c_str(), run.bold, run.italic, run.across,
                         run.height, run.colour, run.outline, placed.data(), static_cast<int>(run.glyphs.size()));
    }

    const DisplayList& page_;
    PageInk ink_;
    PageTrace trace_;
    bool tracing_ = false;
    double scale_ = 1;  // the canvas's device pixels to the page unit, as last painted
    std::unique_ptr<PagePlace> place_;
    std::chrono::steady_clock::time_point lastTurn_;
};

}  // namespace

std::unique_ptr<Host> makeHost(const LayerOptions& options, const DisplayList& page) {
    return std::make_unique<WebHost>(options, page);
}

std::optional<std::string> hostCannotStart(bool, const std::string&) { return std::nullopt; }

bool hostWalksInWindow() { return true; }

void hostEnded(int status) { lesson_js_exited(status); }

}  // namespace lesson
