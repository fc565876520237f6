#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace glugmo {

// FileSystem on POSIX calls. The data folder is given by the backend, which
// knows the desktop's conventions for it.
class PosixFileSystem final : public FileSystem {
public:
    explicit PosixFileSystem(std::optional<std::string> applicationSupportDirectory);

    std::optional<std::string> applicationSupportDirectory() const override;
    bool fileExists(const std::string& path) const override;
    std::optional<std::string> readFile(const std::string& path) const override;
    bool createDirectories(const std::string& path) override;
    bool writeFileAtomically(const std::string& path, std::string_view bytes) override;
    bool removeFile(const std::string& path) override;

    // writeFileAtomically, saying why it failed: 0 once the path holds the
    // bytes, else the errno of the step that failed. The path is then as it
    // was and no temporary file is left.
    int replaceFile(const std::string& path, std::string_view bytes);

private:
    std::optional<std::string> applicationSupportDirectory_;
};

}  // namespace glugmo
