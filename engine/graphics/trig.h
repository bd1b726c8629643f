#pragma once
// The trigonometry of the pages, the same to the last bit on every platform:
// the single-precision functions of C libraries differ in their last digit,
// so each is worked in double precision (within half a unit there) and
// rounded to a float, which every library then gives alike.

#include <cmath>

namespace lesson {

inline float sine(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
inline float cosine(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
inline float arcTangent(float x) { return static_cast<float>(std::atan(static_cast<double>(x))); }
inline float hypotenuse(float x, float y) {
    return static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
}

}  // namespace lesson
