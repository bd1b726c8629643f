#pragma once
// What runs the layer: a window on the desktop, an off-screen page, or a
// browser's canvas. The layer hands the host each command the display list
// keeps, asks it to show the page and to wait for keys, and leaves to it the
// files and downloads of the page. One build holds the hosts of its platform;
// makeHost picks among them.

#include "engine/graphics/commands.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lesson {

class DisplayList;
class InkSource;
struct LayerOptions;
enum class WaitKind;

class Host {
public:
    virtual ~Host() = default;

    // False when no one can type (a headless run): the scripted keys are all
    // there is, and pauses do not wait.
    virtual bool interactive() const = 0;
    // One command as the display list took it, drawn at once: erase widens
    // a white redraw; a page clear paints the clear colour.
    virtual void draw(const DrawCommand& cmd, bool erase) = 0;
    // The whole page drawn again from the display list (the end of a step
    // back's replay, which fed the list alone).
    virtual void redraw() = 0;
    // Puts what has been drawn on the screen.
    virtual void show() = 0;
    // Handles events for up to timeoutMs (0: only those pending); typed keys
    // go to the back of `keys`. Throws ProgramEnd when the page is closed.
    virtual void wait(int timeoutMs, std::deque<std::string>& keys) = 0;
    // Keys a script on the page typed since asked, in the key-script syntax
    // (they count as scripted keys).
    virtual std::string script() { return {}; }
    // A wait for keys begins with nothing typed and no scripted key left.
    virtual void idle() {}
    // The kind of wait now open (a page can offer what suits it: a number
    // pad while an entry field waits).
    virtual void waitOpens(WaitKind kind) {}
    virtual void setTitle(const std::string& title) = 0;
    // The page as it stands, saved as the user saves it (Ctrl+S): what
    // happened, in a line.
    virtual std::string savePage() = 0;
    // The ink of the glyphs of the fonts it draws with (see DisplayList::setInk).
    virtual InkSource* ink() { return nullptr; }
    // Consumers the host adds to the stream; each sees a command before the
    // display list takes it.
    virtual std::vector<DrawSink*> sinks() { return {}; }
    // The files asked for, written when the program stops: a line for each
    // that could not be written whole.
    virtual std::vector<std::string> finish() { return {}; }
    // Called, in place of returning, when the connection to the display is
    // lost; it must end the process.
    virtual void onDisplayLost(std::function<void()> lastWords) {}
};

// The host for these options, drawing the page that `page` holds.
std::unique_ptr<Host> makeHost(const LayerOptions& options, const DisplayList& page);
// A reason why no host can start (no display, a missing font), or nothing.
std::optional<std::string> hostCannotStart(bool headless, const std::string& title);

}  // namespace lesson
