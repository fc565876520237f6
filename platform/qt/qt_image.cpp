#include "platform/qt/qt_image.h"

namespace glugmo {

QtImage::QtImage(std::vector<Frame> frames, int loopCount) : loopCount_(loopCount) {
    for (Frame& frame : frames) {
        delaysMs_.push_back(frame.delayMs);
        decoded_.push_back(std::move(frame.image));
    }
    if (!decoded_.empty()) size_ = decoded_.front().size();
}

QtImage::QtImage(std::unique_ptr<StreamedGif> gif)
    : gif_(std::move(gif)), delaysMs_(gif_->delaysMs()), loopCount_(gif_->loopCount()),
      size_(gif_->size()) {}

const QImage& QtImage::frame(std::size_t index) const {
    if (gif_) return gif_->frame(index);
    return decoded_.at(std::min(index, decoded_.size() - 1));
}

}  // namespace glugmo
