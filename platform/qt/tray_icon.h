#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <optional>

namespace glugmo {

// The tray icon: `picture`, and the sizes drawn for trays, "glugmo-<N>.png"
// in `drawnFolder`. A tray asking for a size gets the smallest of them that
// covers it, scaled down, or else the largest; never scaled up; of two the
// same size, the picture. A drawn size is read from its file only when it
// is the one asked for, and only the last pixmap handed out is kept:
// QIcon::addFile would decode every size at once and keep them all, about
// 0.35 MB for the life of the program.
QIcon trayIcon(const QPixmap& picture, const std::optional<QString>& drawnFolder);

}  // namespace glugmo
