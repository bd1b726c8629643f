#pragma once
// Labelled span arcs of a figure as data: one row per arc (segment, colours,
// side, step, height, label, wait), drawn by drawSpanArc.
//
//   runSpanArcs(e, {
//       {.from = {76, 165}, .to = {556, 165}, .textColor = 7, .lineColor = 7, .side = -1, .step = 6,
//        .height = 3, .label = "1200円", .wait = key},
//   });

#include "engine/graphics/commands.h"
#include "engine/pages/rows.h"

#include <string>
#include <vector>

namespace lesson {

struct SpanArc {
    Point from;
    Point to;
    int textColor;  // the label
    int lineColor;  // the dots
    float side;     // 1 or -1
    float step;     // degrees between two dots
    float height;   // bulge at the middle
    std::string label;
    Wait wait = Wait::None;
};

// Sets the arc variables and calls drawSpanArc; textX, textY are left where
// the label ended. Waits for a key when the row says so.
void runSpanArc(Engine& e, const SpanArc& arc);
void runSpanArcs(Engine& e, const std::vector<SpanArc>& arcs);

}  // namespace lesson
