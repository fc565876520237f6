#include "platform/qt/bubble_font.h"

#include <QFontDatabase>

namespace glugmo {

QFont bubbleFont() {
    QFont font;
    for (const char* family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    return font;
}

}  // namespace glugmo
