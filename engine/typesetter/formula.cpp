#include "engine/typesetter/formula.h"

#include "engine/text/chars.h"
#include "engine/typesetter/glyph_rules.h"

namespace lesson {

namespace {

constexpr std::string_view kNormalFace = "ゴシック";
constexpr float kNormalSize = 16;
constexpr float kMeasureY = 1800;  // far below the page: measuring draws there, unseen

bool isOneOf(std::string_view ch, std::string_view chars) {
    for (std::string_view c : splitChars(chars))
        if (c == ch) return true;
    return false;
}

bool holds(const GlyphCondition& when, std::string_view ch, const Engine& e) {
    if (!when.chars.empty() && !isOneOf(ch, when.chars)) return false;
    if (when.fraction == InFraction::Yes && e.fractionMode != 1) return false;
    if (when.fraction == InFraction::No && e.fractionMode != 0) return false;
    if (when.pending == Pending::Superscript && e.superscriptPending != 1) return false;
    if (when.pending == Pending::Raised && e.raisedPending != 1) return false;
    if (when.doubleByte && isSingleByte(ch)) return false;
    return true;
}

const GlyphRule& ruleFor(std::string_view ch, const Engine& e) {
    for (const GlyphRule& rule : kGlyphRules)
        if (holds(rule.when, ch, e)) return rule;
    return kGlyphRules.back();
}

std::string_view substitute(std::string_view ch) {
    for (const auto& [from, to] : kSubstitutions)
        if (ch == from) return to;
    return ch;
}

void drawGlyph(Engine& e, const GlyphDrawing& d, std::string_view ch, float x, float y) {
    Layer& g = e.layer;
    if (!d.face.empty()) g.setFontName(d.face);
    if (d.size != 0) g.setFontSize(d.size);
    if (d.italic) g.setFontItalic(true);
    if (d.boldOn) g.setFontBold(true);
    g.text(x + d.dx, y + d.dy, ch, d.mx, d.my, e.textColor);
    if (!d.face.empty()) g.setFontName(kNormalFace);
    if (d.size != 0) g.setFontSize(kNormalSize);
    if (d.italic) g.setFontItalic(false);
    if (d.boldOffAfter) g.setFontBold(false);
}

void drawFigure(Engine& e, const GlyphDrawing& d, float x, float y) {
    Layer& g = e.layer;
    using Kind = GlyphDrawing::Kind;
    g.setDrawWidth(d.pen);
    if (d.kind == Kind::Lines) {
        for (int i = 0; i < d.count; ++i) {
            const Offset start = d.points[2 * i];
            const Offset length = d.points[2 * i + 1];
            g.lineRelative(x + start.dx, y + start.dy, length.dx, length.dy, e.textColor);
        }
    } else {
        std::vector<Point> pts;
        for (int i = 0; i < d.count; ++i) pts.push_back({x + d.points[i].dx, y + d.points[i].dy});
        g.polyline(pts, e.textColor);
    }
    if (d.pen != 3) g.setDrawWidth(3);
}

// The over-bar of an open root grows to the pen point x.
void overBarStep(Engine& e, float x) {
    float barY = 0;
    if (e.rootMode == 1) barY = e.textY - 4;
    else if (e.rootMode == 11) barY = e.textY - 6;
    else if (e.rootMode == 22 && e.fractionMode == 0) barY = e.textY - 14;
    else {
        e.rootBarStartX = x;
        return;
    }
    e.layer.setDrawWidth(3);
    e.layer.line(e.rootBarStartX, barY, x, barY, e.textColor);
}

struct MeasureGuard {
    explicit MeasureGuard(Engine& e) : e(e) { ++e.measuring; }
    ~MeasureGuard() { --e.measuring; }
    Engine& e;
};

}  // namespace

void typesetRun(Engine& e) {
    Layer& g = e.layer;
    const float pen = g.drawWidth();
    g.setFontName(kNormalFace);
    g.setFontSize(kNormalSize);
    g.setFontBold(true);
    float x = e.textX;
    const float y = e.textY;
    for (std::string_view raw : splitChars(e.workText)) {
        const std::string_view ch = substitute(raw);
        const GlyphRule& rule = ruleFor(ch, e);
        using Kind = GlyphDrawing::Kind;
        if (rule.draw.kind == Kind::Glyph) drawGlyph(e, rule.draw, ch, x, y);
        else if (rule.draw.kind != Kind::Nothing) drawFigure(e, rule.draw, x, y);
        x += rule.advance;
        switch (rule.then) {
            case Then::SetSuperscript: e.superscriptPending = 1; break;
            case Then::SetRaised: e.raisedPending = 1; break;
            case Then::CloseRoot: e.rootMode = 0; break;
            case Then::OpenRoot: e.rootMode = 1; e.rootBarStartX = x; break;
            case Then::OpenSmallRoot: e.rootMode = 11; e.rootBarStartX = x; break;
            case Then::BarStartAfter: e.rootBarStartX = x; break;
            case Then::ClearRaised: e.raisedPending = 0; overBarStep(e, x); break;
            case Then::ClearSuperscript: e.superscriptPending = 0; overBarStep(e, x); break;
            case Then::BarStep: overBarStep(e, x); break;
        }
    }
    e.textX = x;
    e.textY = y;
    g.setFontBold(false);
    g.setDrawWidth(pen);
}

void measureFormula(Engine& e) {
    const float x = e.textX;
    const float y = e.textY;
    const std::string text = e.workText;
    e.textX = 0;
    e.textY = kMeasureY;
    e.textString = text;
    {
        MeasureGuard guard(e);
        drawFormula(e);
    }
    e.formulaWidth = e.textX;
    e.textX = x;
    e.textY = y;
    e.workText = text;
    e.textString.clear();
}

void drawFraction(Engine& e) {
    const float x0 = e.textX;
    const float y0 = e.textY;
    const std::string text = e.workText;
    const bool hasRoot = text.find('!') != std::string::npos || text.find("√") != std::string::npos;
    const int slash = charFind(text, "/");
    // A fraction without "/" is drawn as a numerator over an empty denominator.
    const std::string numerator = slash < 0 ? text : charSlice(text, 0, slash);
    const std::string denominator = slash < 0 ? std::string() : charSlice(text, slash + 1);

    e.fractionMode = 1;
    e.workText = numerator;
    measureFormula(e);
    const float wN = e.formulaWidth;
    e.workText = denominator;
    measureFormula(e);
    const float wD = e.formulaWidth;
    e.fractionMode = 0;

    const float w = wN >= wD ? wN : wD;
    const float indentN = (w - wN) / 2;
    const float indentD = (w - wD) / 2;

    Layer& g = e.layer;
    const float pen = g.drawWidth();
    g.setDrawWidth(4);
    g.line(x0, y0 + 25, x0 + w, y0 + 25, e.textColor);
    g.setDrawWidth(pen);
    if (e.rootMode == 22) {
        // The tall root's over-bar runs across the whole fraction.
        g.setDrawWidth(3);
        g.line(x0, y0 - 14, x0 + w, y0 - 14, e.textColor);
        g.setDrawWidth(pen);
    }
    float denominatorTop = y0 + 28;
    if (denominator.find("√") != std::string::npos || denominator.find('^') != std::string::npos)
        denominatorTop = y0 + 36;
    if (hasRoot) denominatorTop += 8;

    e.textX = x0 + indentD;
    e.textY = denominatorTop;
    e.fractionMode = 1;
    e.workText = denominator;
    typesetRun(e);

    e.textX = x0 + indentN;
    e.textY = y0 - 10;
    e.fractionMode = 1;
    e.workText = numerator;
    typesetRun(e);

    e.fractionMode = 0;
    e.textX = x0 + w;
    e.textY = y0;
}

void drawFormula(Engine& e) {
    const bool traced = e.measuring == 0;
    const std::string text = traced ? e.textString : std::string();
    const float startX = e.textX;
    const float startY = e.textY;
    const int color = e.textColor;
    Layer& g = e.layer;
    const float pen = g.drawWidth();

    std::string rest = std::move(e.textString);
    e.textString.clear();
    std::size_t pos = 0;
    while (pos < rest.size()) {
        const std::size_t n = charLength(rest, pos);
        const std::string_view ch = std::string_view(rest).substr(pos, n);
        pos += n;
        if (ch == "ﾀ") {
            const std::size_t close = rest.find("ﾀ", pos);
            if (close == std::string::npos) continue;  // a lone bracket is dropped
            e.workText = rest.substr(pos, close - pos);
            pos = close + std::string_view("ﾀ").size();
            drawFraction(e);
        } else if (ch == "#") {
            // A tall root sign that covers the fraction after it.
            const float x = e.textX, y = e.textY;
            g.setDrawWidth(3);
            g.polyline({{x + 4, y + 36}, {x + 8, y + 24}, {x + 16, y + 60}, {x + 30, y - 14}, {x + 38, y - 14}},
                       e.textColor);
            e.rootMode = 22;
            g.setDrawWidth(pen);
            e.textX += 32;
            e.rootBarStartX = e.textX;
        } else if (ch == "^") {
            e.superscriptPending = 1;
        } else {
            e.workText = std::string(ch);
            typesetRun(e);
        }
    }
    g.setDrawWidth(pen);
    if (traced) g.traceFormula(text, startX, startY, color, e.textX);
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
