// Section 2: 導入、手順. An age problem (a 13-year-old and a 53-year-old
// teacher) solved with an equation, the four steps of solving a word problem,
// the answer to 問1 and a discussion of a negative solution.

#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "lessons_b/sections.h"

#include <string>
#include <vector>

namespace ratiora {

namespace ages {

using namespace lesson;
using namespace lesson::notation;

namespace {

// Ages now: the student's and the teacher's.
constexpr int kStudentAge = 13, kTeacherAge = 53;

// "+7" or "-3".
std::string signedYears(int years) { return (years < 0 ? "" : "+") + std::to_string(years); }

// Checking a solution in the problem: both ages after `years` years, one
// below the other at x, and the teacher's as `factor` times the student's.
// The caller adds "問題にあっている。" where its page puts it.
std::vector<Row> ageCheckRows(float x, int years, int factor) {
    const std::string teacher = std::to_string(kTeacherAge + years);
    const std::string student = std::to_string(kStudentAge + years);
    return {
        {7, x, plus(50), "先生は、", key},
        {0, after, same, std::to_string(kTeacherAge) + signedYears(years) + "="},
        {3, after, same, teacher, key},
        {7, x, plus(50), "はるとさんは、", key},
        {0, after, same, std::to_string(kStudentAge) + signedYears(years) + "="},
        {3, after, same, student, key},
        {0, x, plus(50), teacher + "=" + student + "*" + std::to_string(factor) + " だから、"},
    };
}

// ---- Page 1: P99 -------------------------------------------------------------

// The question, on the whole screen: the prompt band is blanked too.
void questionScreen(Engine& e) {
    Page page;
    pageClear(e, kPageClearWidth, kTallPageClearHeight);
    runRows(e, page, {
        {7, 30, 20, "P99 "},
        {3, after, same, "先生の年齢が生徒の年齢の3倍,2倍になるのは何年後?"},
        {0, 30, plus(50), "13歳のみなさんは、これからどんどん成長して、あっという間に"},
        {0, 30, plus(50), "みなさんの年齢の3倍が先生の年齢になり、またしばらくすると、"},
        {0, 30, plus(50), "みなさんの年齢の2倍が先生の年齢になります。", key},
        {7, 30, plus(70), "① "},
        {3, after, same, "これだけで何年後かを求められる?", key},
        {7, 66, plus(50), "生徒の年齢だけでは求められない。", key},
        {7, 30, plus(70), "② "},
        {3, after, same, "何がわかれば求められる?", key},
        {7, 66, plus(50), "先生の年齢", key},
        {7, 30, plus(70), "③ "},
        {3, after, same, "先生の年齢は53歳です。3倍になるのは何年後?", key},
        {7, 66, plus(50), "方程式をつくって求めよう。", key},
    });
}

// The equation made (left column) and solved and checked (right column).
void equationScreen(Engine& e) {
    Page page;
    pageClear(e);
    runRows(e, page, {
        {3, 30, 30, "問題 "},
        {0, after, same, "現在、はるとさんは13歳"},
        {0, 30, plus(50), "先生は53歳です。先生の年齢が"},
        {0, 30, plus(50), "はるとさんの年齢の3倍に"},
        {0, 30, plus(50), "なるのは何年後ですか。", key},
        {7, 30, plus(60), "①"},
        {3, after, same, "?年後の2人の年齢の関係は?", key},
        {0, 66, plus(50), " (?年後の先生の年齢)"},
        // The lone "=" is completed in place a key later.
        {0, 66, plus(50), "=", key},
        {0, 66, same, "=(?年後のはるとさんの年齢)*3", key},
        {7, 30, plus(60), "②"},
        {3, after, same, "x年後"},
        {0, after, same, "に先生の年齢がはるとさん"},
        {0, 66, plus(50), "の年齢の3倍になるとして"},
        {0, 66, plus(50), "方程式をつくろう。", key},
        {7, 66, plus(50), "?年後の先生の年齢は、", key},
        {3, after, same, "53+x", key},
        {7, 66, plus(50), "?年後のはるとさんの年齢は、", key},
        {3, after, same, "13+x", key},

        {7, 640, 20, "方程式は、", key},
        {3, after, same, "53+x=3(13+x)", key},
        {7, 640, plus(50), "③"},
        {0, after, same, "方程式を解こう", key},
        {0, 676, plus(50), "53+x=39+3x", key},
        {0, 676, plus(50), "x-3x=39-53", key},
        {0, 676, plus(50), "-2x=-14", key},
        {0, 676, plus(50), "x=7", key},
        {7, 640, plus(50), "④"},
        {0, after, same, "確かめてみよう", key},
    });
    runRows(e, page, ageCheckRows(676, 7, 3));
    runRows(e, page, {
        {7, 676, plus(50), "問題にあっている。", key},
        {5, 676, plus(50), "答 7年後"},
    });
}

void p99Page(Engine& e) {
    questionScreen(e);
    equationScreen(e);
}

// ---- Page 2: 解き方 ------------------------------------------------------------

void procedurePage(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {
        {3, 44, 30, "方程式を利用した解き方", key},
        {5, 44, plus(50), "① 数量の間の関係をみつける。"},
        {0, 44, plus(50), "(?年後の先生の年齢)=(?年後のはるとさんの年齢)*3", key},
        {5, 44, plus(50), "② 何をxとするか決め、方程式をつくる。"},
        {0, 44, plus(50), "x年後とすると "},
        {3, after, same, "53+x=3(13+x)", key},
        {5, 44, plus(50), "③ 方程式を解く。", key},
        {0, 44, plus(50), "53+x=39+3x"},
        {0, 44, plus(50), "x-3x=39-53"},
        {0, 44, plus(50), "-2x=-14"},
        {0, 44, plus(50), "x=7", mark(1) | key},
        // The fourth step in the right column, level with the equation.
        {5, 524, markY(1, -200), "④ 解が問題にあっているか調べ、答を書く"},
        {0, 524, plus(50), "7年後とすると ", twoKeys},
    });
    runRows(e, page, ageCheckRows(524, 7, 3));
    runRows(e, page, {
        {7, after, same, "問題にあっている。", key},
        {5, 524, plus(50), "答 7年後", key},
        {0, 524, plus(50), "教科書P101 問1 をしなさい。"},
    });
}

// ---- Page 3: 問1 ---------------------------------------------------------------

void question1Page(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {
        {3, 44, 30, "問1　解答"},
        {0, 44, plus(50), "x年後に先生の年齢がはるとさんの年齢の2倍になるとすると、", key},
        {0, 44, plus(60), "53+x=2(13+x)", mark(1) | key},
        {0, 44, plus(60), "53+x=26+2x", key},
        {0, 44, plus(60), "x-2x=26-53", key},
        {0, 44, plus(60), "-x=-27", key},
        {3, 44, plus(60), "x=27", key},
        // The check in the right column, from just below the equation.
        {7, 400, markY(1, 50), "<問題にあっているかどうか調べる>"},
        {0, 400, plus(50), "27年後とすると "},
    });
    runRows(e, page, ageCheckRows(400, 27, 2));
    runRows(e, page, {
        {7, after, same, "問題にあっている。", key},
        {5, 400, plus(50), "答 27年後"},
    });
}

// ---- Page 4: 話しあおう ----------------------------------------------------------

void discussionPage(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRows(e, page, {
        {7, 44, 30, "<話しあおう> "},
        {3, 44, plus(50), "5倍になる年数を求めた方程式の解からどんなことがいえますか?"},
        {0, 44, plus(50), "x年後に先生の年齢が"},
        {0, 44, plus(50), "自分の年齢の5倍に"},
        {0, 44, plus(50), "なるとすると、"},
        {0, 44, plus(60), "53+x=5(13+x)"},
        {0, 44, plus(60), "53+x=65+5x"},
        {0, 44, plus(60), "x-5x=65-53"},
        {0, 44, plus(60), "-4x=12"},
        {3, 44, plus(60), "x=-3", key},
        {7, 480, 140, "<問題にあっているかどうか調べる>"},
        {0, 480, plus(50), "-3年後とすると "},
    });
    runRows(e, page, ageCheckRows(480, -3, 5));
    runRows(e, page, {
        {7, after, same, "問題にあっている。", key},
        {3, 480, plus(60), "-3年後は3年前"},
        {0, after, same, " だから、", key},
        {5, 480, plus(50), "3年前に5倍になっていた。"},
    });
}

}  // namespace

}  // namespace ages

void section2(lesson::Engine& e) {
    using namespace ages;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, 305, "方程式を利用するときの、考え方や手順を整理しよう。"},
        },
        "①P99　②解き方　③問1　④話しあおう　⑤終了",
        {p99Page, procedurePage, question1Page, discussionPage},
    });
}

}  // namespace ratiora
