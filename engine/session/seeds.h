#pragma once
// The seeds the program's generator was given, call by call: a replay after
// a step back (or a reopening) takes the seeds of the first run, the clock's
// too, so that it draws the same problems.

#include <cstddef>
#include <vector>

namespace lesson {

class SeedLog {
public:
    // The seed of this call of the generator's seeding: the one asked in a
    // run, the one of the first run in a replay.
    unsigned seedFor(unsigned asked);
    // The calls of the seeding made so far in this run or replay.
    std::size_t calls() const { return calls_; }
    // A replay starts again from the first call, or goes on from a round
    // kept after `calls` of them.
    void rewindTo(std::size_t calls) { calls_ = calls; }

    const std::vector<unsigned>& seeds() const { return seeds_; }
    // As read back from the place.
    void restore(std::vector<unsigned> seeds) { seeds_ = std::move(seeds); }
    void clear() { seeds_.clear(); }

private:
    std::vector<unsigned> seeds_;
    std::size_t calls_ = 0;
};

}  // namespace lesson
