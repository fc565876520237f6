#include "platform/qt/qt_image_loader.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "gif/gif_frame_reader.h"
#include "gif/picture_limits.h"

namespace glugmo {

namespace {

const std::string kTooWide = "is wider or taller than " + std::to_string(kMostPictureSide) + " px";
const std::string kTooLarge = "is larger than " + std::to_string(kMostPictureBytes / (1024 * 1024)) + " MB";

LoadedPicture refused(std::string problem) { return {nullptr, std::move(problem)}; }

// Why the file cannot be read as a picture, or nothing when `file` is open.
std::string openWithinLimits(const QString& path, QFile& file) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) return "is a link to nothing";
    if (!info.exists()) return "does not exist";
    if (info.isDir()) return "is a folder";
    if (info.size() > kMostPictureBytes) return kTooLarge;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return "cannot be read";
    return {};
}

// The rest of the file into `bytes` (a QByteArray or a std::string), or why
// not. Only what the file holds is asked for, as a read takes all it is
// allowed at once; a file that grows after the look at its size is read on,
// and still stops at the limit.
template <typename Bytes>
std::string readWithinLimits(QFile& file, Bytes& bytes) {
    constexpr qint64 kLimit = kMostPictureBytes;
    qint64 room = std::clamp<qint64>(file.size(), 0, kLimit) + 1;
    qint64 got = 0;
    for (;;) {
        bytes.resize(static_cast<decltype(bytes.size())>(room));
        const qint64 read = file.read(bytes.data() + got, room - got);
        if (read > 0) got += read;
        if (read <= 0 || got > kLimit) break;
        if (got == room) room = std::min(room * 2, kLimit + 1);
    }
    bytes.resize(static_cast<decltype(bytes.size())>(got));
    return got > kLimit ? kTooLarge : std::string();
}

std::string readWithinLimits(const QString& path, std::string& bytes) {
    QFile file;
    if (std::string problem = openWithinLimits(path, file); !problem.empty()) return problem;
    return readWithinLimits(file, bytes);
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

LoadedPicture decodeGif(std::string bytes, bool fromUser, std::uint64_t identity) {
    const GifReading reading = readGifStructure(std::move(bytes));
    if (!reading.gif) return refused(reading.problem);
    if (fromUser) {
        if (!reading.gif->complete) return refused("is cut short");
        StreamedGif first(reading.gif);
        first.frame(0);
        if (first.damaged()) return refused("cannot be decoded");
    }
    return {std::make_shared<QtImage>(reading.gif, identity), {}};
}

// The stills decoded whole once, by identity, and their sizes. Going back
// to the idle picture after each animation loads it again; unchanged, it
// need not be decoded only to learn what it was already found to be, with
// the animation's frames still in memory beside it.
class DecodedStills {
public:
    std::optional<QSize> sizeOf(std::uint64_t identity) const {
        const auto found = sizes_.find(identity);
        if (identity == 0 || found == sizes_.end()) return std::nullopt;
        return found->second;
    }
    void remember(std::uint64_t identity, QSize size) {
        if (identity == 0) return;
        // A handful in use; a folder of the user's tried one by one must not grow it for ever.
        if (sizes_.size() >= kMostRemembered) sizes_.clear();
        sizes_[identity] = size;
    }

private:
    static constexpr std::size_t kMostRemembered = 64;
    std::unordered_map<std::uint64_t, QSize> sizes_;
};

// Pictures are loaded on the main thread only.
DecodedStills& decodedStills() {
    static DecodedStills stills;
    return stills;
}

LoadedPicture decodeWhole(QByteArray bytes, std::uint64_t identity) {
    if (const std::optional<QSize> size = decodedStills().sizeOf(identity)) {
        return {std::make_shared<QtImage>(std::move(bytes), *size, identity), {}};
    }
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
        decodedStills().remember(identity, frames.front().image.size());
        return {std::make_shared<QtImage>(bytes, frames.front().image.size(), identity), {}};
    }
    for (QtImage::Frame& frame : frames) frame.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return {std::make_shared<QtImage>(std::move(frames), loopCount, identity), {}};
}

}  // namespace

LoadedPicture loadPicture(const QString& path, bool fromUser) {
    const std::uint64_t before = identityOf(path);
    QFile file;
    if (std::string problem = openWithinLimits(path, file); !problem.empty()) return refused(problem);
    // A GIF is read straight into the string its frames are decoded from.
    const bool gif = file.peek(3) == "GIF";
    std::string gifBytes;
    QByteArray bytes;
    if (std::string problem = gif ? readWithinLimits(file, gifBytes) : readWithinLimits(file, bytes);
        !problem.empty()) {
        return refused(problem);
    }
    // A file replaced while it was read has no identity: its bytes may
    // belong to either stamp, and pictures drawn from them must not be
    // taken for either file's.
    const std::uint64_t identity = identityOf(path) == before ? before : 0;
    if (fromUser) {
        const QString kind = QFileInfo(path).suffix().toLower();
        if (kind == QLatin1String("gif") && !gif) return refused("is not a GIF picture");
        if (kind == QLatin1String("png") && (gif || !isPng(bytes))) {
            return refused("is not a PNG picture");
        }
    }
    // Qt's own GIF reader has no bound on a frame's work; ours has.
    if (gif) return decodeGif(std::move(gifBytes), fromUser, identity);
    return decodeWhole(std::move(bytes), identity);
}

std::shared_ptr<const QtImage> decodeImage(const QString& path) { return loadPicture(path).image; }

std::shared_ptr<const Image> QtImageLoader::loadImage(const std::string& path) {
    std::shared_ptr<const QtImage> image = decodeImage(QString::fromStdString(path));
    if (image && image->gif()) lastGif_ = {path, image->identity(), image->gif()};
    return image;
}

std::optional<std::vector<GifFrameProperties>> QtImageLoader::gifFrameProperties(
    const std::string& path) {
    // The GIF being shown has its bytes in memory already: reading the file
    // again would hold them twice, beside its frames.
    if (path == lastGif_.path && lastGif_.identity != 0) {
        const std::shared_ptr<const GifStructure> gif = lastGif_.gif.lock();
        if (gif && identityOf(QString::fromStdString(path)) == lastGif_.identity) {
            return readGifFrameProperties(gif->bytes);
        }
    }
    std::string bytes;
    if (!readWithinLimits(QString::fromStdString(path), bytes).empty()) return std::nullopt;
    return readGifFrameProperties(bytes);
}

}  // namespace glugmo
