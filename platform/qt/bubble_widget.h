#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace glugmo {

// The bubble's window: a rounded, slightly translucent dark-blue box with
// white centred text, transparent outside the box.
class BubbleWidget final : public QWidget {
public:
    static constexpr qreal kCornerRadius = 12;

    BubbleWidget();

    void setText(const QString& text);
    const QString& text() const { return text_; }
    // Where the text goes, in the widget's logical pixels.
    void setLabelRect(const QRectF& rect);
    const QFont& labelFont() const { return font_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QRectF labelRect_;
    QFont font_;
};

}  // namespace glugmo
