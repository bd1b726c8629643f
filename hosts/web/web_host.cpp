// The browser's host: the page drawn on the canvas of hosts/web/page.js with the
// numbers the desktop draws with (the palette, the face table, the cell
// advance, the erasing spread), keys from the page's keyboard events, and
// waits that give the browser its turn (Asyncify).

#include "engine/graphics/host.h"

#include "engine/graphics/display_list.h"
#include "engine/graphics/faces.h"
#include "engine/graphics/keys.h"
#include "engine/graphics/layer.h"
#include "engine/graphics/palette.h"
#include "engine/graphics/trace.h"
#include "engine/chars/chars.h"

#include <emscripten.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

// The calls into the page (hosts/web/page.js); each forwards to Module.page.
// The page begins: the program's name, its colours, the clear colour, the
// erasing spread, and the keys that type no text (name \x1f key \x1e ...).
EM_JS(void, lesson_js_begin,
      (const char* program, const unsigned char* palette, int clearColor, double spread, const char* keys), {
    const named = {};
    for (const row of UTF8ToString(keys).split(String.fromCharCode(30))) {
      const [name, key] = row.split(String.fromCharCode(31));
      if (name) named[name] = key;
    }
    Module.page.begin(UTF8ToString(program), HEAPU8.subarray(palette, palette + 48), clearColor, spread, named);
});
EM_JS(void, lesson_js_ground, (int cleared), { Module.page.ground(cleared); });
EM_JS(void, lesson_js_cls, (), { Module.page.cls(); });
// Pens are in page units; an erasing command (erase != 0) is widened by the
// spread in device pixels.
EM_JS(void, lesson_js_line, (double x1, double y1, double x2, double y2, int color, double pen, int erase), {
    Module.page.line(x1, y1, x2, y2, color, pen, erase);
});
EM_JS(void, lesson_js_box, (double x1, double y1, double x2, double y2, int color, int fill, double pen, int erase), {
    Module.page.box(x1, y1, x2, y2, color, fill, pen, erase);
});
EM_JS(void, lesson_js_circle,
      (double x, double y, double r, double start, double end, int color, int fill, double pen, int erase), {
    Module.page.circle(x, y, r, start, end, color, fill, pen, erase);
});
EM_JS(void, lesson_js_polyline, (const float* points, int count, int color, int fill, double pen, int erase), {
    Module.page.polyline(HEAPF32.subarray(points >> 2, (points >> 2) + 2 * count), color, fill, pen, erase);
});
// A text's face: the browser family, the horizontal em and the cell height
// in page units; an erasing text strokes its glyphs by the spread and
// `extra` page units more.
EM_JS(void, lesson_js_font,
      (const char* family, int bold, int italic, double across, double height, int color, int erase, double extra), {
    Module.page.font(UTF8ToString(family), bold, italic, across, height, color, erase, extra);
});
// A glyph's ink box in ems of its face, from its origin (x right, y down),
// as the browser measures it: four floats into out; 0 when it cannot.
EM_JS(int, lesson_js_ink, (const char* family, int bold, int italic, int codePoint, float* out), {
    const ink = Module.page.ink(UTF8ToString(family), bold, italic, codePoint);
    if (!ink) return 0;
    HEAPF32.set(ink, out >> 2);
    return 1;
});
EM_JS(void, lesson_js_glyph, (int codePoint, double x, double y), { Module.page.glyph(codePoint, x, y); });
EM_JS(void, lesson_js_title, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, lesson_js_idle, (), { Module.page.setIdle(); });
EM_JS(void, lesson_js_wait_kind, (const char* kind), { Module.page.setWait(UTF8ToString(kind)); });
EM_JS(void, lesson_js_end, (), { Module.page.end(); });
EM_JS(void, lesson_js_trace, (const char* line), { Module.page.trace(UTF8ToString(line)); });
EM_JS(int, lesson_js_resized, (), { return Module.page.takeResized(); });
// The next key typed (or the keys a script typed, for take_script), or null:
// a string the caller frees.
EM_JS(char*, lesson_js_take_key, (), { return Module.page.takeKey(); });
EM_JS(char*, lesson_js_take_script, (), { return Module.page.takeScript(); });
// Sleeps up to ms, waking early when a key, a script or a resize comes.
EM_ASYNC_JS(void, lesson_js_wait, (int ms), { await Module.page.wait(ms); });
EM_ASYNC_JS(void, lesson_js_load_fonts, (), { await Module.page.loadFonts(); });

