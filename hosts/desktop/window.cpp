#include "hosts/desktop/window.h"

#include "engine/graphics/keys.h"
#include "engine/graphics/layer.h"
#include "engine/session/key_script.h"
#include "engine/graphics/ink.h"
#include "engine/chars/chars.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace lesson {

namespace {

constexpr std::size_t kMaxQueuedKeys = 64;
// How long the title tells where a saved page went.
constexpr std::uint32_t kTitleMessageMillis = 5000;
// A notch of the wheel with Ctrl zooms by this factor; without, on a zoomed
// page, it moves the page by this fraction of the view.
constexpr float kWheelZoom = 1.25f;
constexpr float kWheelPan = 0.1f;

void pushKey(std::deque<std::string>& keys, std::string key) {
    if (keys.size() < kMaxQueuedKeys) keys.push_back(std::move(key));
}

// The name of a key that types no text, as the key table names it; the
// keypad's keys without NumLock are read apart.
std::string_view keyName(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_RETURN: case SDLK_RETURN2: case SDLK_KP_ENTER: return "Enter";
        case SDLK_BACKSPACE: return "Backspace";
        case SDLK_ESCAPE: return "Escape";
        case SDLK_TAB: return "Tab";
        case SDLK_DELETE: return "Delete";
        case SDLK_RIGHT: return "ArrowRight";
        case SDLK_DOWN: return "ArrowDown";
        case SDLK_PAGEDOWN: return "PageDown";
        case SDLK_LEFT: return "ArrowLeft";
        case SDLK_UP: return "ArrowUp";
        case SDLK_PAGEUP: return "PageUp";
        case SDLK_HOME: return "Home";
        case SDLK_END: return "End";
        case SDLK_INSERT: return "Insert";
        case SDLK_F1: return "F1";
        case SDLK_F2: return "F2";
        case SDLK_F3: return "F3";
        case SDLK_F4: return "F4";
        case SDLK_F5: return "F5";
        case SDLK_F6: return "F6";
        case SDLK_F7: return "F7";
        case SDLK_F8: return "F8";
        case SDLK_F9: return "F9";
        case SDLK_F10: return "F10";
        case SDLK_F12: return "F12";
        default: return {};
    }
}

// Keys that type no text but still count as a key press (any-key waits end on
// them): Enter, Backspace, keypad 5 without NumLock, and the control keys.
std::string controlKey(const SDL_Keysym& k) {
    const bool numLock = (k.mod & KMOD_NUM) != 0;
    switch (k.sym) {
        case SDLK_KP_5:
            return numLock ? "" : kKeypadFiveKey;
        case SDLK_KP_0: case SDLK_KP_1: case SDLK_KP_2: case SDLK_KP_3: case SDLK_KP_4:
        case SDLK_KP_6: case SDLK_KP_7: case SDLK_KP_8: case SDLK_KP_9: case SDLK_KP_PERIOD:
            return numLock ? "" : kPlainKey;  // with NumLock these type their character
        default:
            // Modifiers alone, and keys whose text arrives as text input, mean nothing.
            return std::string(keyNamed(keyName(k.sym)));
    }
}

// What ends the program when the display connection is lost (see onDisplayLost).
std::function<void()>& displayLostHandler() {
    static std::function<void()> handler;
    return handler;
}

// The X window the program's window was, once the program has begun to
// destroy it (0 before).
::Window& destroyedWindow() {
    static ::Window window = 0;
    return window;
}

// Xlib calls this when the connection to the X server breaks (the server
// ended, or the window was killed); it must not return. Without it Xlib
// would exit() from deep inside a drawing call.
extern "C" int displayLost(Display*) {
    if (auto& handler = displayLostHandler()) handler();
    std::fputs("the connection to the display was lost\n", stderr);
    std::_Exit(1);
}

// Xlib calls this when a request fails. Once the window is up, no request
// of the program fails unless the window is gone (another client destroyed
// it): the display is lost as far as the program goes. Without it Xlib's
// default handler would print its report and exit() with nothing written.
//
// One failure is not: SDL ends each wait for events by sending a message to
// the window on a second connection of its own, also when the event that
// came is the close or the key that ends the program. That message may
// still be on its way when the program destroys the window; a busy X server
// can take the DestroyWindow first, and the message then fails with
// BadWindow, told when SDL closes that connection at the very end. The
// window is gone because the program took it away.
extern "C" int windowLost(Display* display, XErrorEvent* error) {
    if (error && error->error_code == BadWindow && destroyedWindow() != 0 && error->resourceid == destroyedWindow())
        return 0;
    return displayLost(display);
}

