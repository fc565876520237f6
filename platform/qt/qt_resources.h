#pragma once

#include <QString>
#include <functional>
#include <map>
#include <optional>

#include "platform/resources.h"

namespace glugmo {

// The program's pictures: "resources" beside the executable in a build tree,
// "../share/glugmo" in an installed tree, "../Resources" in a macOS bundle.
std::optional<QString> findResourceFolder(const QString& executableFolder);

// "pictures" in the user's Glugmo data folder, where a file named like one of
// ours stands in for it.
QString userPictureFolder(const QString& dataFolder);

class QtResources final : public Resources {
public:
    using Report = std::function<void(const std::string& line)>;

    // The user's folder is read once, here: each file in it named like one
    // of the built-in pictures is tried as a picture, and one that fails is
    // reported in one line and left for the built-in one.
    explicit QtResources(std::optional<QString> folder,
                         std::optional<QString> userFolder = std::nullopt,
                         const Report& report = reportOnStderr);
    std::optional<std::string> pathFor(std::string_view name,
                                       std::string_view extension) const override;

    static void reportOnStderr(const std::string& line);

private:
    std::optional<QString> folder_;
    std::map<QString, std::string> userFiles_;  // by file name
};

}  // namespace glugmo
