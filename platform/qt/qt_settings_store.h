#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/qt/settings_text.h"
#include "platform/settings_store.h"

namespace glugmo {

// The file under the store; tests put in one that fails.
class SettingsDisk {
public:
    virtual ~SettingsDisk() = default;
    // The file's bytes, or nothing when it cannot be read; `error` then
    // says why (ENOENT: there is no file).
    virtual std::optional<std::string> read(const std::string& path, int& error) const = 0;
    // Replaces the file whole: 0, or the errno of the step that failed, the
    // file then left as it was.
    virtual int replace(const std::string& path, std::string_view bytes) = 0;
};

// The user's settings in QSettings' INI file, written through to disk on
// every change so that a killed process loses nothing. A write that fails
// leaves the file as it was and the value in effect until the pet quits.
class QtSettingsStore final : public SettingsStore {
public:
    using Report = std::function<void(const std::string& line)>;

    // $XDG_CONFIG_HOME/Glugmo/Glugmo.conf.
    QtSettingsStore();
    // An explicit INI file, for tests.
    explicit QtSettingsStore(const QString& iniPath);
    // Reads and writes through `disk`, failures told to `report`.
    QtSettingsStore(std::string path, SettingsDisk& disk, Report report);
    ~QtSettingsStore() override;

    std::optional<std::string> rawValue(std::string_view key) const override;
    void setBool(std::string_view key, bool value) override;
    void setDouble(std::string_view key, double value) override;

private:
    void load();
    void write(std::string_view key, const QVariant& value);
    void put(std::string_view key, const std::string& text);  // into the settings in effect
    void tell(std::string_view key, int error);  // once per kind of failure
    IniEntry* find(std::string_view key);
    const IniEntry* find(std::string_view key) const;

    std::string path_;
    std::unique_ptr<SettingsDisk> ownDisk_;
    SettingsDisk& disk_;
    Report report_;
    // The settings in effect: the file as last read whole, and every change
    // made since, saved or not.
    IniText current_;
    std::optional<std::string> lastSeen_;  // the file's bytes as last read or written
    mutable std::set<std::string, std::less<>> known_;  // keys this program reads or sets
    std::map<std::string, std::string> unsaved_;         // changes the disk refused, as written
    std::set<int> reported_;                             // failures already told, by errno
};

}  // namespace glugmo
