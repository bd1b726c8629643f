#pragma once
// A pen width for one part of a page: the part is drawn in it, and the width
// that stood before comes back when the part is done.
//
//   {
//       const ScopedPenWidth dots(e, 5);
//       runSpanArc(e, arc);
//   }
//
// A page's own width is set and stays set after the page: the sub-menu's
// entry field and the next page's blank are drawn in the width a page leaves.
//
// Only a part left normally gives the width back. A step back or the end of
// the program unwinds through the part after the layer has begun its run
// again from its own start state; the part then leaves that state alone.

#include "engine/engine.h"

#include <exception>

namespace lesson {

class ScopedPenWidth {
public:
    ScopedPenWidth(Engine& e, float width)
        : layer_(e.layer), before_(e.layer.drawWidth()), unwinding_(std::uncaught_exceptions()) {
        layer_.setDrawWidth(width);
    }
    ~ScopedPenWidth() {
        if (std::uncaught_exceptions() == unwinding_) layer_.setDrawWidth(before_);
    }
    ScopedPenWidth(const ScopedPenWidth&) = delete;
    ScopedPenWidth& operator=(const ScopedPenWidth&) = delete;

private:
    Layer& layer_;
    float before_;
    int unwinding_;  // exceptions in flight when the part began
};

}  // namespace lesson
