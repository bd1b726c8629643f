#pragma once
// The program's sleeps on the host's events: a wait with nothing typed, an
// animation's pause, the error screen's wait for the page to close. Each
// wakes often enough to see whether a stop signal came.

#include "engine/session/session_host.h"

#include <deque>
#include <string>

namespace lesson {

class Sleeps {
public:
    Sleeps(HostInput& input, SessionEvents& events) : input_(input), events_(events) {}
    // Nothing typed yet: sleeps until an event comes (a key typed goes to
    // `typed`), or a while with none.
    void untilEvent(std::deque<std::string>& typed);
    // Keeps the host's events coming for ms, the keys typed kept.
    void pauseFor(int ms, std::deque<std::string>& typed);
    // Waits for the host's events until the page is closed, the keys typed
    // thrown away.
    [[noreturn]] void idle(std::deque<std::string>& typed);

private:
    HostInput& input_;
    SessionEvents& events_;
};

}  // namespace lesson
