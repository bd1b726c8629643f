#pragma once

namespace lesson {

// A position on the 1344 x 720 page, in logical units: where a line runs,
// where a tap lands.
struct Point {
    float x = 0;
    float y = 0;
};

}  // namespace lesson
