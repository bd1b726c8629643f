#pragma once
// The program's random numbers: a generator seeded through the session's
// seeds (so that a replay draws the same problems), kept as its seed and the
// numbers drawn since, which is all the place needs to set it back.

#include <cstdint>
#include <random>
#include <string>

namespace lesson {

class ByteWriter;
class ByteReader;

// The time of day as "hh:mm:ss", which the program seeds its generator from.
std::string timeOfDay();

class Generator {
public:
    void seed(unsigned seed);
    // A fresh number in [0, 1).
    float next();

    // As its seed and draws, in the place, and back (throws PlaceUnreadable).
    void save(ByteWriter& w) const;
    static Generator load(ByteReader& r);

private:
    std::mt19937 rng_{0};
    unsigned seed_ = 0;
    std::uint64_t draws_ = 0;
};

}  // namespace lesson
