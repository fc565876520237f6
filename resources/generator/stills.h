#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

namespace artwork {

// A cleared canvas of the pictures' size with the painter in ground
// coordinates (origin at the bottom centre, see style.h).
QImage renderCanvas(const std::function<void(QPainter&)>& draw);

// The neutral standing pose, with soft antialiased alpha.
QImage idlePicture();

// The tray icon: the drop alone, square, `size` pixels.
QImage trayIcon(int size);

}  // namespace artwork
