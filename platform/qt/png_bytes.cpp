#include "platform/qt/png_bytes.h"

#include <QBuffer>

namespace glugmo {

std::optional<std::string> pngBytes(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace glugmo
