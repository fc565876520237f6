#pragma once

#include <string>
#include <vector>

namespace glugmo {

struct CommandLine {
    enum class Action { Run, Help, Version, Autostart, Usage };
    Action action = Action::Run;
    bool autostartOn = false;  // with Action::Autostart
    std::string error;         // with Action::Usage: what was wrong
};

// Reads the program's arguments (without the program name).
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText(const std::string& programName);

}  // namespace glugmo
