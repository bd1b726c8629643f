// Section 6: 比例式の利用. Example 1 (how much flour and sugar to add to keep
// a ratio) with its two containers, and the answer to 問1.

#include "engine/graphics/commands.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "engine/typesetter/cells.h"
#include "lessons_b/sections.h"

#include <vector>

namespace ratiora {

namespace proportionInUse {

using namespace lesson;
using namespace lesson::notation;

namespace {

// ---- Page 1: 例題1 -----------------------------------------------------------

// The figure stands on an undrawn grid of 50-unit cells: a figure point
// (u, v) is u cells right of and v cells up from the grid's lower-left corner.
struct Figure {
    float originX, originY;
    float cell = 50;
    float pageX(float u) const { return originX + cell * u; }
    float pageY(float v) const { return originY - cell * v; }
    Point at(float u, float v) const { return {pageX(u), pageY(v)}; }
};

// Lays out the grid below the title without drawing it (line colour 15).
Figure figureFrame(Engine& e) {
    e.gridX = 40;
    e.gridY = 140;
    e.gridCell = 50;
    e.gridColumns = 7;
    e.gridRows = 5;
    e.lineColor = kWhite;
    drawGrid(e);
    return {e.gridOriginX, e.gridOriginY, e.gridCell};
}

// An open container: from the top of its right wall down, along the floor
// and up its left wall.
void container(Engine& e, const Figure& f, float left, float right, float top) {
    e.layer.polyline({f.at(right, top), f.at(right, 0), f.at(left, 0), f.at(left, top)}, 0);
}

// The part to be added to each container, empty or labelled.
std::vector<Row> addedParts(const Figure& f, const char* text) {
    return {
        {3, f.pageX(0), f.pageY(4), text, box(200, 75, 0, 11)},
        {3, f.pageX(5), f.pageY(4), text, box(100, 150, 0, 11)},
    };
}

void example1Page(Engine& e) {
    Page page;
    pageClear(e);
    e.layer.setDrawWidth(5);  // the page's width; it stays set after the page
    runRow(e, page, {3, 40, 30, "教科書P106 例題1 を考えよう"});
    const Figure f = figureFrame(e);
    runRows(e, page, {
        {0, 90, 90, "薄力粉"},
        {0, 305, 90, "砂糖"},
    });
    container(e, f, 0, 4, 5);
    runRow(e, page, {3, f.pageX(0), f.pageY(2.5f), "152g", box(200, 125, 0, 13)});
    container(e, f, 5, 7, 5);
    runRow(e, page, {3, f.pageX(5), f.pageY(1), "32g", box(100, 50, 0, 13) | key});
    runRows(e, page, addedParts(f, ""));
    anyKeyPrompt(e);
    // The ratio the two should keep.
    runRows(e, page, {
        {3, 140, 140, "140"},
        {3, 250, 140, ":"},
        {3, 300, 140, "40", key},
    });
    runRows(e, page, addedParts(f, "xg"));
    runRows(e, page, {
        {0, 40, 420, "それぞれ"},
        {3, after, same, "xg"},
        {0, after, same, "ずつ増やすとすると", key},
        {0, 40, plus(50), "薄力粉…"},
        {3, after, same, "152+x(g)"},
        {0, 40, plus(50), "砂糖…"},
        {3, after, same, "32+x(g)", key},
        {3, 600, 30, "<解答>"},
        {0, 600, plus(50), "薄力粉と砂糖を、"},
        {0, 600, plus(50), "それぞれxgずつ増やすとすると、", key},
        {0, 600, plus(50), "(152+x):(32+x)=140:40", key},
        {0, 600, plus(50), "40(152+x)=140(32+x)", key},
        {0, 600, plus(50), "2(152+x)=7(32+x)", key},
        {0, 600, plus(50), "304+2x=224+7x", key},
        {0, 600, plus(50), "2x-7x=224-304", key},
        {0, 600, plus(50), "-5x=-80", key},
        {3, 600, plus(50), "x=16", key},
        {0, 600, plus(50), "この解は問題にあっている。", key},
        {5, 600, plus(70), "答　16gずつ増やせばよい", key},
        {7, 40, same, "教科書P106 問1 をやろう。"},
    });
}

// ---- Page 2: 問1 -------------------------------------------------------------

void question1Page(Engine& e) {
    runPage(e, {
        {3, 80, 30, "問1 解答"},
        {0, 80, plus(50), "Bの容器に入っていたコーヒーの量をxmLとすると、", key},
        {0, 80, plus(50), "(400+200):(x-200)=5:2", key},
        {0, 80, plus(50), "5(x-200)=2*600", key},
        {0, 80, plus(50), "x-200=2*120", key},
        {0, 80, plus(50), "x=240+200", key},
        {3, 80, plus(50), "x=440", key},
        {0, 80, plus(60), "この解は問題にあっている。", key},
        {5, 80, plus(70), "答　440mL"},
    });
}

}  // namespace

}  // namespace proportionInUse

void section6(lesson::Engine& e) {
    using namespace proportionInUse;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 76, 305, "比例式の性質を使って問題を解こう。"},
        },
        "①例題1　②問1　③終了　",
        {example1Page, question1Page},
    });
}

}  // namespace ratiora
