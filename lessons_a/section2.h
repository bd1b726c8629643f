#pragma once
// Section 2 of Solvara, the properties of equalities: the balance scale with
// its loads and tilt animations, and the one-step equation drill. The
// geometry and the drill's numbers and texts are plain functions of their
// inputs, so they can be checked apart from the pages.

#include "engine/engine.h"

#include <array>
#include <functional>
#include <string>

namespace solvara::equality {

inline constexpr float kArmLength = 150;   // pivot to each end of the beam
inline constexpr float kLiftHeight = 300;  // weights taken off stand this far above the pivot
inline constexpr int kFrames = 9;          // frames of one tilt or return

// ---- The balance scale -------------------------------------------------

// P0 pivot; P1, P2 left and right beam ends; P3, P4 the left pan's ends and
// P5, P6 the right pan's (the y of P4 and P6 is that of P3 and P5); P7, P8
// the fulcrum's base corners (P8.y is P7.y).
using BalancePoints = std::array<lesson::Point, 9>;

// The points of a balance with its pivot at `pivot` and the beam at
// `beamAngle` radians (positive lowers the left pan).
BalancePoints balancePoints(lesson::Point pivot, float beamAngle);

// The area a frame blanks before drawing the balance.
struct Area {
    float x1, y1, x2, y2;
};
Area balanceArea(lesson::Point pivot);

// The pivot is P0 in pointX/pointY(0). Blanks the balance area, draws the
// beam, pans, hangers and fulcrum, and leaves P0..P8 in pointX/pointY.
void drawBalance(lesson::Engine& e, float beamAngle);

// The loads of the four tasks, placed at the points of the last drawBalance.
void drawLoad1(lesson::Engine& e);  // x and three slots left, ten weights right
void drawLoad2(lesson::Engine& e);  // x with two holes left, five weights right
void drawLoad3(lesson::Engine& e);  // x left, fourteen weights right
void drawLoad4(lesson::Engine& e, int weightRows);  // three thirds of x left, rows of five right

// ---- Animations ---------------------------------------------------------

enum class Tilt { Right, Left, LevelFromRight, LevelFromLeft };

// The beam angle of frame k (0..kFrames-1).
float frameAngle(Tilt tilt, int k);

// kFrames frames: the balance at the frame's angle, then `load` (the load and
// any boxes drawn over it), then the layer's pause.
void animate(lesson::Engine& e, Tilt tilt, const std::function<void(lesson::Engine&)>& load);

// ---- The one-step drill ------------------------------------------------

// The drawn numbers of one problem.
struct PracticeNumbers {
    int a;  // 2..8, the number added or taken away
    int b;  // ±1..9, the right side of forms 1 and 2
    int c;  // ±2..9, the coefficient (or its reciprocal) of forms 3 and 4
    int d;  // ±1..8, the answer of form 4, the right side of form 3
};

// Draws a problem's numbers from `rnd` (values in [0, 1)) in the drill's order.
PracticeNumbers drawPracticeNumbers(const std::function<float()>& rnd);

// The problem, the step and the answer of form 1..4 for these numbers.
// Fills practiceNum/practiceText as the drill does.
std::array<std::string, 3> practiceRows(lesson::Engine& e, int form, const PracticeNumbers& n);

// ---- The section ---------------------------------------------------------

void task1(lesson::Engine& e);
void task2(lesson::Engine& e);
void task3(lesson::Engine& e);
void task4(lesson::Engine& e);
void solvingPage(lesson::Engine& e);
void summaryPage(lesson::Engine& e);
void practicePage(lesson::Engine& e);
void answersPage(lesson::Engine& e);
void examplePage(lesson::Engine& e);

}  // namespace solvara::equality
