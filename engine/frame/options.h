#pragma once
// Command line of both programs.

#include "engine/graphics/layer_options.h"
#include "engine/session/session.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lesson {

struct CommandLine {
    enum class Action { Run, Help, Version, Schemes, Error } action = Action::Run;
    LayerOptions layer;
    int walk = 0;  // --walk N: the main-menu section walked through, or 0
    std::string error;
};

CommandLine parseCommandLine(const std::vector<std::string>& args);
// Why one of the files asked for cannot be written (a missing folder, a
// folder, no permission), found before the run; or nothing.
std::optional<std::string> unwritableOutput(const LayerOptions& options);
std::string usageText(const std::string& name);
// The keys of --walk: the password, main-menu section `section`, each page
// of its sub-menu in turn (any key at an any-key wait, "1" and Enter at a
// step prompt), its last item, and "" (the end) back at the main menu.
std::function<std::string()> sectionWalk(const Session& session, int section);

}  // namespace lesson
