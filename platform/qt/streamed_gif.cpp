#include "platform/qt/streamed_gif.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace glugmo {

namespace {

// A corrupt file must not make the reader produce frames for ever.
constexpr std::size_t kMostFrames = 4096;
// Qt's image readers refuse to allocate more than this for one picture.
constexpr qint64 kMostCanvasBytes = 256LL * 1024 * 1024;
// Qt's reader shows a frame without a control block for as long as the one
// before it, and the first for a tenth of a second.
constexpr int kDelayBeforeAnyControlMs = 100;

bool isLoopExtension(const GifByteType* block) {
    return block && block[0] == 11 &&
           (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
            std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
}

// The rows of an interlaced image come in four passes.
int rowOfLine(int line, int height, bool interlaced) {
    if (!interlaced) return line;
    constexpr std::array<int, 4> start{0, 4, 2, 1};
    constexpr std::array<int, 4> step{8, 8, 4, 2};
    for (std::size_t pass = 0; pass < start.size(); ++pass) {
        const int rows = height > start[pass] ? (height - start[pass] + step[pass] - 1) / step[pass] : 0;
        if (line < rows) return start[pass] + line * step[pass];
        line -= rows;
    }
    return height;  // beyond the image
}

void clear(QImage& image, const QRect& area) {
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill_n(row + clipped.left(), clipped.width(), QRgb{0});
    }
}

// Reads the sub-blocks of an extension to its end: the control block's
// delay, transparency and disposal, and a loop extension's count.
struct ExtensionReading {
    bool ok = false;
    std::optional<GraphicsControlBlock> control;
    std::optional<int> loops;
};

ExtensionReading readExtension(GifFileType* gif) {
    ExtensionReading reading;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return reading;
    GraphicsControlBlock control{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
        reading.control = control;
    }
    const bool loop = code == APPLICATION_EXT_FUNC_CODE && isLoopExtension(block);
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return reading;
        if (loop && block && block[0] >= 3 && block[1] == 1 && !reading.loops) {
            reading.loops = block[2] | (block[3] << 8);
        }
    }
    reading.ok = true;
    return reading;
}

bool skipPixels(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

}  // namespace

void StreamedGif::Closer::operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }

StreamedGif::StreamedGif(QByteArray bytes) : bytes_(std::move(bytes)) {}

std::unique_ptr<StreamedGif> StreamedGif::open(QByteArray bytes) {
    std::unique_ptr<StreamedGif> gif(new StreamedGif(std::move(bytes)));
    if (!gif->readStructure()) return nullptr;
    // The canvas waits for the first frame asked for, so that a picture
    // replacing another is not allocated while the other still lives.
    gif->gif_.reset();
    return gif;
}

bool StreamedGif::openDecoder() {
    source_ = {&bytes_, 0};
    const InputFunc read = [](GifFileType* gif, GifByteType* destination, int length) {
        auto& source = *static_cast<Source*>(gif->UserData);
        const qsizetype count =
            std::clamp<qsizetype>(source.bytes->size() - source.offset, 0, std::max(length, 0));
        std::memcpy(destination, source.bytes->constData() + source.offset,
                    static_cast<std::size_t>(count));
        source.offset += count;
        return static_cast<int>(count);
    };
    gif_.reset(DGifOpen(&source_, read, nullptr));
    return gif_ != nullptr;
}

bool StreamedGif::rewind() {
    beforeShown_ = QImage();
    canvas_ = QImage(size_, QImage::Format_ARGB32_Premultiplied);
    if (canvas_.isNull() || !openDecoder()) {
        canvas_ = QImage();
        return false;
    }
    canvas_.fill(Qt::transparent);
    shown_ = {};
    decoded_ = 0;
    damaged_ = false;
    return true;
}

bool StreamedGif::readStructure() {
    if (!openDecoder()) return false;
    GifFileType* gif = gif_.get();
    size_ = QSize(gif->SWidth, gif->SHeight);
    if (size_.isEmpty() || qint64{size_.width()} * size_.height() * 4 > kMostCanvasBytes) {
        return false;
    }
    // The pixels are skipped, not decoded: this pass only counts the frames.
    int delayMs = kDelayBeforeAnyControlMs;
    while (delaysMs_.size() < kMostFrames) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            const ExtensionReading extension = readExtension(gif);
            if (!extension.ok) break;
            if (extension.control) delayMs = extension.control->DelayTime * 10;
            // Qt's count: a stored 0 loops for ever, no extension plays once.
            if (extension.loops) loopCount_ = *extension.loops == 0 ? -1 : *extension.loops;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageHeader(gif) == GIF_ERROR) break;
            delaysMs_.push_back(delayMs);
            if (!skipPixels(gif)) break;
        }
    }
    return !delaysMs_.empty();
}

