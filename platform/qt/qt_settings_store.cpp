#include "platform/qt/qt_settings_store.h"

#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/posix/posix_file_system.h"

namespace glugmo {

namespace {

class PosixSettingsDisk final : public SettingsDisk {
public:
    std::optional<std::string> read(const std::string& path, int& error) const override {
        errno = 0;
        auto bytes = files_.readFile(path);
        // Opened, but not a regular file: a folder, most likely.
        error = bytes ? 0 : errno != 0 ? errno : EISDIR;
        return bytes;
    }
    int replace(const std::string& path, std::string_view bytes) override {
        const std::size_t slash = path.rfind('/');
        errno = 0;
        if (slash != std::string::npos && slash > 0 && !files_.createDirectories(path.substr(0, slash)))
            return errno != 0 ? errno : ENOTDIR;
        return files_.replaceFile(path, bytes);
    }

private:
    PosixFileSystem files_{std::nullopt};
};

std::string defaultPath() {
    // Where QSettings kept it for the organisation and application "Glugmo".
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/Glugmo/Glugmo.conf"))
        .toStdString();
}

void toStderr(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

// A file that reads back empty or not understood is caught mid-write by
// someone else, not a wish to forget every setting.
bool readWhole(const std::optional<std::string>& bytes, const IniText& text) {
    return bytes && !bytes->empty() && text.wellFormed;
}

}  // namespace

QtSettingsStore::QtSettingsStore() : QtSettingsStore(QString::fromStdString(defaultPath())) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : path_(iniPath.toStdString()),
      ownDisk_(std::make_unique<PosixSettingsDisk>()),
      disk_(*ownDisk_),
      report_(toStderr) {
    load();
}

QtSettingsStore::QtSettingsStore(std::string path, SettingsDisk& disk, Report report)
    : path_(std::move(path)), disk_(disk), report_(std::move(report)) {
    load();
}

QtSettingsStore::~QtSettingsStore() = default;

void QtSettingsStore::load() {
    int error = 0;
    lastSeen_ = disk_.read(path_, error);
    if (lastSeen_) current_ = parseIni(*lastSeen_);
}

const IniEntry* QtSettingsStore::find(std::string_view key) const {
    for (const IniEntry& entry : current_.entries) {
        if (entry.section.empty() && entry.name() == key) return &entry;
    }
    return nullptr;
}

IniEntry* QtSettingsStore::find(std::string_view key) {
    return const_cast<IniEntry*>(std::as_const(*this).find(key));
}

std::optional<std::string> QtSettingsStore::rawValue(std::string_view key) const {
    known_.emplace(key);
    const IniEntry* entry = find(key);
    return entry ? settingText(iniValue(entry->value)) : std::nullopt;
}

void QtSettingsStore::setBool(std::string_view key, bool value) { write(key, value); }

void QtSettingsStore::setDouble(std::string_view key, double value) { write(key, value); }

void QtSettingsStore::write(std::string_view key, const QVariant& value) {
    known_.emplace(key);
    // Start from the file as it is now, so that whatever else changed it
    // since is kept; the keys this program knows keep their values even
    // when the file has lost them.
    int error = 0;
    auto bytes = disk_.read(path_, error);
    // Changed since last seen: perhaps still being written, so look again
    // until two looks agree.
    for (int look = 0; look < 4 && bytes != lastSeen_; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        auto again = disk_.read(path_, error);
        if (again == bytes) break;
        bytes = std::move(again);
    }
    lastSeen_ = bytes;
    std::string text = *settingText(value);  // booleans and numbers as QSettings writes them
    if (!bytes && error != ENOENT) {
        // Something is there that cannot be read: never write over it.
        unsaved_.insert_or_assign(std::string(key), text);
        put(key, text);
        tell(key, error);
        return;
    }
    IniText onDisk = bytes ? parseIni(*bytes) : IniText{};
    if (readWhole(bytes, onDisk)) {
        for (const IniEntry& entry : current_.entries) {
            const bool lost = entry.section.empty() && known_.contains(entry.name()) &&
                              std::none_of(onDisk.entries.begin(), onDisk.entries.end(), [&](const IniEntry& e) {
                                  return e.section.empty() && e.name() == entry.name();
                              });
            if (lost) onDisk.entries.push_back(entry);
        }
        current_ = std::move(onDisk);
        // Changes the disk refused stay in effect.
        for (const auto& [unsavedKey, unsavedText] : unsaved_) put(unsavedKey, unsavedText);
    }

    put(key, text);
    std::string file = composeIni(current_.entries);
    error = disk_.replace(path_, file);
    if (error == 0) {
        lastSeen_ = std::move(file);
        unsaved_.clear();
    } else {
        unsaved_.insert_or_assign(std::string(key), text);
        tell(key, error);
    }
}

void QtSettingsStore::put(std::string_view key, const std::string& text) {
    if (IniEntry* entry = find(key)) *entry = {std::string(), entry->key, text};
    else current_.entries.push_back({std::string(), std::string(key), text});
}

void QtSettingsStore::tell(std::string_view key, int error) {
    if (!reported_.insert(error).second) return;
    report_("glugmo: could not save the setting \"" + std::string(key) + "\" to " + path_ + ": " +
            std::strerror(error) + " (the change holds until Glugmo quits)");
}

}  // namespace glugmo
