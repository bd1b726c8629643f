#include "engine/pages/slots.h"

#include "engine/pages/rows.h"
#include "engine/prompts/prompts.h"
#include "engine/text/text.h"

namespace lesson {

void setSlot(Engine& e, int i, float coefficient, float constant) {
    e.practiceNum(i) = coefficient;
    e.constNum(i) = constant;
}

void slotTexts(Engine& e, int first, int last) {
    numbersToTexts(e);
    for (int i = first; i <= last; ++i) {
        e.termText(i) = termTextFor(e.practiceNum(i));
        e.constText(i) = signedText(e.constText(i), e.constNum(i));
    }
}

void blankZeroConstants(Engine& e, int first, int last) {
    for (int i = first; i <= last; ++i)
        if (e.constNum(i) == 0) e.constText(i).clear();
}

std::string fractionText(Engine& e, float n, float d) {
    e.fracNum = n;
    e.fracDen = d;
    reduceFraction(e);
    return e.fracText;
}

std::string slotAnswerText(Engine& e, int i) { return fractionValueText(e, e.constNum(i), e.practiceNum(i)); }

}  // namespace lesson