using IOErrorHandler = int (*)(Display*);
using ErrorHandler = int (*)(Display*, XErrorEvent*);
struct ErrorHandlers {
    IOErrorHandler io = nullptr;
    ErrorHandler request = nullptr;
};

// Xlib is loaded by SDL at run time; its error handlers are set through the
// same library. Returns the handlers they replace.
ErrorHandlers setErrorHandlers(ErrorHandlers handlers) {
    using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler);
    using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
    ErrorHandlers before;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (!xlib) return before;
    if (auto set = reinterpret_cast<SetIOErrorHandler>(SDL_LoadFunction(xlib, "XSetIOErrorHandler")))
        before.io = set(handlers.io);
    if (auto set = reinterpret_cast<SetErrorHandler>(SDL_LoadFunction(xlib, "XSetErrorHandler")))
        before.request = set(handlers.request);
    return before;
}

// With no session bus named in the environment, the D-Bus library that SDL
// loads would start one (dbus-launch): the program starts no other program.
// A bus already running at the user's runtime folder is still found.
void noBusLaunch() {
    if (const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS"); bus && *bus) return;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        struct stat st {};
        if (::stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

std::string noDisplay(const std::string& why) {
    return "no display to open the window on (" + why +
           "); start it on the classroom desktop, or use --headless for a run without a window";
}

}  // namespace

std::optional<std::string> Window::unavailable() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return std::nullopt;
    // The program ends on SIGTERM and SIGINT itself (catchStopSignals).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    noBusLaunch();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool x11 = display && *display, waylandSession = wayland && *wayland;
    if (!(asked && *asked)) {
        if (!x11 && !waylandSession) return noDisplay("DISPLAY is not set");
        // On X alone, SDL is not let try Wayland (it would only print its own
        // complaint) nor fall back to a driver that draws nowhere.
        if (!waylandSession) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    }
    // The program's handlers are in place before SDL's X driver starts: it
    // keeps the handler it finds and puts it back when it closes its
    // connections, and errors still come in then.
    static bool installed = false;
    static ErrorHandlers xlibOwn;
    if (x11 && !installed) {
        xlibOwn = setErrorHandlers({displayLost, windowLost});
        installed = true;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        const std::string error = SDL_GetError();
        SDL_Quit();  // gives back what the attempt set up
        if (x11 && !(asked && *asked)) return noDisplay("no X server answers at DISPLAY=" + std::string(display));
        return noDisplay(error);
    }
    // With no display SDL falls back to drivers that draw nowhere: a window
    // there would wait for keys that no one can type.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev") {
        SDL_Quit();
        if (asked && *asked) return noDisplay("SDL_VIDEODRIVER=" + std::string(asked) + " draws nowhere");
        if (waylandSession) return noDisplay("no Wayland server answers at WAYLAND_DISPLAY=" + std::string(wayland));
        return noDisplay("no X server answers at DISPLAY=" + std::string(x11 ? display : ""));
    }
    // SDL's X driver has put a handler of its own over the program's (it
    // only puts back display modes, which the program never changes, and
    // calls the program's): the program's go back on top. On another driver
    // Xlib's own are put back.
    if (installed && driver == "x11") {
        setErrorHandlers({displayLost, windowLost});
    } else if (installed) {
        setErrorHandlers(xlibOwn);
        installed = false;
    }
    return std::nullopt;
}

bool Window::tellUser(const std::string& title, const std::string& message) {
    if (unavailable()) return false;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), nullptr) == 0;
}

void Window::onDisplayLost(std::function<void()> lastWords) { displayLostHandler() = std::move(lastWords); }

