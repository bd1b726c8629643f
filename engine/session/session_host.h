#pragma once
// What the session stands between: the host's input below it, and the layer
// above it that it tells how the run goes.

#include "engine/session/key_script.h"
#include "engine/session/waits.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace lesson {

// What a host gives of its input: the keys typed, the page's script.
class HostInput {
public:
    virtual ~HostInput() = default;
    // False when no one can type (a headless run): the scripted keys are all
    // there is, and pauses do not wait.
    virtual bool interactive() const = 0;
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
};

// What the session tells the layer above it as the run goes.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;
    // The page put on the screen: a wait for keys is about to read.
    virtual void show() = 0;
    // A key or a tap read, as it was read (before what it stands for).
    virtual void keyRead(std::string_view key) = 0;
    // An ink action read at a wait (or gone through again in a replay): the
    // page takes it, and it is no key of the wait's.
    virtual void ink(const InkAction& action) = 0;
    virtual void waitBegun(WaitKind kind) = 0;
    // A step back: the program starts again, off the screen, with the
    // layer's drawing state as it was at the start.
    virtual void replayBegins() = 0;
    // Back on the screen, where the step back went to.
    virtual void replayEnds() = 0;
    // Nothing typed yet: the program is about to sleep until an event comes.
    virtual void beforeSleep() = 0;
    // A mark of the page as it stands (the same page, the same mark): a
    // replay checks that it reaches each wait with the page the run had there.
    virtual std::uint64_t pageMark() { return 0; }
};

}  // namespace lesson
