#include "platform/qt/tray_icon.h"

#include <QDir>
#include <QIconEngine>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "platform/qt/qt_image.h"

namespace glugmo {

namespace {

struct Choice {
    QSize size;
    QString path;    // a drawn size, read when asked for
    QPixmap pixmap;  // or the picture itself
};

qint64 area(QSize size) { return qint64(size.width()) * size.height(); }

bool byArea(const Choice& a, const Choice& b) { return area(a.size) < area(b.size); }

QImage readPng(const QString& path) {
    QImageReader reader(path);
    readAsPng(reader);
    return reader.read();
}

// One look for every mode and state: the tray shows the icon only as it is.
class TrayIconEngine final : public QIconEngine {
public:
    explicit TrayIconEngine(std::vector<Choice> choices) : choices_(std::move(choices)) {}

    QIconEngine* clone() const override { return new TrayIconEngine(*this); }
    QString key() const override { return QStringLiteral("glugmo-tray"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const Choice& choice : choices_) sizes.append(choice.size);
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize chosen = bestFor(size).size;
        if (chosen.width() <= size.width() && chosen.height() <= size.height()) return chosen;
        return chosen.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (size == handedSize_) return handed_;
        const Choice& choice = bestFor(size);
        QPixmap pixmap =
            choice.path.isEmpty() ? choice.pixmap : QPixmap::fromImage(readPng(choice.path));
        const QSize actual = actualSize(size, mode, state);
        if (!pixmap.isNull() && pixmap.size() != actual) {
            pixmap = pixmap.scaled(actual, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        handedSize_ = size;
        handed_ = pixmap;
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * dpr, mode, state));
    }

private:
    const Choice& bestFor(QSize size) const {
        const auto covering =
            std::find_if(choices_.begin(), choices_.end(),
                         [size](const Choice& choice) { return area(choice.size) >= area(size); });
        return covering != choices_.end()
                   ? *covering
                   : *std::max_element(choices_.begin(), choices_.end(), byArea);
    }

    std::vector<Choice> choices_;  // smallest first, the picture first of equals; never empty
    QSize handedSize_;
    QPixmap handed_;
};

}  // namespace

QIcon trayIcon(const QPixmap& picture, const std::optional<QString>& drawnFolder) {
    std::vector<Choice> choices;
    if (!picture.isNull()) choices.push_back({picture.size(), {}, picture});
    // Not QDir's name filters, which are regular expressions.
    for (const QFileInfo& file :
         drawnFolder ? QDir(*drawnFolder).entryInfoList(QDir::Files) : QFileInfoList()) {
        const QString name = file.fileName();
        if (!name.startsWith(QLatin1String("glugmo-"), Qt::CaseInsensitive) ||
            !name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            continue;
        }
        // The header alone tells the size.
        QImageReader reader(file.filePath());
        readAsPng(reader);
        if (const QSize size = reader.size(); size.isValid()) {
            choices.push_back({size, file.filePath(), {}});
        }
    }
    if (choices.empty()) return {};
    // The picture first among those the same size.
    std::stable_sort(choices.begin(), choices.end(), byArea);
    return QIcon(new TrayIconEngine(std::move(choices)));
}

}  // namespace glugmo
