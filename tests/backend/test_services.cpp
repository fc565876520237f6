#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_clock.h"
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

TEST(Resources, ChineseNamesAndMissingFiles) {
    QTemporaryDir folder;
    QFile gif(folder.filePath(QStringLiteral("01_好jeng啊.gif")));
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.close();
    QDir().mkpath(folder.filePath(QStringLiteral("idle.png")));  // a folder is not a picture
    const QtResources resources(folder.path());
    EXPECT_EQ(resources.pathFor("01_好jeng啊", "gif"), gif.fileName().toStdString());
    EXPECT_FALSE(resources.pathFor("01_好jeng啊", "png"));
    EXPECT_FALSE(resources.pathFor("idle", "png"));
    EXPECT_FALSE(QtResources(std::nullopt).pathFor("idle", "png"));
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
