#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <ctime>
#include <functional>

#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_run_loop.h"

namespace glugmo {
namespace {

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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A user's file named like one of ours stands in for it; anything wrong
// with it leaves ours, with one line saying which file and why. (The desktop
// tests show a PNG that stands in, and a cut, an oversized and a false one.)
TEST(Resources, UserPicturesStandInForOursFileByFile) {
    QTemporaryDir ours, theirs;
    QFile gif(QStringLiteral(GLUGMO_RESOURCES "/13_嚯.gif"));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    QByteArray png;
    QBuffer buffer(&png);
    QImage(1, 1, QImage::Format_ARGB32).save(&buffer, "PNG");
    const auto file = [](QByteArray bytes) { return [bytes](const QString& p) { writeFile(p, bytes); }; };
    const struct {
        const char* name;
        std::function<void(const QString& path)> make;  // in the user's folder
        std::string problem;                             // empty: the user's file is used
    } cases[] = {
        {"13_嚯.gif", file(gif.readAll()), ""},
        {"04_爱你哟.gif", file(png), "is not a GIF picture"},
        {"05_帮紧你.gif", [](const QString& p) { QDir().mkpath(p); }, "is a folder"},
        {"06_辛苦了.gif", [](const QString& p) { QFile::link(p + ".gone", p); }, "is a link to nothing"},
        {"08_多喝水.gif", [](const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); f.resize(21 << 20); },
         "is larger than 20 MB"},
    };
    for (const auto& c : cases) {
        writeFile(QDir(ours.path()).filePath(QString::fromUtf8(c.name)), "ours");
        c.make(QDir(theirs.path()).filePath(QString::fromUtf8(c.name)));
    }
    writeFile(QDir(theirs.path()).filePath(QStringLiteral("not_ours.png")), "ignored");
    std::string told;
    const QtResources resources(ours.path(), theirs.path(), [&](const std::string& l) { told += l + "\n"; });
    for (const auto& c : cases) {
        const QFileInfo name(QString::fromUtf8(c.name));
        const QDir expected(c.problem.empty() ? theirs.path() : ours.path());
        EXPECT_EQ(resources.pathFor(name.completeBaseName().toStdString(), name.suffix().toStdString()),
                  expected.filePath(name.fileName()).toStdString());
        EXPECT_EQ(told.find(c.name + (" " + c.problem)) != told.npos, !c.problem.empty()) << told;
    }
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'),
              std::count_if(std::begin(cases), std::end(cases), [](auto& c) { return !c.problem.empty(); }));
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
    ASSERT_TRUE(QFile::remove(path) &&
                QFile::copy(QStringLiteral(GLUGMO_RESOURCES "/icon.png"), path));
    const auto edited = decodeImage(path);
    ASSERT_TRUE(edited);
    EXPECT_NE(edited->identity(), first->identity());
}

}  // namespace
}  // namespace glugmo
