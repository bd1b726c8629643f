// Section 5: the four random drills with fixed numbers and over many draws,
// the sub-menu, and a walk through every page by scripted keys.

#include "lessons_a/section5.h"

#include "lessons_a/sections.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>

using namespace solvara::various;
using lesson::Engine;
using lesson::Row;
using testing_support::EngineFixture;
using testing_support::Event;
using testing_support::runHeadless;
using testing_support::RunResult;

namespace {

const std::string kFrac = "ﾀ";

// ---- Rows read as equations: numbers, x, + - *, brackets with implied
// multiplication, and fractions in the markup. ---------------------------------

class Equation {
public:
    Equation(std::string text, double x) : s_(std::move(text)), x_(x) {}

    // The value of every side of the chain a=b=c.
    std::vector<double> sides() {
        std::vector<double> out{expr()};
        while (take("=")) out.push_back(expr());
        if (i_ != s_.size()) throw std::runtime_error("unread text at " + std::to_string(i_) + " in " + s_);
        return out;
    }

private:
    bool at(const std::string& t) const { return s_.compare(i_, t.size(), t) == 0; }
    bool take(const std::string& t) {
        if (!at(t)) return false;
        i_ += t.size();
        return true;
    }
    bool startsFactor() const {
        return i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || at(".") || at("x") ||
                                  at("(") || (at(kFrac) && !inFraction_));
    }
    double expr() {
        double v = unary();
        for (;;) {
            if (take("+")) v += term();
            else if (take("-")) v -= term();
            else return v;
        }
    }
    double unary() { return take("-") ? -term() : term(); }
    double term() {
        double v = factor();
        for (;;) {
            if (take("*")) v *= factor();
            else if (startsFactor()) v *= factor();
            else return v;
        }
    }
    double factor() {
        if (take("x")) return x_;
        if (take("(")) {
            const double v = expr();
            if (!take(")")) throw std::runtime_error("no ) in " + s_);
            return v;
        }
        if (!inFraction_ && take(kFrac)) {
            inFraction_ = true;
            const double num = expr();
            if (!take("/")) throw std::runtime_error("no / in " + s_);
            const double den = expr();
            if (!take(kFrac)) throw std::runtime_error("unclosed fraction in " + s_);
            inFraction_ = false;
            return num / den;
        }
        if (take("-")) return -factor();
        const std::size_t from = i_;
        while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.')) ++i_;
        if (from == i_) throw std::runtime_error("no number at " + std::to_string(i_) + " in " + s_);
        return std::stod(s_.substr(from, i_ - from));
    }

    std::string s_;
    std::size_t i_ = 0;
    double x_;
    bool inFraction_ = false;
};

std::string withoutCircledLabel(const std::string& text) {
    for (const std::string label : {"① ", "② "})
        if (text.rfind(label, 0) == 0) return text.substr(label.size());
    return text;
}

// The value the last shown row gives x ("x=ﾀ8/-4ﾀ=-2" gives -2).
double shownAnswer(const std::vector<std::string>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (!it->empty()) return Equation(it->substr(it->rfind('=') + 1), 0).sides().front();
    throw std::runtime_error("no answer row");
}

// Every row, the problem as first shown included, holds at the shown answer.
void expectEveryRowHolds(const std::vector<std::string>& rows, double answer) {
    ASSERT_EQ(rows.front().rfind("x=", 0), std::string::npos) << "the problem is not shown first";
    for (const std::string& row : rows) {
        if (row.empty()) continue;
        const std::vector<double> sides = Equation(withoutCircledLabel(row), answer).sides();
        ASSERT_GE(sides.size(), 2u) << row;
        for (double side : sides) EXPECT_NEAR(side, sides.front(), 1e-6 * (1 + std::fabs(side))) << row;
    }
}

std::vector<std::string> textsOf(const std::vector<Row>& rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) out.push_back(r.text);
    return out;
}

std::vector<int> coloursOf(const std::vector<Row>& rows) {
    std::vector<int> out;
    for (const Row& r : rows) out.push_back(r.color);
    return out;
}

constexpr int kDraws = 3000;

}  // namespace

// ---- Brackets ------------------------------------------------------------------

TEST(Section5Brackets, ListedProblemRaisesQAndGivesItsFiveRows) {
    EngineFixture f;
    const Brackets n = settleBrackets({.a = 2, .p = 3, .q = 1, .r = 1, .e = 5});
    EXPECT_EQ(n.q, 2);
    const auto rows = bracketsRows(f.engine(), n);
    EXPECT_EQ(textsOf(rows), (std::vector<std::string>{"2x-3(2x+1)=5", "2x-6x-3=5", "2x-6x=5+3", "-4x=8",
                                                        "x=ﾀ8/-4ﾀ=-2"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5}));
}

