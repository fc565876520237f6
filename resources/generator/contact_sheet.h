#pragma once

#include <QImage>
#include <vector>

namespace artwork {

// Every frame of every sequence side by side, each sequence twice: on a light
// and on a dark wallpaper. Frames are scaled to `tileWidth` pixels, the size
// the pet is shown at on an ordinary screen, so the sheet shows what people
// will see; pictures smaller than a tile are shown at their own size.
QImage contactSheet(const std::vector<std::vector<QImage>>& sequences, int tileWidth);

}  // namespace artwork
