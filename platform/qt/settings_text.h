#pragma once

#include <QVariant>
#include <optional>
#include <string>

namespace glugmo {

// A stored setting as the text the behaviour reads: "true"/"false" for a
// boolean, the shortest text that reads back to the same double for a number,
// a list joined with ", ", strings as they are. Nothing for an absent value
// or one that has no textual form.
std::optional<std::string> settingText(const QVariant& value);

}  // namespace glugmo
