#pragma once
// Command line of both programs.

#include "engine/graphics/layer.h"

#include <optional>
#include <string>
#include <vector>

namespace lesson {

struct CommandLine {
    enum class Action { Run, Help, Version, Error } action = Action::Run;
    LayerOptions layer;
    std::string error;
};

CommandLine parseCommandLine(const std::vector<std::string>& args);
// Why one of the files asked for cannot be written (a missing folder, a
// folder, no permission), found before the run; or nothing.
std::optional<std::string> unwritableOutput(const LayerOptions& options);
std::string usageText(const std::string& name);

}  // namespace lesson
