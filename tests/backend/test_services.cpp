// The Qt backend's services: run loop, clock, pictures, the settings file,
// the display it starts on and the memory it hands back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <sys/mman.h>

#include "platform/qt/bubble_font.h"
#include "platform/qt/display_session.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_run_loop.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/resident_pages.h"
#include "platform/qt/settings_text.h"
#include "platform/qt/tray_icon.h"

namespace glugmo {
namespace {

// The kB of the mapping that starts at `start` now in memory; -1 when none does.
long residentKb(const void* start) {
    std::ifstream smaps("/proc/self/smaps");
    const std::string wanted = QString::number(reinterpret_cast<quintptr>(start), 16).toStdString() + "-";
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        if (line.rfind(wanted, 0) == 0) inside = true;
        else if (inside && line.rfind("Rss:", 0) == 0) return std::stol(line.substr(4));
    }
    return -1;
}

TEST(RunLoop, TimersTickUntilStoppedAndBlocksRunOnceLater) {
    QtRunLoop loop;
    int ticks = 0, once = 0, dropped = 0, selfEnding = 0;
    std::vector<int> order;
    auto repeating = loop.scheduleTimer(0.01, true, [&] { ++ticks; });
    auto oneShot = loop.scheduleTimer(0.01, false, [&] { ++once; });
    loop.scheduleTimer(0.01, false, [&] { ++dropped; }).reset();
    std::unique_ptr<Timer> ending;
    ending = loop.scheduleTimer(0.01, true, [&] { ++selfEnding, ending.reset(); });  // a tick may end its own timer
    loop.runAfter(0.03, [&] { order.push_back(2); });
    loop.runAfter(0, [&] { order.push_back(1); });
    EXPECT_EQ(ticks + order.size(), 0u);  // never from inside the scheduling call
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 && order.size() == 2; }, 2000));
    repeating->invalidate();
    EXPECT_FALSE(repeating->isValid());
    EXPECT_FALSE(oneShot->isValid());
    const int stopped = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped);
    EXPECT_EQ((std::vector<int>{once, dropped, selfEnding}), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(Clock, CalendarFieldsInLocalTime) {
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "UTC");
    tzset();
    // 1970-01-01 00:00 UTC was a Thursday; 2024-03-03 was a Sunday.
    const std::pair<double, CalendarFields> table[] = {{0, {0, 0, 5, "1970-01-01"}},
                                                       {1709485200 + 59.9, {17, 0, 1, "2024-03-03"}},
                                                       {1709485200 + 6 * 86400 + 3599, {17, 59, 7, "2024-03-09"}}};
    for (const auto& [instant, fields] : table) {
        const CalendarFields f = QtClock().calendarAt(instant);
        EXPECT_EQ(std::tuple(f.hour, f.minute, f.weekday, f.dateKey),
                  std::tuple(fields.hour, fields.minute, fields.weekday, fields.dateKey));
    }
    savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz);
    tzset();
}

// Two views of one GIF each keep their place, and a frame handed out is
// never drawn over by the next one decoded.
TEST(Images, EachViewerOfAGifHasItsOwnFrames) {
    const auto image = decodeImage(QStringLiteral(GLUGMO_RESOURCES "/09_问号.gif"));
    ASSERT_TRUE(image && image->frameCount() > 5);
    QtImage::Frames first = image->frames();
    QtImage::Frames second = image->frames();
    const QImage early = first.frame(1);
    const QImage late = first.frame(5);
    EXPECT_NE(early, late);
    EXPECT_EQ(second.frame(1), early);
    EXPECT_EQ(first.frame(5), late);
    EXPECT_EQ(image->frame(1), early);
}

// Pictures drawn from one load serve the next only while the file is the
// same; a still kept encoded still decodes whole when drawn.
TEST(Images, ALoadIsKnownAgainUntilTheFileChanges) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("idle.png"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(GLUGMO_RESOURCES "/idle.png"), path));
    const auto first = decodeImage(path), again = decodeImage(path);
    ASSERT_TRUE(first && again);
    EXPECT_NE(first->identity(), 0u);
    EXPECT_EQ(again->identity(), first->identity());
    EXPECT_EQ(first->frame(0).size(), first->pixelSize());
    EXPECT_EQ(first->frame(0).format(), QImage::Format_ARGB32_Premultiplied);
    ASSERT_TRUE(QFile::remove(path) &&
                QFile::copy(QStringLiteral(GLUGMO_RESOURCES "/icon.png"), path));
    const auto edited = decodeImage(path);
    ASSERT_TRUE(edited);
    EXPECT_NE(edited->identity(), first->identity());
    // Known to decode only as the file it was: cut short, it is refused.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole.left(whole.size() / 3));
    file.close();
    EXPECT_EQ(decodeImage(path), nullptr);
}

