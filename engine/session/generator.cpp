#include "engine/session/generator.h"

#include "engine/session/place.h"

#include <cstdio>
#include <ctime>

namespace lesson {

std::string timeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

void Generator::seed(unsigned seed) {
    seed_ = seed;
    draws_ = 0;
    rng_.seed(seed_);
}

float Generator::next() {
    // 24 random bits: every value is exact in single precision and below 1.
    ++draws_;
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void Generator::save(ByteWriter& w) const {
    w.number(seed_);
    w.number(draws_);
}

Generator Generator::load(ByteReader& r) {
    Generator g;
    g.seed_ = static_cast<unsigned>(r.number());
    g.draws_ = r.number();
    g.rng_.seed(g.seed_);
    g.rng_.discard(g.draws_);
    return g;
}

}  // namespace lesson
