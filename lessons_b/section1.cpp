// Section 1: proportions. The ratio value, what a proportion is, its
// property, two worked drills with random numbers and the answers to the
// exercises of textbook page 98.

#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "lessons_b/section1.h"
#include "lessons_b/sections.h"

namespace ratiora {

namespace proportion {

using namespace lesson;
using namespace lesson::notation;

namespace {

// The problem areas of the drills: page 2 and the left drill of page 4 below
// their titles, the right drill of page 4 in the right column.
constexpr float kLeftAreaX = 40, kLeftAreaY = 90;
constexpr float kRightAreaX = 640, kRightAreaY = 30;

// ---- Page 1: 比例式 ----------------------------------------------------------

void ratioValuePage(Engine& e) {
    runPage(e, {
        {5, 40, 30, "1 比の値"},
        {3, 67, plus(50), "a:b "},
        {0, after, same, "で、前の項aをうしろの項bでわった値　"},
        {3, after, same, "ﾀa/bﾀ", key},
        {3, 40, plus(60), "Q1 次の比の値を求めなさい。"},
        // Where each ratio begins, to write its value under it.
        {0, 121, plus(50), "①", mark(1)},
        {0, after, same, " 2:5   ②", mark(2)},
        {0, after, same, " 10:25", key},
        {3, afterMark(1), markY(1, 70), "=ﾀ2/5ﾀ", key},
        {0, afterMark(2), markY(2, 70), "=ﾀ10/25ﾀ"},
        {3, after, same, "=ﾀ2/5ﾀ", key},
        {0, 121, plus(70), "①と②の比の値が等しいので、"},
        {3, after, same, "2:5=10:25"},
        {0, after, same, " と表すことができる。", key},
        {5, 40, plus(70), "2 比例式"},
        {3, 67, plus(50), "2:5=10:25 "},
        {0, after, same, "のように比が等しいことを表す式"},
        {3, 67, plus(50), "x:3=6:9 "},
        {0, after, same, "も比例式", key},
        {5, 40, plus(70), "3 比例式を解く"},
        {3, 67, plus(50), "比例式"},
        {0, after, same, "の文字の値を求めること"},
    });
}

// ---- Page 2: 問題 ------------------------------------------------------------

std::vector<Row> ratioProblem(Engine& e) {
    const auto t = ratioTexts(drawRatioNumbers(e));
    return answerRows(100, {
        {t[0], 100, kLeftAreaY + 20},
        {t[1], 80},
        {t[2], 80},
        {t[3], 70},
    });
}

void problemPage(Engine& e) {
    Page page;
    pageClear(e);
    runRow(e, page, {3, 40, 30, "Q2 次の比例式を解きなさい。"});
    practiceLoop(e, page, kLeftAreaX, kLeftAreaY, ratioProblem);
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 40, plus(60), "比の値を使えば、方程式になる。", key},
        {7, 40, plus(60), "教科書P98 問1 をしなさい。", key},
        // The textbook's answers in the right column.
        {3, 600, 30, "(1)"},
        {0, 681, same, "x:8=3:2"},
        {0, 681, plus(70), "ﾀx/8ﾀ=ﾀ3/2ﾀ"},
        {0, 681, plus(70), "x=ﾀ3/2ﾀ*8"},
        {0, 681, plus(70), "x=3*4"},
        {5, after, same, "=12", key},
        {3, 600, plus(60), "(2)"},
        {0, 681, same, "3:4=x:5"},
        {0, 681, plus(70), "ﾀ3/4ﾀ=ﾀx/5ﾀ"},
        {0, 681, plus(70), "ﾀx/5ﾀ=ﾀ3/4ﾀ"},
        {0, 681, plus(70), "x=ﾀ3/4ﾀ*5"},
        {5, after, same, "=ﾀ15/4ﾀ"},
    });
}

// ---- Page 3: 性質 ------------------------------------------------------------

void propertyPage(Engine& e) {
    runPage(e, {
        {0, 40, 30, "課題2 "},
        {3, after, same, "a:4=c:5"},
        {0, afterPlus(10), same, "→"},
        {3, afterPlus(10), same, "ﾀa/4ﾀ=ﾀc/5ﾀ"},
        {0, afterPlus(10), same, "を使って"},
        {3, 40, plus(70), "5a=4c"},
        {0, after, same, " となることを説明しなさい。"},
        {7, 40, plus(50), "<説明>", key},
        {3, 40, plus(70), "ﾀa/4ﾀ=ﾀc/5ﾀ"},
        {0, afterPlus(10), same, "の両辺に"},
        {3, afterPlus(10), same, "4*5"},
        {0, afterPlus(10), same, "をかけて", key},
        {0, 40, plus(70), "ﾀa/4ﾀ*4*5=ﾀc/5ﾀ*4*5", key},
        {3, 40, plus(70), "5a=4c", key},
        {5, 40, plus(70), "比例式の性質"},
        {0, 67, plus(50), "比例式の外側の項の積と内側の項の積は等しい。"},
        {3, 67, plus(50), "a:b=c:d ならば ad=bc"},
    });
}

