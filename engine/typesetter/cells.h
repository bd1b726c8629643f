#pragma once
// Table cells with a formula centred in them, labelled span arcs of dots over
// a segment, and the squared grid.

#include "engine/engine.h"

namespace lesson {

// Filled cell at (textX, textY) of boxWidth x boxHeight with workText centred.
void drawBoxedFormula(Engine& e);
// The text at textY itself and the cell placed around it.
void drawBoxAroundFormula(Engine& e);
// A cell with upperText over lowerText.
void drawTwoLineBox(Engine& e);
// Direction of q seen from p, radians counter-clockwise with y up, 0..2π.
float directionAngle(float px, float py, float qx, float qy);
// Places labelText beside the vertex (mx, my) on the side away from the chord p1-p2.
void placeLabelAt(Engine& e, float mx, float my, float p1x, float p1y, float p2x, float p2y, float side);
// Dotted half ellipse over (arcX1, arcY1)-(arcX2, arcY2) with its label.
void drawSpanArc(Engine& e);
// Squared grid; sets gridOriginX, gridOriginY.
void drawGrid(Engine& e);

}  // namespace lesson
