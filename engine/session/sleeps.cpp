#include "engine/session/sleeps.h"

#include "engine/session/signals.h"

#include <chrono>

namespace lesson {

namespace {
// A wait for a key sleeps on the host's events; it wakes this often with
// none, to see whether a stop signal came.
constexpr int kWaitMillis = 250;
}  // namespace

void Sleeps::untilEvent(std::deque<std::string>& typed) {
    events_.beforeSleep();
    input_.idle();
    input_.wait(kWaitMillis, typed);
    checkStop();
}

void Sleeps::pauseFor(int ms, std::deque<std::string>& typed) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        input_.wait(static_cast<int>(left.count()), typed);
        checkStop();
    }
}

void Sleeps::idle(std::deque<std::string>& typed) {
    if (!input_.interactive()) throw ProgramEnd{0};
    events_.beforeSleep();
    input_.idle();
    for (;;) {
        checkStop();
        events_.show();
        input_.wait(kWaitMillis, typed);
        typed.clear();
    }
}

}  // namespace lesson