// A GIF's frame delays come from the GIF just loaded while its file is
// unchanged, and from the file as it is now once it changes.
TEST(Images, AGifsFrameDelaysAreThoseOfItsFileAsItIsNow) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("play.gif"));
    const auto delaysOf = [](const std::optional<std::vector<GifFrameProperties>>& frames) {
        std::vector<double> delays;
        for (const GifFrameProperties& frame : frames.value_or(std::vector<GifFrameProperties>{}))
            delays.push_back(frame.delayTime.value_or(-1));
        return delays;
    };
    QtImageLoader loader;
    std::vector<std::vector<double>> seen;
    for (const char* name : {"/09_问号.gif", "/13_嚯.gif"}) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(GLUGMO_RESOURCES) + QString::fromUtf8(name), path));
        const auto image = std::dynamic_pointer_cast<const QtImage>(loader.loadImage(path.toStdString()));
        ASSERT_TRUE(image);
        const std::vector<double> delays = delaysOf(loader.gifFrameProperties(path.toStdString()));
        EXPECT_EQ(delays.size(), image->frameCount());
        EXPECT_EQ(delays, delaysOf(QtImageLoader().gifFrameProperties(path.toStdString())));
        seen.push_back(delays);
    }
    EXPECT_NE(seen[0], seen[1]);
    // Replaced while the first is still loaded: the new file answers.
    const auto kept = loader.loadImage(path.toStdString());
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(QStringLiteral(GLUGMO_RESOURCES "/09_问号.gif"), path));
    EXPECT_EQ(delaysOf(loader.gifFrameProperties(path.toStdString())), seen[0]);
}

// The bubble draws a line in the pet's own font when it has every
// character, else all of it in a system font; without the file, always so.
TEST(BubbleFont, TheOwnFontOnlyForLinesItHasEveryCharacterOf) {
    const QString own = QStringLiteral(GLUGMO_BUBBLE_FONT);
    if (own.isEmpty()) GTEST_SKIP() << "built without the bubble's own font";
    // Characters of the pet's lines, and a rare one no line has.
    const QString ours = QStringLiteral("先这样吧，也不是不行 ok?");
    const QString rare = QStringLiteral("先这样吧 鱻");
    EXPECT_EQ(bubbleFont(own, ours).family(), QStringLiteral("Glugmo Bubble"));
    EXPECT_NE(bubbleFont(own, rare).family(), QStringLiteral("Glugmo Bubble"));
    EXPECT_NE(bubbleFont(QStringLiteral("/nowhere/glugmo-bubble.ttf"), ours).family(), QStringLiteral("Glugmo Bubble"));
    EXPECT_EQ(bubbleFont(own, ours).pixelSize(), 13);
}

// Pages of a file go back only where they are exactly the file's: a
// writable mapping, and a read-only one with a page written before it was
// sealed, keep every byte.
TEST(ResidentPages, OnlyPagesThatAreTheFilesOwnAreHandedBack) {
    QTemporaryFile file;
    constexpr std::size_t kSize = 16 * 4096;
    ASSERT_TRUE(file.open());
    QByteArray pattern(kSize, '\0');
    for (std::size_t i = 0; i < kSize; ++i) pattern[static_cast<qsizetype>(i)] = static_cast<char>(i * 7);
    ASSERT_EQ(file.write(pattern), static_cast<qint64>(kSize));
    ASSERT_TRUE(file.flush());
    const auto map = [&](int protection) {
        return static_cast<char*>(mmap(nullptr, kSize, protection, MAP_PRIVATE, file.handle(), 0));
    };
    char* const readOnly = map(PROT_READ);
    char* const writable = map(PROT_READ | PROT_WRITE);
    char* const sealed = map(PROT_READ | PROT_WRITE);
    ASSERT_TRUE(readOnly != MAP_FAILED && writable != MAP_FAILED && sealed != MAP_FAILED);
    writable[5 * 4096] = 'w';
    sealed[3 * 4096] = 's';
    ASSERT_EQ(mprotect(sealed, kSize, PROT_READ), 0);
    // Every page read, so every page is resident.
    long sum = 0;
    for (std::size_t i = 0; i < kSize; i += 512) sum += readOnly[i] + writable[i] + sealed[i];
    EXPECT_NE(sum, 0);
    EXPECT_EQ(residentKb(readOnly), static_cast<long>(kSize / 1024));

    releaseUnusedPages();

    EXPECT_EQ(residentKb(readOnly), 0);
    EXPECT_EQ(QByteArray(readOnly, kSize), pattern);  // read again from the file
    EXPECT_EQ(writable[5 * 4096], 'w');
    EXPECT_EQ(sealed[3 * 4096], 's');
    for (char* mapped : {readOnly, writable, sealed}) munmap(mapped, kSize);
}

