#pragma once
// The lesson sections of Ratiora, one unit per section group, and its frame data.

#include "engine/frame/frame.h"

namespace ratiora {

void section1(lesson::Engine& e);  // 比例式

// Title, main menu and section entries.
lesson::ProgramSpec program();

}  // namespace ratiora