Window::Window(Fonts& fonts, const DisplayList& page, const std::string& title) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The page is a software raster copied in changed rectangles: the plain
    // window framebuffer does that best. An OpenGL framebuffer would start a
    // whole GL driver (on machines without one, a JIT compiler and threads).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               static_cast<int>(kPageWidth), static_cast<int>(kPageHeight),
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) throw std::runtime_error(std::string("the window could not be opened: ") + SDL_GetError());
    SDL_MaximizeWindow(window_);
    SDL_StartTextInput();
    int w = 0, h = 0;
    if (SDL_Surface* s = SDL_GetWindowSurface(window_)) {
        w = s->w;
        h = s->h;
    } else {
        SDL_GetWindowSize(window_, &w, &h);
    }
    raster_ = std::make_unique<Raster>(fonts, w, h, &page);
}

Window::~Window() {
    displayLostHandler() = nullptr;
    raster_.reset();
    if (window_) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11)
            destroyedWindow() = info.info.x11.window;
        SDL_DestroyWindow(window_);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

void Window::setTitle(const std::string& title) {
    title_ = title;
    showTitle();
}

// The program's title, and the tool in hand once the teacher chose one.
void Window::showTitle() {
    if (messageUntil_ != 0) return;
    std::string title = title_;
    if (toolChosen_) {
        static constexpr std::pair<char, const char*> kTools[] = {
            {'h', "手のひら"}, {'r', "赤ペン"}, {'b', "青ペン"}, {'k', "黒ペン"}, {'m', "マーカー"}, {kEraserPen, "消しゴム"}};
        for (const auto& [letter, name] : kTools)
            if (letter == tool_) title += std::string(title.empty() ? "" : " - ") + name;
    }
    SDL_SetWindowTitle(window_, title.c_str());
}

void Window::syncSize() {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return;
    if (s->w != raster_->width() || s->h != raster_->height()) {
        raster_->resize(s->w, s->h);
        exposeAll_ = true;
    }
}

void Window::present() {
    syncSize();
    SDL_Surface* screen = SDL_GetWindowSurface(window_);
    if (!screen) return;
    presentPage(screen);
    presentStroke(screen);
}

void Window::presentPage(SDL_Surface* screen) {
    PixelRect d = raster_->takeDirty();
    // After an expose, a restore or a new size the window's own pixels are
    // unknown (covered, unmapped, or never shown): the whole page goes out.
    const bool whole = exposeAll_;
    if (whole) d = {0, 0, raster_->width(), raster_->height()};
    exposeAll_ = false;
    d.x1 = std::min(d.x1, screen->w);
    d.y1 = std::min(d.y1, screen->h);
    if (d.empty()) return;

    cairo_surface_t* page = raster_->surface();
    cairo_surface_flush(page);
    const unsigned char* src = cairo_image_surface_get_data(page);
    const int srcStride = cairo_image_surface_get_stride(page);
    const bool sameLayout = screen->format->format == SDL_PIXELFORMAT_RGB888 ||
                            screen->format->format == SDL_PIXELFORMAT_ARGB8888;
    SDL_LockSurface(screen);
    auto* dst = static_cast<unsigned char*>(screen->pixels);
    const std::size_t rowBytes = static_cast<std::size_t>(d.x1 - d.x0) * 4;
    bool changed = !sameLayout || whole;
    if (sameLayout) {
        // A cursor drawn, wiped and drawn again leaves the same pixels: nothing to show.
        // (This compares with the surface's memory, never with what the
        // screen shows, so it cannot stand for a whole-page copy.)
        for (int y = d.y0; y < d.y1 && !changed; ++y)
            changed = std::memcmp(dst + y * screen->pitch + d.x0 * 4, src + y * srcStride + d.x0 * 4, rowBytes) != 0;
        if (changed)
            for (int y = d.y0; y < d.y1; ++y)
                std::memcpy(dst + y * screen->pitch + d.x0 * 4, src + y * srcStride + d.x0 * 4, rowBytes);
    }
    SDL_UnlockSurface(screen);
    if (!changed) return;
    SDL_Rect rect{d.x0, d.y0, d.x1 - d.x0, d.y1 - d.y0};
    if (!sameLayout) {
        SDL_Surface* wrap = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(src), raster_->width(),
                                                               raster_->height(), 32, srcStride,
                                                               SDL_PIXELFORMAT_RGB888);
        if (wrap) {
            SDL_BlitSurface(wrap, &rect, screen, &rect);
            SDL_FreeSurface(wrap);
        }
    }
    SDL_UpdateWindowSurfaceRects(window_, &rect, 1);
}

