#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glugmo {

// The user's settings. Values come back as the text they are stored as (the
// store may have been edited by hand); menu/settings_rules.h reads them.
// Every set is written through to disk before it returns; one the disk
// refuses stays in effect until the program quits.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key holds no value.
    virtual std::optional<std::string> rawValue(std::string_view key) const = 0;
    virtual void setBool(std::string_view key, bool value) = 0;
    virtual void setDouble(std::string_view key, double value) = 0;
};

}  // namespace glugmo
