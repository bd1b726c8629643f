#pragma once
// Equations of the random drills held in slots: the same index in
// practiceNum (coefficient of x) and constNum (constant). After
// numbersToTexts the texts of a slot are termText(i), the x term, and
// constText(i), the constant with "+" in front when it is positive.

#include "engine/engine.h"

#include <string>

namespace lesson {

void setSlot(Engine& e, int i, float coefficient, float constant);

// numbersToTexts, then the x-term and signed constant texts of slots first..last.
void slotTexts(Engine& e, int first, int last);

// constText(i) empty where constNum(i) is 0, for slots first..last (a zero
// constant is not written at all).
void blankZeroConstants(Engine& e, int first, int last);

// fracText of reduceFraction with fracNum n and fracDen d.
std::string fractionText(Engine& e, float n, float d);

// The answer of slot i: the "fraction = value" text of constNum(i) over practiceNum(i).
std::string slotAnswerText(Engine& e, int i);

}  // namespace lesson
