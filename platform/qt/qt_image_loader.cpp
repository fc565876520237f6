#include "platform/qt/qt_image_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "platform/qt/gif_frame_reader.h"

namespace glugmo {

namespace {
// A corrupt file must not make the reader produce frames for ever.
constexpr std::size_t kMostFrames = 4096;

std::shared_ptr<const QtImage> decodeWhole(QByteArray bytes) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
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
}  // namespace

std::shared_ptr<const QtImage> decodeImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("GIF")) {
        if (auto gif = StreamedGif::open(bytes)) return std::make_shared<QtImage>(std::move(gif));
    }
    return decodeWhole(std::move(bytes));
}

std::shared_ptr<const Image> QtImageLoader::loadImage(const std::string& path) {
    return decodeImage(QString::fromStdString(path));
}

std::optional<std::vector<GifFrameProperties>> QtImageLoader::gifFrameProperties(
    const std::string& path) {
    return readGifFramePropertiesFromFile(path);
}

}  // namespace glugmo
