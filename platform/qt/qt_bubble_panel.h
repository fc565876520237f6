#pragma once

#include <QVariantAnimation>
#include <memory>

#include "platform/qt/bubble_widget.h"
#include "platform/qt/stacking_watch.h"
#include "platform/qt/window_event_watch.h"
#include "platform/qt/x11_window.h"
#include "platform/windows.h"

namespace glugmo {

// The speech bubble's floating panel. Without a compositor window opacity
// has no effect: the bubble then simply vanishes when the fade ends.
class QtBubblePanel final : public BubblePanel {
public:
    // `ownFont`: the pet's own font file for the text, which may be missing.
    QtBubblePanel(Rect frame, QString ownFont);
    ~QtBubblePanel() override;

    void setText(const std::string& text) override;
    Size fittingSize(double maxLineWidth) const override;
    void setFrame(Rect frame) override;
    Rect frame() const override;
    void setLabelFrame(Rect frame) override;
    void setAlpha(double alpha) override;
    double alpha() const override;
    void orderFrontRegardless() override;
    void orderOut() override;
    bool isVisible() const override;
    void fadeOut(double duration, std::function<void()> completion) override;
    std::optional<std::string> renderPng() override;

    QWidget& widget() { return widget_; }

private:
    void applyAlpha(double alpha);
    void clipToShapeWithoutCompositor();

    BubbleWidget widget_;
    std::unique_ptr<StackingWatch> stackingWatch_;
    WindowEventWatch attentionGuard_{widget_, WindowEventWatch::Change::PropertyChanged,
                                     [this](std::uint32_t property) { x11::dropAttention(widget_, property); }};
    Rect frame_;
    Rect labelFrame_;
    double alpha_ = 1;
    QVariantAnimation fade_;
    QMetaObject::Connection fadeFinished_;
};

}  // namespace glugmo
