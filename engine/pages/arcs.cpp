#include "engine/pages/arcs.h"

#include "engine/prompts/prompts.h"
#include "engine/typesetter/cells.h"

namespace lesson {

void runSpanArc(Engine& e, const SpanArc& arc) {
    e.arcX1 = arc.from.x;
    e.arcY1 = arc.from.y;
    e.arcX2 = arc.to.x;
    e.arcY2 = arc.to.y;
    e.textColor = arc.textColor;
    e.lineColor = arc.lineColor;
    e.arcSide = arc.side;
    e.arcStep = arc.step;
    e.arcHeight = arc.height;
    e.labelText = arc.label;
    drawSpanArc(e);
    if (arc.wait == Wait::Key) {
        // The prompt keeps textColor but not the label's end: keep both.
        const float endX = e.textX, endY = e.textY;
        anyKeyPrompt(e);
        e.textX = endX;
        e.textY = endY;
    }
}

void runSpanArcs(Engine& e, const std::vector<SpanArc>& arcs) {
    for (const SpanArc& arc : arcs) runSpanArc(e, arc);
}

}  // namespace lesson
