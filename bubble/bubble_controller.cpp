#include "bubble/bubble_controller.h"

#include "bubble/bubble_geometry.h"

namespace glugmo {

BubbleController::BubbleController(Platform& platform)
    : platform_(platform), panel_(platform.windows.makeBubblePanel(Rect::make(0, 0, 220, 44))) {}

void BubbleController::show(const std::string& text, Rect anchor) {
    if (hideTimer_) hideTimer_->invalidate();
    ++showCount_;
    panel_->setText(textForBubble(text));
    const BubbleGeometry geometry =
        bubbleGeometry(panel_->fittingSize(kBubbleMaxLineWidth), anchor,
                       platform_.windows.screenFrameAt({anchor.midX(), anchor.midY()}));
    panel_->setFrame(geometry.panelFrame);
    panel_->setLabelFrame(geometry.labelFrame);
    panel_->setAlpha(1.0);
    panel_->orderFrontRegardless();
    hideTimer_ = platform_.runLoop.scheduleTimer(
        kTimeOnScreen, false, [weak = weak_from_this()] {
            if (const auto self = weak.lock()) self->fadeOut();
        });
}

void BubbleController::fadeOut() {
    panel_->fadeOut(kFadeDuration, [weak = weak_from_this(), fadeBegan = showCount_] {
        const auto self = weak.lock();
        if (self && self->showCount_ == fadeBegan) self->panel_->orderOut();
    });
}

void BubbleController::hide() {
    if (hideTimer_) hideTimer_->invalidate();
    panel_->orderOut();
}

bool BubbleController::debugRender(const std::string& path) {
    const std::optional<std::string> png = panel_->renderPng();
    return png && platform_.files.writeFileAtomically(path, *png);
}

}  // namespace glugmo
