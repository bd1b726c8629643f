// Section 5: various equations. Equations with brackets, with fractional and
// decimal coefficients, the worked answers of 問4 and 問5, four equations
// solved with a trick, a decimal drill, and what a linear equation is.

#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "lessons_a/section5.h"
#include "lessons_a/sections.h"

namespace solvara {

namespace various {

using namespace lesson;
using namespace lesson::notation;

// ---- Solution rows of the drills (the loop adds the key waits) ------------------

std::vector<Row> bracketsRows(Engine& e, const Brackets& n) {
    const auto t = bracketsTexts(e, n);
    return answerRows(100, {
        {t[0], 100, 140},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 70},
    });
}

std::vector<Row> fractionsOneRows(Engine& e, const FractionsOne& n) {
    const auto t = fractionsOneTexts(e, n);
    const int collected = fractionsOneCoefficient(n) == 1 ? 5 : 0;  // "x=..." is then the answer
    return answerRows(100, {
        {t[0], 40, 110},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 100, plus(70), collected},
        {t[5], 70},
    });
}

std::vector<Row> fractionsTwoRows(Engine& e, const FractionsTwo& n) {
    const auto t = fractionsTwoTexts(e, n);
    return answerRows(700, {
        {t[0], 640, 50},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 70},
        {t[5], 70},
        {t[6], 70},
    });
}

std::vector<Row> decimalsRows(Engine& e, const Decimals& n) {
    const auto t = decimalsTexts(e, n);
    return answerRows(100, {
        {t[0], 100, 90},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 70},
    });
}

namespace {

// ---- ① 例題2: brackets, then the answers of 問4 beside the drill ----------------

void bracketsPage(Engine& e) {
    Page page;
    pageClear(e);
    runRows(e, page, {
        {3, 40, 30, "例題2"},
        {3, 40, plus(50), "次の方程式を解きなさい。"},
    });
    practiceLoop(e, page, 40, 140, [](Engine& e) { return bracketsRows(e, drawBrackets(e)); });
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 40, plus(60), "かっこをはずしてから解く", key},
        {7, 44, 600, "教科書P94 問4 をしなさい。", key},
    });
    runAnswers(e, page, {400, 481}, {
        {"(1)", 30, {"4x+1=3(x+2)", {"4x+1=3x+6", 50}, {"4x-3x=6-1", 50}, {"x=5", 50}}, key},
        {"(2)", plus(60), {"7(x-4)=3x+8", {"7x-28=3x+8", 50}, {"7x-3x=8+28", 50}, {"4x=36", 50},
                           {"x=ﾀ36/4ﾀ", 70}, {"x=9", 70}}, key},
    });
    // 30 right of where the textbook's layout put it: "4x+1=3(x+2)" of the
    // first column ends at 783 on the same row.
    runAnswers(e, page, {790, 871}, {
        {"(3)", 30, {"-4(x+3)=5(x-6)", {"-4x-12=5x-30", 50}, {"-4x-5x=-30+12", 50}, {"-9x=-18", 50},
                     {"x=ﾀ-18/-9ﾀ", 70}, {"x=2", afterPlus(40), same, 5}}, key},
        {"(4)", plus(60), {"5-2(7x-2)=1", {"5-14x+4=1", 50}, {"-14x=1-5-4", 50}, {"-14x=-8", 50},
                           {"x=ﾀ-8/-14ﾀ", 70}, {"x=ﾀ4/7ﾀ", afterPlus(40), same, 5}}},
    });
}

// ---- ② 例題3: two fraction drills, the second in the right half ----------------

void fractionsPage(Engine& e) {
    Page page;
    pageClear(e);
    runRow(e, page, {3, 40, 30, "例題3 次の方程式を解きなさい。"});
    practiceLoop(e, page, 40, 90, [](Engine& e) { return fractionsOneRows(e, drawFractionsOne(e)); });
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 40, plus(60), "分母の公倍数を両辺にかけ、整数に"},
        {3, 40, plus(50), "してから解く。"},
        {5, after, same, "(分母をはらう)"},
    });
    practiceLoop(e, page, 640, 30, [](Engine& e) { return fractionsTwoRows(e, drawFractionsTwo(e)); });
    anyKeyPrompt(e);
    // At 590, not 600: the entry field's blank from y 640 would cut its foot
    // whenever a wrong sub-menu number is typed.
    runRow(e, page, {7, 640, 590, "教科書P95 問5 をしなさい。"});
}

