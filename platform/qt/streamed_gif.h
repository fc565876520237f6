#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>
#include <optional>
#include <vector>

#include <gif_lib.h>

#include "platform/qt/gif_lzw.h"

namespace glugmo {

// A GIF decoded one frame at a time, as the frames are shown. However many
// frames it has, it holds its encoded bytes, one canvas (two while a frame
// that restores the picture before it is on) and one frame's indices, where
// decoding every frame up front would hold a full canvas per frame. Frames come out as Qt's
// reader makes them, except that the canvas starts transparent where Qt
// would fill it with the background colour: on the desktop that would be a
// box around the pet.
class StreamedGif {
public:
    // Nothing when giflib reads no frame from the bytes or the canvas is
    // larger than Qt would decode.
    static std::unique_ptr<StreamedGif> open(QByteArray bytes);

    QSize size() const { return size_; }
    // Milliseconds per frame, read without decoding any pixels.
    const std::vector<int>& delaysMs() const { return delaysMs_; }
    // Passes after the first, the way Qt's reader counts them: 0 without a
    // loop extension, -1 for ever.
    int loopCount() const { return loopCount_; }

    // The whole canvas (premultiplied ARGB) while frame `index` shows, valid
    // until the next call; a null image when the canvas cannot be allocated.
    // Going forward decodes only the frames in between; going back starts
    // again from the first frame.
    const QImage& frame(std::size_t index);

private:
    struct Closer {
        void operator()(GifFileType* gif) const;
    };
    struct Source {
        const QByteArray* bytes = nullptr;
        qsizetype offset = 0;
    };
    struct Placement {
        QRect rect;
        int disposal = DISPOSAL_UNSPECIFIED;
    };

    explicit StreamedGif(QByteArray bytes);
    bool openDecoder();
    bool readStructure();
    // Back before the first frame, on a fresh transparent canvas.
    bool rewind();
    bool decodeNext();
    void disposeShown();
    bool drawImage(int transparent);

    QByteArray bytes_;
    Source source_;
    std::unique_ptr<GifFileType, Closer> gif_;
    QSize size_;
    std::vector<int> delaysMs_;
    int loopCount_ = 0;

    QImage canvas_;
    QImage beforeShown_;  // for a frame that restores the previous picture
    Placement shown_;     // the frame on the canvas, to dispose of before the next
    std::size_t decoded_ = 0;  // frames drawn onto the canvas so far
    bool damaged_ = false;     // a frame failed to decode: the canvas stays as it is
    GifLzw lzw_;
    std::vector<std::uint8_t> compressed_;  // one frame's sub-blocks, joined
    std::vector<std::uint8_t> indices_;     // one frame's decoded palette indices
};

}  // namespace glugmo
