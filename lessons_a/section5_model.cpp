// The random drills of section 5: how their numbers are drawn and how the
// numbers become the texts of the solution rows.

#include "engine/pages/random.h"
#include "engine/pages/slots.h"
#include "engine/text/text.h"
#include "lessons_a/section5.h"

namespace solvara::various {

using namespace lesson;

namespace {

// The candidate values of the fraction drills, drawn without replacement.
void freshPickList(Engine& e) { setPickList(e, {1, 2, 3, 5, 7, 11}); }

int pick(Engine& e, int first, int last) { return static_cast<int>(drawPick(e, first, last)); }

// 0 or 1 apart upwards: the adjustment rules test these two differences.
bool zeroOrOne(int difference) { return difference == 0 || difference == 1; }

// The texts of slot i: its x term and its signed constant.
const std::string& term(Engine& e, int i) { return e.termText(i); }
const std::string& constant(Engine& e, int i) { return e.constText(i); }

}  // namespace

// ---- Brackets ----------------------------------------------------------------

Brackets settleBrackets(Brackets n) {
    while (zeroOrOne(n.a - n.p * n.q) || zeroOrOne(n.p * n.q - n.a)) ++n.q;
    return n;
}

Brackets drawBrackets(Engine& e) {
    Brackets n{};
    n.p = randomIn(e, 2, 4);
    n.q = randomIn(e, 1, 3);
    n.r = randomIn(e, 1, 3);
    n.a = randomIn(e, 1, 9);
    n = settleBrackets(n);
    n.e = randomIn(e, 1, 9);
    return n;
}

std::vector<std::string> bracketsTexts(Engine& e, const Brackets& n) {
    const int c = n.p * n.q;
    setSlot(e, 11, n.a, -n.p * n.r);
    setSlot(e, 12, c, n.e);
    setSlot(e, 13, -c, n.p * n.r);
    setSlot(e, 14, n.a - c, n.e + n.p * n.r);
    setSlot(e, 15, n.q, -n.p);
    setSlot(e, 16, 0, n.r);
    slotTexts(e, 11, 16);
    blankZeroConstants(e, 11, 13);
    e.rowText(3) = slotAnswerText(e, 14);
    // The right side's constant is written without its "+" from the first row on.
    const std::string right = withoutLeadingPlus(e, constant(e, 12));
    return {
        term(e, 11) + constant(e, 15) + "(" + term(e, 15) + constant(e, 16) + ")=" + right,
        term(e, 11) + term(e, 13) + constant(e, 11) + "=" + right,
        term(e, 11) + term(e, 13) + "=" + right + constant(e, 13),
        term(e, 14) + "=" + withoutLeadingPlus(e, constant(e, 14)),
        "x=" + e.rowText(3),
    };
}

// ---- Fractions ① ---------------------------------------------------------------

int fractionsOneCoefficient(const FractionsOne& n) { return n.p * n.s - n.t * n.q; }

FractionsOne drawFractionsOne(Engine& e) {
    FractionsOne n{};
    freshPickList(e);
    n.q = pick(e, 3, 5);
    n.s = pick(e, 3, 4);
    n.p = pick(e, 1, 3);
    n.t = pick(e, 1, 2);
    n.b = randomIn(e, 1, 3);
    return n;
}

std::vector<std::string> fractionsOneTexts(Engine& e, const FractionsOne& n) {
    const int m = n.q * n.s;
    const int coefficient = fractionsOneCoefficient(n);
    setSlot(e, 11, n.p * n.s, n.b * m);
    setSlot(e, 12, n.t * n.q, 0);
    setSlot(e, 13, -n.t * n.q, -n.b * m);
    setSlot(e, 14, coefficient, -n.b * m);
    setSlot(e, 16, 0, n.b);
    slotTexts(e, 11, 16);
    blankZeroConstants(e, 11, 13);
    e.rowText(3) = slotAnswerText(e, 14);
    const std::string f1 = fractionText(e, n.p, n.q);
    const std::string f2 = fractionText(e, n.t, n.s);
    const std::string mt = numberText(m);
    return {
        "① " + f1 + "x" + constant(e, 16) + "=" + f2 + "x",
        mt + "*" + f1 + "x+" + mt + "*" + withoutLeadingPlus(e, constant(e, 16)) + "=" + mt + "*" + f2 + "x",
        term(e, 11) + constant(e, 11) + "=" + term(e, 12) + constant(e, 12),
        term(e, 11) + term(e, 13) + "=" + constant(e, 12) + constant(e, 13),
        term(e, 14) + "=" + constant(e, 14),
        coefficient == 1 ? "" : "x=" + e.rowText(3),
    };
}

// ---- Fractions ② ---------------------------------------------------------------

bool xTermsCancel(const FractionsTwo& n) { return n.d2 * n.u == n.d1 * n.w; }

FractionsTwo drawFractionsTwo(Engine& e) {
    for (;;) {
        FractionsTwo n{};
        freshPickList(e);
        n.d1 = pick(e, 2, 5);
        n.d2 = pick(e, 2, 4);
        n.u = randomIn(e, 1, 3);
        n.v = randomIn(e, 1, 3);
        if (n.u == n.v) ++n.v;
        n.w = randomIn(e, 1, 3);
        n.z = randomIn(e, 1, 3);
        if (!xTermsCancel(n)) return n;
    }
}

std::vector<std::string> fractionsTwoTexts(Engine& e, const FractionsTwo& n) {
    setSlot(e, 1, n.d2 * n.u, n.d2 * n.v);
    setSlot(e, 2, n.d1 * n.w, -n.d1 * n.z);
    setSlot(e, 3, -n.d1 * n.w, -n.d2 * n.v);
    setSlot(e, 4, n.d2 * n.u - n.d1 * n.w, -n.d1 * n.z - n.d2 * n.v);
    setSlot(e, 6, n.u, n.v);
    setSlot(e, 7, n.w, -n.z);
    slotTexts(e, 1, 7);
    blankZeroConstants(e, 1, 3);
    e.rowText(1) = slotAnswerText(e, 4);
    const std::string d1 = numberText(n.d1), d2 = numberText(n.d2), lt = numberText(n.d1 * n.d2);
    const std::string left = term(e, 6) + constant(e, 6), right = term(e, 7) + constant(e, 7);
    return {
        "② ﾀ" + left + "/" + d1 + "ﾀ=ﾀ" + right + "/" + d2 + "ﾀ",
        lt + "*ﾀ" + left + "/" + d1 + "ﾀ=" + lt + "*ﾀ" + right + "/" + d2 + "ﾀ",
        d2 + "(" + left + ")=" + d1 + "(" + right + ")",
        term(e, 1) + constant(e, 1) + "=" + term(e, 2) + constant(e, 2),
        term(e, 1) + term(e, 3) + "=" + withoutLeadingPlus(e, constant(e, 2)) + constant(e, 3),
        term(e, 4) + "=" + withoutLeadingPlus(e, constant(e, 4)),
        "x=" + e.rowText(1),
    };
}

// ---- Decimals ----------------------------------------------------------------------

Decimals settleDecimals(Decimals n) {
    if (zeroOrOne(n.a - n.c)) n.a += 2;
    else if (zeroOrOne(n.c - n.a)) n.c += 2;
    return n;
}

Decimals drawDecimals(Engine& e) {
    Decimals n{};
    n.a = randomIn(e, 1, 7);
    n.c = randomIn(e, 1, 7);
    n = settleDecimals(n);
    n.bb = randomIn(e, 1, 9);
    n.e = 10 * randomIn(e, 1, 9);
    return n;
}

std::string decimalText(float value) {
    std::string text = numberText(value);
    if (text.rfind(".", 0) == 0) text.insert(0, "0");
    else if (text.rfind("-.", 0) == 0) text.insert(1, "0");
    return text;
}

std::vector<std::string> decimalsTexts(Engine& e, const Decimals& n) {
    const float f = static_cast<float>(n.a) / 10, g = static_cast<float>(n.bb) / 10;
    const float h = static_cast<float>(-n.c) / 10, k = static_cast<float>(n.e) / 10;
    setSlot(e, 11, n.a, n.bb);
    setSlot(e, 12, -n.c, n.e);
    setSlot(e, 13, n.c, -n.bb);
    setSlot(e, 14, n.a + n.c, n.e - n.bb);
    setSlot(e, 15, f, g);
    setSlot(e, 16, h, k);
    slotTexts(e, 11, 16);
    // The shown problem's coefficients lie between -1 and 1: their texts get
    // the zero before the point back ("0.3x", "-0.5x", "+0.4").
    e.termText(15) = decimalText(f) + "x";
    e.termText(16) = decimalText(h) + "x";
    e.constText(15) = signedText(decimalText(g), g);
    e.rowText(3) = slotAnswerText(e, 14);
    return {
        term(e, 15) + constant(e, 15) + "=" + term(e, 16) + constant(e, 16),
        term(e, 11) + constant(e, 11) + "=" + term(e, 12) + constant(e, 12),
        term(e, 11) + signedText(term(e, 13), n.c) + "=" + withoutLeadingPlus(e, constant(e, 12)) + constant(e, 13),
        term(e, 14) + "=" + withoutLeadingPlus(e, constant(e, 14)),
        "x=" + e.rowText(3),
    };
}

}  // namespace solvara::various
