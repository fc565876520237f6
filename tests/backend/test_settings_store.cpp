#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
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

struct SettingsFile : ::testing::Test {
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("Glugmo/Glugmo.conf")); }
};

TEST_F(SettingsFile, WritesReachTheDiskAtOnce) {
    {
        QtSettingsStore store(path());
        EXPECT_FALSE(store.rawValue("ghostMode"));
        store.setBool("ghostMode", true);
        store.setDouble("petSize", 80.5);
        EXPECT_EQ(store.rawValue("ghostMode"), "true");
        EXPECT_EQ(store.rawValue("petSize"), "80.5");
        // Already on disk, before the store goes away.
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        EXPECT_TRUE(contents.contains("ghostMode=true")) << contents.toStdString();
        EXPECT_TRUE(contents.contains("petSize=80.5")) << contents.toStdString();
    }
    const QtSettingsStore reread(path());
    EXPECT_EQ(reread.rawValue("ghostMode"), "true");
    EXPECT_EQ(reread.rawValue("petSize"), "80.5");
}

TEST_F(SettingsFile, HandEditedValuesComeBackAsWritten) {
    QDir().mkpath(folder.filePath(QStringLiteral("Glugmo")));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nclockOn=no\npetSize=  150 points\ndrinkOn=1, 2\n");
    file.close();
    const QtSettingsStore store(path());
    EXPECT_EQ(store.rawValue("clockOn"), "no");
    EXPECT_EQ(store.rawValue("petSize"), "150 points");
    EXPECT_EQ(store.rawValue("drinkOn"), "1, 2");
}

TEST_F(SettingsFile, BrokenOrMisplacedFilesReadAsEmptyAndNeverCrash) {
    // A folder where the file should be: nothing reads, writes fail quietly.
    ASSERT_TRUE(QDir().mkpath(path()));
    QtSettingsStore blocked(path());
    EXPECT_FALSE(blocked.rawValue("petSize"));
    blocked.setDouble("petSize", 160);
    blocked.setBool("clockOn", false);

    // Binary garbage in the file.
    const QString garbage = folder.filePath(QStringLiteral("garbage.conf"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x00\xff[\n=\x01\x02petSize", 14));
    file.close();
    QtSettingsStore broken(garbage);
    EXPECT_FALSE(broken.rawValue("clockOn"));
    broken.setBool("clockOn", true);
    EXPECT_EQ(broken.rawValue("clockOn"), "true");
}

}  // namespace
}  // namespace glugmo
