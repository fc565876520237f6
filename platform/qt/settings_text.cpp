#include "platform/qt/settings_text.h"

#include <QLocale>
#include <QStringList>

namespace glugmo {

std::optional<std::string> settingText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return std::nullopt;
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? "true" : "false";
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                .toStdString();
        case QMetaType::QStringList:
            return value.toStringList().join(QStringLiteral(", ")).toStdString();
        default:
            break;
    }
    if (!value.canConvert<QString>()) return std::nullopt;
    return value.toString().toStdString();
}

}  // namespace glugmo
