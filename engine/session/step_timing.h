#pragma once
// The time each key step took, from the key read to the next read of a key:
// what the benchmarks measure.

#include <chrono>
#include <string>
#include <vector>

namespace lesson {

class StepTiming {
public:
    explicit StepTiming(bool on) : on_(on) {}
    // A key step starts (a key read, a step back, a reopening).
    void start();
    // A wait reads again: the step started, if one did, is over.
    void lap();
    // In milliseconds, a line each.
    std::string text() const;

private:
    bool on_;
    std::chrono::steady_clock::time_point last_{};
    bool started_ = false;
    std::vector<double> millis_;
};

}  // namespace lesson
