// A small X11 helper for the real-window tests: finds a program's window by
// its title and acts on it as a teacher would, one action after another.
//
//   window_tool --wait-wm     until a window manager runs on the display
//   window_tool TITLE [--timeout SECONDS] ACTION...
//     wait-pixel X Y RRGGBB   until the page point (X, Y) shows that colour
//                             steadily (page units of the 1344 x 720 page)
//     sleep MS                wait MS milliseconds
//     key KEY [COUNT]         press and release KEY (an X keysym name such
//                             as k, 1, Return, BackSpace; ctrl+s holds
//                             Control down) COUNT times at once
//     close                   ask the window to close (WM_DELETE_WINDOW)
//     kill-client             kill the window's X connection (as xkill does)
//     geometry                print the window's size as "W H" on stdout
//     wait-gone               until the window has disappeared
//     minimise                iconify the window (as its title bar's button does)
//     restore                 ask the window manager to show it again, on top
//     cover MS                another window over it for MS milliseconds, then gone
//     same-as FILE.png        until the window shows exactly the pixels of the
//                             PNG (the window's size); else the count that differ
//     differs-from FILE.png   until the window shows anything but that PNG
//
// Exit status 0 when every action was done, 1 with a message otherwise.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPageWidth = 1344;
constexpr double kPageHeight = 720;
// A colour must hold this long before it counts: the program shows passing
// states while it reads scripted keys.
constexpr int kSteadyMillis = 400;

[[noreturn]] void die(const std::string& why) {
    std::fprintf(stderr, "window_tool: %s\n", why.c_str());
    std::exit(1);
}

