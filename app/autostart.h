#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace glugmo {

// The desktop entry that starts the pet at login (freedesktop autostart);
// nothing for a path no entry can name.
std::optional<std::string> autostartEntry(const std::string& executablePath);

// $XDG_CONFIG_HOME/autostart/glugmo.desktop, given the config folder.
std::string autostartPath(const std::string& configHome);

// Writes or removes the entry; false when that failed.
bool setAutostart(FileSystem& files, const std::string& configHome, bool on,
                  const std::string& executablePath);

}  // namespace glugmo
