#include "platform/qt/qt_image_loader.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "gif/gif_frame_reader.h"
#include "gif/picture_limits.h"

namespace glugmo {

namespace {

const std::string kTooWide = "is wider or taller than " + std::to_string(kMostPictureSide) + " px";
const std::string kTooLarge = "is larger than " + std::to_string(kMostPictureBytes / (1024 * 1024)) + " MB";

LoadedPicture refused(std::string problem) { return {nullptr, std::move(problem)}; }

// The whole file, or why not.
std::string readWithinLimits(const QString& path, QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) return "is a link to nothing";
    if (!info.exists()) return "does not exist";
    if (info.isDir()) return "is a folder";
    if (info.size() > kMostPictureBytes) return kTooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "cannot be read";
    // A file that grows after the look at its size still stops at the limit.
    bytes = file.read(kMostPictureBytes + 1);
    if (bytes.size() > kMostPictureBytes) return kTooLarge;
    return {};
}

// The file's path, size and modification time: a file edited in place
// gets a new identity.
std::uint64_t identityOf(const QString& path) {
    const QFileInfo info(path);
    const QString stamp = info.absoluteFilePath() + QLatin1Char('\n') +
                          QString::number(info.size()) + QLatin1Char('\n') +
                          QString::number(info.lastModified().toMSecsSinceEpoch());
    return std::max<std::uint64_t>(1, std::hash<QString>{}(stamp));
}

LoadedPicture decodeGif(QByteArray bytes, bool fromUser, std::uint64_t identity) {
    const GifReading reading = readGifStructure(bytes.toStdString());
    if (!reading.gif) return refused(reading.problem);
    if (fromUser) {
        if (!reading.gif->complete) return refused("is cut short");
        StreamedGif first(reading.gif);
        first.frame(0);
        if (first.damaged()) return refused("cannot be decoded");
    }
    return {std::make_shared<QtImage>(reading.gif, identity), {}};
}

LoadedPicture decodeWhole(QByteArray bytes, std::uint64_t identity) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    if (isPng(bytes)) readAsPng(reader);
    reader.setAutoTransform(true);
    if (!reader.canRead()) return refused("is not a picture");
    const QSize size = reader.size();
    if (size.width() > kMostPictureSide || size.height() > kMostPictureSide) return refused(kTooWide);
    const int loopCount = reader.loopCount();
    std::vector<QtImage::Frame> frames;
    QImage image;
    while (frames.size() < kMostGifFrames && reader.read(&image)) {
        // The header's size may be missing or differ from the pixels.
        if (image.width() > kMostPictureSide || image.height() > kMostPictureSide) {
            return refused(kTooWide);
        }
        frames.push_back({std::move(image), reader.nextImageDelay()});
    }
    if (frames.empty()) return refused("cannot be decoded");
    // A still is kept as the file has it, a few dozen times smaller than
    // its pixels, and decoded again when it has to be drawn at a new size:
    // its pixels here only tell that it decodes, and to what size.
    if (frames.size() == 1 && !reader.supportsAnimation()) {
        return {std::make_shared<QtImage>(bytes, frames.front().image.size(), identity), {}};
    }
    for (QtImage::Frame& frame : frames) frame.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return {std::make_shared<QtImage>(std::move(frames), loopCount, identity), {}};
}

}  // namespace

LoadedPicture loadPicture(const QString& path, bool fromUser) {
    const std::uint64_t before = identityOf(path);
    QByteArray bytes;
    if (std::string problem = readWithinLimits(path, bytes); !problem.empty()) return refused(problem);
    // A file replaced while it was read has no identity: its bytes may
    // belong to either stamp, and pictures drawn from them must not be
    // taken for either file's.
    const std::uint64_t identity = identityOf(path) == before ? before : 0;
    const bool gif = bytes.startsWith("GIF");
    if (fromUser) {
        const QString kind = QFileInfo(path).suffix().toLower();
        if (kind == QLatin1String("gif") && !gif) return refused("is not a GIF picture");
        if (kind == QLatin1String("png") && !isPng(bytes)) {
            return refused("is not a PNG picture");
        }
    }
    // Qt's own GIF reader has no bound on a frame's work; ours has.
    if (gif) return decodeGif(std::move(bytes), fromUser, identity);
    return decodeWhole(std::move(bytes), identity);
}

std::shared_ptr<const QtImage> decodeImage(const QString& path) { return loadPicture(path).image; }

std::shared_ptr<const Image> QtImageLoader::loadImage(const std::string& path) {
    return decodeImage(QString::fromStdString(path));
}

std::optional<std::vector<GifFrameProperties>> QtImageLoader::gifFrameProperties(
    const std::string& path) {
    QByteArray bytes;
    if (!readWithinLimits(QString::fromStdString(path), bytes).empty()) return std::nullopt;
    return readGifFrameProperties(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace glugmo
