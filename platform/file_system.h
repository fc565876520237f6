#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glugmo {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The user's per-application data folder (~/.local/share on Linux,
    // ~/Library/Application Support on macOS), or nothing.
    virtual std::optional<std::string> applicationSupportDirectory() const = 0;

    // Whether anything exists at the path, following symbolic links.
    virtual bool fileExists(const std::string& path) const = 0;

    // The whole contents of a regular file, or nothing when it cannot be read
    // (missing, a folder, no permission).
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;

    // Creates the folder and any missing parents; true when it exists after.
    virtual bool createDirectories(const std::string& path) = 0;

    // Writes to a new temporary file beside the path and renames it over the
    // path, so readers never see half a file and a symbolic link at the path
    // is replaced, never followed. Refuses (false) when something at the path
    // belongs to another user.
    virtual bool writeFileAtomically(const std::string& path, std::string_view bytes) = 0;

    // Removes a file (a link itself, never its target); true when nothing is
    // left at the path.
    virtual bool removeFile(const std::string& path) = 0;
};

}  // namespace glugmo