// ---- ③ 問5: worked answers on two screens ------------------------------------------

void answersPage(Engine& e) {
    Page page;
    pageClear(e);
    runRow(e, page, {3, 40, 30, "問5 解答", key});
    runAnswers(e, page, {40, 94, true}, {
        {"(1)", plus(60), {"ﾀx-1/3ﾀ=ﾀ1/4ﾀx+1", {"(ﾀx-1/3ﾀ)*12=(ﾀ1/4ﾀx+1)*12", 70}, {"(x-1)*4=ﾀ1/4ﾀx*12+1*12", 70},
                           {"4x-4=3x+12", 70}, {"4x-3x=12+4", 70}, {"x=16", 70}}, key},
    });
    runAnswers(e, page, {600, 654, true}, {
        {"(2)", 90, {"ﾀ3/4ﾀx-7=2x+ﾀ1/2ﾀ", {"(ﾀ3/4ﾀx-7)*4=(2x+ﾀ1/2ﾀ)*4", 70}, {"ﾀ3/4ﾀx*4-7*4=2x*4+ﾀ1/2ﾀ*4", 70},
                     {"3x-28=8x+2", 70}, {"3x-8x=2+28", 70}, {"-5x=30", 70}, {"x=ﾀ30/-5ﾀ", 70}, {"x=-6", 70}}, key},
    });

    pageClear(e);
    runRow(e, page, {3, 40, 30, "問5 解答"});
    runAnswers(e, page, {40, 121}, {
        {"(3)", plus(60), {"ﾀ9x-5/6ﾀ=ﾀ8+x/3ﾀ", {"ﾀ9x-5/6ﾀ*6=ﾀ8+x/3ﾀ*6", 70}, {"9x-5=2(8+x)", 70}, {"9x-5=16+2x", 70},
                           {"9x-2x=16+5", 70}, {"7x=21", 70}, {"x=ﾀ21/7ﾀ", 70}, {"x=3", 70}}, key},
    });
    runAnswers(e, page, {600, 681}, {
        {"(4)", 60, {"x+ﾀx-1/3ﾀ=3", {"x*3+ﾀx-1/3ﾀ*3=3*3", 70}, {"3x+(x-1)=9", 70}, {"3x+x-1=9", 60},
                     {"3x+x=9+1", 60}, {"4x=10", 60}, {"x=ﾀ10/4ﾀ", 70}, {"x=ﾀ5/2ﾀ", 70}}},
    });
}

// ---- ④ 話しあおう: four equations, two at a time ------------------------------------

