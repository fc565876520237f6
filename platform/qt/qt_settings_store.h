#pragma once

#include <QSettings>
#include <QString>

#include "platform/settings_store.h"

namespace glugmo {

// The user's settings in QSettings' native store, written through to disk
// on every change so that a killed process loses nothing.
class QtSettingsStore final : public SettingsStore {
public:
    // $XDG_CONFIG_HOME/Glugmo/Glugmo.conf.
    QtSettingsStore();
    // An explicit INI file, for tests.
    explicit QtSettingsStore(const QString& iniPath);

    std::optional<std::string> rawValue(std::string_view key) const override;
    void setBool(std::string_view key, bool value) override;
    void setDouble(std::string_view key, double value) override;

private:
    void write(std::string_view key, const QVariant& value);

    mutable QSettings settings_;
};

}  // namespace glugmo
