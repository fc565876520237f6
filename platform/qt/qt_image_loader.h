#pragma once

#include <QString>

#include "platform/images.h"
#include "platform/qt/qt_image.h"

namespace glugmo {

// Decodes every frame of a still or animated picture with QImageReader.
// The whole animation is decoded up front: a pet's GIFs are small, and
// playing from memory costs nothing per frame, unlike a decoder that keeps
// reading the file.
std::shared_ptr<const QtImage> decodeImage(const QString& path);

class QtImageLoader final : public ImageLoader {
public:
    std::shared_ptr<const Image> loadImage(const std::string& path) override;
    std::optional<std::vector<GifFrameProperties>> gifFrameProperties(
        const std::string& path) override;
};

}  // namespace glugmo