void discussionPage(Engine& e) {
    Page page;
    pageClear(e);
    runRows(e, page, {
        {7, 40, 30, "Q 次の方程式を工夫して解きなさい。"},
        {3, 40, plus(80), "(1)"}, {0, 121, same, "0.3x+2=0.1x+1.6"},
        {3, 40, plus(80), "(2)"}, {0, 121, same, "800x=2400(x-2)"},
        {3, 40, plus(80), "(3)"}, {0, 121, same, "0.5x-2.5=-x+2"},
        {3, 40, plus(80), "(4)"}, {0, 121, same, "0.2x-0.03=0.3x+0.07", key},
    });

    runRow(e, page, {3, 40, plus(90), "(1)"});
    const float firstY = page.rowY;  // where (1) and later (3) start
    runRows(e, page, {
        {0, 121, same, "0.3x+2=0.1x+1.6", key},
        {3, 121, plus(50), " 両辺に10をかけて", key},
        {0, 121, plus(50), "3x+20=x+16", key},
        {0, 721, 30, "3x-x=16-20", key},
        {0, 721, plus(50), "2x=-4", key},
        {0, 721, plus(70), "x=ﾀ-4/2ﾀ=", key},
        {5, after, same, "-2", key},
    });
    runRow(e, page, {3, 640, plus(80), "(2)"});
    const float secondY = page.rowY;  // where (2) and later (4) start
    runRows(e, page, {
        {0, 721, same, "800x=2400(x-2)", key},
        {3, 751, plus(50), "両辺を100でわって", key},
        {0, 721, plus(50), "8x=24(x-2)", key},
        {0, 721, plus(50), "8x=24x-48", key},
        {0, 721, plus(50), "8x-24x=-48", key},
        {0, 721, plus(50), "-16x=-48", key},
        {0, 721, plus(70), "x=ﾀ-48/-16ﾀ=", key},
        {5, after, same, "3", key},
    });

    // (1) and its continuation give way to (3); (2) stays for now.
    whiteBox(e, 40, firstY, 600, 500);
    e.layer.box(640, 0, 1600, secondY, kWhite);
    runRows(e, page, {
        {3, 40, firstY, "(3)"},
        {0, 121, same, "0.5x-2.5=-x+2", key},
        {3, 121, plus(50), " 両辺に10をかけて", key},
        {0, 121, plus(50), "5x-25=-10x+20", key},
        {0, 721, 30, "5x+10x=20+25", key},
        {0, 721, plus(50), "15x=45", key},
        {0, 721, plus(70), "x=ﾀ45/15ﾀ=", key},
        {5, after, same, "3", key},
    });

    // (2) gives way to (4).
    whiteBox(e, 640, secondY, 1600, 500);
    runRows(e, page, {
        {3, 640, plus(80), "(4)"},
        {0, 721, same, "0.2x-0.03=0.3x+0.07", key},
        {3, 751, plus(50), "両辺に100をかけて", key},
        {0, 721, plus(50), "20x-3=30x+7", key},
        {0, 721, plus(50), "20x-30x=7+3", key},
        {0, 721, plus(50), "-10x=10", key},
        {0, 721, plus(70), "x=ﾀ10/-10ﾀ=", key},
        {5, after, same, "-1"},
    });
}

// ---- ⑤ 練習: the decimal drill -------------------------------------------------------

void decimalsPage(Engine& e) {
    Page page;
    pageClear(e);
    runRow(e, page, {3, 40, 30, "練習 次の方程式を解きなさい。"});
    practiceLoop(e, page, 40, 90, [](Engine& e) { return decimalsRows(e, drawDecimals(e)); });
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 40, plus(60), "10,100,1000などを両辺にかけ、"},
        {3, 40, plus(60), "係数を整数にしてから解く。"},
    });
}

// ---- ⑥ 一次方程式: the definition and an example with a parameter ------------------

void linearPage(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {
        {5, 40, 30, "<xについての1次方程式>"},
        {0, 40, plus(50), "(1次式 ax+b)=0 と変形できる方程式"},
        {3, 40, plus(50), "① "},
        {0, after, same, "5x=10→"},
        {3, after, same, "5x-10=0"},
        {3, 40, plus(50), "② 5a=10→"},
        {0, after, same, "aについての1次方程式", key},
        {7, 40, plus(140), "例 "},
    });
    const float exampleY = page.rowY;
    runRows(e, page, {
        {0, after, same, "xについての方程式 2x-6=x+3a"},
        {0, 100, plus(50), "の解が x=5 のとき、aの値は？"},
        {7, 40, plus(50), "<考え方> ", key},
        {0, 100, plus(50), "解が x=5 だから "},
        {0, 100, plus(50), "2x-6=x+3a にx=5 を代入した"},
        {0, 100, plus(50), "左辺と右辺の値は等しい。"},
        {5, 780, exampleY - 50, "<解答> ", key},
        {3, 780, plus(50), "x=5 を代入して", key},
        {0, 780, plus(50), "2*5-6=5+3a ", key},
        {0, 780, plus(50), "3a+5=10-6", key},
        {0, 780, plus(50), "3a=10-6-5=-1", key},
        {5, 780, plus(60), "a=-ﾀ1/3ﾀ"},
    });
}

}  // namespace

}  // namespace various

void section5(lesson::Engine& e) {
    using namespace lesson;
    using namespace lesson::notation;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, plus(65), "かっこのある方程式や、小数・分数係数の方程式を解こう。"},
        },
        "①例題２　②例題３　③問５　④話しあおう　⑤練習　⑥一次方程式　⑦終了",
        {various::bracketsPage, various::fractionsPage, various::answersPage, various::discussionPage,
         various::decimalsPage, various::linearPage},
    });
}

}  // namespace solvara
