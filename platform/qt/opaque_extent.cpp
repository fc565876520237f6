#include "platform/qt/opaque_extent.h"

#include <QLineF>
#include <algorithm>

namespace glugmo {

namespace {

// Calls `row(y, first, last)` for each row with alpha, with the first and
// last columns that have it.
template <typename RowVisitor>
void forEachOpaqueRow(const QImage& image, RowVisitor row) {
    if (!image.hasAlphaChannel()) {
        for (int y = 0; y < image.height() && image.width() > 0; ++y) row(y, 0, image.width() - 1);
        return;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        const auto hasAlpha = [](QRgb pixel) { return qAlpha(pixel) != 0; };
        const QRgb* first = std::find_if(pixels, pixels + argb.width(), hasAlpha);
        if (first == pixels + argb.width()) continue;
        const auto last = std::find_if(std::make_reverse_iterator(pixels + argb.width()),
                                       std::make_reverse_iterator(first), hasAlpha);
        row(y, static_cast<int>(first - pixels), static_cast<int>(last.base() - 1 - pixels));
    }
}

}  // namespace

QRect opaqueBounds(const QImage& image) {
    QRect bounds;
    forEachOpaqueRow(image, [&](int y, int first, int last) {
        bounds |= QRect(first, y, last - first + 1, 1);
    });
    return bounds;
}

double farthestOpaqueDistance(const QImage& image, const QPointF& origin, const QPointF& pivot) {
    double farthest = 0;
    // In a row, the farthest point is a corner of its first or last pixel.
    forEachOpaqueRow(image, [&](int y, int first, int last) {
        for (const double x : {double(first), double(last) + 1}) {
            for (const double rowEdge : {double(y), double(y) + 1}) {
                farthest = std::max(farthest, QLineF(pivot, origin + QPointF(x, rowEdge)).length());
            }
        }
    });
    return farthest;
}

}  // namespace glugmo
