// The page read aloud: formulas of the lessons as they are said.

#include "engine/typesetter/spoken.h"

#include <gtest/gtest.h>

#include <string>

using namespace lesson;

TEST(Spoken, FormulasOfTheLessonsAreSaidAsInClass) {
    struct Case {
        const char* markup;
        const char* said;
    };
    const Case cases[] = {
        // Fractions, the denominator first; signs; digits kept as digits.
        {"ﾀx/3ﾀ=5", "3ぶんのエックス イコール 5"},
        {"ﾀ2x-7/3ﾀ=ﾀx+1/2ﾀ", "3ぶんの2エックス マイナス 7 イコール 2ぶんのエックス プラス 1"},
        {"x=-3", "エックス イコール マイナス 3"},
        {"ﾀx/3ﾀ*3=5*3", "3ぶんのエックス かける 3 イコール 5 かける 3"},
        {"4ﾀ1/2ﾀ/2", "4 2ぶんの1 わる 2"},
        {"x=@3", "エックス イコール プラスマイナス 3"},
        // Exponents and roots (a tall root over a fraction too).
        {"2x^2+1", "2エックスの 2 じょう プラス 1"},
        {"!2ﾝ+1", "ルート 2 プラス 1"},
        {"#ﾀ1/2ﾀﾝ", "ルート 2ぶんの1"},
        // Brackets in a formula are said; around the lessons' words they stay.
        {"3(3y-1)=4(2y-3)", "3 かっこ 3ワイ マイナス 1 かっことじ イコール 4 かっこ 2ワイ マイナス 3 かっことじ"},
        {"3　P91(練習問題)", "3 91ページ(練習問題)"},
        // Units, ratios, angles, letters by their names, the lessons' words as they are.
        {"152+x(g)", "152 プラス エックス かっこ グラム かっことじ"},
        {"2km=2000m だから、", "2キロメートル イコール 2000メートル だから、"},
        {"答　440mL", "答 440ミリリットル"},
        {"3l", "3リットル"},
        {"a:b=c:d ならば ad=bc", "エー たい ビー イコール シー たい ディー ならば エーディー イコール ビーシー"},
        {"180%", "180度"},
        {"左辺の-15が+15となって", "左辺の マイナス 15が プラス 15となって"},
        {"＜Solvara　メニュー＞", "＜Solvara メニュー＞"},
        // What no reading covers is said character by character, never dropped:
        // a fraction bracket without its partner (drawn as nothing), an
        // exponent with nothing to raise, a root never closed, a stray byte.
        {"ﾀ1/2", "1 わる 2"},
        {"x^", "エックス"},
        {"!x+☆", "ルート エックス プラス ☆"},
        {"1\xff", "1\xff"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(spokenFormula(c.markup), c.said) << c.markup;
}
