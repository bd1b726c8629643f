// Section 3: 代金の問題. A price problem (cakes, juice and change) with its
// segment figure, and the answer to the textbook's follow-up exercise.

#include "engine/pages/arcs.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "lessons_b/sections.h"

namespace ratiora {

namespace prices {

using namespace lesson;
using namespace lesson::notation;

namespace {

// The segment figure: four cakes of 150 units from x 40, the juice, the
// change, all on the line y 200.
constexpr float kLineY = 200;
constexpr float kCake = 150;
constexpr float x1 = 40, x2 = x1 + kCake, x3 = x2 + kCake, x4 = x3 + kCake, x5 = x4 + kCake;
constexpr float x6 = x5 + 108, x7 = x6 + 180;

constexpr Point on(float x) { return {x, kLineY}; }

// The four cake arcs under the line, with or without their price.
std::vector<SpanArc> cakeArcs(const std::string& label) {
    return {
        {.from = on(x1), .to = on(x2), .textColor = 0, .lineColor = 0, .side = 1, .step = 8,
         .height = 20, .label = label},
        {.from = on(x2), .to = on(x3), .textColor = 0, .lineColor = 0, .side = 1, .step = 8,
         .height = 20, .label = label},
        {.from = on(x3), .to = on(x4), .textColor = 0, .lineColor = 0, .side = 1, .step = 8,
         .height = 20, .label = label},
        {.from = on(x4), .to = on(x5), .textColor = 0, .lineColor = 0, .side = 1, .step = 8,
         .height = 20, .label = label},
    };
}

void drawFigure(Engine& e) {
    drawStrokes(e, 8, {
        {on(x1), on(x5), 0},  // the four cakes
        {on(x5), on(x6), 7},  // the juice
        {on(x6), on(x7), 3},  // the change
    });
    e.layer.setDrawWidth(5);  // stays set after the page
    runSpanArcs(e, cakeArcs(""));
    runSpanArcs(e, {
        {.from = on(x1), .to = on(x7), .textColor = 5, .lineColor = 5, .side = -1, .step = 1,
         .height = 50, .label = ""},
        {.from = on(x5), .to = on(x6), .textColor = 7, .lineColor = 7, .side = 1, .step = 10,
         .height = 20, .label = "ジュース"},
        {.from = on(x6), .to = on(x7), .textColor = 3, .lineColor = 3, .side = 1, .step = 10,
         .height = 20, .label = "おつり"},
    });
}

// ---- Page 1: 例１ ---------------------------------------------------------------

void example1Page(Engine& e) {
    Page page;
    pageClear(e);
    runRows(e, page, {
        {3, 40, 30, "P102 例題1 "},
        {0, after, same, "2000円で、ケーキ4個と150円のジュースを1本"},
        {0, 40, 80, "買うと、おつりが450円でした。ケーキ1個の値段はいくらですか？", key},
    });
    drawFigure(e);
    runRows(e, page, {
        {0, x3, 150, "出したお金 "},
        {0, x3 - 54, 270, "ケーキ", aside | key},
        {0, after, same, "2000円", key},  // continues "出したお金 "
        {7, x5, 270, "150円", key},
        {3, x6 + 30, 270, "450円", key},
        {3, 40, 320, "<解答>", key},
        {0, 40, 370, "ケーキ1個の値段をx円とすると", key},
    });
    std::vector<SpanArc> priced = cakeArcs("x円");
    priced.back().wait = key;
    runSpanArcs(e, priced);
    runRows(e, page, {
        {0, 40, 420, "4x", key},
        {0, after, same, "+150", key},
        {0, after, same, "+450", key},
        {0, after, same, "=2000", key},
        {0, 40, 470, "4x=2000", key},
        {0, after, same, "-150-450", key},
        {0, 40, 520, "4x=", key},
        {0, after, same, "1400", key},
        {3, 40, 570, "x=350", key},
        // The right part, level with the last three rows.
        {0, 600, 470, "この解は問題にあっている。", key},
        {5, 600, 520, "答　ケーキ1個の値段 350円", key},
        {3, 600, 570, "教科書P102 問2 をやろう。"},
    });
}

// ---- Page 2: 問2 -----------------------------------------------------------------

void question2Page(Engine& e) {
    runPage(e, 1320, {
        {3, 40, 30, "教科書P102 問2", key},
        {7, 40, plus(50), "(はるとさんの残金)=(ひなたさんの残金)*2", key},
        {0, 40, plus(50), "本代をx円とすると、", key},
        {0, 40, plus(50), "780-x=2(630-x)", key},
        {0, 40, plus(50), "780-x=1260-2x", key},
        {0, 40, plus(50), "-x+2x=1260-780", key},
        {5, 40, plus(50), "x=480", key},
        {0, 40, plus(50), "この解は問題にあっている。", key},
        {5, 40, plus(70), "答　本代は480円"},
    });
}

}  // namespace

}  // namespace prices

void section3(lesson::Engine& e) {
    using namespace prices;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 44, 305, "方程式を利用して、代金に関する問題を解こう。"},
        },
        "①例１　②問2　③終了",
        {example1Page, question2Page},
    });
}

}  // namespace ratiora
