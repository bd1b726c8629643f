#pragma once
// Section 1 (equations and their solutions), apart from the drawing: the
// random practice "is t a solution of x + c = ax + b?" and the texts of its
// rows, and the substitution table of the fare page.

#include "engine/engine.h"
#include "engine/pages/rows.h"

#include <string>
#include <vector>

namespace solvara::s1 {

// The numbers of one practice problem. The equation x + c = ax + b has the
// solution s; the value t is tested, and f is 1 when t is the solution.
struct SolutionCheck {
    int s = 0;  // 1..3
    int t = 0;  // s, or the first or second of the other candidates
    int f = 0;  // 0 or 1
    int a = 0;  // 2..4
    int b = 0;  // 2..7
    int c = 0;  // (a - 1)s + b
};

// The problem made of five random numbers in [0, 1), in the order they are
// drawn: the solution, the other candidate, the flag, a, b.
SolutionCheck solutionCheckFrom(float rSolution, float rOther, float rFlag, float rA, float rB);
// The same with five fresh random numbers.
SolutionCheck drawSolutionCheck(lesson::Engine& e);

// practiceNum(1..6) = a, b, c, at, at + b, t + c; constNum(1..3) = s, t, f;
// their texts, with "+" in front of b and c.
void fillPracticeTables(lesson::Engine& e, const SolutionCheck& p);
// The rows of one problem from the filled text tables, with their own waits.
std::vector<lesson::Row> practiceRows(const lesson::Engine& e);

std::string verdictText(bool solution);

// The substitution table: x in rowText(2..4), the left side to work out in
// rowText(12..14), its comparison with the right side in rowText(22..24)
// and the worked left side in rowText(32..34).
inline constexpr int kTableFirstX = 3;
inline constexpr float kFareRightSide = 1200;
void fillFareTable(lesson::Engine& e);

}  // namespace solvara::s1
