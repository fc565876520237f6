#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <QSettings>
#include <limits>

#include "platform/qt/qt_settings_store.h"
#include "platform/qt/settings_text.h"

namespace glugmo {
namespace {

TEST(SettingText, EachStoredTypeReadsAsTheTextTheRulesExpect) {
    const struct {
        QVariant value;
        std::optional<std::string> text;
    } table[] = {
        {QVariant(true), "true"},
        {QVariant(false), "false"},
        {QVariant(120.0), "120"},
        {QVariant(80.5), "80.5"},
        {QVariant(0.1), "0.1"},
        {QVariant(1.0 / 3.0), "0.3333333333333333"},
        {QVariant(std::numeric_limits<double>::quiet_NaN()), "nan"},
        {QVariant(-std::numeric_limits<double>::infinity()), "-inf"},
        {QVariant(7), "7"},
        {QVariant(QStringLiteral("yes")), "yes"},
        {QVariant(QStringLiteral("小只 80")), "小只 80"},
        {QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b")}), "a, b"},
        {QVariant(), std::nullopt},
    };
    for (const auto& row : table) {
        EXPECT_EQ(settingText(row.value), row.text) << row.value.toString().toStdString();
    }
}

TEST(SettingText, ShortestTextReadsBackToTheSameDouble) {
    for (double value : {167.67418738049716, 1e-300, 123456789.125, -0.0}) {
        const std::string text = *settingText(QVariant(value));
        EXPECT_EQ(std::stod(text), value) << text;
    }
}

const char* const kKeys[] = {"clockOn", "drinkOn", "ghostMode", "petSize"};

struct SettingsFile : ::testing::Test {
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("Glugmo/Glugmo.conf")); }
    void put(const QByteArray& bytes) const {
        QDir().mkpath(folder.filePath(QStringLiteral("Glugmo")));
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray contents() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
};

TEST_F(SettingsFile, ReadsEveryFileAsQSettingsReadsIt) {
    const QByteArray files[] = {
        "[General]\nclockOn=no\npetSize=  150 points\ndrinkOn=1, 2\n",
        "clockOn = \"a, b\" \ndrinkOn=x ; comment\npetSize=\\x41\\t1\\101\nghostMode=a\\,b\\;c\\\"\\\\\\?\\'\\q\n",
        "[general]\r\nclockOn=false\r\npetSize=80.5\r\n\r\n",
        "petSize=1\\\n20\nclockOn=\"two\nlines\"\ndrinkOn=\" padded \"  \n",
        "[Other]\nclockOn=1\n[General]\ndrinkOn=0\n[%General]\nghostMode=1\n",
        "clockOn=@Invalid()\ndrinkOn=@String(x)\nghostMode=@@at\npetSize=@ByteArray(150)\n",
        "clockOn=@Rect(1 2 3 4)\ndrinkOn=@notatype\npetSize=\"\"\nghostMode=\n",
        "clockOn=true\nclockOn=false\n;petSize=5\n#drinkOn=0\n  ghostMode   =  on  \n",
        "[General\nclockOn=false\nno equals here\npetSize=中文 200\n",
        "clockOn=a, @@b\ndrinkOn=x, @Invalid()\npetSize=1\\x\nghostMode=@Invalid()x\nghostMode=\"open\n",
        QByteArray("\x00\xff[\n=\x01\x02petSize\nclockOn=\xe4\xb8", 26),
    };
    for (const QByteArray& bytes : files) {
        put(bytes);
        const QSettings reference(path(), QSettings::IniFormat);
        const QtSettingsStore store(path());
        for (const char* key : kKeys) {
            EXPECT_EQ(store.rawValue(key), settingText(reference.value(QString::fromUtf8(key))))
                << key << " in " << bytes.toStdString();
        }
    }
}

TEST_F(SettingsFile, WritesReachTheDiskAtOnceAndKeepWhatTheyDoNotChange) {
    const QByteArray untouched[] = {"[General]\n", "zoom=\"a, b\" ", "drinkOn=@String(1)",
                                    "[Other]\n", "clockOn=x\\\ny", "list=1, 2, 3"};
    put(untouched[0] + "ghostMode=false\n" + untouched[1] + "\n" + untouched[2] + "\n\n" +
        untouched[3] + untouched[4] + "\n" + untouched[5] + "\n");
    const QSettings before(path(), QSettings::IniFormat);
    {
        QtSettingsStore store(path());
        store.setBool("ghostMode", true);
        store.setDouble("petSize", 80.5);
        EXPECT_EQ(store.rawValue("ghostMode"), "true");
        EXPECT_EQ(store.rawValue("petSize"), "80.5");
        // Already on disk, before the store goes away.
        const QByteArray written = contents();
        for (const QByteArray& line : untouched) EXPECT_TRUE(written.contains(line)) << line.toStdString();
    }
    const QSettings after(path(), QSettings::IniFormat);
    EXPECT_EQ(after.value("ghostMode").toString(), "true");
    EXPECT_EQ(after.value("petSize").toString(), "80.5");
    for (const QString& key : before.allKeys()) {
        if (key != "ghostMode") {
            EXPECT_EQ(after.value(key), before.value(key)) << key.toStdString();
        }
    }
}

// A disk whose file reads back as chosen, and whose writes fail with a
// chosen errno (0: they succeed).
struct ScriptedDisk final : SettingsDisk {
    std::optional<std::string> read(const std::string&, int& error) const override {
        error = readError;
        if (readError) return std::nullopt;
        const auto& seen = midWriteReads-- > 0 ? midWrite : file;
        error = seen ? 0 : ENOENT;
        return seen;
    }
    int replace(const std::string&, std::string_view bytes) override {
        const int error = failures.empty() ? 0 : failures.front();
        if (!failures.empty()) failures.erase(failures.begin());
        if (error == 0) file = std::string(bytes);
        return error;
    }
    std::optional<std::string> file;
    std::optional<std::string> midWrite;  // what the next reads see instead of `file`
    mutable int midWriteReads = 0;
    int readError = 0;  // the file is there but cannot be read
    std::vector<int> failures;  // one per write, in order
};

TEST(SettingsStoreFailures, AFailedWriteLeavesTheFileAndSaysSoOncePerKind) {
    const std::string good = "[General]\nclockOn=true\ndrinkOn=true\nghostMode=false\npetSize=200\n";
    ScriptedDisk disk;
    disk.file = good;
    // No space (with a page free or none), a read-only folder, a folder in
    // the file's place; each kind is told once however often it recurs.
    disk.failures = {ENOSPC, ENOSPC, EROFS, ENOSPC, EISDIR, EROFS, EISDIR, ENOSPC, 0};
    std::vector<std::string> told;
    QtSettingsStore store("/c/Glugmo/Glugmo.conf", disk, [&](const std::string& line) { told.push_back(line); });
    bool clockOn = true;
    double petSize = 200;
    for (int i = 0; disk.failures.size() > 1; ++i) {
        if (i % 2 == 0) store.setDouble("petSize", petSize = 80 + i);
        else store.setBool("clockOn", clockOn = !clockOn);
        EXPECT_EQ(disk.file, good) << "after write " << i;
        EXPECT_EQ(store.rawValue("petSize"), settingText(QVariant(petSize))) << i;
        EXPECT_EQ(store.rawValue("clockOn"), clockOn ? "true" : "false") << i;
    }
    // Nor is a file written over that is there but cannot be read.
    disk.readError = EACCES;
    store.setBool("ghostMode", true);
    EXPECT_EQ(disk.file, good);
    EXPECT_EQ(store.rawValue("ghostMode"), "true");
    const int kinds[] = {ENOSPC, EROFS, EISDIR, EACCES};
    ASSERT_EQ(told.size(), std::size(kinds));
    for (std::size_t i = 0; i < told.size(); ++i)
        EXPECT_NE(told[i].find(std::strerror(kinds[i])), std::string::npos) << told[i];
    EXPECT_NE(told[0].find("/c/Glugmo/Glugmo.conf"), std::string::npos) << told[0];
}

TEST(SettingsStoreFailures, AFileCaughtMidWriteLosesNoKey) {
    const std::string good = "[General]\nclockOn=false\nghostMode=true\npetSize=200\nzoom=\"a, b\"\n"
                             "\n[Other]\nx=1\n";
    // Caught once, a second look finds the file whole; caught for good, the
    // settings in effect fill in. A shorter file that stays as it is was
    // meant: only the keys the pet uses come back.
    const struct {
        std::optional<std::string> midWrite;
        int reads;
        bool unknownKeysKept;
    } rows[] = {
        {"", 1, true},
        {"", 100, true},
        {std::nullopt, 1, true},  // gone for a moment
        {std::string("\x00\xff junk", 10), 100, true},
        {"[General]\nclockOn=false\n", 1, true},
        {"[General]\nclockOn=false\n", 100, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.midWrite.value_or("(missing)") + " read " + std::to_string(row.reads));
        ScriptedDisk disk;
        disk.file = good;
        QtSettingsStore store("/c/Glugmo.conf", disk, [](const std::string& line) { FAIL() << line; });
        for (const char* key : kKeys) store.rawValue(key);
        disk.midWrite = row.midWrite;
        disk.midWriteReads = row.reads;
        store.setBool("drinkOn", false);
        const IniText written = parseIni(*disk.file);
        std::vector<std::string> lines;
        for (const IniEntry& entry : written.entries) lines.push_back(entry.section + "/" + entry.key + "=" + entry.value);
        std::vector<std::string> expected = {"/clockOn=false", "/drinkOn=false", "/ghostMode=true", "/petSize=200"};
        if (row.unknownKeysKept) expected.insert(expected.end(), {"/zoom=\"a, b\"", "Other/x=1"});
        std::sort(lines.begin(), lines.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(lines, expected);
    }
}

}  // namespace
}  // namespace glugmo
