#pragma once

#include <optional>

namespace glugmo::x11 {

// Whether an X server answers on $DISPLAY, asked before Qt starts, since Qt
// aborts the process when it cannot open its display; nothing where the
// program is not built for X11.
std::optional<bool> serverAnswers();

}  // namespace glugmo::x11
