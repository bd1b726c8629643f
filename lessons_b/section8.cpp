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

// The wide pen of the last pages (the mixing problem, the mountain walk, the
// number square): it stays set after them.
constexpr float kWidePen = 5;

// ---- Page 1: exercise 1, sixteen equations on four screens -------------------------

// The right column starts level with the heading, at its top (20).
constexpr float kTop = 20;

void equationsPage(Engine& e) {
    runSheet(e, kHeading, {
        {"1", {}, {
            {Column{30, 111}, {
                AnswerBlock{"(1)", 90, {"4x+2=5x-9", {"4x-5x=-9-2", 50}, {"-x=-11", 50}, {"x=11", 50}}},
                AnswerBlock{"(2)", plus(60), {"33-x=x+49", {"-x-x=49-33", 50}, {"-2x=16", 50}, {"x=-8", 50}}},
                AnswerBlock{"(3)", plus(60),
                            {"-5+19x=4x-5", {"19x-4x=-5+5", 50}, {"15x=0", 50}, {"x=0", afterPlus(30), same}}},
            }},
            {Column{600, 708}, {
                AnswerBlock{"(4)", kTop,
                            {"24x+8=9x-22", {"24x-9x=-22-8", 50}, {"15x=-30", 50}, {"x=-2", afterPlus(80), same}}},
                AnswerBlock{"(5)", plus(60),
                            {"3000-11x=2400-5x", {"-11x+5x=2400-3000", 50}, {"-6x=-600", 50}, {"x=100", 50}}},
                AnswerBlock{"(6)", plus(60),
                            {"230+47x=610+28x", {"47x-28x=610-230", 50}, {"19x=380", 50}, {"x=20", 50}}, key},
            }},
        }},
        {"1", {}, {
            {Column{30, 111}, {
                AnswerBlock{"(7)", 80, {"5(x-8)=x", {"5x-40=x", 50}, {"5x-x=40", 50}, {"4x=40", 50}, {"x=10", 50}}},
                AnswerBlock{"(8)", plus(60),
                            {"x-2(3x+1)=18", {"x-6x-2=18", 50}, {"x-6x=18+2", 50}, {"-5x=20", 50}, {"x=-4", 50}}},
            }},
            {Column{600, 681}, {
                AnswerBlock{"(9)", 80,
                            {"3(3x+2)=-6(2-x)", {"3x+2=-2(2-x)", 50}, {"3x+2=-4+2x", 50}, {"3x-2x=-4-2", 50},
                             {"x=-6", 50}}},
                AnswerBlock{"(10)", plus(60),
                            {" 4(t-1)+3(3t+5)=2t", {"4t-4+9t+15=2t", 50}, {"4t+9t-2t=4-15", 50}, {"11t=-11", 50},
                             {"t=-1", 50}}, key},
            }},
        }},
        {"1", {}, {
            {Column{30, 138}, {
                AnswerBlock{"(11)", 100,
                            {"ﾀ2/5ﾀx-3=ﾀ3/10ﾀx+ﾀ1/2ﾀ", {"10*(ﾀ2/5ﾀx-3)=10*(ﾀ3/10ﾀx+ﾀ1/2ﾀ)", 70}, {"4x-30=3x+5", 60},
                             {"4x-3x=5+30", 50}, {"x=35", 50}}},
            }},
            {Column{440, 548}, {
                AnswerBlock{"(12)", 290,
                            {"ﾀ3y-1/4ﾀ=ﾀ2y-3/3ﾀ", {"12*ﾀ3y-1/4ﾀ=12*ﾀ2y-3/3ﾀ", 70}, {"3(3y-1)=4(2y-3)", 60},
                             {"9y-3=8y-12", 50}, {"9y-8y=-12+3", 50}, {"y=-9", 50}}, key},
            }},
        }},
        {"1", {}, {
            {Column{30, 138}, {
                AnswerBlock{"(13)", 80,
                            {"0.3(x+1)=0.2x", {"3(x+1)=2x", 50}, {"3x+3=2x", 50}, {"3x-2x=-3", 50}, {"x=-3", 50}}},
                AnswerBlock{"(14)", plus(60),
                            {"1.2x+3.1=0.8x+0.3", {"12x+31=8x+3", 50}, {"12x-8x=3-31", 50}, {"4x=-28", 50},
                             {"x=-7", 50}}},
            }},
            {Column{600, 708}, {
                AnswerBlock{"(15)", kTop,
                            {"600x+2400=1000x", colourStep(3, {"　　両辺を100でわって", 50}), {"6x+24=10x", 50},
                             {"6x-10x=-24", 50}, {"-4x=-24", 50}, {"x=6", 50}}},
                AnswerBlock{"(16)", plus(60),
                            {"30(-x+2)+120=240", colourStep(3, {"　　両辺を30でわって", 50}), {"-x+2+4=8", 50},
                             {"-x=8-2-4", 50}, {"-x=2", 50}, {"x=-2", 50}}},
            }},
        }},
    });
}

// ---- Page 2: exercise 2, proportions -------------------------------------------------

void proportionsPage(Engine& e) {
    runSheet(e, kHeading, {{"2", {}, {
        {Column{30, 111}, {
            AnswerBlock{"(1)", 80, {"x:15=3:5", {"5x=3*15", 50}, {"x=3*3", 50}, {"x=9", 50}}},
            AnswerBlock{"(2)", plus(60), {"12:9=x:12", {"9x=12*12", 50}, {"x=4*4", 50}, {"x=16", 50}}},
        }},
        {Column{400, 481}, {
            AnswerBlock{"(3)", 80, {"7.2:2.4=60:x", {"3:1=60:x", 50}, {"3x=60", 50}, {"x=20", 50}}},
            AnswerBlock{"(4)", plus(70),
                        {"4:x=ﾀ1/2ﾀ:ﾀ5/3ﾀ", {"4:x=6*ﾀ1/2ﾀ:6*ﾀ5/3ﾀ", 70}, {"4:x=3:10", 60}, {"3x=40", 50},
                         {"x=ﾀ40/3ﾀ", 70}}},
        }},
        {Column{800, 881}, {
            AnswerBlock{"(5)", kTop,
                        {"x:(10-x)=2:3", {"2(10-x)=3x", 50}, {"20-2x=3x", 50}, {"-2x-3x=-20", 50}, {"-5x=-20", 50},
                         {"x=4", 50}}},
            AnswerBlock{"(6)", plus(60),
                        {"(x-4):3=x:4", {"4(x-4)=3x", 50}, {"4x-16=3x", 50}, {"4x-3x=16", 50}, {"x=16", 50}}},
        }},
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
    e.layer.setDrawWidth(kWidePen);
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
    runSheet(e, kHeading, {{"6", {
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
    }, {}, kWidePen}});
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
    std::vector<Row> first = gridRows(kBlankGrid, "");
    first.insert(first.end(), {
        {7, 30, 80, "(1)"},
        {0, 111, 80, "(ｱ) 1+2+…+9="},
        {3, after, 80, "45"},
        {0, 111, 130, "(ｲ) 45/3="},
        {3, after, 130, "15", key},
    });
    runSheet(e, kHeading, {{"7", first, {}, kWidePen}});
    Page page;
    for (const LabelledLine& line : kLines) {
        drawStrokes(e, kWidePen, {line.stroke});
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
