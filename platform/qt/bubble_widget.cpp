#include "platform/qt/bubble_widget.h"

#include <QPainter>

#include "platform/qt/bubble_font.h"
#include "platform/qt/floating_window.h"
#include "platform/qt/resident_pages.h"

namespace glugmo {

namespace {
const QColor kBackground = QColor::fromRgbF(0.02f, 0.2f, 0.42f, 0.92f);
}  // namespace

BubbleWidget::BubbleWidget(QString ownFont)
    : QWidget(nullptr, floatingWindowFlags()), ownFont_(std::move(ownFont)) {
    makeFloating(*this);
    setWindowTitle(QStringLiteral("咕噜宝"));
}

const QFont& BubbleWidget::labelFont() const {
    if (!font_) font_ = bubbleFont(ownFont_, text_);
    return *font_;
}

void BubbleWidget::setText(const QString& text) {
    if (text != text_) font_.reset();
    text_ = text;
    update();
}

void BubbleWidget::setLabelRect(const QRectF& rect) {
    labelRect_ = rect;
    update();
}

void BubbleWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBackground);
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.setPen(Qt::white);
    painter.setFont(labelFont());
    painter.drawText(labelRect_, Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignVCenter, text_);
    releaseFontPages();
}

}  // namespace glugmo
