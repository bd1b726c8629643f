#pragma once
// Section 5 of Ratiora, speed, time and distance: the walkers of example 3.
// The younger brother leaves home at 80 m a minute; ten minutes later his
// sister follows at 240 m a minute and catches him up five minutes after.
// One frame of the animation is a plain function of its counter, so what
// each frame shows can be checked without drawing it.

namespace ratiora::speed {

struct Walkers {
    int t = 0;              // frame counter (minutes since the brother left)
    float brotherX = 83;    // on the brother's line, y 200
    float sisterX = 83;     // on the sister's line, y 330

    // The "10分" arc over the brother's first ten minutes.
    bool showsTenMinutes() const { return t >= 10; }
    // The dotted vertical line where the sister catches up.
    bool showsMeeting() const { return t >= 15; }
};

inline constexpr int kLastFrame = 15;

// Frame t = 0..15: the brother 25 units a minute from x 83; the sister waits
// at the start until minute 10, then goes three times as fast.
Walkers walkersAt(int t);

// The frame shown again after the last one: both at x 458, counter 14, so
// the meeting line is gone and the arcs of x minutes can be drawn.
Walkers caughtUp();

}  // namespace ratiora::speed
