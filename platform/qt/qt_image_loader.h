#pragma once

#include <QString>
#include <string>

#include "platform/images.h"
#include "platform/qt/qt_image.h"

namespace glugmo {

struct LoadedPicture {
    std::shared_ptr<const QtImage> image;  // null when refused
    std::string problem;                   // why, in words for the person who made the file
};

// Decodes a still or animated picture within the limits of
// gif/picture_limits.h. A GIF keeps its encoded bytes and decodes each frame
// when it is first shown: decoded up front, each of the pet's animations
// would take some twenty megabytes of full-size frames, and a reaction every
// few seconds would spend its time in page faults. Anything else is decoded
// whole with QImageReader. A picture from the user's own folder is held to
// more: it must be of the kind its name says, and a GIF must be whole up to
// its end and decode its first frame; one of ours that is damaged further on
// still plays as far as it decodes.
LoadedPicture loadPicture(const QString& path, bool fromUser = false);
std::shared_ptr<const QtImage> decodeImage(const QString& path);

class QtImageLoader final : public ImageLoader {
public:
    std::shared_ptr<const Image> loadImage(const std::string& path) override;
    // From the GIF last loaded, while it is in use and its file unchanged;
    // else read from the file.
    std::optional<std::vector<GifFrameProperties>> gifFrameProperties(
        const std::string& path) override;

private:
    struct LoadedGif {
        std::string path;
        std::uint64_t identity = 0;
        std::weak_ptr<const GifStructure> gif;
    };
    LoadedGif lastGif_;
};

}  // namespace glugmo
