#include "contact_sheet.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace artwork {

namespace {
constexpr int kGap = 4;
constexpr int kGroupGap = 14;
const QColor kSheet{150, 150, 158};
const QColor kLight{244, 241, 234};
const QColor kDark{35, 38, 46};
}  // namespace

QImage contactSheet(const std::vector<std::vector<QImage>>& sequences, int tileWidth) {
    std::size_t columns = 0;
    for (const auto& frames : sequences) columns = std::max(columns, frames.size());
    const QImage& first = sequences.front().front();
    const int tileHeight = static_cast<int>(
        std::lround(static_cast<double>(tileWidth) * first.height() / first.width()));
    const int width = static_cast<int>(columns) * (tileWidth + kGap) + kGap;
    const int rowHeight = tileHeight + kGap;
    const int groupHeight = 2 * rowHeight + kGroupGap;
    const int height = static_cast<int>(sequences.size()) * groupHeight + kGap;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(kSheet);
    QPainter p(&sheet);
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        for (int shade = 0; shade < 2; ++shade) {
            const int y = kGap + static_cast<int>(s) * groupHeight + shade * rowHeight;
            for (std::size_t f = 0; f < sequences[s].size(); ++f) {
                const QRect tile(kGap + static_cast<int>(f) * (tileWidth + kGap), y, tileWidth,
                                 tileHeight);
                p.fillRect(tile, shade == 0 ? kLight : kDark);
                const QImage& frame = sequences[s][f];
                if (frame.width() <= tileWidth && frame.height() <= tileHeight) {
                    // Small pictures (the tray icon) are shown at their real size.
                    p.drawImage(tile.center() - QPoint(frame.width() / 2, frame.height() / 2),
                                frame);
                    continue;
                }
                const QImage scaled =
                    frame.scaled(tile.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
                p.drawImage(tile.left() + (tileWidth - scaled.width()) / 2,
                            tile.bottom() + 1 - scaled.height(), scaled);
            }
        }
    }
    return sheet;
}

}  // namespace artwork