void sleepMillis(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::string windowTitle(Display* d, Window w) {
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// A program's window: its title, or its title and what it says after " - "
// (the tool in hand, a saved page).
bool titled(const std::string& shown, const std::string& title) {
    return shown == title || shown.rfind(title + " - ", 0) == 0;
}

std::optional<Window> findWindow(Display* d, Window parent, const std::string& title) {
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, parent, &root, &up, &children, &count)) return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable &&
            titled(windowTitle(d, children[i]), title))
            found = children[i];
        else
            found = findWindow(d, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

struct Tool {
    Display* display = nullptr;
    std::string title;
    Window window = 0;
    Clock::time_point deadline;

    bool timedOut() const { return Clock::now() > deadline; }

    void waitForWindow() {
        while (!timedOut()) {
            if (auto w = findWindow(display, DefaultRootWindow(display), title)) {
                window = *w;
                return;
            }
            sleepMillis(50);
        }
        die("no window titled \"" + title + "\" appeared; windows with a title: " + titles(DefaultRootWindow(display)));
    }

    // Every window with a title under parent, and whether it is shown: what
    // the screen held when the window looked for did not come.
    std::string titles(Window parent) {
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, parent, &root, &up, &children, &count)) return {};
        std::string out;
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes a;
            const std::string name = windowTitle(display, children[i]);
            if (!name.empty() && XGetWindowAttributes(display, children[i], &a))
                out += "\"" + name + (a.map_state == IsViewable ? "\" (shown) " : "\" (not shown) ");
            out += titles(children[i]);
        }
        if (children) XFree(children);
        return out;
    }

    // The colour shown at a page point, as 0xRRGGBB, or nothing when the
    // window cannot be read.
    std::optional<unsigned long> pixelAt(double pageX, double pageY) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable) return std::nullopt;
        const double scale = std::min(a.width / kPageWidth, a.height / kPageHeight);
        const int x = static_cast<int>((a.width - kPageWidth * scale) / 2 + pageX * scale);
        const int y = static_cast<int>((a.height - kPageHeight * scale) / 2 + pageY * scale);
        if (x < 0 || y < 0 || x >= a.width || y >= a.height) return std::nullopt;
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return std::nullopt;
        const unsigned long p = XGetPixel(image, 0, 0);
        auto channel = [p](unsigned long mask) {
            if (mask == 0) return 0ul;
            int shift = 0;
            while (((mask >> shift) & 1ul) == 0) ++shift;
            const unsigned long v = (p & mask) >> shift;
            const unsigned long max = mask >> shift;
            return v * 255ul / max;
        };
        const unsigned long rgb = channel(image->red_mask) << 16 | channel(image->green_mask) << 8 |
                                  channel(image->blue_mask);
        XDestroyImage(image);
        return rgb;
    }

    // Anti-aliasing and scaling may blend an edge a little.
    static bool near(unsigned long a, unsigned long b) {
        for (int shift : {0, 8, 16}) {
            const long d = static_cast<long>((a >> shift) & 0xFF) - static_cast<long>((b >> shift) & 0xFF);
            if (d > 40 || d < -40) return false;
        }
        return true;
    }

    void waitPixel(double x, double y, unsigned long want) {
        bool steady = false;
        Clock::time_point since{};
        unsigned long last = 0;
        while (!timedOut()) {
            const auto got = pixelAt(x, y);
            if (got) last = *got;
            if (got && near(*got, want)) {
                if (!steady) since = Clock::now();
                steady = true;
                if (Clock::now() - since >= std::chrono::milliseconds(kSteadyMillis)) return;
            } else {
                steady = false;
            }
            sleepMillis(20);
        }
        char message[160];
        std::snprintf(message, sizeof message, "the page never showed %06lx at (%g, %g); last seen %06lx", want, x, y,
                      last);
        die(message);
    }

    // A press or a release of one key, with the modifiers held (state).
    void sendKeyEvent(KeyCode code, int type, unsigned state) {
        XEvent ev;
        std::memset(&ev, 0, sizeof ev);
        ev.xkey.type = type;
        ev.xkey.display = display;
        ev.xkey.window = window;
        ev.xkey.root = DefaultRootWindow(display);
        ev.xkey.subwindow = None;
        ev.xkey.time = CurrentTime;
        ev.xkey.x = ev.xkey.y = ev.xkey.x_root = ev.xkey.y_root = 1;
        ev.xkey.same_screen = True;
        ev.xkey.keycode = code;
        ev.xkey.state = state;
        XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
    }

    KeyCode keyCode(const std::string& name) {
        const KeySym sym = XStringToKeysym(name.c_str());
        if (sym == NoSymbol) die("unknown key " + name);
        const KeyCode code = XKeysymToKeycode(display, sym);
        if (code == 0) die("no key code for " + name);
        return code;
    }

    // "ctrl+KEY" holds Control down around KEY, as a hand does.
    void sendKey(const std::string& name, int count) {
        const bool ctrl = name.rfind("ctrl+", 0) == 0;
        const KeyCode code = keyCode(ctrl ? name.substr(5) : name);
        const KeyCode control = ctrl ? keyCode("Control_L") : 0;
        for (int i = 0; i < count; ++i) {
            if (ctrl) sendKeyEvent(control, KeyPress, 0);
            for (int type : {KeyPress, KeyRelease}) sendKeyEvent(code, type, ctrl ? ControlMask : 0);
            if (ctrl) sendKeyEvent(control, KeyRelease, ControlMask);
        }
        XFlush(display);
    }

    // A client message about the window: its type's atom and two longs,
    // sent to `to` with the event mask given.
    void sendMessage(const char* type, long first, Window to, long mask) {
        XEvent ev;
        std::memset(&ev, 0, sizeof ev);
        ev.xclient.type = ClientMessage;
        ev.xclient.window = window;
        ev.xclient.message_type = XInternAtom(display, type, False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = first;
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, to, False, mask, &ev);
    }

    void close() {
        sendMessage("WM_PROTOCOLS", static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False)), window,
                    NoEventMask);
        XFlush(display);
    }

    void minimise() {
        XIconifyWindow(display, window, DefaultScreen(display));
        XFlush(display);
        // Until the window manager has taken it off the screen.
        while (!timedOut()) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable) return;
            sleepMillis(20);
        }
        die("the window was not minimised");
    }

    // As a click on the task bar does: the window manager is asked to make
    // the window the active one.
    void restore() {
        sendMessage("_NET_ACTIVE_WINDOW", 2 /* from a pager */, DefaultRootWindow(display),
                    SubstructureRedirectMask | SubstructureNotifyMask);
        XMapRaised(display, window);
        XFlush(display);
        while (!timedOut()) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, window, &a) && a.map_state == IsViewable) return;
            sleepMillis(20);
        }
        die("the window was not restored");
    }

    // Another program's window, black, laid over the whole window and taken
    // away again (with no compositor the uncovered part is the program's to
    // draw again).
    void cover(int ms) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, window, &a)) die("the window has gone");
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
        const Window other = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, a.width, a.height, 0, 0,
                                                 BlackPixel(display, DefaultScreen(display)));
        XSizeHints hints;
        std::memset(&hints, 0, sizeof hints);
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = a.width;
        hints.height = a.height;
        XSetWMNormalHints(display, other, &hints);
        XStoreName(display, other, "cover");
        XMapRaised(display, other);
        XMoveResizeWindow(display, other, x, y, a.width, a.height);
        XSync(display, False);
        sleepMillis(ms);
        XDestroyWindow(display, other);
        XSync(display, False);
    }

    // The window's pixels as 0xRRGGBB, row by row; empty when it cannot be read.
    std::vector<std::uint32_t> windowPixels(int& width, int& height) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable) return {};
        XImage* image = XGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        if (!image) return {};
        width = a.width;
        height = a.height;
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out[static_cast<std::size_t>(y) * width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
        XDestroyImage(image);
        return out;
    }

    // Until the window shows exactly the PNG's pixels (same = true), or
    // until it shows anything else (same = false).
    void sameAs(const std::string& png, bool same = true) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) die("cannot read " + png);
        cairo_surface_flush(s);
        const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        long differing = -1;
        int width = 0, height = 0;
        while (!timedOut()) {
            const auto pixels = windowPixels(width, height);
            if (!pixels.empty() && width == w && height == h) {
                differing = 0;
                for (int y = 0; y < h; ++y) {
                    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
                    for (int x = 0; x < w; ++x)
                        differing += (row[x] & 0xFFFFFF) != pixels[static_cast<std::size_t>(y) * w + x];
                }
                if ((differing == 0) == same) {
                    cairo_surface_destroy(s);
                    return;
                }
            }
            sleepMillis(100);
        }
        cairo_surface_destroy(s);
        if (!same) die("the window (" + std::to_string(width) + "x" + std::to_string(height) + ") kept showing " + png);
        char message[200];
        std::snprintf(message, sizeof message, "the window (%dx%d) never showed %s (%dx%d): %ld of %ld pixels differ",
                      width, height, png.c_str(), w, h, differing, static_cast<long>(w) * h);
        die(message);
    }

    void waitGone() {
        while (!timedOut()) {
            if (!findWindow(display, DefaultRootWindow(display), title)) return;
            sleepMillis(50);
        }
        die("the window \"" + title + "\" is still open");
    }
};