// Each size a tray asks for comes from the smallest picture that covers it,
// scaled down, never up; the tray's own picture wins a tie with a drawn size.
TEST(TrayIcon, EachSizeFromTheSmallestPictureCoveringIt) {
    QTemporaryDir dir;
    const auto square = [](int side, Qt::GlobalColor colour) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    };
    for (const auto& [name, side, colour] : {std::tuple("glugmo-16.png", 16, Qt::red),
                                             std::tuple("glugmo-32.PNG", 32, Qt::green),
                                             std::tuple("glugmo-64.png", 64, Qt::blue),
                                             std::tuple("other-8.png", 8, Qt::black)}) {
        ASSERT_TRUE(square(side, colour).save(dir.filePath(QString::fromLatin1(name)), "PNG"));
    }
    const QIcon icon = trayIcon(QPixmap::fromImage(square(32, Qt::yellow)), dir.path());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {32, 32}, {64, 64}}));
    for (const auto& [asked, side, colour] : {std::tuple(12, 12, Qt::red), std::tuple(16, 16, Qt::red),
                                              std::tuple(20, 20, Qt::yellow), std::tuple(48, 48, Qt::blue),
                                              std::tuple(100, 64, Qt::blue)}) {
        const QImage drawn = icon.pixmap(asked).toImage();
        EXPECT_EQ(drawn.size(), QSize(side, side)) << asked;
        EXPECT_EQ(drawn.pixelColor(side / 2, side / 2), QColor(colour)) << asked;
    }
    EXPECT_TRUE(trayIcon(QPixmap(), std::nullopt).isNull());
}

const char* const kKeys[] = {"clockOn", "drinkOn", "ghostMode", "petSize"};

