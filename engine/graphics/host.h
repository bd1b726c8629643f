#pragma once
// What runs the layer: a window on the desktop, an off-screen page, or a
// browser's canvas. The layer hands the host each command the display list
// keeps, asks it to show the page and to wait for keys, and leaves to it the
// files and downloads of the page. One build holds the hosts of its platform;
// makeHost picks among them.

#include "engine/graphics/commands.h"
#include "engine/session/session.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lesson {

class DisplayList;
class InkSource;
struct LayerOptions;

// A host draws the page: each command as the display list takes it, and
// the whole page again when asked.
class HostDrawing {
public:
    virtual ~HostDrawing() = default;
    // One command as the display list took it, drawn at once: erase widens
    // a white redraw; a page clear paints the clear colour.
    virtual void draw(const DrawCommand& cmd, bool erase) = 0;
    // The whole page drawn again from the display list (the end of a step
    // back's replay, which fed the list alone).
    virtual void redraw() = 0;
    // The part of the page within area drawn again from the display list,
    // the teacher's ink over it (a command drawn under ink, an ink action).
    virtual void redrawArea(const LogicalBox& area) = 0;
    // Puts what has been drawn on the screen.
    virtual void show() = 0;
    virtual void setTitle(const std::string& title) = 0;
    // The ink of the glyphs of the fonts it draws with (see DisplayList::setInk).
    virtual InkSource* ink() { return nullptr; }
};

// What a host writes of the page: the page saved as the user asks, and the
// files asked for when the program stops.
class HostOutputs {
public:
    virtual ~HostOutputs() = default;
    // The page as it stands, saved as the user saves it (Ctrl+S): what
    // happened, in a line.
    virtual std::string savePage() = 0;
    // Consumers the host adds to the stream; each sees a command before the
    // display list takes it.
    virtual std::vector<DrawSink*> sinks() { return {}; }
    // A wait begins: the step's new text as it is said, and the page's whole
    // text (the browser's live region and the canvas's label, its voice).
    virtual void speak(const std::string& step, const std::string& page) {}
    // The files asked for, written when the program stops: a line for each
    // that could not be written whole.
    virtual std::vector<std::string> finish() { return {}; }
};

// One platform's host: its drawing, its input (engine/session/session.h)
// and its outputs.
class Host : public HostDrawing, public HostInput, public HostOutputs {
public:
    // Called, in place of returning, when the connection to the display is
    // lost; it must end the process.
    virtual void onDisplayLost(std::function<void()> lastWords) {}
    // Where the host keeps the program's place (a state folder, the
    // browser's storage), or nothing where it keeps none.
    virtual PlaceStore* placeStore() { return nullptr; }
};

// The host for these options, drawing the page that `page` holds.
std::unique_ptr<Host> makeHost(const LayerOptions& options, const DisplayList& page);
// A reason why no host can start (no display, a missing font), or nothing.
std::optional<std::string> hostCannotStart(bool headless, const std::string& title);
// The program ends with this status (0, or that of an error whose line it wrote).
void hostEnded(int status);
// Whether a walk can run where someone types: the walk's keys come first,
// then the program waits for the teacher.
bool hostWalksInWindow();

}  // namespace lesson
