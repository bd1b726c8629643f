// The engine's variables in bytes and back, for the place a run keeps: in
// the order they are declared, each table with its bound.

#include "engine/engine.h"

namespace lesson {

namespace {

void keepTable(ByteWriter& w, const Table<float>& table) {
    w.number(static_cast<std::uint64_t>(table.bound()));
    for (int i = 0; i <= table.bound(); ++i) w.real(table(i));
}

void keepTable(ByteWriter& w, const Table<std::string>& table) {
    w.number(static_cast<std::uint64_t>(table.bound()));
    for (int i = 0; i <= table.bound(); ++i) w.text(table(i));
}

void takeTable(ByteReader& r, Table<float>& table) {
    if (r.number() != static_cast<std::uint64_t>(table.bound())) throw PlaceUnreadable("a table of another size");
    for (int i = 0; i <= table.bound(); ++i) table(i) = r.real();
}

void takeTable(ByteReader& r, Table<std::string>& table) {
    if (r.number() != static_cast<std::uint64_t>(table.bound())) throw PlaceUnreadable("a table of another size");
    for (int i = 0; i <= table.bound(); ++i) table(i) = r.text();
}

// Each variable once, for writing and for reading alike.
template <class State, class Texts, class Reals, class Integers, class Tables>
void eachVariable(State& s, Texts texts, Reals reals, Integers integers, Tables tables) {
    texts(s.textString);
    reals(s.textX);
    reals(s.textY);
    integers(s.textColor);
    texts(s.workText);
    reals(s.formulaWidth);
    texts(s.convChar);
    reals(s.runEndX);
    reals(s.fracNum);
    reals(s.fracDen);
    texts(s.fracText);
    reals(s.inputX);
    reals(s.inputY);
    texts(s.entryText);
    reals(s.entryValue);
    texts(s.lastKey);
    integers(s.lineColor);
    integers(s.boxFillColor);
    reals(s.boxWidth);
    reals(s.boxHeight);
    texts(s.upperText);
    texts(s.lowerText);
    for (auto* f : {&s.arcX1, &s.arcY1, &s.arcX2, &s.arcY2, &s.arcHeight, &s.arcSide, &s.arcStep}) reals(*f);
    texts(s.labelText);
    for (auto* f : {&s.gridX, &s.gridY, &s.gridCell, &s.gridColumns, &s.gridRows, &s.gridOriginX, &s.gridOriginY})
        reals(*f);
    texts(s.programTitle);
    tables(s.practiceNum);
    tables(s.practiceText);
    tables(s.constNum);
    tables(s.constText);
    tables(s.termNum);
    tables(s.termText);
    tables(s.markNum);
    tables(s.markText);
    tables(s.pointX);
    tables(s.pointY);
    tables(s.rowText);
    tables(s.pickList);
}

}  // namespace

void keepValue(ByteWriter& w, const EngineState& state) {
    eachVariable(
        state, [&](const std::string& s) { w.text(s); }, [&](const float& f) { w.real(f); },
        [&](const int& n) { w.signedNumber(n); }, [&](const auto& table) { keepTable(w, table); });
    const FormulaLayoutState& layout = state.formulaLayout_;
    w.signedNumber(layout.fractionMode);
    w.signedNumber(layout.superscriptPending);
    w.signedNumber(layout.raisedPending);
    w.number(static_cast<std::uint64_t>(layout.rootMode));
    w.real(layout.rootBarStartX);
}

void takeValue(ByteReader& r, EngineState& state) {
    eachVariable(
        state, [&](std::string& s) { s = r.text(); }, [&](float& f) { f = r.real(); }, [&](int& n) { n = r.integer(); },
        [&](auto& table) { takeTable(r, table); });
    FormulaLayoutState& layout = state.formulaLayout_;
    layout.fractionMode = r.integer();
    layout.superscriptPending = r.integer();
    layout.raisedPending = r.integer();
    const std::uint64_t root = r.number();
    if (root > static_cast<std::uint64_t>(RootMode::Tall)) throw PlaceUnreadable("no such root");
    layout.rootMode = static_cast<RootMode>(root);
    layout.rootBarStartX = r.real();
}

}  // namespace lesson