unsigned long parseColor(const char* text) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 16);
    if (!end || *end != '\0' || std::strlen(text) != 6) die(std::string("bad colour ") + text);
    return v;
}

double parseNumber(const char* text) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (!end || *end != '\0') die(std::string("bad number ") + text);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) die("usage: window_tool TITLE [--timeout S] ACTION...");
    if (args[0] == "--wait-wm") {
        // An EWMH window manager announces itself on the root window.
        Display* d = XOpenDisplay(nullptr);
        if (!d) die("cannot open the display");
        const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
        for (const auto until = Clock::now() + std::chrono::seconds(30); Clock::now() < until; sleepMillis(50)) {
            Atom type = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, AnyPropertyType, &type, &format, &count,
                               &after, &data);
            if (data) XFree(data);
            if (type != None) {
                XCloseDisplay(d);
                return 0;
            }
        }
        die("no window manager started");
    }
    Tool tool;
    tool.title = args[0];
    std::size_t i = 1;
    double timeout = 60;
    if (i + 1 < args.size() && args[i] == "--timeout") {
        timeout = parseNumber(args[i + 1].c_str());
        i += 2;
    }
    tool.deadline = Clock::now() + std::chrono::milliseconds(static_cast<long>(timeout * 1000));
    tool.display = XOpenDisplay(nullptr);
    if (!tool.display) die("cannot open the display");
    XSetErrorHandler(ignoreErrors);  // the window may vanish while it is looked at
    tool.waitForWindow();
    auto need = [&](std::size_t n) {
        if (i + n >= args.size()) die("missing argument of " + args[i]);
    };
    while (i < args.size()) {
        const std::string action = args[i];
        if (action == "wait-pixel") {
            need(3);
            tool.waitPixel(parseNumber(args[i + 1].c_str()), parseNumber(args[i + 2].c_str()),
                           parseColor(args[i + 3].c_str()));
            i += 4;
        } else if (action == "sleep") {
            need(1);
            sleepMillis(static_cast<int>(parseNumber(args[i + 1].c_str())));
            i += 2;
        } else if (action == "key") {
            need(1);
            int count = 1;
            if (i + 2 < args.size() && std::isdigit(static_cast<unsigned char>(args[i + 2][0]))) {
                count = static_cast<int>(parseNumber(args[i + 2].c_str()));
                tool.sendKey(args[i + 1], count);
                i += 3;
            } else {
                tool.sendKey(args[i + 1], count);
                i += 2;
            }
        } else if (action == "close") {
            tool.close();
            i += 1;
        } else if (action == "geometry") {
            XWindowAttributes a;
            if (!XGetWindowAttributes(tool.display, tool.window, &a)) die("the window has gone");
            std::printf("%d %d\n", a.width, a.height);
            std::fflush(stdout);
            i += 1;
        } else if (action == "kill-client") {
            XKillClient(tool.display, tool.window);
            XSync(tool.display, False);
            i += 1;
        } else if (action == "wait-gone") {
            tool.waitGone();
            i += 1;
        } else if (action == "minimise") {
            tool.minimise();
            i += 1;
        } else if (action == "restore") {
            tool.restore();
            i += 1;
        } else if (action == "cover") {
            need(1);
            tool.cover(static_cast<int>(parseNumber(args[i + 1].c_str())));
            i += 2;
        } else if (action == "same-as") {
            need(1);
            tool.sameAs(args[i + 1]);
            i += 2;
        } else if (action == "differs-from") {
            need(1);
            tool.sameAs(args[i + 1], false);
            i += 2;
        } else {
            die("unknown action " + action);
        }
    }
    XCloseDisplay(tool.display);
    return 0;
}
