#include "engine/typesetter/formula.h"

#include "engine/chars/chars.h"
#include "engine/text/layout_state.h"
#include "engine/typesetter/glyph_rules.h"

#include <algorithm>
#include <optional>

namespace lesson {

namespace {

constexpr std::string_view kNormalFace = "ゴシック";
constexpr float kNormalSize = 16;

// Walks the characters in place: it runs for every glyph of every formula,
// and a step back lays out a whole session again.
bool isOneOf(std::string_view ch, std::string_view chars) {
    for (std::size_t pos = 0; pos < chars.size();) {
        const std::size_t n = charLength(chars, pos);
        if (chars.substr(pos, n) == ch) return true;
        pos += n;
    }
    return false;
}

bool holds(const GlyphCondition& when, std::string_view ch, const FormulaLayoutState& s) {
    if (!when.chars.empty() && !isOneOf(ch, when.chars)) return false;
    if (when.fraction == InFraction::Yes && s.fractionMode != 1) return false;
    if (when.fraction == InFraction::No && s.fractionMode != 0) return false;
    if (when.pending == Pending::Superscript && s.superscriptPending != 1) return false;
    if (when.pending == Pending::Raised && s.raisedPending != 1) return false;
    if (when.doubleByte && isSingleByte(ch)) return false;
    return true;
}

const GlyphRule& ruleFor(std::string_view ch, const FormulaLayoutState& s) {
    for (const GlyphRule& rule : kGlyphRules)
        if (holds(rule.when, ch, s)) return rule;
    return kGlyphRules.back();
}

std::string_view substitute(std::string_view ch) {
    for (const auto& [from, to] : kSubstitutions)
        if (ch == from) return to;
    return ch;
}

// Lays a formula out: the glyph rules for runs of characters, and the
// constructs of the markup (fraction, tall root, exponent mark) beside them.
// It keeps the pen width and font the marks will be drawn in. The pen steps
// on from the origin in page coordinates, as the layout state's bar start
// is one, so that every mark lands where a glyph-by-glyph pen puts it.
class Typesetter {
public:
    Typesetter(Engine& e, FormulaLayout& out)
        : e_(e), state_(FormulaLayoutWriter::of(e)), out_(out), marks_(&out.marks), x_(out.origin.x),
          y_(out.origin.y), font_(e.layer.font()), pen_(e.layer.drawWidth()) {
        out_.box = {0, 0, kLineHeight};
    }

    // The formula `markup` from the origin; the box's width is its advance.
    void formula(std::string_view markup);

    FontState font() const { return font_; }
    float pen() const { return pen_; }

private:
    using Construct = void (Typesetter::*)(std::string_view rest, std::size_t& pos);
    struct ConstructRow {
        std::string_view mark;
        Construct build;
    };
    static const std::array<ConstructRow, 3> kConstructs;

    void fractionConstruct(std::string_view rest, std::size_t& pos);
    void tallRootConstruct(std::string_view rest, std::size_t& pos);
    void exponentConstruct(std::string_view rest, std::size_t& pos);

    // A numerator or denominator, laid out once: its marks, its width, and
    // the bar start it left (if it moved it).
    struct Part {
        std::vector<FormulaMark> marks;
        float width = 0;
        std::optional<float> barStart;
    };
    Part part(const std::string& text, float x, float y);
    void place(Part& p, float dx);
    void fraction(const std::string& text);
    float run(std::string_view text);
    void glyph(const GlyphDrawing& d, std::string_view ch, float x, float y);
    void figure(const GlyphDrawing& d, float x, float y);
    void overBarStep(float x);

    void keep(FormulaMark m);
    void text(float x, float y, std::string_view ch, int mx, int my);
    void line(float x1, float y1, float x2, float y2);
    void polyline(std::vector<Point> points);

