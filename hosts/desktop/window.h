#pragma once
// The program's one window (SDL2): opened maximised and resizable, the page
// drawn crisply at the window's real pixel size, F11 for full screen, keys
// translated to the one-character keys the lessons read.

#include "engine/graphics/ink.h"
#include "hosts/desktop/raster.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

namespace lesson {

class Window {
public:
    // Why no window can be opened (no display, or only a driver that draws
    // nowhere), or nothing.
    static std::optional<std::string> unavailable();
    // Shows a message in a box of its own when a display can show one (a
    // program started from an icon has no terminal); false when none could.
    static bool tellUser(const std::string& title, const std::string& message);

    // The page drawn from the display list `page` at the window's size.
    Window(Fonts& fonts, const DisplayList& page, const std::string& title);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Raster& raster() { return *raster_; }
    void setTitle(const std::string& title);
    // Ctrl+S: saves the page and returns what the title then says for a few
    // seconds (the page itself is not drawn over).
    void onSave(std::function<std::string()> save) { save_ = std::move(save); }
    // Ctrl+D: the page in the next colour scheme; returns what the title then says for a few seconds.
    void onNextScheme(std::function<std::string()> next) { nextScheme_ = std::move(next); }

    // Puts what has been drawn on the screen (only the part that changed),
    // and the stroke under the pen over it.
    void present();
    // Handles window events for up to timeoutMs (0: only those pending);
    // keys go to the back of `keys`. Throws ProgramEnd when the window closes.
    void pump(int timeoutMs, std::deque<std::string>& keys);
    // Called when the connection to the display is lost; it must end the
    // process (it is called from inside the window system's library).
    void onDisplayLost(std::function<void()> lastWords);
    // The whole page again (a menu opens: the class sees every choice).
    void showWholePage() { setView(PageView{}); }

private:
    void handle(const SDL_Event& event, std::deque<std::string>& keys);
    // A pointer (the mouse's left button, a finger) goes down and comes up at
    // page positions: a tap, a swipe (back or forward), or nothing.
    void release(Point at, std::deque<std::string>& keys);
    Point pageAtWindow(int x, int y) const;
    // A pointer position in the window (which a display that scales may count
    // in points) in the surface's pixels.
    Point pixelAtWindow(int x, int y) const;
    void syncSize();
    // The view changes: drawn anew at its scale once the events pending are handled.
    void setView(const PageView& view);
    // A pointer or finger held on the page moves: the view follows it when it
    // drags the page; a second finger pinches.
    void dragTo(Point pixel);
    void moveFinger(std::int64_t id, Point pixel);
    void liftFinger(std::int64_t id, Point pixel, std::deque<std::string>& keys);
    bool zoomKey(const SDL_Event& event);
    // The teacher's pen: Ctrl and a letter chooses the tool; while a pen is
    // in hand the mouse or a finger draws, the stroke shown under it at once
    // and handed to the program as an ink key when it lifts.
    bool penKey(const SDL_Event& event, std::deque<std::string>& keys);
    void beginStroke(Point page, bool byFinger, std::int64_t finger);
    void extendStroke(Point page);
    void endStroke(std::deque<std::string>& keys);
    void cancelStroke();
    // The stroke under the pen, drawn on the window over the page as it stands.
    void presentStroke(SDL_Surface* screen);
    void presentPage(SDL_Surface* screen);
    void showTitle();

    SDL_Window* window_ = nullptr;
    std::unique_ptr<Raster> raster_;
    bool fullScreen_ = false;
    bool maximizedBeforeFullScreen_ = false;
    bool exposeAll_ = true;
    std::function<std::string()> save_;
    std::function<std::string()> nextScheme_;
    void tellInTitle(const std::string& said);
    std::string title_;                 // the program's title
    std::uint32_t messageUntil_ = 0;    // SDL ticks; 0: the title shows no message
    std::optional<Point> pressedAt_;    // where the pointer went down, on the page
    bool pressedByFinger_ = false;
    std::int64_t finger_ = 0;           // the finger that went down
    // A press on a zoomed page drags it once it moves past a tap; it never swipes.
    Point pressedPixel_{};
    bool pressedZoomed_ = false;
    bool dragging_ = false;
    // The fingers on the screen, in pixels, and a pinch of two of them: the
    // page point between them when it began, the zoom then and their distance.
    std::vector<std::pair<std::int64_t, Point>> fingers_;
    struct Pinch {
        Point page;
        float zoom;
        float distance;
    };
    std::optional<Pinch> pinch_;
    bool pinched_ = false;              // till every finger is off: no tap, no swipe
    std::optional<PageView> viewWanted_;
    bool ctrlChord_ = false;            // the text of a Ctrl chord is no key
    // The pen: the tool in hand ('h' the hand, a pen's letter, the eraser's),
    // the stroke under way, and where the window shows it over the page.
    char tool_ = 'h';
    bool toolChosen_ = false;           // the title names the tool once one was chosen
    std::optional<InkStroke> stroke_;
    bool strokeByFinger_ = false;
    std::int64_t strokeFinger_ = 0;
    PixelRect strokeShown_;
};

}  // namespace lesson
