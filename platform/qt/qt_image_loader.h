#pragma once

#include <QString>

#include "platform/images.h"
#include "platform/qt/qt_image.h"

namespace glugmo {

// Decodes a still or animated picture. A GIF keeps its encoded bytes and
// decodes each frame when it is first shown: decoded up front, each of the
// pet's animations would take some twenty megabytes of full-size frames,
// and a reaction every few seconds would spend its time in page faults.
// Anything else is decoded whole with QImageReader.
std::shared_ptr<const QtImage> decodeImage(const QString& path);

class QtImageLoader final : public ImageLoader {
public:
    std::shared_ptr<const Image> loadImage(const std::string& path) override;
    std::optional<std::vector<GifFrameProperties>> gifFrameProperties(
        const std::string& path) override;
};

}  // namespace glugmo