TEST(Section5Brackets, QRisesUntilTheCoefficientIsClearOfMinusOneToOne) {
    EXPECT_EQ(settleBrackets({.a = 5, .p = 2, .q = 1, .r = 1, .e = 1}).q, 1);  // 5 - 2 = 3: kept
    EXPECT_EQ(settleBrackets({.a = 9, .p = 3, .q = 3, .r = 1, .e = 1}).q, 4);  // 9 - 9 = 0
    EXPECT_EQ(settleBrackets({.a = 7, .p = 2, .q = 3, .r = 1, .e = 1}).q, 5);  // 7 - 6 = 1, then 8 - 7 = 1
    EXPECT_EQ(settleBrackets({.a = 1, .p = 2, .q = 1, .r = 1, .e = 1}).q, 2);  // 1 - 2 = -1
}

TEST(Section5Brackets, OverManyDrawsRangesHoldAndEveryRowSolves) {
    EngineFixture f("", 11);
    Engine& e = f.engine();
    std::set<int> ps, qs, rs, as, es;
    for (int k = 0; k < kDraws; ++k) {
        const Brackets n = drawBrackets(e);
        ps.insert(n.p), rs.insert(n.r), as.insert(n.a), es.insert(n.e);
        const int c = n.p * n.q;
        ASSERT_GT(std::abs(n.a - c), 1) << "coefficient " << n.a - c;
        if (n.q > 3) {
            const int before = n.p * (n.q - 1);  // the q before the last raise was too close as well
            EXPECT_LE(std::abs(n.a - before), 1);
        } else {
            qs.insert(n.q);
        }
        const auto texts = textsOf(bracketsRows(e, n));
        const double answer = shownAnswer(texts);
        EXPECT_NEAR(answer, double(n.e + n.p * n.r) / (n.a - c), 1e-6);
        expectEveryRowHolds(texts, answer);
    }
    EXPECT_EQ(ps, (std::set<int>{2, 3, 4}));
    EXPECT_EQ(qs, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(rs, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(as, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(es, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// ---- Fractions ① ------------------------------------------------------------------

TEST(Section5FractionsOne, ListedProblemGivesItsSixRows) {
    EngineFixture f;
    const auto rows = fractionsOneRows(f.engine(), {.q = 3, .s = 5, .p = 1, .t = 2, .b = 2});
    EXPECT_EQ(textsOf(rows), (std::vector<std::string>{"① ﾀ1/3ﾀx+2=ﾀ2/5ﾀx", "15*ﾀ1/3ﾀx+15*2=15*ﾀ2/5ﾀx", "5x+30=6x",
                                                        "5x-6x=-30", "-x=-30", "x=ﾀ-30/-1ﾀ=30"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 0, 5}));
}

TEST(Section5FractionsOne, CoefficientOneMakesTheCollectedRowTheAnswer) {
    EngineFixture f;
    const FractionsOne n{.q = 5, .s = 3, .p = 2, .t = 1, .b = 1};
    ASSERT_EQ(fractionsOneCoefficient(n), 1);
    const auto rows = fractionsOneRows(f.engine(), n);
    EXPECT_EQ(textsOf(rows), (std::vector<std::string>{"① ﾀ2/5ﾀx+1=ﾀ1/3ﾀx", "15*ﾀ2/5ﾀx+15*1=15*ﾀ1/3ﾀx", "6x+15=5x",
                                                        "6x-5x=-15", "x=-15", ""}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5, 5}));
}

TEST(Section5FractionsOne, OverManyDrawsValuesAreDistinctAndEveryRowSolves) {
    EngineFixture f("", 12);
    Engine& e = f.engine();
    std::set<int> qs, ss, ps, ts, bs;
    bool sawCoefficientOne = false;
    for (int k = 0; k < kDraws; ++k) {
        const FractionsOne n = drawFractionsOne(e);
        qs.insert(n.q), ss.insert(n.s), ps.insert(n.p), ts.insert(n.t), bs.insert(n.b);
        ASSERT_EQ((std::set<int>{n.q, n.s, n.p, n.t}).size(), 4u) << n.q << n.s << n.p << n.t;
        ASSERT_NE(fractionsOneCoefficient(n), 0);
        sawCoefficientOne |= fractionsOneCoefficient(n) == 1;
        const auto texts = textsOf(fractionsOneRows(e, n));
        const double answer = shownAnswer(texts);
        EXPECT_NEAR(answer, -double(n.b * n.q * n.s) / fractionsOneCoefficient(n), 1e-6);
        expectEveryRowHolds(texts, answer);
    }
    EXPECT_EQ(qs, (std::set<int>{3, 5, 7}));
    EXPECT_EQ(ss, (std::set<int>{3, 5, 7}));
    EXPECT_EQ(ps, (std::set<int>{1, 2, 3, 5, 7}));
    EXPECT_EQ(ts, (std::set<int>{1, 2, 3, 5, 7}));
    EXPECT_EQ(bs, (std::set<int>{1, 2, 3}));
    EXPECT_TRUE(sawCoefficientOne);
}

// ---- Fractions ② ------------------------------------------------------------------

TEST(Section5FractionsTwo, ListedProblemGivesItsSevenRows) {
    EngineFixture f;
    const auto rows = fractionsTwoRows(f.engine(), {.d1 = 5, .d2 = 3, .u = 2, .v = 3, .w = 1, .z = 2});
    EXPECT_EQ(textsOf(rows),
              (std::vector<std::string>{"② ﾀ2x+3/5ﾀ=ﾀx-2/3ﾀ", "15*ﾀ2x+3/5ﾀ=15*ﾀx-2/3ﾀ", "3(2x+3)=5(x-2)",
                                        "6x+9=5x-10", "6x-5x=-10-9", "x=-19", "x=ﾀ-19/1ﾀ=-19"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 0, 0, 5}));
}

TEST(Section5FractionsTwo, CancellingXTermsAreRecognised) {
    EXPECT_TRUE(xTermsCancel({.d1 = 2, .d2 = 3, .u = 2, .v = 1, .w = 3, .z = 1}));
    EXPECT_TRUE(xTermsCancel({.d1 = 3, .d2 = 2, .u = 3, .v = 1, .w = 2, .z = 1}));
    EXPECT_FALSE(xTermsCancel({.d1 = 3, .d2 = 2, .u = 2, .v = 1, .w = 3, .z = 1}));
}

TEST(Section5FractionsTwo, OverManyDrawsRangesHoldAndEveryRowSolves) {
    EngineFixture f("", 13);
    Engine& e = f.engine();
    std::set<int> d1s, d2s, us, vs, ws, zs;
    for (int k = 0; k < kDraws; ++k) {
        const FractionsTwo n = drawFractionsTwo(e);
        d1s.insert(n.d1), d2s.insert(n.d2), us.insert(n.u), vs.insert(n.v), ws.insert(n.w), zs.insert(n.z);
        ASSERT_NE(n.d1, n.d2);
        ASSERT_NE(n.u, n.v);
        const int coefficient = n.d2 * n.u - n.d1 * n.w;
        ASSERT_NE(coefficient, 0);
        const auto texts = textsOf(fractionsTwoRows(e, n));
        const double answer = shownAnswer(texts);
        EXPECT_NEAR(answer, double(-n.d1 * n.z - n.d2 * n.v) / coefficient, 1e-6);
        expectEveryRowHolds(texts, answer);
    }
    EXPECT_EQ(d1s, (std::set<int>{2, 3, 5, 7}));
    EXPECT_EQ(d2s, (std::set<int>{2, 3, 5, 7}));
    EXPECT_EQ(us, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(vs, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(ws, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(zs, (std::set<int>{1, 2, 3}));
}

// ---- Decimals ---------------------------------------------------------------------

TEST(Section5Decimals, ListedProblemGivesItsFiveRows) {
    EngineFixture f;
    const Decimals n = settleDecimals({.a = 3, .c = 5, .bb = 4, .e = 70});
    const auto rows = decimalsRows(f.engine(), n);
    EXPECT_EQ(textsOf(rows), (std::vector<std::string>{"0.3x+0.4=-0.5x+7", "3x+4=-5x+70", "3x+5x=70-4", "8x=66",
                                                        "x=ﾀ66/8ﾀ=ﾀ33/4ﾀ"}));
    EXPECT_EQ(coloursOf(rows), (std::vector<int>{0, 0, 0, 0, 5}));
}

TEST(Section5Decimals, CloseCoefficientsAreMovedApart) {
    const auto settled = [](int a, int c) {
        const Decimals n = settleDecimals({.a = a, .c = c, .bb = 1, .e = 10});
        return std::pair{n.a, n.c};
    };
    EXPECT_EQ(settled(4, 4), std::pair(6, 4));
    EXPECT_EQ(settled(5, 4), std::pair(7, 4));
    EXPECT_EQ(settled(4, 5), std::pair(4, 7));
    EXPECT_EQ(settled(3, 5), std::pair(3, 5));
}

TEST(Section5Decimals, ZeroGoesBackBeforeThePoint) {
    EXPECT_EQ(decimalText(0.3f), "0.3");
    EXPECT_EQ(decimalText(-0.5f), "-0.5");
    EXPECT_EQ(decimalText(0.9f), "0.9");
    EXPECT_EQ(decimalText(7), "7");
    EXPECT_EQ(decimalText(-7), "-7");
}

TEST(Section5Decimals, OverManyDrawsRangesHoldAndEveryRowSolves) {
    EngineFixture f("", 14);
    Engine& e = f.engine();
    std::set<int> as, cs, bbs, es;
    for (int k = 0; k < kDraws; ++k) {
        const Decimals n = drawDecimals(e);
        as.insert(n.a), cs.insert(n.c), bbs.insert(n.bb), es.insert(n.e);
        ASSERT_GE(std::abs(n.a - n.c), 2);
        const auto texts = textsOf(decimalsRows(e, n));
        for (std::size_t at = texts[0].find('.'); at != std::string::npos; at = texts[0].find('.', at + 1))
            ASSERT_TRUE(at > 0 && std::isdigit(static_cast<unsigned char>(texts[0][at - 1]))) << texts[0];
        const double answer = shownAnswer(texts);
        EXPECT_NEAR(answer, double(n.e - n.bb) / (n.a + n.c), 1e-6);
        expectEveryRowHolds(texts, answer);
    }
    EXPECT_EQ(as, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(cs, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(bbs, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(es, (std::set<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
}
