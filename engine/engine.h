#pragma once
// The one engine object: the shared engine variables under their names, the
// working tables, and the graphics layer they draw through. Routines are
// parameterless functions of the engine: a caller sets the variables, calls,
// and finds the results in the variables.

#include "engine/graphics/program_run.h"

#include <algorithm>
#include <any>
#include <tuple>
#include <type_traits>
#include <stdexcept>
#include <string>
#include <vector>

namespace lesson {

// The line of the calling statement: as a default argument, __builtin_LINE()
// is the caller's line (GCC and clang alike).
#define LESSON_CALLER_LINE __builtin_LINE()

// A run-time error: ends on the error screen with its code and the line of
// the failing statement.
struct EngineError : std::runtime_error {
    EngineError(int code, const std::string& what, int line = LESSON_CALLER_LINE)
        : std::runtime_error(what), code(code), line(line) {}
    int code;
    int line;
};

inline constexpr int kSubscriptOutOfRange = 9;

// The entry field's anchor, in the prompt band (display_list.h).
inline constexpr Point kEntryAnchor{1056, 648};

// π as the lessons' figures take it.
inline constexpr float kPi = 3.14159f;

// A working table with indices 0..bound; an index outside is a run-time error.
template <class T>
class Table {
public:
    explicit Table(int bound) : items_(static_cast<std::size_t>(bound) + 1) {}
    T& operator()(int i, int line = LESSON_CALLER_LINE) {
        check(i, line);
        return items_[static_cast<std::size_t>(i)];
    }
    const T& operator()(int i, int line = LESSON_CALLER_LINE) const {
        check(i, line);
        return items_[static_cast<std::size_t>(i)];
    }
    int bound() const { return static_cast<int>(items_.size()) - 1; }
    void clear() { std::fill(items_.begin(), items_.end(), T{}); }

private:
    void check(int i, int line) const {
        if (i < 0 || i > bound()) throw EngineError(kSubscriptOutOfRange, "subscript out of range", line);
    }
    std::vector<T> items_;
};

// The root sign whose over-bar runs on under what follows until "ﾝ" closes it.
enum class RootMode {
    Closed,     // no root open
    Open,       // "√": the bar 4 above the line's top
    OpenSmall,  // "√" inside a fraction: the bar 6 above
    Tall,       // "#": a tall root over the fraction after it
};

// The layout state of formulas and plain text that carries from one call to
// the next: inside a fraction, an exponent or raised letter pending, an open
// root and where its over-bar starts.
struct FormulaLayoutState {
    int fractionMode = 0;
    int superscriptPending = 0;
    int raisedPending = 0;
    RootMode rootMode = RootMode::Closed;
    float rootBarStartX = 0;
};

// The shared engine variables and the working tables: a plain value, which
// the run keeps at the points a step back can go on from (the top of a
// main-menu, sub-menu or practice round) and gives back there.
struct EngineState {
    // What drawFormula and drawPlainText draw, where and in which colour.
    std::string textString;
    float textX = 0;
    float textY = 0;
    int textColor = 0;
    std::string workText;

    // Formula layout state (kept between calls): read here, written only by
    // the typesetter and the plain-text routines.
    float formulaWidth = 0;
    const FormulaLayoutState& formulaLayout() const { return formulaLayout_; }

    // Plain text and fractions.
    std::string convChar;
    float runEndX = 0;
    float fracNum = 0;
    float fracDen = 0;
    std::string fracText;

    // The entry field.
    float inputX = kEntryAnchor.x;
    float inputY = kEntryAnchor.y;
    std::string entryText;
    float entryValue = 0;
    std::string lastKey;

    // Cells, span arcs and the grid.
    int lineColor = 0;
    int boxFillColor = 15;
    float boxWidth = 0;
    float boxHeight = 0;
    std::string upperText;
    std::string lowerText;
    float arcX1 = 0, arcY1 = 0, arcX2 = 0, arcY2 = 0;
    float arcHeight = 0;
    float arcSide = 1;
    float arcStep = 5;
    std::string labelText;
    float gridX = 0, gridY = 0, gridCell = 0, gridColumns = 0, gridRows = 0;
    float gridOriginX = 0, gridOriginY = 0;

    std::string programTitle;

    // Working tables.
    Table<float> practiceNum{80};
    Table<std::string> practiceText{80};
    Table<float> constNum{40};
    Table<std::string> constText{40};
    Table<float> termNum{40};
    Table<std::string> termText{20};
    Table<float> markNum{40};
    Table<std::string> markText{20};
    Table<float> pointX{50};
    Table<float> pointY{50};
    Table<std::string> rowText{40};
    Table<float> pickList{9};

private:
    FormulaLayoutState formulaLayout_;
    friend struct FormulaLayoutWriter;  // engine/text/layout_state.h
    friend void keepValue(ByteWriter& w, const EngineState& state);
    friend void takeValue(ByteReader& r, EngineState& state);
};

// The state of a round in bytes, for the place kept across a reopening, and
// back: the engine's variables, and a loop's own values (each kind of value
// a loop keeps has its pair, found beside its type).
void keepValue(ByteWriter& w, const EngineState& state);
void takeValue(ByteReader& r, EngineState& state);  // throws PlaceUnreadable
inline void keepValue(ByteWriter& w, int n) { w.signedNumber(n); }
inline void takeValue(ByteReader& r, int& n) { n = r.integer(); }

struct Engine : EngineState {
    explicit Engine(ProgramRun& run) : run(run), layer(run.layer()), session(run.session()) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    ProgramRun& run;
    Layer& layer;      // what the program draws through
    Session& session;  // the keys it reads and the waits it begins

    // A fresh random number in [0, 1) from the run's generator.
    float rnd() { return run.rnd(); }
};

// The top of one round of a loop that a step back can go on from: the
// program's state there is the engine's variables and the loop's own
// (`state`, each a copyable value) and nothing else on the stack. The run
// keeps them (see ProgramRun::roundBegins); in a replay it may go on from a later
// round kept, and then they are given back here.
struct Round {
    std::size_t scope;  // the waits begun before the loop: one loop of one run
    WaitKind kind;      // the wait the loop waits at: main menu, sub-menu or step
};

template <class... State>
void beginRound(Engine& e, const Round& round, State&... state) {
    using Kept = std::tuple<EngineState, std::remove_cvref_t<State>...>;
    static const AboveCodec codec{
        [](ByteWriter& w, const std::any& kept) {
            std::apply([&](const auto&... value) { (keepValue(w, value), ...); }, std::any_cast<const Kept&>(kept));
        },
        [](ByteReader& r) {
            Kept kept;
            std::apply([&](auto&... value) { (takeValue(r, value), ...); }, kept);
            return std::any(std::move(kept));
        }};
    const std::any* kept = e.run.roundBegins(
        round.scope, round.kind, [&] { return std::any(Kept{static_cast<const EngineState&>(e), state...}); }, codec);
    if (kept) std::tie(static_cast<EngineState&>(e), state...) = std::any_cast<const Kept&>(*kept);
}

// A loop's scope, taken as it begins.
inline Round roundOf(Engine& e, WaitKind kind) { return {e.session.waitsBegun(), kind}; }

}  // namespace lesson
