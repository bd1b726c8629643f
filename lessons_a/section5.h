#pragma once
// Section 5, various equations: the numbers of its random drills and the
// texts of their solution rows, kept apart from the pages so that they can
// be checked with fixed numbers.
//
// The drills hold their equations in slots (practiceNum / constNum):
// 11 the left side, 12 the right side, 13 the moved terms, 14 the collected
// result, 15 and 16 the pieces of the problem as first shown. The second
// fractions drill uses slots 1 to 7 instead.

#include "engine/engine.h"
#include "engine/pages/rows.h"

#include <string>
#include <vector>

namespace solvara::various {

// ---- Brackets: a·x − p(q·x + r) = e -----------------------------------------

struct Brackets {
    int a, p, q, r, e;
};
// q (and c = p·q with it) raised until the collected coefficient a − c is
// neither −1, 0 nor 1.
Brackets settleBrackets(Brackets n);
Brackets drawBrackets(lesson::Engine& e);
// Fills the slots; the five rows of the solution.
std::vector<std::string> bracketsTexts(lesson::Engine& e, const Brackets& n);
std::vector<lesson::Row> bracketsRows(lesson::Engine& e, const Brackets& n);

// ---- Fractions ①: (p/q)·x + b = (t/s)·x --------------------------------------

struct FractionsOne {
    int q, s, p, t, b;
};
// p·s − t·q: never 0, since the four values are distinct.
int fractionsOneCoefficient(const FractionsOne& n);
FractionsOne drawFractionsOne(lesson::Engine& e);
// The six rows; the last is empty when the coefficient is 1 (the row before
// it is then the answer).
std::vector<std::string> fractionsOneTexts(lesson::Engine& e, const FractionsOne& n);
std::vector<lesson::Row> fractionsOneRows(lesson::Engine& e, const FractionsOne& n);

// ---- Fractions ②: (u·x + v)/d1 = (w·x − z)/d2 --------------------------------

struct FractionsTwo {
    int d1, d2, u, v, w, z;
};
// d2·u = d1·w: the x terms would cancel.
bool xTermsCancel(const FractionsTwo& n);
FractionsTwo drawFractionsTwo(lesson::Engine& e);
std::vector<std::string> fractionsTwoTexts(lesson::Engine& e, const FractionsTwo& n);
std::vector<lesson::Row> fractionsTwoRows(lesson::Engine& e, const FractionsTwo& n);

// ---- Decimals: (a/10)·x + bb/10 = −(c/10)·x + e/10, solved times ten ---------

struct Decimals {
    int a, c, bb, e;
};
// a or c raised by 2 when a − c or c − a is 0 or 1.
Decimals settleDecimals(Decimals n);
Decimals drawDecimals(lesson::Engine& e);
std::vector<std::string> decimalsTexts(lesson::Engine& e, const Decimals& n);
std::vector<lesson::Row> decimalsRows(lesson::Engine& e, const Decimals& n);

// A number's text with the zero before the point put back: ".3" -> "0.3",
// "-.5" -> "-0.5"; other texts unchanged.
std::string decimalText(float value);

}  // namespace solvara::various