void Window::pump(int timeoutMs, std::deque<std::string>& keys) {
    SDL_Event event;
    if (timeoutMs > 0 && SDL_WaitEventTimeout(&event, timeoutMs)) handle(event, keys);
    while (SDL_PollEvent(&event)) handle(event, keys);
    if (viewWanted_) {
        // A pinch's or a wheel's many moves are drawn once, as they stand.
        raster_->setView(*viewWanted_);
        viewWanted_.reset();
        present();
    }
    if (messageUntil_ != 0 && SDL_TICKS_PASSED(SDL_GetTicks(), messageUntil_)) {
        messageUntil_ = 0;
        showTitle();
    }
}

void Window::handle(const SDL_Event& event, std::deque<std::string>& keys) {
    switch (event.type) {
        case SDL_QUIT:
            throw ProgramEnd{0};
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) throw ProgramEnd{0};
            switch (event.window.event) {
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_RESIZED:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    exposeAll_ = true;
                    present();
                    break;
                default:
                    break;
            }
            break;
        case SDL_TEXTINPUT:
            // Ctrl+0, Ctrl+= and the like type their character too: no lesson key.
            if (std::exchange(ctrlChord_, false)) break;
            for (std::string_view ch : splitChars(event.text.text)) pushKey(keys, std::string(ch));
            break;
        case SDL_MOUSEWHEEL: {
            // Ctrl and the wheel (a touchpad's pinch) zoom about the pointer;
            // on a zoomed page the wheel alone moves it.
            const float flip = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
            const float across = event.wheel.preciseX * flip, down = event.wheel.preciseY * flip;
            int mx = 0, my = 0;
            SDL_GetMouseState(&mx, &my);
            const PageView& now = viewWanted_ ? *viewWanted_ : raster_->view();
            const Point pixel = pixelAtWindow(mx, my);
            if ((SDL_GetModState() & KMOD_CTRL) != 0)
                setView(now.zoomedAbout(raster_->shownAt(pixel.x, pixel.y), std::pow(kWheelZoom, down)));
            else if (!now.whole())
                setView(now.panned(-across * kWheelPan, down * kWheelPan));
            break;
        }
        case SDL_MOUSEMOTION:
            if (event.motion.which == SDL_TOUCH_MOUSEID) break;
            if (stroke_ && !strokeByFinger_) extendStroke(pageAtWindow(event.motion.x, event.motion.y));
            else if (pressedAt_ && !pressedByFinger_) dragTo(pixelAtWindow(event.motion.x, event.motion.y));
            break;
        // A whiteboard sends mouse events; a touch screen fingers, and mouse
        // events made of them, which are passed over.
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.which == SDL_TOUCH_MOUSEID) break;
            if (event.button.button == SDL_BUTTON_RIGHT) pushKey(keys, kBackKey);
            if (event.button.button == SDL_BUTTON_LEFT && tool_ != 'h') {
                beginStroke(pageAtWindow(event.button.x, event.button.y), false, 0);  // a pen in hand draws
                break;
            }
            if (event.button.button == SDL_BUTTON_LEFT) {
                pressedAt_ = pageAtWindow(event.button.x, event.button.y);
                pressedPixel_ = pixelAtWindow(event.button.x, event.button.y);
                pressedZoomed_ = !raster_->view().whole();
                pressedByFinger_ = false;
                dragging_ = false;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.which != SDL_TOUCH_MOUSEID && event.button.button == SDL_BUTTON_LEFT && stroke_ &&
                !strokeByFinger_) {
                endStroke(keys);
                break;
            }
            if (event.button.which != SDL_TOUCH_MOUSEID && event.button.button == SDL_BUTTON_LEFT && !pressedByFinger_)
                release(pageAtWindow(event.button.x, event.button.y), keys);
            break;
        case SDL_FINGERDOWN: {
            const Point pixel{event.tfinger.x * raster_->width(), event.tfinger.y * raster_->height()};
            fingers_.emplace_back(event.tfinger.fingerId, pixel);
            if (fingers_.size() == 1 && tool_ != 'h' && !pinched_) {
                beginStroke(raster_->pageAt(pixel.x, pixel.y), true, event.tfinger.fingerId);
                break;
            }
            if (fingers_.size() == 2) {
                cancelStroke();  // two fingers pinch, whatever is in hand
                // Two fingers pinch and move the view; the press is no tap nor swipe.
                pressedAt_.reset();
                pressedByFinger_ = false;
                pinched_ = true;
                const Point a = fingers_[0].second, b = fingers_[1].second;
                const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
                const PageView& now = viewWanted_ ? *viewWanted_ : raster_->view();
                pinch_ = Pinch{now.pageAt(raster_->shownAt(mid.x, mid.y)), now.zoom,
                               std::max(1.0f, std::hypot(a.x - b.x, a.y - b.y))};
            }
            if (fingers_.size() != 1 || pressedAt_ || pinched_) break;  // one press at a time
            pressedAt_ = raster_->pageAt(pixel.x, pixel.y);
            pressedPixel_ = pixel;
            pressedZoomed_ = !raster_->view().whole();
            pressedByFinger_ = true;
            dragging_ = false;
            finger_ = event.tfinger.fingerId;
            break;
        }
        case SDL_FINGERMOTION:
            if (stroke_ && strokeByFinger_ && event.tfinger.fingerId == strokeFinger_) {
                extendStroke(raster_->pageAt(event.tfinger.x * raster_->width(), event.tfinger.y * raster_->height()));
                break;
            }
            moveFinger(event.tfinger.fingerId, {event.tfinger.x * raster_->width(), event.tfinger.y * raster_->height()});
            break;
        case SDL_FINGERUP:
            if (stroke_ && strokeByFinger_ && event.tfinger.fingerId == strokeFinger_) endStroke(keys);
            liftFinger(event.tfinger.fingerId, {event.tfinger.x * raster_->width(), event.tfinger.y * raster_->height()},
                       keys);
            break;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_F11) {
                // Back from full screen the window is as it was: a maximised
                // window is maximised again, not shrunk to its first size.
                if (!fullScreen_) {
                    maximizedBeforeFullScreen_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
                    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
                } else {
                    SDL_SetWindowFullscreen(window_, 0);
                    if (maximizedBeforeFullScreen_) SDL_MaximizeWindow(window_);
                }
                fullScreen_ = !fullScreen_;
                exposeAll_ = true;
                break;
            }
            if (event.key.keysym.sym == SDLK_s && (event.key.keysym.mod & KMOD_CTRL) != 0 && save_) {
                if (event.key.repeat) break;
                const std::string said = save_();
                std::fprintf(stderr, "%s\n", said.c_str());
                tellInTitle(said);
                break;
            }
            if (event.key.keysym.sym == SDLK_d && (event.key.keysym.mod & KMOD_CTRL) != 0 && nextScheme_) {
                ctrlChord_ = true;
                if (event.key.repeat) break;
                tellInTitle(nextScheme_());  // the page is drawn again in it
                exposeAll_ = true;
                present();
                break;
            }
            if (penKey(event, keys) || zoomKey(event)) break;
            ctrlChord_ = (event.key.keysym.mod & KMOD_CTRL) != 0 && (event.key.keysym.mod & KMOD_ALT) == 0;
            if (ctrlChord_) break;  // no lesson reads a Ctrl chord
            if (std::string key = controlKey(event.key.keysym); !key.empty()) pushKey(keys, key);
            break;
        default:
            break;
    }
}