const QImage& StreamedGif::frame(std::size_t index) {
    index = std::min(index, delaysMs_.size() - 1);
    if ((canvas_.isNull() || index + 1 < decoded_) && !rewind()) return canvas_;
    while (decoded_ <= index && !damaged_) {
        if (!decodeNext()) damaged_ = true;
    }
    return canvas_;
}

void StreamedGif::disposeShown() {
    if (shown_.disposal == DISPOSE_BACKGROUND) {
        clear(canvas_, shown_.rect);
    } else if (shown_.disposal == DISPOSE_PREVIOUS && !beforeShown_.isNull()) {
        canvas_ = std::move(beforeShown_);
        beforeShown_ = QImage();
    }
    shown_ = {};
}

bool StreamedGif::decodeNext() {
    GifFileType* gif = gif_.get();
    if (!gif) return false;
    std::optional<GraphicsControlBlock> control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE) {
            return false;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            const ExtensionReading extension = readExtension(gif);
            if (!extension.ok) return false;
            if (extension.control) control = extension.control;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageHeader(gif) == GIF_ERROR) return false;
            disposeShown();
            const int disposal = control ? control->DisposalMode : DISPOSAL_UNSPECIFIED;
            if (disposal == DISPOSE_PREVIOUS) beforeShown_ = canvas_.copy();
            const GifImageDesc& desc = gif->Image;
            shown_ = {QRect(desc.Left, desc.Top, desc.Width, desc.Height), disposal};
            ++decoded_;
            return drawImage(control ? control->TransparentColor : NO_TRANSPARENT_COLOR);
        }
    }
}

bool StreamedGif::drawImage(int transparent) {
    GifFileType* gif = gif_.get();
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    // Colours outside the map come out transparent.
    std::array<QRgb, 256> colours{};
    for (int i = 0; map && i < std::min(map->ColorCount, 256); ++i) {
        const GifColorType& c = map->Colors[i];
        colours[static_cast<std::size_t>(i)] = qRgb(c.Red, c.Green, c.Blue);
    }

    int minimumCodeSize = 0;
    GifByteType* block = nullptr;
    bool whole = DGifGetCode(gif, &minimumCodeSize, &block) != GIF_ERROR;
    compressed_.clear();
    while (whole && block) {
        compressed_.insert(compressed_.end(), block + 1, block + 1 + block[0]);
        whole = DGifGetCodeNext(gif, &block) != GIF_ERROR;
    }
    // A frame is meant to fit the canvas; one claiming more pixels is
    // decoded only as far as the canvas would hold.
    const qint64 width = std::max(desc.Width, 0);
    const qint64 pixels = std::min(width * std::max(desc.Height, 0),
                                   qint64{size_.width()} * size_.height());
    indices_.resize(static_cast<std::size_t>(pixels));
    const std::size_t decoded = lzw_.decode(compressed_, minimumCodeSize, indices_);

    const int left = desc.Left;
    const int from = std::clamp(-left, 0, desc.Width);
    const int to = std::clamp(size_.width() - left, from, desc.Width);
    const int lines = width > 0 ? static_cast<int>((decoded + width - 1) / width) : 0;
    for (int line = 0; line < lines; ++line) {
        const int y = desc.Top + rowOfLine(line, desc.Height, desc.Interlace);
        if (y < 0 || y >= size_.height()) continue;
        const GifPixelType* indices = indices_.data() + line * width;
        const int lineEnd = std::min<int>(to, static_cast<int>(decoded - line * width));
        auto* row = reinterpret_cast<QRgb*>(canvas_.scanLine(y));
        for (int x = from; x < lineEnd; ++x) {
            if (indices[x] != transparent) row[left + x] = colours[indices[x]];
        }
    }
    return whole && decoded == static_cast<std::size_t>(width * std::max(desc.Height, 0));
}

}  // namespace glugmo
