#pragma once

#include <QColor>
#include <QImage>
#include <vector>

#include "animation.h"

// A second look for the pet that people can copy into their own pictures
// folder: the same drop in mint green, wearing a party hat. It has the idle
// picture and two of the reactions, so the others visibly stay the built-in
// ones.
namespace artwork {

inline constexpr const char* kSampleName = "mint";

QImage mintIdle();
std::vector<Animation> mintAnimations();
// The drop's blues turned mint; everything else (outline, hat, cheeks) kept.
QImage inMint(const QImage& picture);
QColor inMint(const QColor& colour);

}  // namespace artwork
