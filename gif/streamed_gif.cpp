#include "gif/streamed_gif.h"

#include <algorithm>
#include <array>

namespace glugmo {

namespace {

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

}  // namespace

StreamedGif::StreamedGif(std::shared_ptr<const GifStructure> gif) : gif_(std::move(gif)) {}

std::span<const std::uint32_t> StreamedGif::frame(std::size_t index) {
    index = std::min(index, gif_->delaysMs.size() - 1);
    if (!walker_ || index + 1 < decoded_) rewind();
    while (decoded_ <= index && !damaged_) {
        if (!decodeNext()) damaged_ = true;
    }
    return canvas_;
}

void StreamedGif::rewind() {
    walker_ = std::make_unique<GifWalker>(gif_->bytes);
    canvas_.assign(static_cast<std::size_t>(gif_->width) * static_cast<std::size_t>(gif_->height), 0);
    saved_.clear();
    shown_ = {};
    shownDisposal_ = GifDisposal::Keep;
    decoded_ = 0;
    damaged_ = false;
}

StreamedGif::Area StreamedGif::clipped(const GifFrameHeader& frame) const {
    return {std::clamp(frame.left, 0, gif_->width), std::clamp(frame.top, 0, gif_->height),
            std::clamp(frame.left + frame.width, 0, gif_->width),
            std::clamp(frame.top + frame.height, 0, gif_->height)};
}

void StreamedGif::disposeShown() {
    const auto width = static_cast<std::size_t>(gif_->width);
    const auto columns = static_cast<std::size_t>(std::max(shown_.right - shown_.left, 0));
    std::size_t savedRow = 0;
    for (int y = shown_.top; y < shown_.bottom && columns > 0; ++y) {
        std::uint32_t* row = canvas_.data() + static_cast<std::size_t>(y) * width +
                             static_cast<std::size_t>(shown_.left);
        if (shownDisposal_ == GifDisposal::Background) {
            std::fill_n(row, columns, 0u);
        } else if (shownDisposal_ == GifDisposal::Previous && !saved_.empty()) {
            std::copy_n(saved_.begin() + static_cast<std::ptrdiff_t>(savedRow), columns, row);
            savedRow += columns;
        }
    }
    saved_.clear();
    shown_ = {};
    shownDisposal_ = GifDisposal::Keep;
}

bool StreamedGif::decodeNext() {
    const std::optional<GifFrameHeader> frame = walker_->nextFrame();
    if (!frame) return false;
    disposeShown();
    shown_ = clipped(*frame);
    shownDisposal_ = frame->disposal;
    if (frame->disposal == GifDisposal::Previous) {
        // Only the area the frame covers can change, so only that is kept.
        const auto width = static_cast<std::size_t>(gif_->width);
        for (int y = shown_.top; y < shown_.bottom; ++y) {
            const auto begin = canvas_.begin() +
                               static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * width) +
                               shown_.left;
            saved_.insert(saved_.end(), begin, begin + (shown_.right - shown_.left));
        }
    }
    ++decoded_;
    return draw(*frame);
}

bool StreamedGif::draw(const GifFrameHeader& frame) {
    int minimumCodeSize = 0;
    const bool whole = walker_->readPixels(compressed_, minimumCodeSize);
    // A frame is meant to fit the canvas; one claiming more pixels is
    // decoded only as far as the canvas would hold.
    const std::int64_t width = std::max(frame.width, 0);
    const std::int64_t all = width * std::max(frame.height, 0);
    const std::int64_t canvasPixels = std::int64_t{gif_->width} * gif_->height;
    // The frame's palette indices are let go once it is drawn: a frame is
    // drawn once a play, and the canvas is all the next one needs.
    std::vector<std::uint8_t> indexed(static_cast<std::size_t>(std::min(all, canvasPixels)));
    const std::size_t decoded = lzw_.decode(compressed_, minimumCodeSize, indexed);

    const int from = std::clamp(-frame.left, 0, frame.width);
    const int to = std::clamp(gif_->width - frame.left, from, frame.width);
    const auto lines = width > 0 ? (static_cast<std::int64_t>(decoded) + width - 1) / width : 0;
    for (std::int64_t line = 0; line < lines; ++line) {
        const int y = frame.top + rowOfLine(static_cast<int>(line), frame.height, frame.interlaced);
        if (y < 0 || y >= gif_->height) continue;
        const std::uint8_t* indices = indexed.data() + line * width;
        const auto lineEnd = std::min<std::int64_t>(to, static_cast<std::int64_t>(decoded) - line * width);
        // x starts at or past -left, so every index lands inside the row.
        const std::int64_t rowStart = std::int64_t{y} * gif_->width + frame.left;
        for (std::int64_t x = from; x < lineEnd; ++x) {
            if (indices[x] != frame.transparent) {
                canvas_[static_cast<std::size_t>(rowStart + x)] = frame.colours[indices[x]];
            }
        }
    }
    return whole && static_cast<std::int64_t>(decoded) == all;
}

}  // namespace glugmo
