// Section 4: 過不足. Example 2 (candies shared out with some left over or
// some short) with its segment figure and boxes filled in step by step, and
// the answer to 問3 with its rows of doughnut boxes.

#include "engine/pages/arcs.h"
#include "engine/pages/pen.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "engine/typesetter/cells.h"
#include "lessons_b/sections.h"

#include <string>
#include <vector>

namespace ratiora {

namespace shortage {

using namespace lesson;
using namespace lesson::notation;

namespace {

// ---- Page 1: 例２ ------------------------------------------------------------

// The candy figure: the bar of all the candies from x2 to x3 (its ends
// dotted down the figure), and below it the bars of the two ways of sharing:
// 5 each ends at x5 with the rest left over, 7 each would need up to x4.
constexpr float x1 = 40, x2 = 142, x3 = 414, x4 = 482, x5 = 312;
constexpr float y1 = 90, y2 = 140, y3 = 170, y4 = 220, y5 = 240, y6 = 290, y7 = 340, y8 = 360;

// The four boxes to fill are the marked rows 1..4; each is filled later at
// the place it was first drawn.
constexpr int kBox1 = 1, kBox2 = 2, kBox3 = 3, kBox4 = 4;
Then blankBox(int mark, float h = 50) { return boxAround(60, h, 3, 13) | notation::mark(mark); }
Row fillBox(int mark, const char* text) { return {5, atMark(mark), markY(mark), text, boxAround(60, 50, 3, 13) | key}; }

// A dotted straight span (height 0) or a dotted arc over a bar, without a label.
SpanArc dotted(Point from, Point to, int textColor, int lineColor, float step, float height, Wait wait = Wait::None) {
    return {.from = from, .to = to, .textColor = textColor, .lineColor = lineColor, .side = 1, .step = step,
            .height = height, .label = "", .wait = wait};
}

// The figure's boxes are drawn in 3, its bars in 11 and its dotted spans in 5;
// the page goes on in 3.
constexpr float kDottedPen = 5;

void dottedSpans(Engine& e, const std::vector<SpanArc>& spans) {
    const ScopedPenWidth pen(e, kDottedPen);
    runSpanArcs(e, spans);
}

void candyFigure(Engine& e, Page& page) {
    e.layer.setDrawWidth(3);
    dottedSpans(e, {
        dotted({x2, y2}, {x2, y7}, 7, 0, 8, 0),
        dotted({x3, y2}, {x3, y7}, 7, 0, 8, 0),
    });
    runRow(e, page, {0, x2, y1, "　あめの個数"});
    drawStrokes(e, 11, {{{x2, y2}, {x3, y2}, 0}});

    // Shared out 5 each: 12 left over.
    runRows(e, page, {
        {3, x1, y3 + 25, "5個"},
        {0, x2 + 10, y3, "分ける個数"},
        {5, afterPlus(20), same, "", blankBox(kBox1)},
        {0, afterPlus(20), same, "個"},
    });
    drawStrokes(e, 11, {{{x2, y4}, {x5, y4}, 3}, {{x5, y4}, {x3, y4}, 0}});
    runRows(e, page, {
        {7, x5 + 34, y5, "余る個数"},
        {5, afterPlus(10), same, "", blankBox(kBox2)},
        {7, afterPlus(10), same, "個"},
    });
    dottedSpans(e, {dotted({x5, y4}, {x3, y4}, 7, 7, 8, 20)});

    // Shared out 7 each: 4 short.
    runRows(e, page, {
        {3, x1, y6 + 25, "7個"},
        {0, x2 + 10, y6, "分ける個数"},
        {5, afterPlus(20), same, "", blankBox(kBox3, 48)},
        {0, afterPlus(20), same, "個"},
    });
    drawStrokes(e, 11, {{{x2, y7}, {x4, y7}, 3}});
    runRows(e, page, {
        {7, x5 - 34, y8, "たりない個数"},
        {5, afterPlus(10), same, "", blankBox(kBox4)},
        {7, afterPlus(10), same, "個"},
    });
    dottedSpans(e, {dotted({x3, y7}, {x4, y7}, 7, 7, 11, 20, key)});
}

void example2Page(Engine& e) {
    Page page;
    pageClear(e);
    runRow(e, page, {3, 40, 30, "教科書P103 例題2をやってみよう。"});
    candyFigure(e, page);
    runRows(e, page, {
        fillBox(kBox2, "12"),
        fillBox(kBox4, "4"),
        // Below box 4's text line.
        {3, 40, markY(kBox4, 60), "生徒の人数をx人とすると", key},
        fillBox(kBox1, "5x"),
        fillBox(kBox3, "7x"),
        {0, 40, 470, "あめの個数は、"},
        {0, 40, plus(50), "5個ずつ分けるとき…", key},
        {3, after, same, "5x+12(個)"},
        {0, 40, plus(50), "7個ずつ分けるときき…", key},
        {3, after, same, "7x-4(個)"},
        {3, 680, 30, "<解答>", key},
        {0, 680, plus(50), "生徒人数をx人とすると"},
        {0, 680, plus(50), "5x+12=7x-4", key},
        {0, 680, plus(50), "5x-7x=-4-12", key},
        {0, 680, plus(50), "-2x=-16", key},
        {3, 680, plus(50), "x=8", key},
        {0, 680, plus(50), "この解は問題にあっている。", key},
        {5, 680, plus(50), "答　生徒の人数 8人", key},
        {3, 680, plus(90), "教科書P103 問3 をやろう。"},
    });
}

// ---- Page 2: 問３ ------------------------------------------------------------

// One link of a row of two-line boxes: a box `gap` units after the previous
// one, or the "…" standing for the boxes left out.
struct Link {
    std::string upper, lower;
    float gap = 0;
    float w = 38;
    int fill = 13;
    bool elided = false;
};
const Link kBoxesLeftOut = [] { Link l; l.elided = true; return l; }();
constexpr float kBoxHeight = 90;
// The "…" sits this far right of and below the end of the box before it; the
// row goes on this far after that end.
constexpr float kElisionOffset = 10, kElisionWidth = 80;

// The boxes of a row, each starting where the previous ended, on one top.
void boxRow(Engine& e, float x, float y, const std::vector<Link>& links) {
    e.textX = x;
    e.textY = y;
    for (const Link& link : links) {
        if (link.elided) {
            e.layer.text(e.textX + kElisionOffset, e.textY + kElisionOffset, "…", 4, 4, 3);
            e.textX += kElisionWidth;
            continue;
        }
        e.textX += link.gap;
        e.boxWidth = link.w;
        e.boxHeight = kBoxHeight;
        e.textColor = 0;
        e.lineColor = 3;
        e.boxFillColor = link.fill;
        e.upperText = link.upper;
        e.lowerText = link.lower;
        drawTwoLineBox(e);
    }
}

void question3Page(Engine& e) {
    Page page;
    pageClear(e, 1320);
    runRow(e, page, {3, 40, 30, "教科書P103 問3"});
    const Link three{"3", "個"}, four{"4", "個"};
    boxRow(e, 40, 90, {three, three, kBoxesLeftOut, three, three, {"11個", "余る", 10, 114, 11}});
    boxRow(e, 40, 190, {four, four, kBoxesLeftOut, four, {"2", "個"}});
    anyKeyPrompt(e);
    runRows(e, page, {
        {3, 40, 300, "用意した箱をx箱とすると、"},
        {0, 40, plus(50), "ドーナツの個数は、"},
        {0, 40, plus(50), "3個ずつのとき…"},
        {3, after, same, "3x+11"},
        {0, 40, plus(50), "4個ずつのとき…"},
        {3, after, same, "4(x-1)+2"},
        {3, 680, 30, "<解答>"},
        {0, 680, plus(50), "用意した箱をx箱とすると、", key},
        {0, 680, plus(50), "3x+11=4(x-1)+2", key},
        {0, 680, plus(50), "3x+11=4x-4+2", key},
        {0, 680, plus(50), "3x-4x=-4+2-11", key},
        {0, 680, plus(50), "-x=-13   "},
        {5, after, same, "x=13", key},
        {0, 680, plus(50), "3*13+11=39+11=50", key},
        {0, 680, plus(50), " 4*(13-1)+2=4*12+2"},
        {0, 680, plus(50), "=48+2=50 だから"},
        {0, 680, plus(50), "この解は問題にあっている。", key},
        {5, 680, plus(50), "(1)　用意した箱は13箱"},
        {5, 680, plus(50), "(2)　つくったドーナツは50個"},
    });
}

}  // namespace

}  // namespace shortage

void section4(lesson::Engine& e) {
    using namespace shortage;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 44, 305, "方程式を利用して、過不足に関する問題を解こう。"},
        },
        "①例２　②問３　③終了",
        {example2Page, question3Page},
    });
}

}  // namespace ratiora
