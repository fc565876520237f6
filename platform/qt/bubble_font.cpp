#include "platform/qt/bubble_font.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QRawFont>

namespace glugmo {

namespace {

constexpr int kPixelSize = 13;

// The pet's own font, added to the application's fonts once.
struct OwnFont {
    QString file;
    QString family;
    QRawFont drawn;  // what it has glyphs for
};

const OwnFont& ownFontAt(const QString& file) {
    static OwnFont own;
    if (file == own.file) return own;
    own = OwnFont{file, {}, {}};
    if (file.isEmpty() || !QFileInfo::exists(file)) return own;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) return own;
    own.family = QFontDatabase::applicationFontFamilies(id).value(0);
    QFont font(own.family);
    font.setPixelSize(kPixelSize);
    own.drawn = QRawFont::fromFont(font);
    return own;
}

bool drawsAll(const QRawFont& font, const QString& text) {
    if (!font.isValid()) return false;
    for (const uint character : text.toUcs4()) {
        if (!QChar::isSpace(character) && !font.supportsCharacter(character)) return false;
    }
    return true;
}

}  // namespace

QFont bubbleFont(const QString& ownFont, const QString& text) {
    QFont font;
    if (const OwnFont& own = ownFontAt(ownFont); !own.family.isEmpty() && drawsAll(own.drawn, text)) {
        font.setFamily(own.family);
    } else {
        // A line of the user's own with a character the pet's font lacks is
        // drawn all in one system font, not in two that differ mid-line.
        for (const char* family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
                font.setFamily(QString::fromLatin1(family));
                break;
            }
        }
    }
    font.setPixelSize(kPixelSize);
    font.setWeight(QFont::Medium);
    return font;
}

}  // namespace glugmo