    Engine& e_;
    FormulaLayoutState& state_;
    FormulaLayout& out_;
    std::vector<FormulaMark>* marks_;  // where marks go: the layout's, or a fraction part's
    float x_, y_;                      // the pen point
    FontState font_;
    float pen_;
};

const std::array<Typesetter::ConstructRow, 3> Typesetter::kConstructs = {{
    {"ﾀ", &Typesetter::fractionConstruct},  // "ﾀ" numerator "/" denominator "ﾀ"
    {"#", &Typesetter::tallRootConstruct},  // a tall root over the fraction after it
    {"^", &Typesetter::exponentConstruct},  // the next character is an exponent
}};

// Keeps a mark in the present colour, pen and font.
void Typesetter::keep(FormulaMark m) {
    m.color = e_.textColor;
    m.pen = pen_;
    m.font = font_;
    marks_->push_back(std::move(m));
}

void Typesetter::text(float x, float y, std::string_view ch, int mx, int my) {
    FormulaMark m;
    m.kind = FormulaMark::Kind::Glyph;
    m.x1 = x;
    m.y1 = y;
    m.text = std::string(ch);
    m.mx = mx;
    m.my = my;
    keep(std::move(m));
}

void Typesetter::line(float x1, float y1, float x2, float y2) {
    FormulaMark m;
    m.kind = FormulaMark::Kind::Line;
    m.x1 = x1;
    m.y1 = y1;
    m.x2 = x2;
    m.y2 = y2;
    keep(std::move(m));
}

void Typesetter::polyline(std::vector<Point> points) {
    FormulaMark m;
    m.kind = FormulaMark::Kind::Polyline;
    m.points = std::move(points);
    keep(std::move(m));
}

void Typesetter::glyph(const GlyphDrawing& d, std::string_view ch, float x, float y) {
    if (!d.face.empty()) font_.name = std::string(d.face);
    if (d.size != 0) font_.size = d.size;
    if (d.italic) font_.italic = true;
    if (d.boldOn) font_.bold = true;
    text(x + d.dx, y + d.dy, ch, d.mx, d.my);
    if (!d.face.empty()) font_.name = std::string(kNormalFace);
    if (d.size != 0) font_.size = kNormalSize;
    if (d.italic) font_.italic = false;
    if (d.boldOffAfter) font_.bold = false;
}

void Typesetter::figure(const GlyphDrawing& d, float x, float y) {
    using Kind = GlyphDrawing::Kind;
    pen_ = d.pen;
    if (d.kind == Kind::Lines) {
        for (int i = 0; i < d.count; ++i) {
            const Offset start = d.points[2 * i];
            const Offset length = d.points[2 * i + 1];
            const float x1 = x + start.dx, y1 = y + start.dy;
            line(x1, y1, x1 + length.dx, y1 + length.dy);
        }
    } else {
        std::vector<Point> pts;
        for (int i = 0; i < d.count; ++i) pts.push_back({x + d.points[i].dx, y + d.points[i].dy});
        polyline(std::move(pts));
    }
    if (d.pen != 3) pen_ = 3;
}

// The over-bar of an open root grows to the pen point x.
void Typesetter::overBarStep(float x) {
    float barY = 0;
    if (state_.rootMode == RootMode::Open) barY = y_ - 4;
    else if (state_.rootMode == RootMode::OpenSmall) barY = y_ - 6;
    else if (state_.rootMode == RootMode::Tall && state_.fractionMode == 0) barY = y_ + kFraction.tallRootBarY;
    else {
        state_.rootBarStartX = x;
        return;
    }
    pen_ = 3;
    line(state_.rootBarStartX, barY, x, barY);
}

// One run of glyphs by the glyph rules from the pen point, which it
// advances; returns the sum of the advances.
float Typesetter::run(std::string_view text) {
    const float pen = pen_;
    float advance = 0;
    font_.name = std::string(kNormalFace);
    font_.size = kNormalSize;
    font_.bold = true;
    float x = x_;
    for (std::string_view raw : splitChars(text)) {
        const std::string_view ch = substitute(raw);
        const GlyphRule& rule = ruleFor(ch, state_);
        using Kind = GlyphDrawing::Kind;
        if (rule.draw.kind == Kind::Glyph) glyph(rule.draw, ch, x, y_);
        else if (rule.draw.kind != Kind::Nothing) figure(rule.draw, x, y_);
        x += rule.advance;
        advance += rule.advance;
        switch (rule.then) {
            case AfterGlyph::SetSuperscript: state_.superscriptPending = 1; break;
            case AfterGlyph::SetRaised: state_.raisedPending = 1; break;
            case AfterGlyph::CloseRoot: state_.rootMode = RootMode::Closed; break;
            case AfterGlyph::OpenRoot: state_.rootMode = RootMode::Open; state_.rootBarStartX = x; break;
            case AfterGlyph::OpenSmallRoot: state_.rootMode = RootMode::OpenSmall; state_.rootBarStartX = x; break;
            case AfterGlyph::BarStartAfter: state_.rootBarStartX = x; break;
            case AfterGlyph::ClearRaised: state_.raisedPending = 0; overBarStep(x); break;
            case AfterGlyph::ClearSuperscript: state_.superscriptPending = 0; overBarStep(x); break;
            case AfterGlyph::BarStep: overBarStep(x); break;
        }
    }
    x_ = x;
    font_.bold = false;
    pen_ = pen;
    return advance;
}

Typesetter::Part Typesetter::part(const std::string& text, float x, float y) {
    Part p;
    std::vector<FormulaMark>* outer = marks_;
    marks_ = &p.marks;
    const float barStart = state_.rootBarStartX;
    x_ = x;
    y_ = y;
    state_.fractionMode = 1;
    p.width = run(text);
    state_.fractionMode = 0;
    if (state_.rootBarStartX != barStart) p.barStart = state_.rootBarStartX;
    marks_ = outer;
    return p;
}

// Moves a part right by dx and keeps its marks.
void Typesetter::place(Part& p, float dx) {
    for (FormulaMark& m : p.marks) {
        m.x1 += dx;
        m.x2 += dx;
        for (Point& pt : m.points) pt.x += dx;
        marks_->push_back(std::move(m));
    }
    if (p.barStart) *p.barStart += dx;
}

// A built-up fraction ("num/den") at the pen point, its numerator and
// denominator each laid out once and centred over the wider of the two; the
// denominator is drawn first.
void Typesetter::fraction(const std::string& text) {
    const float x0 = x_;
    const float y0 = y_;
    const bool hasRoot = text.find('!') != std::string::npos || text.find("√") != std::string::npos;
    const int slash = charFind(text, "/");
    // A fraction without "/" is drawn as a numerator over an empty denominator.
    const std::string numerator = slash < 0 ? text : charSlice(text, 0, slash);
    const std::string denominator = slash < 0 ? std::string() : charSlice(text, slash + 1);

    float denominatorY = y0 + kFraction.denominatorTop;
    if (denominator.find("√") != std::string::npos || denominator.find('^') != std::string::npos)
        denominatorY = y0 + kFraction.denominatorTopLowered;
    if (hasRoot) denominatorY += kFraction.rootDrop;

    Part over = part(numerator, x0, y0 + kFraction.numeratorTop);
    Part under = part(denominator, x0, denominatorY);
    const float w = over.width >= under.width ? over.width : under.width;

    const float pen = pen_;
    pen_ = kFraction.barPen;
    line(x0, y0 + kFraction.barY, x0 + w, y0 + kFraction.barY);
    pen_ = pen;
    if (state_.rootMode == RootMode::Tall) {
        // The tall root's over-bar runs across the whole fraction.
        pen_ = 3;
        line(x0, y0 + kFraction.tallRootBarY, x0 + w, y0 + kFraction.tallRootBarY);
        pen_ = pen;
    }
    place(under, (w - under.width) / 2);
    place(over, (w - over.width) / 2);
    // The bar start is where the numerator, drawn last, left it.
    if (over.barStart) state_.rootBarStartX = *over.barStart;
    else if (under.barStart) state_.rootBarStartX = *under.barStart;

    out_.box.top = std::min(out_.box.top, y0 + kFraction.numeratorTop - out_.origin.y);
    out_.box.bottom = std::max(out_.box.bottom, denominatorY + kFractionPartHeight - out_.origin.y);
    x_ = x0 + w;
    y_ = y0;
}

void Typesetter::fractionConstruct(std::string_view rest, std::size_t& pos) {
    const std::size_t close = rest.find("ﾀ", pos);
    if (close == std::string_view::npos) return;  // a lone bracket is dropped
    const std::string inside(rest.substr(pos, close - pos));
    pos = close + std::string_view("ﾀ").size();
    fraction(inside);
}

void Typesetter::tallRootConstruct(std::string_view, std::size_t&) {
    const float x = x_, y = y_;
    const float pen = pen_;
    pen_ = 3;
    polyline({{x + 4, y + 36}, {x + 8, y + 24}, {x + 16, y + 60}, {x + 30, y - 14}, {x + 38, y - 14}});
    state_.rootMode = RootMode::Tall;
    pen_ = pen;
    x_ += 32;
    state_.rootBarStartX = x_;
}

void Typesetter::exponentConstruct(std::string_view, std::size_t&) { state_.superscriptPending = 1; }

void Typesetter::formula(std::string_view markup) {
    const float pen = pen_;
    std::size_t pos = 0;
    while (pos < markup.size()) {
        const std::size_t n = charLength(markup, pos);
        const std::string_view ch = markup.substr(pos, n);
        pos += n;
        const ConstructRow* construct = nullptr;
        for (const ConstructRow& row : kConstructs)
            if (row.mark == ch) construct = &row;
        if (construct) (this->*construct->build)(markup, pos);
        else run(ch);
    }
    out_.box.width = x_ - out_.origin.x;
    pen_ = pen;
}

}  // namespace

FormulaLayout layoutFormula(Engine& e, std::string_view markup, float x, float y, int color) {
    FormulaLayout layout;
    layout.origin = {x, y};
    layout.markup = std::string(markup);
    layout.color = color;
    const FormulaLayoutState before = e.formulaLayout();
    const int savedColor = e.textColor;
    e.textColor = color;
    Typesetter typesetter(e, layout);
    typesetter.formula(markup);
    layout.endFont = typesetter.font();
    layout.endPen = typesetter.pen();
    e.textColor = savedColor;
    const FormulaLayoutState& after = e.formulaLayout();
    layout.movable = before.rootMode == RootMode::Closed && after.rootMode == RootMode::Closed &&
                     after.fractionMode == before.fractionMode &&
                     after.superscriptPending == before.superscriptPending &&
                     after.raisedPending == before.raisedPending;
    return layout;
}

void emitFormula(Engine& e, const FormulaLayout& layout, float x, float y) {
    Layer& g = e.layer;
    const float dx = x - layout.origin.x, dy = y - layout.origin.y;
    for (const FormulaMark& m : layout.marks) {
        g.setFontName(m.font.name);
        g.setFontSize(m.font.size);
        g.setFontBold(m.font.bold);
        g.setFontItalic(m.font.italic);
        g.setDrawWidth(m.pen);
        switch (m.kind) {
            case FormulaMark::Kind::Glyph: g.text(m.x1 + dx, m.y1 + dy, m.text, m.mx, m.my, m.color); break;
            case FormulaMark::Kind::Line: g.line(m.x1 + dx, m.y1 + dy, m.x2 + dx, m.y2 + dy, m.color); break;
            case FormulaMark::Kind::Polyline: {
                std::vector<Point> points = m.points;
                for (Point& p : points) p = {p.x + dx, p.y + dy};
                g.polyline(points, m.color);
                break;
            }
        }
    }
    g.setFontName(layout.endFont.name);
    g.setFontSize(layout.endFont.size);
    g.setFontBold(layout.endFont.bold);
    g.setFontItalic(layout.endFont.italic);
    g.setDrawWidth(layout.endPen);
}

FormulaBox drawFormulaLayout(Engine& e, const FormulaLayout& layout, float x, float y) {
    if (!layout.movable && (x != layout.origin.x || y != layout.origin.y))
        return drawFormulaLayout(e, layoutFormula(e, layout.markup, x, y, layout.color), x, y);
    emitFormula(e, layout, x, y);
    e.textString.clear();
    e.textX = x + layout.box.width;
    e.textY = y;
    e.layer.traceFormula(layout.markup, x, y, layout.color, e.textX);
    return layout.box;
}

FormulaBox drawFormula(Engine& e) {
    const std::string text = std::move(e.textString);
    e.textString.clear();
    return drawFormulaLayout(e, layoutFormula(e, text, e.textX, e.textY, e.textColor), e.textX, e.textY);
}

FormulaBox measureFormula(Engine& e) {
    const FormulaBox box = layoutFormula(e, e.workText, 0, 0, e.textColor).box;
    e.formulaWidth = box.width;
    e.textString.clear();
    return box;
}

void dropLeadingPlus(Engine& e) {
    if (!e.workText.empty() && e.workText[0] == '+') e.workText.erase(0, 1);
}

float drawFormulaAt(Engine& e, float x, float y, int color, std::string text) {
    e.textX = x;
    e.textY = y;
    e.textColor = color;
    e.textString = std::move(text);
    drawFormula(e);
    return e.textX;
}

}  // namespace lesson