// The title tells something for a few seconds (where a page was saved, the scheme taken).
void Window::tellInTitle(const std::string& said) {
    SDL_SetWindowTitle(window_, (title_.empty() ? said : title_ + " - " + said).c_str());
    messageUntil_ = SDL_GetTicks() + kTitleMessageMillis;
    if (messageUntil_ == 0) messageUntil_ = 1;
}

Point Window::pixelAtWindow(int x, int y) const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const double sx = w > 0 ? static_cast<double>(raster_->width()) / w : 1;
    const double sy = h > 0 ? static_cast<double>(raster_->height()) / h : 1;
    return {static_cast<float>(x * sx), static_cast<float>(y * sy)};
}

Point Window::pageAtWindow(int x, int y) const {
    const Point pixel = pixelAtWindow(x, y);
    return raster_->pageAt(pixel.x, pixel.y);
}

void Window::setView(const PageView& view) { viewWanted_ = view; }

// Ctrl+= (Ctrl++) zooms in about the middle of the view, Ctrl+- out, Ctrl+0
// gives the whole page back; none of them is a lesson key.
bool Window::zoomKey(const SDL_Event& event) {
    const SDL_Keysym& k = event.key.keysym;
    if ((k.mod & KMOD_CTRL) == 0 || (k.mod & KMOD_ALT) != 0) return false;
    const PageView& now = viewWanted_ ? *viewWanted_ : raster_->view();
    switch (k.sym) {
        case SDLK_EQUALS: case SDLK_PLUS: case SDLK_KP_PLUS:
            setView(now.zoomedAbout({0.5f, 0.5f}, kZoomStep));
            break;
        case SDLK_MINUS: case SDLK_KP_MINUS:
            setView(now.zoomedAbout({0.5f, 0.5f}, 1 / kZoomStep));
            break;
        case SDLK_0: case SDLK_KP_0:
            setView(PageView{});
            break;
        default:
            return false;
    }
    ctrlChord_ = true;  // the character it types is no key either
    return true;
}

