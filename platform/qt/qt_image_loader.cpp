#include "platform/qt/qt_image_loader.h"

#include <QImageReader>

#include "platform/qt/gif_frame_reader.h"

namespace glugmo {

namespace {
// A corrupt file must not make the reader produce frames for ever.
constexpr std::size_t kMostFrames = 4096;
}  // namespace

std::shared_ptr<const QtImage> decodeImage(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const int loopCount = reader.loopCount();
    std::vector<QtImage::Frame> frames;
    QImage image;
    while (frames.size() < kMostFrames && reader.read(&image)) {
        frames.push_back(
            {image.convertToFormat(QImage::Format_ARGB32_Premultiplied), reader.nextImageDelay()});
    }
    if (frames.empty()) return nullptr;
    return std::make_shared<QtImage>(std::move(frames), loopCount);
}

std::shared_ptr<const Image> QtImageLoader::loadImage(const std::string& path) {
    return decodeImage(QString::fromStdString(path));
}

std::optional<std::vector<GifFrameProperties>> QtImageLoader::gifFrameProperties(
    const std::string& path) {
    return readGifFramePropertiesFromFile(path);
}

}  // namespace glugmo
