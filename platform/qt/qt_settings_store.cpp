#include "platform/qt/qt_settings_store.h"

#include "platform/qt/settings_text.h"

namespace glugmo {

namespace {
QString keyString(std::string_view key) {
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}
}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Glugmo"),
                QStringLiteral("Glugmo")) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(iniPath, QSettings::IniFormat) {}

std::optional<std::string> QtSettingsStore::rawValue(std::string_view key) const {
    return settingText(settings_.value(keyString(key)));
}

void QtSettingsStore::setBool(std::string_view key, bool value) { write(key, value); }

void QtSettingsStore::setDouble(std::string_view key, double value) { write(key, value); }

void QtSettingsStore::write(std::string_view key, const QVariant& value) {
    settings_.setValue(keyString(key), value);
    // QSettings would otherwise write later, from the event loop or at exit.
    settings_.sync();
}

}  // namespace glugmo
