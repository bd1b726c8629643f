// Section 8: P110(学びを身につけよう). The worked answers of the second review
// set, each page an answer sheet under the heading: the sixteen equations of
// exercise 1 on four screens, the proportions of exercise 2, a check and a
// mixing problem (3 and 4), the fruit box (5), the mountain walk (6) and the
// number square (7).

#include "engine/pages/section.h"
#include "lessons_b/sections.h"

#include <array>
#include <utility>

namespace ratiora {

namespace {

using namespace lesson;
using namespace lesson::notation;

// ---- The heading ---------------------------------------------------------------

const LabelledBox kTitle{342, 48, 3, 13, "学びを身につけよう", 0};
const LabelledBox kNumber{44, 44, 4, 3, "", 13};
const SheetHeading kHeading{{30, 20}, kTitle, 30, kNumber};

// A heading's box drawn as a row, where a page places it on its own.
Row boxRow(const LabelledBox& b, RowX x, RowY y, std::string label, Then then = {}) {
    return {b.textColor, x, y, std::move(label), box(b.w, b.h, b.line, b.fill) | then};
}

// The sheets drawn with the wide pen: it is set right after the heading and
// stays set after the page.
void wideSheetScreen(Engine& e, const std::string& number) {
    sheetScreen(e, kHeading, number);
    e.layer.setDrawWidth(5);
}

// ---- Page 1: exercise 1, sixteen equations on four screens -------------------------

void equationsPage(Engine& e) {
    runSheet(e, kHeading, {
        {"1", {
            {3, 30, 90, "(1)"},
            {0, 111, 90, "4x+2=5x-9"},
            {0, 111, 140, "4x-5x=-9-2"},
            {0, 111, 190, "-x=-11"},
            {5, 111, 240, "x=11"},
            {3, 30, 300, "(2)"},
            {0, 111, 300, "33-x=x+49"},
            {0, 111, 350, "-x-x=49-33"},
            {0, 111, 400, "-2x=16"},
            {5, 111, 450, "x=-8"},
            {3, 30, 510, "(3)"},
            {0, 111, 510, "-5+19x=4x-5"},
            {0, 111, 560, "19x-4x=-5+5"},
            {0, 111, 610, "15x=0"},
            {5, afterPlus(30), 610, "x=0"},
            {3, 600, 20, "(4)"},
            {0, 708, 20, "24x+8=9x-22"},
            {0, 708, 70, "24x-9x=-22-8"},
            {0, 708, 120, "15x=-30"},
            {5, afterPlus(80), 120, "x=-2"},
            {3, 600, 180, "(5)"},
            {0, 708, 180, "3000-11x=2400-5x"},
            {0, 708, 230, "-11x+5x=2400-3000"},
            {0, 708, 280, "-6x=-600"},
            {5, 708, 330, "x=100"},
            {3, 600, 390, "(6)"},
            {0, 708, 390, "230+47x=610+28x"},
            {0, 708, 440, "47x-28x=610-230"},
            {0, 708, 490, "19x=380"},
            {5, 708, 540, "x=20", key},
        }},
        {"1", {
            {3, 30, 80, "(7)"},
            {0, 111, 80, "5(x-8)=x"},
            {0, 111, 130, "5x-40=x"},
            {0, 111, 180, "5x-x=40"},
            {0, 111, 230, "4x=40"},
            {5, 111, 280, "x=10"},
            {3, 30, 340, "(8)"},
            {0, 111, 340, "x-2(3x+1)=18"},
            {0, 111, 390, "x-6x-2=18"},
            {0, 111, 440, "x-6x=18+2"},
            {0, 111, 490, "-5x=20"},
            {5, 111, 540, "x=-4"},
            {3, 600, 80, "(9)"},
            {0, 681, 80, "3(3x+2)=-6(2-x)"},
            {0, 681, 130, "3x+2=-2(2-x)"},
            {0, 681, 180, "3x+2=-4+2x"},
            {0, 681, 230, "3x-2x=-4-2"},
            {5, 681, 280, "x=-6"},
            {3, 600, 340, "(10)"},
            {0, 681, 340, " 4(t-1)+3(3t+5)=2t"},
            {0, 681, 390, "4t-4+9t+15=2t"},
            {0, 681, 440, "4t+9t-2t=4-15"},
            {0, 681, 490, "11t=-11"},
            {5, 681, 540, "t=-1", key},
        }},
        {"1", {
            {3, 30, 100, "(11)"},
            {0, 138, 100, "ﾀ2/5ﾀx-3=ﾀ3/10ﾀx+ﾀ1/2ﾀ"},
            {0, 138, 170, "10*(ﾀ2/5ﾀx-3)=10*(ﾀ3/10ﾀx+ﾀ1/2ﾀ)"},
            {0, 138, 230, "4x-30=3x+5"},
            {0, 138, 280, "4x-3x=5+30"},
            {5, 138, 330, "x=35"},
            {3, 440, 290, "(12)"},
            {0, 548, 290, "ﾀ3y-1/4ﾀ=ﾀ2y-3/3ﾀ"},
            {0, 548, 360, "12*ﾀ3y-1/4ﾀ=12*ﾀ2y-3/3ﾀ"},
            {0, 548, 420, "3(3y-1)=4(2y-3)"},
            {0, 548, 470, "9y-3=8y-12"},
            {0, 548, 520, "9y-8y=-12+3"},
            {5, 548, 570, "y=-9", key},
        }},
        {"1", {
            {3, 30, 80, "(13)"},
            {0, 138, 80, "0.3(x+1)=0.2x"},
            {0, 138, 130, "3(x+1)=2x"},
            {0, 138, 180, "3x+3=2x"},
            {0, 138, 230, "3x-2x=-3"},
            {5, 138, 280, "x=-3"},
            {3, 30, 340, "(14)"},
            {0, 138, 340, "1.2x+3.1=0.8x+0.3"},
            {0, 138, 390, "12x+31=8x+3"},
            {0, 138, 440, "12x-8x=3-31"},
            {0, 138, 490, "4x=-28"},
            {5, 138, 540, "x=-7"},
            {3, 600, 20, "(15)"},
            {0, 708, 20, "600x+2400=1000x"},
            {3, 708, 70, "　　両辺を100でわって"},
            {0, 708, 120, "6x+24=10x"},
            {0, 708, 170, "6x-10x=-24"},
            {0, 708, 220, "-4x=-24"},
            {5, 708, 270, "x=6"},
            {3, 600, 330, "(16)"},
            {0, 708, 330, "30(-x+2)+120=240"},
            {3, 708, 380, "　　両辺を30でわって"},
            {0, 708, 430, "-x+2+4=8"},
            {0, 708, 480, "-x=8-2-4"},
            {0, 708, 530, "-x=2"},
            {5, 708, 580, "x=-2"},
        }},
    });
}

// ---- Page 2: exercise 2, proportions -------------------------------------------------

void proportionsPage(Engine& e) {
    runSheet(e, kHeading, {{"2", {
        {3, 30, 80, "(1)"},
        {0, 111, 80, "x:15=3:5"},
        {0, 111, 130, "5x=3*15"},
        {0, 111, 180, "x=3*3"},
        {5, 111, 230, "x=9"},
        {3, 30, 290, "(2)"},
        {0, 111, 290, "12:9=x:12"},
        {0, 111, 340, "9x=12*12"},
        {0, 111, 390, "x=4*4"},
        {5, 111, 440, "x=16"},
        {3, 400, 80, "(3)"},
        {0, 481, 80, "7.2:2.4=60:x"},
        {0, 481, 130, "3:1=60:x"},
        {0, 481, 180, "3x=60"},
        {5, 481, 230, "x=20"},
        {3, 400, 300, "(4)"},
        {0, 481, 300, "4:x=ﾀ1/2ﾀ:ﾀ5/3ﾀ"},
        {0, 481, 370, "4:x=6*ﾀ1/2ﾀ:6*ﾀ5/3ﾀ"},
        {0, 481, 430, "4:x=3:10"},
        {0, 481, 480, "3x=40"},
        {5, 481, 550, "x=ﾀ40/3ﾀ"},
        {3, 800, 20, "(5)"},
        {0, 881, 20, "x:(10-x)=2:3"},
        {0, 881, 70, "2(10-x)=3x"},
        {0, 881, 120, "20-2x=3x"},
        {0, 881, 170, "-2x-3x=-20"},
        {0, 881, 220, "-5x=-20"},
        {5, 881, 270, "x=4"},
        {3, 800, 330, "(6)"},
        {0, 881, 330, "(x-4):3=x:4"},
        {0, 881, 380, "4(x-4)=3x"},
        {0, 881, 430, "4x-16=3x"},
        {0, 881, 480, "4x-3x=16"},
        {5, 881, 530, "x=16"},
    }}});
}

// ---- Page 3: exercises 3 and 4 ---------------------------------------------------------

// The number box "3" stands under the title; "4" heads the right column,
// drawn with the wide pen.
void checkAndMixingPage(Engine& e) {
    const Then blank = box(40, 50, 3, 15);
    Page page;
    pageClear(e, kPageClearWidth, kTallPageClearHeight);
    runRows(e, page, {
        boxRow(kTitle, kHeading.at.x, kHeading.at.y, kTitle.label),
        boxRow(kNumber, 30, 80, "3"),
        {0, 30, 140, "解が3だから、x=3 を代入して"},
        {0, 30, 200, "5*3+"},
        {5, afterPlus(10), 200, "", blank},
        {0, afterPlus(10), 200, "=11+2*3"},
        {0, 30, 260, "15+"},
        {5, afterPlus(10), 260, "", blank},
        {0, afterPlus(10), 260, "=11+6"},
        {5, 30, 320, "", blank},
        {0, afterPlus(10), 320, "=11+6-15"},
        {5, after, 320, "=2", key},
    });
    e.layer.setDrawWidth(5);
    runRows(e, page, {
        boxRow(kNumber, 600, 30, "4"),
        {3, afterPlus(20), 30, "ごま油とポン酢を"},
        {3, 600, 90, "xmLずつ増やすとすると"},
        {0, 600, 140, "(30+x):(170+x)=3:10"},
        {0, 600, 190, "10(30+x)=3(170+x)"},
        {0, 600, 240, "300+10x=510+3x"},
        {0, 600, 290, "10x-3x=510-300"},
        {0, 600, 340, "7x=210"},
        {3, 600, 400, "x=30"},
        {0, 600, 450, "この解は問題にあっている。"},
        {5, 600, 500, "答　30mL"},
    });
}

// ---- Page 4: exercise 5, the fruit box -----------------------------------------------

void fruitBoxPage(Engine& e) {
    SheetHeading heading = kHeading;
    heading.at = {40, 30};
    runSheet(e, heading, {{"5", {
        {3, 121, 90, "ももをx個つめたとすると"},
        {0, 121, 140, "りんごの個数は、15-x (個)　だから"},
        {0, 121, 190, "150x+120(15-x)+200=2210"},
        {0, 121, 240, "150x+1800-120x+200=2210"},
        {0, 121, 290, "150x-120x=2210-1800-200"},
        {0, 121, 340, "30x=210"},
        {3, 121, 390, "x=7"},
        {0, 121, 440, "りんごの個数は、15-7"},
        {3, after, 440, "=8(個)"},
        {0, 121, 490, "この解は問題にあっている。"},
        {5, 121, 540, "答　もも7個,りんご8個"},
    }}});
}

// ---- Page 5: exercise 6, up and down the mountain --------------------------------------

void mountainPage(Engine& e) {
    wideSheetScreen(e, "6");
    Page page;
    runRows(e, page, {
        {7, 30, 80, "(1)"},
        {0, 111, 80, "上るのにかかった時間をx分とすると 40x=60(x-30)"},
        {3, 111, 130, "登るときと下るときで、ふもとから山頂までの道のりは等しい", key},
        {7, 30, 190, "(2)"},
        {0, 111, 190, "(ｲ)"},
        {3, after, 190, "ふもとから山頂までの道のり  単位はm"},
        {0, 111, 240, "(ｳ)"},
        {3, after, 240, "山頂からふもとまで下るのにかかった  単位は分", key},
        {7, 30, 320, "(3)"},
        {0, 111, 320, "ﾀx/40ﾀ-ﾀx/60ﾀ=30"},
        {0, 111, 390, "120*ﾀx/40ﾀ-120*ﾀx/60ﾀ=120*30"},
        {0, 111, 450, "3x-2x=3600"},
        {3, 111, 500, "x=3600"},
        {0, 111, 550, "この解は問題にあっている。"},
        {5, 111, 600, "答　3600m"},
    });
}

// ---- Page 6: exercise 7, the number square -----------------------------------------------

// A 3 × 3 grid of 50 × 50 boxes from its top-left corner.
struct Grid {
    float x, y;
    int textColor;
};
constexpr Grid kBlankGrid{960, 100, 0};   // the grid the lines are drawn across
constexpr Grid kAnswerGrid{560, 350, 3};  // the grid the answer is filled into

Row gridCell(const Grid& g, int row, int col, std::string text, Then then = {}) {
    return {g.textColor, g.x + 50 * col, g.y + 50 * row, std::move(text), box(50, 50, 0, 15) | then};
}

// The answer, row by row, and the boxes it is filled into two at a time:
// each pair lies on a line through the centre, so it sums to 10.
constexpr int kSquare[3][3] = {{2, 7, 6}, {9, 5, 1}, {4, 3, 8}};
struct Cell {
    int row, col;
};
constexpr std::array<std::pair<Cell, Cell>, 4> kPairs{{
    {{0, 0}, {2, 2}},
    {{1, 0}, {1, 2}},
    {{2, 0}, {0, 2}},
    {{0, 1}, {2, 1}},
}};

// The nine boxes of a grid, empty but for the centre when asked; `last` after the ninth.
std::vector<Row> gridRows(const Grid& g, const std::string& centre, Then last = {}) {
    std::vector<Row> rows;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) rows.push_back(gridCell(g, row, col, row == 1 && col == 1 ? centre : ""));
    rows.back().then = rows.back().then | last;
    return rows;
}

std::vector<Row> answerPairs() {
    std::vector<Row> rows;
    const auto cell = [](const Cell& c, Then then = {}) {
        return gridCell(kAnswerGrid, c.row, c.col, std::to_string(kSquare[c.row][c.col]), then);
    };
    for (std::size_t i = 0; i < kPairs.size(); ++i) {
        rows.push_back(cell(kPairs[i].first));
        rows.push_back(cell(kPairs[i].second, i + 1 < kPairs.size() ? Then(key) : Then()));
    }
    return rows;
}

// The four lines across the blank grid that each hold three boxes, with their labels.
struct LabelledLine {
    Stroke stroke;
    Point labelAt;
    const char* label;
};
const LabelledLine kLines[] = {
    {{{935, 75}, {1135, 275}, 3}, {935, 30}, "①"},
    {{{935, 175}, {1135, 175}, 3}, {905, 125}, "②"},
    {{{935, 275}, {1135, 75}, 3}, {905, 230}, "③"},
    {{{1035, 275}, {1035, 75}, 3}, {1017, 275}, "④"},
};

void numberSquarePage(Engine& e) {
    wideSheetScreen(e, "7");
    Page page;
    runRows(e, page, gridRows(kBlankGrid, ""));
    runRows(e, page, {
        {7, 30, 80, "(1)"},
        {0, 111, 80, "(ｱ) 1+2+…+9="},
        {3, after, 80, "45"},
        {0, 111, 130, "(ｲ) 45/3="},
        {3, after, 130, "15", key},
    });
    for (const LabelledLine& line : kLines) {
        drawStrokes(e, 5, {line.stroke});
        runRow(e, page, {3, line.labelAt.x, line.labelAt.y, line.label});
    }
    runRows(e, page, {
        {5, 1021, 155, "x"},
        {7, 30, 190, "(2)"},
        {0, 111, 190, "①～④の欄を全部たすと 15*4=60"},
        {0, 111, 240, "また、1+2+…+9+3x=45+3x"},
        {0, 111, 290, "したがって、"},
        {3, after, 290, "45+3x=60", key},
        {7, 30, 350, "(3)"},
        {0, 111, 350, "3x=60-45"},
        {0, 111, 400, "3x=15"},
        {3, 111, 450, "x=5", key},
    });
    runRows(e, page, gridRows(kAnswerGrid, "5", key));
    runRows(e, page, answerPairs());
}

}  // namespace

void section8(lesson::Engine& e) {
    lesson::runSection(e, {{},
                   "P110(学びを身につけよう)①　②　③3,4　④5　⑤6　⑥7　⑦終了",
                   {equationsPage, proportionsPage, checkAndMixingPage, fruitBoxPage, mountainPage, numberSquarePage}});
}

}  // namespace ratiora
