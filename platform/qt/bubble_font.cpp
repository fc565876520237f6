#include "platform/qt/bubble_font.h"

#include <QFileInfo>
#include <QFontDatabase>

namespace glugmo {

namespace {

// The family of the font file, added to the application's fonts once.
QString addedFamily(const QString& file) {
    static QString added;
    static QString family;
    if (file.isEmpty() || file == added) return family;
    added = file;
    family.clear();
    if (!QFileInfo::exists(file)) return family;
    const int id = QFontDatabase::addApplicationFont(file);
    if (id >= 0) family = QFontDatabase::applicationFontFamilies(id).value(0);
    return family;
}

}  // namespace

QFont bubbleFont(const QString& ownFont) {
    QFont font;
    if (const QString own = addedFamily(ownFont); !own.isEmpty()) {
        // A character it lacks still comes from the system's fonts. Drawn
        // unhinted, as fontconfig's own rule for the full font has it.
        font.setFamily(own);
    } else {
        for (const char* family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
                font.setFamily(QString::fromLatin1(family));
                break;
            }
        }
    }
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    return font;
}

}  // namespace glugmo
