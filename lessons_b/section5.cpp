// Section 5: 速さ、時間、道のり. Example 3 with the key-stepped walkers and
// their table, the answer to 問4, the solving procedure and the answers to
// the two exercises of textbook page 105.

#include "lessons_b/section5.h"

#include "engine/pages/arcs.h"
#include "engine/pages/rows.h"
#include "engine/pages/section.h"
#include "engine/prompts/prompts.h"
#include "lessons_b/sections.h"

namespace ratiora {

namespace speed {

Walkers walkersAt(int t) {
    const float brother = 83 + 25.0f * t;
    const float sister = t <= 10 ? 83 : 83 + 75.0f * (t - 10);
    return {t, brother, sister};
}

Walkers caughtUp() { return {14, 458, 458}; }

using namespace lesson;
using namespace lesson::notation;

namespace {

// The figure: home at x 83, the station at x 533; the brother's line at
// y 200, the sister's at y 330. A minute is 25 units of the brother's walk.
constexpr float kHome = 83, kStation = 533, kTenMinutes = 333, kMeeting = 458;
constexpr float kBrotherY = 200, kSisterY = 330;
constexpr float kWalkerRadius = 8;

// Everything below the title goes with each frame.
void blankFigure(Engine& e) { whiteBox(e, 0, 90, 2000, 1800); }

void drawStaticPart(Engine& e) {
    Page page;
    runRows(e, page, {
        {0, 63, 90, "家"},
        {7, 253, 90, "2km"},
        {0, 499, 90, "駅"},
        {0, 40, 176, "弟"},
    });
    e.layer.line(kHome, kBrotherY, kStation, kBrotherY, 0);
    runRow(e, page, {0, 40, 306, "姉"});
    e.layer.line(kHome, kSisterY, kStation, kSisterY, 0);
    runRows(e, page, {
        {0, 83, 140, "分速80m"},
        {0, 83, 270, "分速240m"},
    });
}

void drawMovingPart(Engine& e, const Walkers& w) {
    if (w.showsTenMinutes()) {
        runSpanArc(e, {.from = {kHome, kBrotherY}, .to = {kTenMinutes, kBrotherY}, .textColor = 3, .lineColor = 3,
                       .side = 1, .step = 9, .height = 20, .label = "10分"});
    }
    // Height 0: a dotted straight line from the brother down to the sister.
    if (w.showsMeeting()) {
        runSpanArc(e, {.from = {kMeeting, kBrotherY}, .to = {kMeeting, kSisterY}, .textColor = 7, .lineColor = 0,
                       .side = 1, .step = 8, .height = 0, .label = ""});
    }
    e.layer.line(kHome, kBrotherY, w.brotherX, kBrotherY, 3);
    e.layer.circle(w.brotherX, kBrotherY, kWalkerRadius, 3);
    e.layer.line(kHome, kSisterY, w.sisterX, kSisterY, 7);
    e.layer.circle(w.sisterX, kSisterY, kWalkerRadius, 7);
}

void drawFrame(Engine& e, const Walkers& w) {
    blankFigure(e);
    drawStaticPart(e);
    drawMovingPart(e, w);
    anyKeyPrompt(e);
}

// ---- Page 1: 例３ ------------------------------------------------------------

void example3Page(Engine& e) {
    Page page;
    pageClear(e);
    e.layer.setDrawWidth(5);  // the page's width; it stays set after the page
    runRow(e, page, {3, 40, 30, "教科書P104 例3をやってみよう。", key});
    for (int t = 0; t <= kLastFrame; ++t) drawFrame(e, walkersAt(t));
    drawFrame(e, caughtUp());
    runSpanArcs(e, {
        {.from = {kHome, kSisterY}, .to = {kMeeting, kSisterY}, .textColor = 3, .lineColor = 3, .side = 1,
         .step = 3, .height = 20, .label = "x分", .wait = key},
        {.from = {kTenMinutes, kBrotherY}, .to = {kMeeting, kBrotherY}, .textColor = 3, .lineColor = 3, .side = 1,
         .step = 8, .height = 20, .label = "x分", .wait = key},
    });
    // The table: first the frame (the empty corner cell lies under the next
    // one's left part), then its numbers.
    runRows(e, page, {
        {0, 40, 420, "", box(266, 50, 3, 11)},
        {0, 230, 420, "弟", box(228, 50, 3, 11)},
        {0, 458, 420, "姉", box(114, 50, 3, 11)},
        {0, 40, 470, "分速(m)", box(190, 50, 3, 13)},
        {0, 230, 470, "", box(228, 50, 3, 15)},
        {0, 458, 470, "", box(114, 50, 3, 15)},
        {0, 40, 520, "時間(分)", box(190, 50, 3, 13)},
        {0, 230, 520, "", box(228, 50, 3, 15)},
        {0, 458, 520, "", box(114, 50, 3, 15)},
        {0, 40, 570, "道のり(m)", box(190, 50, 3, 13)},
        {0, 230, 570, "", box(228, 50, 3, 15)},
        {0, 458, 570, "", box(114, 50, 3, 15) | twoKeys},
        {0, 230, 470, "80", box(228, 50, 3, 15) | key},
        {0, 458, 470, "240", box(114, 50, 3, 15) | key},
        {7, 230, 520, "10+x", box(228, 50, 3, 15) | key},
        {7, 458, 520, "x", box(114, 50, 3, 15) | key},
        {5, 230, 570, "80(10+x)", box(228, 50, 3, 15) | key},
        {5, 458, 570, "240x", box(114, 50, 3, 15)},
    });
    runRows(e, page, {
        {3, 680, 30, "<解答>", key},
        {0, afterPlus(30), same, "姉が出発してから"},
        {0, 680, plus(50), "x分後に追いつくとする。"},
        {0, 680, plus(50), "80(10+x)=240x", key},
        {0, 680, plus(50), "10+x=3x", key},
        {0, 680, plus(50), "x-3x=-10", key},
        {0, 680, plus(50), "-2x=-10", key},
        {3, 680, plus(50), "x=5", key},
        {0, 680, plus(50), "この解は問題にあっている。", key},
        {5, 680, plus(50), "答　5分後", key},
        {3, 680, plus(50), "教科書P105 問4 をやろう。"},
    });
}

// ---- Pages 2 to 5: answers and the procedure --------------------------------


void question4Page(Engine& e) {
    runPage(e, {
        {3, 40, 30, "教科書P105 問4解答", key},
        {0, 40, plus(50), "兄が出発してからx分後に弟に追いつくとすると、", key},
        {0, 40, plus(50), "280x=80(20+x)", key},
        {0, 40, plus(50), "280x=1600+80x", key},
        {0, 40, plus(50), "280x-80x=1600", key},
        {0, 40, plus(50), "200x=1600", key},
        {5, 40, plus(50), "x=8", key},
        {0, 40, plus(50), "兄が出発してから8分後に弟に追いつくとすると、追いつく地点は", key},
        {0, 40, plus(50), "家から", key},
        {0, afterPlus(60), same, "280*8=2240(m) の地点となる。", key},
        {0, 40, plus(50), "しかし、家から駅までの道のりは2km=2000m だから、", key},
        {0, 40, plus(50), "この解は問題にあっていない。", key},
        {5, 40, plus(70), "答　追いつけない"},
    });
}

void procedurePage(Engine& e) {
    runPage(e, 1320, {
        {5, 44, 30, "<方程式を使って問題を解く手順>", key},
        {3, 44, plus(50), "① 問題の中の数量に着目して、数量の関係を見つける。"},
        {3, 44, plus(70), "② わかっていない数量から、適当なものをxで表し、方程式をつくる。"},
        {3, 44, plus(70), "③ 方程式を解く。"},
        {5, 44, plus(70), "④ 方程式の解が問題に適しているか確かめて、答を書く。"},
    });
}

void exercise1Page(Engine& e) {
    e.layer.setDrawWidth(5);  // before the clear; it stays set after the page
    runPage(e, {
        {3, 40, 30, "教科書P105 練習問題①　解答", key},
        {0, 40, plus(50), "この選手の背番号をx番とすると、", key},
        {0, 40, plus(50), "2x+7=5x-8", key},
        {0, 40, plus(50), "2x-5x=-8-7", key},
        {0, 40, plus(50), "-3x=-15", key},
        {0, 40, plus(70), "x=ﾀ-15/-3ﾀ", key},
        {5, 40, plus(50), "x=5", key},
        {0, 40, plus(50), "この解は問題にあっている。", key},
        {5, 40, plus(70), "答　5番"},
    });
}

void exercise2Page(Engine& e) {
    // The check column: 40 right of the widest row, from the line of the equation.
    const RowX check = afterMark(2, 40);
    runPage(e, {
        {3, 40, 30, "教科書P105 練習問題②　解答", key},
        {0, 40, plus(50), "女子の人数をx人とすると、", key},
        {0, 40, plus(70), "男子の人数は、", key},
        {3, after, same, "ﾀ80/100ﾀx+54=ﾀ4/5ﾀx+54"},
        {0, after, same, "　だから", key},
        {0, 40, plus(70), "x+ﾀ4/5ﾀx+54=450", mark(1) | key},
        {0, 40, plus(70), "5*x+5*ﾀ4/5ﾀx+5*54=5*450", mark(2) | key},
        {0, 40, plus(60), "5x+4x+270=2250", key},
        {0, 40, plus(50), "5x+4x=2250-270", key},
        {0, 40, plus(50), "9x=1980", key},
        {5, 40, plus(50), "x=220", key},
        {0, check, markY(1), "女子の人数が220人のとき"},
        {0, check, plus(50), "男子の人数は", key},
        {0, check, plus(70), " ﾀ4/5ﾀ*220+54=4*44+54"},
        {0, check, plus(60), "=176+54=230 だから", key},
        {0, check, plus(50), "この解は問題にあっている。", key},
        {5, check, plus(70), "答え　230人"},
    });
}

}  // namespace

}  // namespace speed

void section5(lesson::Engine& e) {
    using namespace speed;
    runSection(e, {
        {
            {3, 44, 240, "<めあて>"},
            {0, 44, 305, "方程式を利用して、速さ・時間・道のりに関する問題を解こう。"},
        },
        "①例３　②問４　③解く手順　④練習問題１　⑤練習問題２　⑥終了",
        {example3Page, question4Page, procedurePage, exercise1Page, exercise2Page},
    });
}

}  // namespace ratiora
