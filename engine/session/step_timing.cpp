#include "engine/session/step_timing.h"

#include <cstdio>

namespace lesson {

void StepTiming::start() {
    if (!on_) return;
    last_ = std::chrono::steady_clock::now();
    started_ = true;
}

void StepTiming::lap() {
    if (!started_) return;
    millis_.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - last_).count());
    started_ = false;
}

std::string StepTiming::text() const {
    std::string text;
    char line[32];
    for (double ms : millis_) {
        std::snprintf(line, sizeof line, "%.4f\n", ms);
        text += line;
    }
    return text;
}

}  // namespace lesson
