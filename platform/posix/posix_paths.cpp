#include "platform/posix/posix_paths.h"

#include <unistd.h>

#include <cstdlib>

namespace glugmo {

std::optional<std::string> executablePath() {
    std::string buffer(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::nullopt;
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::optional<std::string> configHome() {
    // XDG base directories ignore a relative XDG_CONFIG_HOME.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return std::string(xdg);
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return std::string(home) + "/.config";
    return std::nullopt;
}

}  // namespace glugmo
