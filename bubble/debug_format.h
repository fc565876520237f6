#pragma once

#include <string>

#include "platform/geometry.h"

namespace glugmo {

// A double as it prints by default: the shortest text that reads back to the
// same value, whole numbers with ".0".
std::string formatDouble(double value);

// "(x, y, w, h)".
std::string formatRect(Rect rect);

// "DEBUG visible=<bool> frame=<rect> hasImage=<bool>".
std::string debugStatusLine(bool visible, Rect frame, bool hasImage);

}  // namespace glugmo
