#pragma once
// Command line of both programs.

#include "engine/graphics/layer.h"

#include <string>
#include <vector>

namespace lesson {

struct CommandLine {
    enum class Action { Run, Help, Version, Error } action = Action::Run;
    LayerOptions layer;
    std::string error;
};

CommandLine parseCommandLine(const std::vector<std::string>& args);
std::string usageText(const std::string& name);

}  // namespace lesson
