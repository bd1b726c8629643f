#pragma once
// Section 1 of Ratiora, proportions: the numbers of the two random drills and
// the texts of their rows. Drawing the numbers uses the engine's random
// generator and pickList; everything after that is a plain function of the
// numbers drawn, so the rows can be checked with fixed numbers.

#include "engine/engine.h"

#include <array>
#include <string>

namespace ratiora::proportion {

// ---- x:d = b:c (page 2 and the left drill of page 4) -------------------

struct RatioNumbers {
    int b;  // 1..5, never equal to c
    int c;  // 2..5
    int k;  // 2 or 3

    int d() const { return k * c; }
    int answer() const { return k * b; }
    int product() const { return d() * b; }  // d·b, the right side after cross-multiplying
};

// c from positions 2..5 of 1..5 (taken out), b from positions 1..4 of the rest, then k.
RatioNumbers drawRatioNumbers(lesson::Engine& e);

// Page 2: the proportion, as fractions, solved for x, the answer.
std::array<std::string, 4> ratioTexts(const RatioNumbers& n);
// Page 4, left: the proportion, the cross product, collected, divided, the answer.
std::array<std::string, 5> crossTexts(const RatioNumbers& n);

// ---- a:(mx+n) = c:d (the right drill of page 4) ---------------------------

struct BracketNumbers {
    int a;  // 1..4 times c
    int m;  // 1 or 2
    int n;  // ±2..9
    int c;  // 3 or 5
    int d;  // 2, 4, 7 or 8

    int coefficient() const { return c * m; }  // M, the coefficient of x after expanding
    int cn() const { return c * n; }
    int ad() const { return a * d; }
    int rightSide() const { return ad() - cn(); }  // R
};

// From the candidates 3, 5, 2, 4, 7, 8, 1, 8, 9: c from positions 1..2 (taken
// out), d from positions 2..5 of the rest; then a, n and its sign, m.
BracketNumbers drawBracketNumbers(lesson::Engine& e);

// The seven rows from the proportion to "x=" and the reduced answer. The
// engine is the scratch of reduceFraction.
std::array<std::string, 7> bracketTexts(lesson::Engine& e, const BracketNumbers& n);

}  // namespace ratiora::proportion
