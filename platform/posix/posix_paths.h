#pragma once

#include <optional>
#include <string>

namespace glugmo {

// The running executable's absolute path, or nothing.
std::optional<std::string> executablePath();

// $XDG_CONFIG_HOME, else ~/.config; nothing without either.
std::optional<std::string> configHome();

}  // namespace glugmo
