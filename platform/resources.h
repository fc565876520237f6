#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glugmo {

// The program's bundled pictures, looked up by base name and extension at
// the top level of the resource folder.
class Resources {
public:
    virtual ~Resources() = default;
    virtual std::optional<std::string> pathFor(std::string_view name,
                                               std::string_view extension) const = 0;
};

}  // namespace glugmo