// Ctrl+R, Ctrl+B, Ctrl+K and Ctrl+M take the red, blue and black pens and
// the marker, Ctrl+E the eraser, Ctrl+H the hand that turns pages again;
// Ctrl+Z takes back the page's last stroke or erasure, Ctrl+Delete clears
// the page's ink. No lesson reads them.
bool Window::penKey(const SDL_Event& event, std::deque<std::string>& keys) {
    const SDL_Keysym& k = event.key.keysym;
    if ((k.mod & KMOD_CTRL) == 0 || (k.mod & KMOD_ALT) != 0) return false;
    char tool = 0;
    switch (k.sym) {
        case SDLK_r: tool = 'r'; break;
        case SDLK_b: tool = 'b'; break;
        case SDLK_k: tool = 'k'; break;
        case SDLK_m: tool = 'm'; break;
        case SDLK_e: tool = kEraserPen; break;
        case SDLK_h: tool = 'h'; break;
        case SDLK_z:
            if (!event.key.repeat) pushKey(keys, inkKey({kInkUndo, {}}));
            break;
        case SDLK_DELETE:
            if (!event.key.repeat) pushKey(keys, inkKey({kInkClear, {}}));
            break;
        default:
            return false;
    }
    if (tool != 0) {
        cancelStroke();
        tool_ = tool;
        toolChosen_ = true;
        showTitle();
    }
    ctrlChord_ = true;
    return true;
}

void Window::beginStroke(Point page, bool byFinger, std::int64_t finger) {
    static constexpr InkPen kEraserTrail{kEraserPen, {0x80, 0x80, 0x80}, 0.35f, 2 * kEraserReach};
    const InkPen* pen = inkPen(tool_);
    stroke_ = InkStroke{pen ? pen : &kEraserTrail, {page}, {}};
    strokeByFinger_ = byFinger;
    strokeFinger_ = finger;
    present();
}

void Window::extendStroke(Point page) {
    const Point last = stroke_->points.back();
    if (std::hypot(page.x - last.x, page.y - last.y) < 0.5f) return;
    stroke_->points.push_back(page);
    present();  // the stroke under the pen at once
}

void Window::endStroke(std::deque<std::string>& keys) {
    // Positions to a hundredth of a unit, as the page's script hands them.
    InkAction action{tool_, {}};
    for (const Point& p : stroke_->points)
        action.points.push_back({std::round(p.x * 100) / 100, std::round(p.y * 100) / 100});
    pushKey(keys, inkKey(action));
    stroke_.reset();  // shown till the page, drawn with the program's ink, is put on the window again
}

void Window::cancelStroke() {
    if (!stroke_) return;
    stroke_.reset();
    present();
}

