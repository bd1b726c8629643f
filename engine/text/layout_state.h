#pragma once
// Write access to the formula layout state, for the typesetter and the
// plain-text routines alone (the build refuses this header anywhere else in
// the engine and in the lessons). Everyone else reads Engine::formulaLayout().

#include "engine/engine.h"

namespace lesson {

struct FormulaLayoutWriter {
    static FormulaLayoutState& of(Engine& e) { return e.formulaLayout_; }
};

}  // namespace lesson
