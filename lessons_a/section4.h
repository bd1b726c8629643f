#pragma once
// The random equations of "方程式の解き方": a constant moved (例1), an x term
// moved (例2), both moved (例題1). Each generator draws its numbers from the
// engine's RND; each text rule fills the equation slots (1 left side, 2 right
// side, 3 the moved terms, 4 the collected result) from given numbers and
// returns the rows of the solution, so both can be checked apart from the
// drawing.

#include "engine/engine.h"

#include <string>
#include <utility>
#include <vector>

namespace solvara::transposition {

// x + b1 = b2: b1 is ±1..9, b2 is ±2..10.
struct ConstantMove {
    float b1, b2;
};
ConstantMove drawConstantMove(lesson::Engine& e);
// "　 x+5=-3", "x=-3-5", "x=-8".
std::vector<std::string> constantMoveRows(lesson::Engine& e, const ConstantMove& n);

// a1·x = a2·x + k·(a1 − a2): a1, a2 are 1..9 before keepApart, k is 1..9 (the solution).
struct XTermMove {
    float a1, a2, k;
};
XTermMove drawXTermMove(lesson::Engine& e);
// "　 5x=3x+8", "5x-3x=8", "2x=8", "x=ﾀ8/2ﾀ=4".
std::vector<std::string> xTermMoveRows(lesson::Engine& e, const XTermMove& n);

// a1·x + b1 = a2·x + b2: a1, a2 as for an x term moved, then a2 may be
// negated; b1 is 1..9, b2 is −9..−1.
struct BothMoves {
    float a1, a2, b1, b2;
};
BothMoves drawBothMoves(lesson::Engine& e);
// "7x+3=2x-5", "7x-2x=-5-3", "5x=-8", "x=ﾀ-8/5ﾀ=-ﾀ8/5ﾀ".
std::vector<std::string> bothMovesRows(lesson::Engine& e, const BothMoves& n);

// The two coefficients moved apart by 2 where a1 − a2 would be −1, 0 or 1,
// so that the collected coefficient can never be 0 or ±1.
std::pair<float, float> keepApart(float a1, float a2);

}  // namespace solvara::transposition
