#include "platform/qt/qt_bubble_panel.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "platform/qt/coordinates.h"
#include "platform/qt/floating_window.h"
#include "platform/qt/png_bytes.h"
#include "platform/qt/qt_run_loop.h"
#include "platform/qt/x11_window.h"

namespace glugmo {

QtBubblePanel::QtBubblePanel(Rect frame, QString ownFont) : widget_(std::move(ownFont)) {
    setFrame(frame);
    QObject::connect(&fade_, &QVariantAnimation::valueChanged,
                     [this](const QVariant& value) { applyAlpha(value.toDouble()); });
}

QtBubblePanel::~QtBubblePanel() { fade_.stop(); }

void QtBubblePanel::setText(const std::string& text) {
    widget_.setText(QString::fromStdString(text));
}

Size QtBubblePanel::fittingSize(double maxLineWidth) const {
    const QFontMetricsF metrics(widget_.labelFont());
    const QRectF text = metrics.boundingRect(QRectF(0, 0, maxLineWidth, 1e6),
                                             Qt::TextWordWrap | Qt::AlignHCenter, widget_.text());
    // An empty label still stands one line high.
    const double height = widget_.text().isEmpty() ? metrics.height() : text.height();
    return {std::ceil(text.width()), std::ceil(height)};
}

void QtBubblePanel::setFrame(Rect frame) {
    frame_ = frame;
    widget_.setGeometry(toWholePixels(toQtScreen(frame, primaryScreenGeometry())));
    setLabelFrame(labelFrame_);
    clipToShapeWithoutCompositor();
}

// Without a compositor the transparent corners would show black: cut the
// window to the rounded box instead. Asked at every show, which is rare.
void QtBubblePanel::clipToShapeWithoutCompositor() {
    if (x11::compositorRunning(widget_).value_or(true)) {
        widget_.clearMask();
        return;
    }
    QPainterPath box;
    box.addRoundedRect(QRectF(widget_.rect()), BubbleWidget::kCornerRadius, BubbleWidget::kCornerRadius);
    widget_.setMask(QRegion(box.toFillPolygon().toPolygon()));
}

Rect QtBubblePanel::frame() const { return frame_; }

void QtBubblePanel::setLabelFrame(Rect frame) {
    labelFrame_ = frame;
    widget_.setLabelRect(toQtLocal(frame, widget_.height()));
}

void QtBubblePanel::setAlpha(double alpha) {
    // A fade still running would otherwise pull the new alpha back down.
    fade_.stop();
    QObject::disconnect(fadeFinished_);
    applyAlpha(alpha);
}

void QtBubblePanel::applyAlpha(double alpha) {
    alpha_ = std::clamp(alpha, 0.0, 1.0);
    widget_.setWindowOpacity(alpha_);
}

double QtBubblePanel::alpha() const { return alpha_; }

void QtBubblePanel::orderFrontRegardless() {
    showFloating(widget_);
    if (isUnmanaged(widget_) && !stackingWatch_) stackingWatch_ = std::make_unique<StackingWatch>(widget_, true);
}

void QtBubblePanel::orderOut() { widget_.hide(); }

bool QtBubblePanel::isVisible() const { return widget_.isVisible(); }

void QtBubblePanel::fadeOut(double duration, std::function<void()> completion) {
    fade_.stop();
    QObject::disconnect(fadeFinished_);
    fade_.setStartValue(alpha_);
    fade_.setEndValue(0.0);
    fade_.setDuration(std::max(1, timerMilliseconds(duration)));
    fadeFinished_ = QObject::connect(&fade_, &QVariantAnimation::finished, [this, completion] {
        const auto done = completion;  // disconnecting frees this lambda
        QObject::disconnect(fadeFinished_);
        if (done) done();
    });
    fade_.start();
}

std::optional<std::string> QtBubblePanel::renderPng() { return pngBytes(widget_.grab().toImage()); }

}  // namespace glugmo
