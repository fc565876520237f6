#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_run_loop.h"

namespace glugmo {
namespace {

TEST(RunLoop, RepeatingTimersTickUntilInvalidated) {
    QtRunLoop loop;
    int ticks = 0;
    auto timer = loop.scheduleTimer(0.01, true, [&] { ++ticks; });
    EXPECT_EQ(ticks, 0);  // never from inside the scheduling call
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    const int stopped = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped);
}

TEST(RunLoop, OneShotTimersEndAndDestroyedHandlesNeverFire) {
    QtRunLoop loop;
    int ticks = 0;
    auto once = loop.scheduleTimer(0.01, false, [&] { ++ticks; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 1; }, 2000));
    EXPECT_FALSE(once->isValid());
    auto dropped = loop.scheduleTimer(0.01, false, [&] { ticks += 100; });
    dropped.reset();
    QTest::qWait(50);
    EXPECT_EQ(ticks, 1);
}

TEST(RunLoop, ATickMayDestroyItsOwnTimer) {
    QtRunLoop loop;
    std::unique_ptr<Timer> timer;
    int ticks = 0;
    timer = loop.scheduleTimer(0.01, true, [&] {
        ++ticks;
        timer.reset();
    });
    QTest::qWait(60);
    EXPECT_EQ(ticks, 1);
}

TEST(RunLoop, DelayedBlocksRunOnceLater) {
    QtRunLoop loop;
    std::vector<int> order;
    loop.runAfter(0.03, [&] { order.push_back(2); });
    loop.runAfter(0, [&] { order.push_back(1); });
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 2000));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(Clock, CalendarFieldsInLocalTime) {
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "UTC");
    tzset();
    const QtClock clock;
    // 1970-01-01 00:00 UTC was a Thursday; 2024-03-03 was a Sunday.
    const struct {
        double instant;
        int hour, minute, weekday;
        const char* date;
    } table[] = {{0, 0, 0, 5, "1970-01-01"},
                 {1709485200 + 59.9, 17, 0, 1, "2024-03-03"},
                 {1709485200 + 6 * 86400 + 3599, 17, 59, 7, "2024-03-09"}};
    for (const auto& row : table) {
        const CalendarFields fields = clock.calendarAt(row.instant);
        EXPECT_EQ(fields.hour, row.hour) << row.date;
        EXPECT_EQ(fields.minute, row.minute) << row.date;
        EXPECT_EQ(fields.weekday, row.weekday) << row.date;
        EXPECT_EQ(fields.dateKey, row.date);
    }
    if (savedTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedTz);
    tzset();
}

TEST(Clock, WeekdaysStartOnSunday) {
    for (int iso = 1; iso <= 7; ++iso) EXPECT_EQ(weekdayFromIsoDay(iso), iso % 7 + 1);
    EXPECT_EQ(weekdayFromIsoDay(7), 1);
}

TEST(Resources, FoundBesideTheExecutableOrInTheInstalledTree) {
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    EXPECT_FALSE(findResourceFolder(bin));
    QDir().mkpath(root.filePath(QStringLiteral("share/glugmo")));
    EXPECT_EQ(findResourceFolder(bin), root.filePath(QStringLiteral("share/glugmo")));
    QDir().mkpath(root.filePath(QStringLiteral("bin/resources")));
    EXPECT_EQ(findResourceFolder(bin), root.filePath(QStringLiteral("bin/resources")));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray pngOf(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A user's file named like one of ours stands in for it; anything wrong
// with it leaves ours, with one line saying which file and why.
TEST(Resources, UserPicturesStandInForOursFileByFile) {
    QTemporaryDir ours, theirs;
    QFile gif(QStringLiteral(GLUGMO_RESOURCES "/13_嚯.gif"));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    const QByteArray wholeGif = gif.readAll();
    const struct {
        const char* name;
        std::function<void(const QString& path)> make;  // in the user's folder; none: no such file
        const char* problem;                             // nullptr: the user's file is used
    } cases[] = {
        {"idle.png", [](const QString& p) { writeFile(p, pngOf({3, 2})); }, nullptr},
        {"13_嚯.gif", [&](const QString& p) { writeFile(p, wholeGif); }, nullptr},
        {"01_好jeng啊.gif", {}, nullptr},
        {"icon.png", [](const QString& p) { writeFile(p, "not a picture\n"); }, "is not a PNG picture"},
        {"03_收工.gif", [&](const QString& p) { writeFile(p, wholeGif.left(wholeGif.size() / 2)); }, "is cut short"},
        {"04_爱你哟.gif", [](const QString& p) { writeFile(p, pngOf({1, 1})); }, "is not a GIF picture"},
        {"05_帮紧你.gif", [](const QString& p) { QDir().mkpath(p); }, "is a folder"},
        {"06_辛苦了.gif", [](const QString& p) { QFile::link(p + ".gone", p); }, "is a link to nothing"},
        {"07_谢谢.png", [](const QString& p) { writeFile(p, pngOf({5000, 1})); }, "is wider or taller than 4096 px"},
        {"08_多喝水.gif", [](const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); f.resize(21 << 20); },
         "is larger than 20 MB"},
    };
    for (const auto& c : cases) {
        writeFile(QDir(ours.path()).filePath(QString::fromUtf8(c.name)), "ours");
        if (c.make) c.make(QDir(theirs.path()).filePath(QString::fromUtf8(c.name)));
    }
    writeFile(QDir(theirs.path()).filePath(QStringLiteral("not_ours.png")), "ignored");
    std::vector<std::string> lines;
    const QtResources resources(ours.path(), theirs.path(), [&](const std::string& l) { lines.push_back(l); });

    std::size_t problems = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString base = QFileInfo(QString::fromUtf8(c.name)).completeBaseName();
        const auto path = resources.pathFor(base.toStdString(), QFileInfo(QString::fromUtf8(c.name)).suffix().toStdString());
        const QDir expected(c.make && !c.problem ? theirs.path() : ours.path());
        EXPECT_EQ(path, expected.filePath(QString::fromUtf8(c.name)).toStdString());
        if (!c.problem) continue;
        ++problems;
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const std::string& l) { return l.find(c.name) != l.npos; });
        ASSERT_NE(line, lines.end());
        EXPECT_NE(line->find(c.problem), std::string::npos) << *line;
    }
    EXPECT_EQ(lines.size(), problems);
    EXPECT_FALSE(resources.pathFor("not_ours", "png"));
    EXPECT_FALSE(QtResources(std::nullopt).pathFor("idle", "png"));
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

TEST(Application, EnvironmentNamesCountEvenWhenEmpty) {
    const QtApplication application;
    qputenv("GLG_BACKEND_TEST_EMPTY", "");
    EXPECT_TRUE(application.environmentContains("GLG_BACKEND_TEST_EMPTY"));
    qunsetenv("GLG_BACKEND_TEST_EMPTY");
    EXPECT_FALSE(application.environmentContains("GLG_BACKEND_TEST_EMPTY"));
}

}  // namespace
}  // namespace glugmo