void Window::presentStroke(SDL_Surface* screen) {
    PixelRect box = strokeShown_;
    PixelRect now;
    if (stroke_) {
        LogicalBox b{1e30f, 1e30f, -1e30f, -1e30f};
        const float m = stroke_->pen->width / 2 + 2;
        for (const Point& p : stroke_->points)
            b = {std::min(b.x0, p.x - m), std::min(b.y0, p.y - m), std::max(b.x1, p.x + m), std::max(b.y1, p.y + m)};
        now = raster_->pixelsOf(b);
        box.unite(now);
    }
    box.x1 = std::min(box.x1, screen->w);
    box.y1 = std::min(box.y1, screen->h);
    if (box.empty()) return;
    cairo_surface_t* page = raster_->surface();
    cairo_surface_flush(page);
    const bool sameLayout = screen->format->format == SDL_PIXELFORMAT_RGB888 ||
                            screen->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (!sameLayout) return;  // the stroke shows once the program takes it
    SDL_LockSurface(screen);
    // The page as it stands where a stroke was shown, then the stroke over it.
    const unsigned char* src = cairo_image_surface_get_data(page);
    const int srcStride = cairo_image_surface_get_stride(page);
    auto* dst = static_cast<unsigned char*>(screen->pixels);
    for (int y = box.y0; y < box.y1; ++y)
        std::memcpy(dst + y * screen->pitch + box.x0 * 4, src + y * srcStride + box.x0 * 4,
                    static_cast<std::size_t>(box.x1 - box.x0) * 4);
    if (stroke_) {
        cairo_surface_t* target =
            cairo_image_surface_create_for_data(dst, CAIRO_FORMAT_RGB24, screen->w, screen->h, screen->pitch);
        cairo_t* cr = cairo_create(target);
        raster_->showOnPage(cr);
        renderInkStroke(cr, *stroke_, raster_->scheme().inkColour(stroke_->pen->colour));
        cairo_destroy(cr);
        cairo_surface_destroy(target);
    }
    SDL_UnlockSurface(screen);
    strokeShown_ = now;
    SDL_Rect rect{box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0};
    SDL_UpdateWindowSurfaceRects(window_, &rect, 1);
}

void Window::dragTo(Point pixel) {
    if (!pressedZoomed_ || !pressedAt_) return;
    const float scale = raster_->width() > 0 ? static_cast<float>(raster_->width()) / kPageWidth : 1;
    if (!dragging_ && std::hypot(pixel.x - pressedPixel_.x, pixel.y - pressedPixel_.y) < kTapSlopUnits * scale) return;
    // The page point pressed stays under the pointer.
    dragging_ = true;
    setView(PageView::placing(*pressedAt_, raster_->shownAt(pixel.x, pixel.y), raster_->view().zoom));
}

void Window::moveFinger(std::int64_t id, Point pixel) {
    for (auto& [finger, at] : fingers_)
        if (finger == id) at = pixel;
    if (pinch_ && fingers_.size() >= 2) {
        const Point a = fingers_[0].second, b = fingers_[1].second;
        const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const float zoom = pinch_->zoom * std::hypot(a.x - b.x, a.y - b.y) / pinch_->distance;
        setView(PageView::placing(pinch_->page, raster_->shownAt(mid.x, mid.y), zoom));
        return;
    }
    if (pressedByFinger_ && id == finger_) dragTo(pixel);
}

void Window::liftFinger(std::int64_t id, Point pixel, std::deque<std::string>& keys) {
    std::erase_if(fingers_, [id](const auto& f) { return f.first == id; });
    if (fingers_.size() < 2) pinch_.reset();
    if (pressedByFinger_ && id == finger_) release(raster_->pageAt(pixel.x, pixel.y), keys);
    if (fingers_.empty()) pinched_ = false;
}

void Window::release(Point at, std::deque<std::string>& keys) {
    if (!pressedAt_) return;
    const Point from = *pressedAt_;
    pressedAt_.reset();
    pressedByFinger_ = false;
    if (std::exchange(dragging_, false)) return;  // the page was moved, not pressed
    const float dx = at.x - from.x, dy = at.y - from.y;
    // A swipe turns the page only at the whole page; on a zoomed one a press
    // that stays still is still a tap.
    if (!pressedZoomed_ && std::fabs(dx) >= kSwipeUnits && std::fabs(dx) > 2 * std::fabs(dy))
        pushKey(keys, dx > 0 ? kBackKey : kForwardKey);
    else if (std::hypot(dx, dy) < kTapSlopUnits * (pressedZoomed_ ? 1 / raster_->view().zoom : 1))
        pushKey(keys, tapKey(from.x, from.y));
}

}  // namespace lesson
