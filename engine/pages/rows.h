#pragma once
// Pages as data. A page is a list of rows (colour, x, y, text, wait) run by
// one routine; worked answers are blocks (label, steps) laid out in columns;
// random drills run in one practice loop; a section is a sub-menu of pages.
//
//   runRows(e, page, {
//       {5, 40, 30, "方程式"},
//       {0, after, same, "…まだわかっていない数"},
//       {0, 176, plus(50), "を表す", key},
//   });

#include "engine/engine.h"
#include "engine/graphics/colour_roles.h"
#include "engine/prompts/prompts.h"

#include <functional>
#include <string>
#include <vector>

namespace lesson {

// x of a row: absolute, where the previous row's text ended (plus n), or
// where a marked row began or ended (plus n).
struct RowX {
    enum class Kind { Absolute, After, MarkStart, MarkEnd } kind = Kind::Absolute;
    float value = 0;
    int mark = 0;
    RowX(float v) : value(v) {}  // NOLINT: a plain number is an absolute x
    RowX(int v) : value(static_cast<float>(v)) {}  // NOLINT
    RowX(double v) : value(static_cast<float>(v)) {}  // NOLINT
    RowX(Kind k, float v, int mark = 0) : kind(k), value(v), mark(mark) {}
};

// y of a row: absolute, the previous row's y plus n (same: plus 0), or a
// marked row's y plus n.
struct RowY {
    enum class Kind { Absolute, Plus, Mark } kind = Kind::Absolute;
    float value = 0;
    int mark = 0;
    RowY(float v) : value(v) {}  // NOLINT: a plain number is an absolute y
    RowY(int v) : value(static_cast<float>(v)) {}  // NOLINT
    RowY(double v) : value(static_cast<float>(v)) {}  // NOLINT
    RowY(Kind k, float v, int mark = 0) : kind(k), value(v), mark(mark) {}
};

enum class Wait { None, Key, TwoKeys };

// A row drawn as a cell instead of a bare text: the text centred in a box
// whose top-left is the row's place (drawBoxedFormula), or the text on the
// row's line with the box placed around it (drawBoxAroundFormula). The row's
// colour is the text's.
struct RowBox {
    enum class Kind { None, Boxed, Around } kind = Kind::None;
    float w = 0, h = 0;
    int line = 0, fill = colour::kCellFill;
};

// What a row does besides drawing its text.
struct Then {
    Wait wait = Wait::None;
    int mark = 0;        // remember this row's place as mark n (1..kMarks-1)
    bool aside = false;  // drawn without moving the after/same reference
    RowBox box;
    Then() = default;
    Then(Wait w) : wait(w) {}  // NOLINT: `key` alone is the common case
};

// Both: the waits, marks and boxes of two descriptions together.
Then operator|(Then a, const Then& b);

namespace notation {
inline const RowX after{RowX::Kind::After, 0};
inline RowX afterPlus(float n) { return {RowX::Kind::After, n}; }
inline const RowY same{RowY::Kind::Plus, 0};
inline RowY plus(float n) { return {RowY::Kind::Plus, n}; }
inline constexpr Wait key = Wait::Key;
inline constexpr Wait twoKeys = Wait::TwoKeys;  // two any-key waits in a row

// Remember where this row stood: the x it began at, the x its text ended
// at, and its y.
inline Then mark(int n) { Then t; t.mark = n; return t; }
inline RowX atMark(int n, float plus = 0) { return {RowX::Kind::MarkStart, plus, n}; }
inline RowX afterMark(int n, float plus = 0) { return {RowX::Kind::MarkEnd, plus, n}; }
inline RowY markY(int n, float plus = 0) { return {RowY::Kind::Mark, plus, n}; }
// A row that does not move the after/same reference.
inline const Then aside = [] { Then t; t.aside = true; return t; }();
// Cell rows: after them, `after` is the box's right edge.
inline Then box(float w, float h, int line, int fill) { Then t; t.box = {RowBox::Kind::Boxed, w, h, line, fill}; return t; }
inline Then boxAround(float w, float h, int line, int fill) { Then t; t.box = {RowBox::Kind::Around, w, h, line, fill}; return t; }
}  // namespace notation

struct Row {
    int color;
    RowX x;
    RowY y;
    std::string text;
    Then then = {};
};

// A place a row stood: where it began, where its text ended, its y.
struct Place {
    float x = 0;
    float endX = 0;
    float y = 0;
};

inline constexpr int kMarks = 8;

// Where the last row ended (its text's end x and its y), and the marked places.
struct Page {
    float endX = 0;
    float rowY = 0;
    Place marks[kMarks] = {};
};
// A drill's page in the place a run keeps, and back.
void keepValue(ByteWriter& w, const Page& page);
void takeValue(ByteReader& r, Page& page);

void runRow(Engine& e, Page& page, const Row& row);
void runRows(Engine& e, Page& page, const std::vector<Row>& rows);
// A page that is its table: the page clear (the common one, or clearWidth
// wide), then the rows.
void runPage(Engine& e, const std::vector<Row>& rows);
void runPage(Engine& e, float clearWidth, const std::vector<Row>& rows);

// ---- Worked answers ----------------------------------------------------

// One step of an answer: the first on the label's row, each further one
// its dy below the previous; colour 0, the last one 5.
struct Step {
    std::string text;
    RowX x{RowX::Kind::After, 0};  // replaced by the column's indent unless given
    RowY y{RowY::Kind::Plus, 0};
    int color = -1;           // -1: 0, or 5 for the last step of the block
    bool atIndent = true;
    Step(const char* t) : text(t) {}  // NOLINT: first step, on the label's row
    Step(std::string t) : text(std::move(t)) {}  // NOLINT
    Step(std::string t, float dy) : text(std::move(t)), y(RowY::Kind::Plus, dy) {}
    Step(std::string t, RowX x, RowY y, int color = -1)
        : text(std::move(t)), x(x), y(y), color(color), atIndent(false) {}
};

// The step at its usual place, in a colour of its own (a remark between the
// steps): colourStep(3, {"両辺に10をかけて", 50}).
inline Step colourStep(int color, Step step) {
    step.color = color;
    return step;
}

struct AnswerBlock {
    std::string label;       // drawn in the label colour (3) at the column's x
    RowY labelY;             // usually plus(60), or an absolute y for a column's first block
    std::vector<Step> steps;
    Wait wait = Wait::None;  // after the last step
};

struct Column {
    float x;
    float indent;
    bool labelKeepsEnd = false;  // the problem follows its label on the row (after)
};

void runAnswers(Engine& e, Page& page, const Column& column, const std::vector<AnswerBlock>& blocks);
// The rows of an answer's steps as runAnswers draws them, without a label:
// each step at the indent unless it gives its place (the first one gives
// where the answer begins), colour 0 and the last one 5 unless given. A
// drill's solution: answerRows(100, {{t[0], 100, 140}, {t[1], 70}, {t[2], 70}}).
std::vector<Row> answerRows(float indent, const std::vector<Step>& steps);

// ---- Random drills -------------------------------------------------------

// Makes one problem: draws the random numbers, converts them and returns the
// rows to show (their waits are set by the loop: a key after each but the last).
using ProblemMaker = std::function<std::vector<Row>(Engine&)>;
// The same, told which problem of the drill it makes (from 0): a drill whose
// problems take turns in their forms.
using NumberedProblemMaker = std::function<std::vector<Row>(Engine&, int problem)>;

enum class RowWaits {
    AfterEachButLast,  // a key after every row but the answer
    AsGiven,           // the rows carry their own waits
};

// Problems one after another in the area from (areaX, areaY) until 1 is
// entered at the step prompt. The loop's state is the engine's variables,
// the page and the problem's number alone: the makers keep nothing of their
// own from one problem to the next.
void practiceLoop(Engine& e, Page& page, float areaX, float areaY, const ProblemMaker& make,
                  RowWaits waits = RowWaits::AfterEachButLast);
void practiceLoop(Engine& e, Page& page, float areaX, float areaY, const NumberedProblemMaker& make,
                  RowWaits waits = RowWaits::AfterEachButLast);

// ---- Figures ---------------------------------------------------------------

// One straight stroke of a figure.
struct Stroke {
    Point from;
    Point to;
    int color;
};
// Draws the strokes in the pen width; the width before stands again after them.
void drawStrokes(Engine& e, float penWidth, const std::vector<Stroke>& strokes);

// ---- Sections --------------------------------------------------------------

using PageRoutine = std::function<void(Engine&)>;

// The circled-number sub-menu: line drawn in the prompt band, a number read;
// 1..pages run their page, the next number returns, anything else (also a
// number that is not whole) shows the sub-menu again.
void runSubMenu(Engine& e, const std::string& line, const std::vector<PageRoutine>& pages);

// ---- Boxes ------------------------------------------------------------------

// A filled box outlined in `line` with its label centred (the weights of the
// balance, the headings of exercise pages).
struct LabelledBox {
    float w, h;
    int line, fill;
    std::string label;
    int textColor = colour::kBoxLabel;
};
// At (x, y); leaves textX at its right edge.
void drawLabelledBox(Engine& e, const LabelledBox& box, float x, float y);
// Right after the previous box (at textX, textY).
void drawLabelledBox(Engine& e, const LabelledBox& box);
// `count` boxes side by side from (x, y).
void drawLabelledBoxes(Engine& e, const LabelledBox& box, int count, float x, float y);

// ---- Equation texts -------------------------------------------------------

// "" for 0, "x" for 1, "-x" for -1, else the coefficient's text and "x".
std::string termTextFor(float coefficient);
// text with "+" in front when value is positive.
std::string signedText(const std::string& text, float value);
// The equation's answer as "fraction = value": the reduced value alone when
// n/d is already a positive fraction in lowest terms, else "ﾀn/dﾀ=" + value.
std::string fractionValueText(Engine& e, float n, float d);
// text without one leading "+".
std::string withoutLeadingPlus(Engine& e, const std::string& text);

}  // namespace lesson
