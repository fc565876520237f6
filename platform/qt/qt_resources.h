#pragma once

#include <QString>
#include <optional>

#include "platform/resources.h"

namespace glugmo {

// The program's pictures: "resources" beside the executable in a build tree,
// "../share/glugmo" in an installed tree, "../Resources" in a macOS bundle.
std::optional<QString> findResourceFolder(const QString& executableFolder);

class QtResources final : public Resources {
public:
    explicit QtResources(std::optional<QString> folder);
    std::optional<std::string> pathFor(std::string_view name,
                                       std::string_view extension) const override;

private:
    std::optional<QString> folder_;
};

}  // namespace glugmo
