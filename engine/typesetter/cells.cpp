#include "engine/typesetter/cells.h"

#include "engine/graphics/colour_roles.h"
#include "engine/graphics/trig.h"
#include "engine/typesetter/formula.h"
#include "engine/typesetter/glyph_rules.h"

#include <cmath>

namespace lesson {

namespace {

// A cell's or a label's text laid out once, at the page's corner in the
// text colour: its box places it, and it is drawn from there.
FormulaLayout laidOut(Engine& e, const std::string& text) { return layoutFormula(e, text, 0, 0, e.textColor); }

float indentFor(float boxWidth, float width) {
    const float p = (boxWidth - width) / 2;
    return p < 0 ? 0 : p;
}

// The top of the text's line when its box is centred in a band of the given
// height (a fraction's line stands lower than its box's top).
float lineTop(float band, const FormulaBox& box) { return std::floor((band - box.height()) / 2) - box.top; }

}  // namespace

void drawBoxedFormula(Engine& e) {
    const float x0 = e.textX, y0 = e.textY;
    const FormulaLayout text = laidOut(e, e.workText);
    e.layer.box(x0, y0, x0 + e.boxWidth, y0 + e.boxHeight, e.lineColor, e.boxFillColor);
    drawFormulaLayout(e, text, x0 + indentFor(e.boxWidth, text.box.width), y0 + lineTop(e.boxHeight, text.box));
    e.textX = x0 + e.boxWidth;
    e.textY = y0;
}

void drawBoxAroundFormula(Engine& e) {
    const float x0 = e.textX, y0 = e.textY;
    const FormulaLayout text = laidOut(e, e.workText);
    // The cell is centred on the text's first line, whatever the text holds.
    const float d = std::floor((e.boxHeight - kLineHeight) / 2);
    e.layer.box(x0, y0 - d, x0 + e.boxWidth, y0 + e.boxHeight - d, e.lineColor, e.boxFillColor);
    drawFormulaLayout(e, text, x0 + indentFor(e.boxWidth, text.box.width), y0);
    e.textX = x0 + e.boxWidth;
    e.textY = y0;
}

void drawTwoLineBox(Engine& e) {
    const float x0 = e.textX, y0 = e.textY;
    const float h2 = e.boxHeight / 2;
    const bool oneLine = e.lowerText.empty();

    const FormulaLayout upper = laidOut(e, e.upperText);
    const float t1 = y0 + lineTop(h2, upper.box);
    e.layer.box(x0, y0, x0 + e.boxWidth, y0 + e.boxHeight, e.lineColor, e.boxFillColor);
    drawFormulaLayout(e, upper, x0 + indentFor(e.boxWidth, upper.box.width), oneLine ? t1 + 25 : t1);

    // The lower line is set as the upper half would centre it, one line
    // further down: a line's drop is its box's bottom less the rise above it.
    const FormulaLayout lower = laidOut(e, e.lowerText);
    drawFormulaLayout(e, lower, x0 + indentFor(e.boxWidth, lower.box.width),
                      y0 + (lower.box.bottom + lower.box.top) + lineTop(h2, lower.box));

    e.textX = x0 + e.boxWidth;
    e.textY = y0;
}

float directionAngle(float px, float py, float qx, float qy) {
    if (qy < py) return kPi / 2 + arcTangent((qx - px) / (qy - py));
    if (qy > py) return 3 * kPi / 2 + arcTangent((qx - px) / (qy - py));
    return qx > px ? 0.0f : kPi;
}

void placeLabelAt(Engine& e, float mx, float my, float p1x, float p1y, float p2x, float p2y, float side) {
    const FormulaLayout label = laidOut(e, e.labelText);
    const float w = label.box.width;
    // How far the label's line top moves from below the vertex to above it:
    // the box's height, and a fraction's rise once more.
    const float reach = label.box.height() - label.box.top;
    float a1 = directionAngle(mx, my, p1x, p1y);
    float a2 = directionAngle(mx, my, p2x, p2y);
    if (side == -1) std::swap(a1, a2);
    float beta = (a1 + a2) / 2;
    if (a2 < a1) beta += kPi;  // away from the chord: the label stands outside the arc
    drawFormulaLayout(e, label, mx + w * (cosine(beta) / 2 - 0.5f), my - reach * (sine(beta) / 2 + 0.5f));
}

void drawSpanArc(Engine& e) {
    float h = e.arcHeight;
    if (h > 0 && h < 16) h = 16 * h;
    if (h < 0) h = -h;
    const float p1x = e.arcX1, p1y = e.arcY1;
    const float r = hypotenuse(e.arcX2 - p1x, e.arcY2 - p1y) / 2;
    const float theta = directionAngle(p1x, p1y, e.arcX2, e.arcY2);
    const float kx = p1x + r, ky = p1y;
    const float start = e.arcSide > 0 ? 180.0f : 0.0f;
    const float end = start + 180;

    auto pointAt = [&](float degrees) {
        const float phi = degrees * kPi / 180;
        const float lx = kx + r * cosine(phi);
        const float ly = ky - h * sine(phi);
        const float delta = directionAngle(p1x, p1y, lx, ly);
        const float rho = hypotenuse(lx - p1x, ly - p1y);
        return Point{p1x + rho * cosine(theta + delta), p1y - rho * sine(theta + delta)};
    };

    // A step that is not positive would never reach the end: then only the first dot is drawn.
    const float step = e.arcStep;
    for (float a = start; a <= end; a += step) {
        const Point dot = pointAt(a);
        e.layer.circle(dot.x, dot.y, 0.5f, e.lineColor);
        if (!(step > 0)) break;
    }
    const Point middle = pointAt((start + end) / 2);
    placeLabelAt(e, middle.x, middle.y, p1x, p1y, e.arcX2, e.arcY2, e.arcSide);
    e.labelText.clear();
}

void drawGrid(Engine& e) {
    Layer& g = e.layer;
    const float pen = g.drawWidth();
    const float right = e.gridX + e.gridCell * e.gridColumns;
    const float bottom = e.gridY + e.gridCell * e.gridRows;
    e.gridOriginX = e.gridX;
    e.gridOriginY = bottom;
    if (e.lineColor == kWhite) {
        g.setDrawWidth(pen);
        return;
    }
    auto setPen = [&](int i) -> int {
        const bool heavy = i % 5 == 0;
        g.setDrawWidth(heavy ? 3 : 1);
        return heavy ? colour::kHeavyGridLine : e.lineColor;
    };
    for (int i = 0; i <= static_cast<int>(e.gridColumns); ++i) {
        const int color = setPen(i);
        const float x = e.gridX + e.gridCell * i;
        g.line(x, e.gridY, x, bottom, color);
    }
    for (int j = 0; j <= static_cast<int>(e.gridRows); ++j) {
        const int color = setPen(j);
        const float y = bottom - e.gridCell * j;
        g.line(e.gridX, y, right, y, color);
    }
    g.setDrawWidth(pen);
}

}  // namespace lesson