TEST(SettingsFile, ReadsAndRewritesEveryFileAsQSettingsReadsIt) {
    QTemporaryDir folder;
    const QByteArray files[] = {
        "clockOn = \"a, b\" \ndrinkOn=x ; comment\npetSize=\\x41\\t1\\101\nghostMode=a\\,b\\;c\\\"\\\\\\?\\'\\q\n",
        "[general]\r\nclockOn=false\r\npetSize=80.5\r\nghostMode=\r\ndrinkOn=\"\"\r\n\r\n",
        "petSize=1\\\n20\nclockOn=\"two\nlines\"\ndrinkOn=\" padded \"  \n",
        "[Other]\nclockOn=1\n[General]\ndrinkOn=0\n[%General]\nghostMode=1\n",
        "clockOn=@Invalid()\ndrinkOn=@String(x)\nghostMode=@@at\npetSize=@notatype\n",
        "clockOn=true\nclockOn=false\n;petSize=5\n#drinkOn=0\n  ghostMode   =  on  \n",
        "[General\nclockOn=false\nno equals here\npetSize=中文 200\n",
        "clockOn=a, @@b\ndrinkOn=x, @Invalid()\npetSize=1\\x\nghostMode=@Invalid()x\nghostMode=\"open\n",
        QByteArray("\x00\xff[\n=\x01\x02petSize\nclockOn=\xe4\xb8", 26),
    };
    // Each file a new one: QSettings caches what it read by path, size and
    // time, and two files of one size written in one second would read the same.
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        const QString path = folder.filePath(QString::number(&bytes - files) + QStringLiteral(".conf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QVariantMap before;
        const QSettings reference(path, QSettings::IniFormat);
        for (const QString& key : reference.allKeys()) before[key] = reference.value(key);
        QtSettingsStore store(path);
        for (const char* key : kKeys) EXPECT_EQ(store.rawValue(key), settingText(before.value(key))) << key;
        // Rewritten in place at once, it keeps what it does not change.
        store.setBool("ghostMode", true);
        const QSettings after(path, QSettings::IniFormat);
        EXPECT_EQ(after.value("ghostMode").toString(), "true");
        for (const QString& key : before.keys())
            EXPECT_TRUE(key == "ghostMode" || after.value(key) == before.value(key)) << key.toStdString();
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

// A write the disk refuses leaves the file as it was and the setting in
// effect, told once per kind however often it recurs; a file that is there
// but cannot be read is never written over. (The e2e run fills a real disk.)
TEST(SettingsStoreFailures, AFailedWriteLeavesTheFileAndSaysSoOncePerKind) {
    const std::string good = "[General]\nclockOn=true\ndrinkOn=true\nghostMode=false\npetSize=200\n";
    ScriptedDisk disk;
    disk.file = good;
    disk.failures = {ENOSPC, EISDIR, ENOSPC, EISDIR, 0};
    std::vector<std::string> told;
    QtSettingsStore store("/c/Glugmo/Glugmo.conf", disk, [&](const std::string& line) { told.push_back(line); });
    for (int i = 0; disk.failures.size() > 1; ++i) {
        store.setDouble("petSize", 80 + i);
        EXPECT_EQ(disk.file, good) << "after write " << i;
        EXPECT_EQ(store.rawValue("petSize"), std::to_string(80 + i)) << i;
    }
    disk.readError = EACCES;
    store.setBool("ghostMode", true);
    EXPECT_EQ(disk.file, good);
    EXPECT_EQ(store.rawValue("ghostMode"), "true");
    const int kinds[] = {ENOSPC, EISDIR, EACCES};
    ASSERT_EQ(told.size(), std::size(kinds));
    for (std::size_t i = 0; i < told.size(); ++i) {
        EXPECT_NE(told[i].find(std::strerror(kinds[i])), std::string::npos) << told[i];
        EXPECT_NE(told[i].find("/c/Glugmo/Glugmo.conf"), std::string::npos) << told[i];
    }
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
        {"", 1, true}, {std::nullopt, 1, true} /* gone for a moment */, {std::string("\x00\xff junk", 7), 100, true},
        {"[General]\nclockOn=false\n", 1, true}, {"[General]\nclockOn=false\n", 100, false},
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
        std::set<std::string> lines, expected = {"/clockOn=false", "/drinkOn=false", "/ghostMode=true", "/petSize=200"};
        for (const IniEntry& e : parseIni(*disk.file).entries) lines.insert(e.section + "/" + e.key + "=" + e.value);
        if (row.unknownKeysKept) expected.insert({"/zoom=\"a, b\"", "Other/x=1"});
        EXPECT_EQ(lines, expected);
    }
}

TEST(PlatformChoice, RunsOnXWhereverItAnswersAndOtherwiseSaysWhatItNeeds) {
    const struct {
        const char* what;
        DisplaySession session;  // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY
        std::optional<bool> xServerAnswers;
        bool xcb;
        const char* refusalSays;  // empty: no refusal
    } cases[] = {
        {"Wayland with XWayland", {"", "wayland-0", "wayland", ":0"}, true, true, ""},
        {"plain X11 session", {"", "", "x11", ":0"}, true, true, ""},
        {"user chose offscreen", {"offscreen", "wayland-0", "wayland", ":0"}, true, false, ""},
        {"Wayland asked, no X", {"wayland;xcb", "", "", ""}, false, false, "XWayland"},
        {"X server gone", {"", "", "x11", ":7"}, false, false, "\":7\""},
        {"no display at all", {"", "", "", ""}, false, false, "DISPLAY=:0"},
        {"not built for X11", {"", "wayland-0", "wayland", ""}, std::nullopt, false, ""},
    };
    for (const auto& c : cases) {
        const DisplayPlan plan = planDisplay(c.session, c.xServerAnswers);
        EXPECT_EQ(plan.useXcb, c.xcb) << c.what;
        EXPECT_EQ(plan.refusal.isEmpty(), !*c.refusalSays) << c.what;
        EXPECT_TRUE(plan.refusal.contains(QLatin1String(c.refusalSays))) << c.what;
        EXPECT_FALSE(plan.refusal.contains(QLatin1Char('\n'))) << c.what;
    }
}

TEST(PlatformChoice, OnePetPerDisplayUnderAFileNameOfItsOwn) {
    const auto key = [](const char* wayland, const char* x11) {
        return displayKey({"", wayland, "", x11}).toStdString();
    };
    EXPECT_EQ(key("", ":0"), "x_0");
    EXPECT_EQ(key("", ":0.1"), "x_0");
    EXPECT_EQ(key("", "host.example.org:10.0"), "xhost.example.org_10");
    EXPECT_EQ(key("", "host.example.org:10.x"), "xhost.example.org_10.x");
    EXPECT_EQ(key("/run/user/1000/wayland-1", ":0"), "_run_user_1000_wayland-1");
    EXPECT_EQ(key("w\xC3\xA9\xF0\x9F\x90\x9F", ""), "w__");
    EXPECT_EQ(key("", ""), "default");
}

}  // namespace
}  // namespace glugmo