namespace lesson {

namespace {

// The browser's names of the font families the face table draws with (the
// page embeds them under these names).
std::string_view pageFamily(std::string_view family) {
    if (family == "Liberation Serif") return "Lesson Serif";
    if (family == "DejaVu Sans") return "Lesson Sans";
    return "Lesson Gothic";
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
};

// The glyphs' ink, as the browser measures it in the faces it draws with.
class PageInk : public InkSource {
protected:
    std::optional<GlyphInk> measureInk(std::string_view family, bool bold, bool italic, char32_t cp) override {
        float box[4];
        if (!lesson_js_ink(std::string(pageFamily(family)).c_str(), bold, italic, static_cast<int>(cp), box))
            return std::nullopt;
        return GlyphInk{box[0], box[1], box[2], box[3]};
    }
};

class WebHost : public Host {
public:
    WebHost(const LayerOptions& options, const DisplayList& page) : page_(page) {
        unsigned char palette[48];
        for (int i = 0; i < 16; ++i) {
            palette[3 * i] = kPalette[i].r;
            palette[3 * i + 1] = kPalette[i].g;
            palette[3 * i + 2] = kPalette[i].b;
        }
        std::string keys;
        for (const NamedKey& k : namedKeys()) keys.append(k.name).append("\x1f").append(k.key).append("\x1e");
        keys.append("Numpad5\x1f").append(kKeypadFiveKey).append("\x1eNumpad\x1f").append(kPlainKey);
        lesson_js_begin(options.program.c_str(), palette, 10, kEraseSpreadPixels, keys.c_str());
        static_assert(kClearColor.r == kPalette[10].r && kClearColor.g == kPalette[10].g &&
                      kClearColor.b == kPalette[10].b);
        // The first page waits for the faces: a glyph drawn before would be
        // drawn in the browser's own font.
        lesson_js_load_fonts();
        lesson_js_ground(0);
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
        lesson_js_ground(page_.cleared() ? 1 : 0);
        for (const DisplayList::Entry& entry : page_.entries())
            for (int i = 0; i < entry.coats; ++i) render(entry.cmd, entry.erase);
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

    std::string script() override { return takeString(lesson_js_take_script()); }
    void idle() override { lesson_js_idle(); }
    void waitOpens(WaitKind kind) override {
        static constexpr const char* kNames[] = {"none", "gate", "menu", "submenu", "step", "anykey"};
        lesson_js_wait_kind(kNames[static_cast<int>(kind)]);
    }
    void setTitle(const std::string& title) override { lesson_js_title(title.c_str()); }
    // Ctrl+S is the page's own: it downloads the canvas as a PNG.
    std::string savePage() override { return "the page saves itself with Ctrl+S"; }
    std::vector<DrawSink*> sinks() override { return {&trace_}; }

private:
    void render(const DrawCommand& cmd, bool erase) {
        const double pen = std::max(0.0f, cmd.pen);
        switch (cmd.op) {
            case DrawCommand::Op::Cls:
                lesson_js_cls();
                break;
            case DrawCommand::Op::Line:
                lesson_js_line(cmd.x1, cmd.y1, cmd.x2, cmd.y2, paletteIndex(cmd.color), pen, erase);
                break;
            case DrawCommand::Op::Box:
                lesson_js_box(cmd.x1, cmd.y1, cmd.x2, cmd.y2, paletteIndex(cmd.color),
                              paletteIndex(cmd.fill == kNoFill ? cmd.color : cmd.fill), pen, erase);
                break;
            case DrawCommand::Op::Circle:
                lesson_js_circle(cmd.x1, cmd.y1, cmd.r, cmd.start, cmd.end, paletteIndex(cmd.color),
                                 cmd.fill == kNoFill ? -1 : paletteIndex(cmd.fill), pen, erase);
                break;
            case DrawCommand::Op::Polyline:
                if (cmd.points.empty()) break;
                lesson_js_polyline(&cmd.points[0].x, static_cast<int>(cmd.points.size()), paletteIndex(cmd.color),
                                   cmd.fill == kNoFill ? -1 : paletteIndex(cmd.fill), pen, erase);
                break;
            case DrawCommand::Op::Text:
                renderText(cmd, erase);
                break;
            case DrawCommand::Op::Pause:
                break;
        }
    }

    // Glyph by glyph, each in its cell, as the desktop's raster does.
    void renderText(const DrawCommand& cmd, bool erase) {
        if (cmd.mx <= 0 || cmd.my <= 0 || cmd.font.size <= 0) return;
        const FaceRule& rule = faceRule(cmd.font.name);
        const double size = cmd.font.size;
        const double cellHeight = cmd.my * size;
        const double across = cmd.mx * size * rule.widthScale;
        // A bold glyph is widened by about a 48th of its em on each side when it
        // is drawn; its erasing stroke is widened by as much more.
        const double em = std::max(across, cellHeight);
        lesson_js_font(std::string(pageFamily(rule.family)).c_str(), cmd.font.bold, cmd.font.italic, across,
                       cellHeight, paletteIndex(cmd.color), erase, cmd.font.bold ? em / 24 : 0.0);
        double x = cmd.x1;
        const double baseline = cmd.y1 + rule.baseline * cellHeight;
        for (std::string_view ch : splitChars(cmd.text)) {
            const char32_t cp = drawnCharacter(rule, codePoint(ch));
            if (!blankCharacter(cp) && cp <= 0x10FFFF) lesson_js_glyph(static_cast<int>(cp), x, baseline);
            x += cellAdvance(cmd, ch);
        }
    }

    const DisplayList& page_;
    PageInk ink_;
    PageTrace trace_;
    std::chrono::steady_clock::time_point lastTurn_;
};

}  // namespace

std::unique_ptr<Host> makeHost(const LayerOptions& options, const DisplayList& page) {
    return std::make_unique<WebHost>(options, page);
}

std::optional<std::string> hostCannotStart(bool, const std::string&) { return std::nullopt; }

bool hostWalksInWindow() { return true; }

}  // namespace lesson
