#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <optional>

namespace glugmo {

// The bubble's window: a rounded, slightly translucent dark-blue box with
// white centred text, transparent outside the box.
class BubbleWidget final : public QWidget {
public:
    static constexpr qreal kCornerRadius = 12;

    // `ownFont`: the pet's own font file, which may be missing.
    explicit BubbleWidget(QString ownFont);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    // Where the text goes, in the widget's logical pixels.
    void setLabelRect(const QRectF& rect);
    // For the text set; looked up at the first bubble: until then the pet
    // needs no fonts.
    const QFont& labelFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString ownFont_;
    QString text_;
    QRectF labelRect_;
    mutable std::optional<QFont> font_;
};

}  // namespace glugmo
