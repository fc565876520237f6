#pragma once

#include <QPainter>
#include <QPointF>

#include "character.h"

namespace artwork {

// Eyes, brows, cheeks and mouth around the face centre, in body coordinates.
void drawFace(QPainter& p, const Pose& pose, QPointF centre);

}  // namespace artwork
