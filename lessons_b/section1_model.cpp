// The numbers and row texts of the proportion drills of section 1.

#include "engine/pages/random.h"
#include "engine/pages/rows.h"
#include "engine/text/text.h"
#include "lessons_b/section1.h"

namespace ratiora::proportion {

using lesson::numberText;
using lesson::signedText;

namespace {

std::string num(int v) { return numberText(static_cast<float>(v)); }

// A number with "+" in front when positive, as it stands after another term.
std::string signedNum(int v) { return signedText(num(v), static_cast<float>(v)); }

// The coefficient of x inside the bracket: none for 1.
std::string bracketCoefficient(int m) { return m == 1 ? "" : num(m); }

}  // namespace

// ---- x:d = b:c ------------------------------------------------------------

RatioNumbers drawRatioNumbers(lesson::Engine& e) {
    lesson::setPickList(e, {1, 2, 3, 4, 5});
    RatioNumbers n{};
    n.c = static_cast<int>(lesson::drawPick(e, 2, 5));
    n.b = static_cast<int>(e.pickList(lesson::randomIn(e, 1, 4)));
    n.k = lesson::randomIn(e, 2, 3);
    return n;
}

std::array<std::string, 4> ratioTexts(const RatioNumbers& n) {
    const std::string b = num(n.b), c = num(n.c), d = num(n.d());
    return {
        "x:" + d + "=" + b + ":" + c,
        "ﾀx/" + d + "ﾀ=ﾀ" + b + "/" + c + "ﾀ",
        "x=ﾀ" + b + "/" + c + "ﾀ*" + d,
        "x=" + num(n.answer()),
    };
}

std::array<std::string, 5> crossTexts(const RatioNumbers& n) {
    const std::string b = num(n.b), c = num(n.c), d = num(n.d()), e = num(n.product());
    return {
        "① x:" + d + "=" + b + ":" + c,
        c + "*x=" + d + "*" + b,
        c + "x=" + e,
        "ﾀ" + c + "x/" + c + "ﾀ=ﾀ" + e + "/" + c + "ﾀ",
        "x=" + num(n.answer()),
    };
}

// ---- a:(mx+n) = c:d ---------------------------------------------------------

BracketNumbers drawBracketNumbers(lesson::Engine& e) {
    lesson::setPickList(e, {3, 5, 2, 4, 7, 8, 1, 8, 9});
    BracketNumbers n{};
    n.c = static_cast<int>(lesson::drawPick(e, 1, 2));
    n.d = static_cast<int>(e.pickList(lesson::randomIn(e, 2, 5)));
    n.a = lesson::randomIn(e, 1, 4) * n.c;
    n.n = lesson::randomIn(e, 2, 9);
    if (lesson::randomIn(e, 0, 1) == 0) n.n = -n.n;
    n.m = lesson::randomIn(e, 1, 2);
    return n;
}

std::array<std::string, 7> bracketTexts(lesson::Engine& e, const BracketNumbers& n) {
    const std::string a = num(n.a), c = num(n.c), d = num(n.d);
    const std::string bracket = "(" + bracketCoefficient(n.m) + "x" + signedNum(n.n) + ")";
    const std::string M = num(n.coefficient()), R = num(n.rightSide()), ad = num(n.ad());

    e.fracNum = static_cast<float>(n.rightSide());
    e.fracDen = static_cast<float>(n.coefficient());
    lesson::reduceFraction(e);

    return {
        "② " + a + ":" + bracket + "=" + c + ":" + d,
        c + bracket + "=" + a + "*" + d,
        M + "x" + signedNum(n.cn()) + "=" + ad,
        M + "x=" + ad + signedNum(-n.cn()),
        M + "x=" + R,
        "ﾀ" + M + "x/" + M + "ﾀ=ﾀ" + R + "/" + M + "ﾀ",
        "x=" + e.fracText,
    };
}

}  // namespace ratiora::proportion
