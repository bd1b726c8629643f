// Section 7: P108(学びをたしかめよう). The worked answers of the first review
// set, one answer sheet per exercise under the section's heading: checking a
// solution, the properties behind a solution, sixteen equations on two
// screens, four proportions and three word problems.

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

namespace review7 {

using namespace lesson;
using namespace lesson::notation;

namespace {

// "学びをたしかめよう" and, 10 to its right, the exercise's number.
const SheetHeading kHeading{
    {40, 30},
    {360, 48, 3, 13, "学びをたしかめよう", 0},
    10,
    {44, 44, 4, 3, "", 13},
};

// The blank in "3x-7+□=8+□": a box with its answer.
const Then kBlank = box(40, 50, 3, 15);

// ---- Exercise 1: is 2 a solution? ------------------------------------------

void exercise1Page(Engine& e) {
    runSheet(e, kHeading, {{"1", {
        {0, 40, 90, "(ア)に、x=2 を代入すると"},
        {0, 121, 140, "左辺=5*2-4="},
        {0, after, 140, "10-4=6"},
        {0, 121, 190, "右辺=8"},
        {3, 121, 240, "左辺≠右辺　だから　2は解ではない。"},
        {0, 40, 300, "(イ)に、x=2 を代入すると"},
        {0, 121, 350, "左辺=10-3*2=10-6=4"},
        {0, 121, 400, "右辺=8*2-12=16-12=4"},
        {3, 121, 450, "左辺=右辺　だから　2は解である。"},
        {5, 121, 500, "＜答＞（イ）"},
    }}});
}

// ---- Exercise 2: the properties used ---------------------------------------

void exercise2Page(Engine& e) {
    runSheet(e, kHeading, {{"2", {
        {0, 121, 90, "3x-7=8"},
        {0, 121, 150, "3x-7+"},
        {5, afterPlus(10), 150, "7", kBlank},
        {0, afterPlus(10), 150, "=8+"},
        {5, afterPlus(10), 150, "7", kBlank},
        {0, 121, 210, "3x=15"},
        {0, 121, 270, "x="},
        {5, afterPlus(10), 270, "5", kBlank},
        {5, 121, 340, "(1)等式の両辺に同じ数をたしても、等式が成り立つ。"},
        {5, 121, 410, "(2)等式の両辺を同じ数でわっても、等式が成り立つ。"},
    }}});
}

// ---- Exercise 3: sixteen equations on two screens ---------------------------

void exercise3Page(Engine& e) {
    runSheet(e, kHeading, {
        {"3", {}, {
            {Column{40, 121}, {
                AnswerBlock{"(1)", 90, {"x-5=8", {"x=8+5", 50}, {"x=13", 70}}},
                AnswerBlock{"(2)", plus(60), {"x-7=-5", {"x=-5+7", 50}, {"x=2", 70}}},
                AnswerBlock{"(3)", plus(60), {"x+13=4", {"x=4-13", 50}, {"x=-9", 70}}},
            }},
            {Column{400, 481}, {
                AnswerBlock{"(4)", 90, {"x+6=-4", {"x=-4-6", 50}, {"x=-10", 70}}},
                AnswerBlock{"(5)", plus(60), {"3x=-12", {"x=ﾀ-12/3ﾀ", 70}, {"x=-4", 60}}},
                AnswerBlock{"(6)", plus(60), {"5x=35", {"x=ﾀ35/5ﾀ", 70}, {"x=7", 60}}},
            }},
            {Column{800, 881}, {
                AnswerBlock{"(7)", kAnswerColumnTop, {"ﾀ1/3ﾀx=ﾀ1/2ﾀ", {"x=ﾀ1/2ﾀ*3", 70}, {"x=ﾀ3/2ﾀ", 70}}},
                AnswerBlock{"(8)", plus(60), {"ﾀ2/3ﾀx=-6", {"x=-6*ﾀ3/2ﾀ", 70}, {"x=-9", 60}}},
                AnswerBlock{"(9)", plus(60), {"4x+10=2", {"4x=2-10", 50}, {"4x=-8", 50}, {"x=-2", 50}}, key},
            }},
        }},
        // The problem follows its label on the row.
        {"3", {}, {
            {Column{40, 121, true}, {
                AnswerBlock{"(10)", 90, {"2x-3=5", {"2x=5+3", 50}, {"2x=8", 50}, {"x=4", 50}}},
                AnswerBlock{"(11)", plus(60), {"5x=x-4", {"5x-x=-4", 50}, {"4x=-4", 50}, {"x=-1", 50}}},
                AnswerBlock{"(12)", plus(60),
                            {"10x=7x+6", {"10x-7x=6", 50}, {"3x=6", 50}, {"x=2", afterPlus(40), same}}},
            }},
            {Column{320, 401, true}, {
                AnswerBlock{"(13)", 90, {"3x+5=x+11", {"3x-x=11-5", 50}, {"2x=6", 50}, {"x=3", 50}}},
                AnswerBlock{"(14)", plus(60), {"4(x-3)=3x-2", {"4x-12=3x-2", 50}, {"4x-3x=-2+12", 50}, {"x=10", 50}}},
            }},
            {Column{720, 801, true}, {
                AnswerBlock{"(15)", kAnswerColumnTop,
                            {"x-1=ﾀx-1/3ﾀ", {"3(x-1)=3*ﾀx-1/3ﾀ", 70}, {"3x-3=x-1", 60}, {"3x-x=-1+3", 50},
                             {"2x=2", 50}, {"x=1", 50}}},
                AnswerBlock{"(16)", plus(60),
                            {"0.4x+0.7=0.1x-0.2", colourStep(3, {"両辺に10をかけて", 50}), {"4x+7=x-2", 50},
                             {"4x-x=-2-7", 50}, {"3x=-9", 50}, {"x=-3", 50}}},
            }},
        }},
    });
}

// ---- Exercise 4: four proportions ---------------------------------------------

void exercise4Page(Engine& e) {
    runSheet(e, kHeading, {{"4", {}, {
        {Column{40, 121, true}, {
            AnswerBlock{"(1)", 90, {"x:4=6:3", {"3x=24", 60}, {"x=8", 50}}},
            AnswerBlock{"(2)", plus(60), {"2:x=4:8", {"4x=16", 60}, {"x=4", 50}}},
        }},
        {Column{600, 681, true}, {
            AnswerBlock{"(3)", kAnswerColumnTop,
                        {"x:(x+3)=3:4", {"3(x+3)=4x", 60}, {"3x+9=4x", 60}, {"3x-4x=-9", 60}, {"-x=-9", 50},
                         {"x=9", afterPlus(30), same}}},
            AnswerBlock{"(4)", plus(60),
                        {"3x:(x+2)=9:5", {"9(x+2)=15x", 60}, {"9x+18=15x", 60}, {"9x-15x=-18", 60}, {"-6x=-18", 50},
                         {"x=3", afterPlus(30), same}}},
        }},
    }}});
}

// ---- Exercise 5: three word problems, step by step ---------------------------

void agesPage(Engine& e) {
    runSheet(e, kHeading, {{"5", {
        {7, 40, 90, "(1)"},
        {0, after, 90, "x年後に姉の年齢が妹の年齢の2倍なるとすると、"},
        {0, 121, 140, "姉の年齢は、", key},
        {3, after, 140, "16+x(歳) "},
        {0, after, 140, "妹の年齢は、"},
        {3, after, 140, "6+x(歳) "},
        {0, after, 140, "だから", key},
        {3, 121, 200, "16+x=2(6+x)", key},
        {7, 40, 260, "(2)", key},
        {0, after, 260, "16+x=12+2x", key},
        {0, 121, 310, "x-2x=12-16", key},
        {0, 121, 360, "-x=-4", key},
        {3, 121, 410, "x=4", key},
        {0, 121, 460, "4年後、姉は20歳、妹は10歳 だから"},
        {0, 121, 510, "この解は問題にあっている。", key},
        {5, 121, 580, "答　4年後"},
    }}});
}

void pencilsPage(Engine& e) {
    runSheet(e, kHeading, {{"5", {
        {7, 40, 90, "(1)"},
        {0, after, 90, "鉛筆１本の値段をx円とすると、"},
        {0, 121, 140, "鉛筆5本の代金は、", key},
        {3, after, 140, "5x(円) "},
        {0, after, 140, "合計の代金は、"},
        {3, after, 140, "5x+80(円) "},
        {0, after, 140, "だから", key},
        {3, 121, 200, "500-(5x+80)=95", key},
        {7, 40, 260, "(2)", key},
        {0, after, 260, "500-5x-80=95", key},
        {0, 121, 310, "-5x=95-500+80", key},
        {0, 121, 360, "-5x=-325", key},
        {0, 121, 430, "x=ﾀ-325/-5ﾀ", key},
        {5, 121, 480, "x=65", key},
        {0, 121, 530, "この解は問題にあっている。", key},
        {5, 121, 600, "答　65円"},
    }}});
}

void stickersPage(Engine& e) {
    runSheet(e, kHeading, {{"5", {
        {7, 40, 90, "(1)"},
        {0, after, 90, "子どもの人数をx人とすると、", key},
        {0, 121, 140, "シールの枚数は、"},
        {0, 121, 190, "3枚ずつ配るとき…", key},
        {3, after, 190, "3x+8(枚)"},
        {0, 121, 240, "5枚ずつ配るとき…", key},
        {3, after, 240, "5x-4(枚)"},
        {0, after, 240, "だから", key},
        {3, 121, 300, "3x+8=5x-4", key},
        {7, 40, 360, "(2)", key},
        {0, after, 360, "3x-5x=-4-8", key},
        {0, 121, 410, "-2x=-12", key},
        {3, 121, 460, "x=6", key},
        {0, 121, 510, "子どもが6人のとき、シールの枚数はどちらの場合も26枚だから"},
        {0, 121, 560, "この解は問題にあっている。", key},
        {5, 121, 620, "答　6人"},
    }}});
}

}  // namespace

}  // namespace review7

void section7(lesson::Engine& e) {
    using namespace review7;
    lesson::runSection(e, {{},
                           "P108(学びをたしかめよう)①～⑦解答　　　⑧終了",
                           {exercise1Page, exercise2Page, exercise3Page, exercise4Page, agesPage, pencilsPage,
                            stickersPage}});
}

}  // namespace ratiora