// ---- Page 4: 例1 -------------------------------------------------------------

std::vector<Row> crossProblem(Engine& e) {
    const auto t = crossTexts(drawRatioNumbers(e));
    return answerRows(100, {
        {t[0], 40, kLeftAreaY + 20},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 70},
    });
}

std::vector<Row> bracketProblem(Engine& e) {
    const auto t = bracketTexts(e, drawBracketNumbers(e));
    return answerRows(700, {
        {t[0], 640, kRightAreaY + 20},
        {t[1], 70},
        {t[2], 70},
        {t[3], 70},
        {t[4], 70},
        {t[5], 70},
        {t[6], 70},
    });
}

void examplePage(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRow(e, page, {3, 40, 30, "例1 xの値を求めなさい。"});

    practiceLoop(e, page, kLeftAreaX, kLeftAreaY, crossProblem);
    anyKeyPrompt(e);
    runRows(e, page, {
        {5, 40, plus(60), "比例式の性質"},
        {3, 40, plus(60), "a:b=c:d ならば ad=bc"},
        {3, 40, plus(50), "を使って解く。", key},
    });

    practiceLoop(e, page, kRightAreaX, kRightAreaY, bracketProblem);
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 640, plus(60), "( )があっても比例式の性質が使える。", key},
        {7, 280, 600, "教科書P98 問2 をしなさい。"},
    });
}

// ---- Page 5: 問2 -------------------------------------------------------------

void question2Page(Engine& e) {
    runPage(e, {
        {3, 40, 30, "問2 解答", key},
        {3, 40, plus(60), "(1)"},
        {0, 121, same, "x:21=3:7", key},
        {0, 121, plus(70), "7x=21*3", key},
        {0, 121, plus(70), "x=ﾀ21*3/7ﾀ", key},
        {0, 121, plus(70), "x=3*3"},
        {5, after, same, "=9", key},
        {3, 40, plus(60), "(2)"},
        {0, 121, same, "15:6=x:8", key},
        {0, 121, plus(70), "6x=15*8", key},
        {0, 121, plus(70), "x=ﾀ15*8/6ﾀ", key},
        {0, 121, plus(70), "x=5*4"},
        {5, after, same, "=20", key},
        {3, 560, 30, "(3)"},
        {0, 641, same, "9:4=2:x", key},
        {0, 641, plus(70), "9x=4*2", key},
        {0, 641, plus(70), "x=ﾀ4*2/9ﾀ", key},
        {5, 641, plus(70), "x=ﾀ8/9ﾀ", key},
        {3, 560, plus(60), "(4)"},
        {0, 641, same, "(x+2):x=5:3", key},
        {0, 641, plus(50), "5x=3(x+2)", key},
        {0, 641, plus(50), "5x=3x+6", key},
        {0, 641, plus(50), "5x-3x=6", key},
        {0, 641, plus(50), "2x=6", key},
        {5, 641, plus(50), "x=3"},
    });
}

// ---- Page 6: 練習問題 --------------------------------------------------------

void exercisesPage(Engine& e) {
    runPage(e, {
        {3, 40, 30, "練習問題 解答"},
        {3, 40, plus(60), "(1)"},
        {0, 121, same, "3:12=x:36"},
        {0, 121, plus(70), "12x=3*36"},
        {0, 121, plus(70), "x=ﾀ3*36/12ﾀ"},
        {0, 121, plus(70), "x=1*9"},
        {5, after, same, "=9"},
        {3, 40, plus(60), "(2)"},
        {0, 121, same, "12:x=4:7"},
        {0, 121, plus(70), "4x=12*7"},
        {0, 121, plus(70), "x=ﾀ12*7/4ﾀ"},
        {0, 121, plus(70), "x=3*7"},
        {5, after, same, "=21"},
        {3, 560, 30, "(3)"},
        {0, 641, same, "x:ﾀ1/2ﾀ=4:ﾀ15/2ﾀ"},
        {0, 641, plus(70), "ﾀ15/2ﾀx=4*ﾀ1/2ﾀ"},
        {0, 641, plus(70), "x=4*ﾀ1/2ﾀ*ﾀ2/15ﾀ"},
        {5, 641, plus(70), "x=ﾀ4/15ﾀ"},
        {3, 560, plus(70), "(4)"},
        {0, 641, same, "x:3=(x+3):4"},
        {0, 641, plus(50), "4x=3(x+3)"},
        {0, 641, plus(50), "4x=3x+9"},
        {0, 641, plus(50), "4x-3x=9"},
        {5, 641, plus(50), "x=9"},
    });
}

}  // namespace

}  // namespace proportion

void section1(lesson::Engine& e) {
    using namespace proportion;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, plus(65), "1 比例式とその性質を理解しよう。"},
            {0, 76, plus(65), "2 比例式の性質を使って比例式を解こう。"},
        },
        "①比例式　②問題　③性質　④例1　⑤問2　⑥練習問題　⑦終了",
        {ratioValuePage, problemPage, propertyPage, examplePage, question2Page, exercisesPage},
    });
}

}  // namespace ratiora
