#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt/coordinates.h"
#include "platform/qt/qt_bubble_panel.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_pet_window.h"

namespace glugmo {
namespace {

// The pet's layout at size 120: the window and the view inside it.
const Rect kWindowFrame = Rect::make(1204.8, 40, 175.2, 167.67418738049716);
const Rect kViewFrame = Rect::make(27.6, 13.743785850860422, 120, 137.43785850860422);

struct Recorder : MouseHandler {
    std::vector<std::string> calls;
    PetWindow* window = nullptr;
    bool drags = true;
    void mouseDown(int clickCount) override {
        calls.push_back("down " + std::to_string(clickCount));
        if (drags && window) window->performWindowDrag();
    }
    void mouseUp() override { calls.push_back("up"); }
    void rightMouseDown() override { calls.push_back("right"); }
};

struct PetWindowTest : ::testing::Test {
    QtPetWindow window{kWindowFrame, false};
    Recorder recorder;

    PetWindowTest() {
        window.setContentFrame(Rect::make(0, 0, kWindowFrame.size.width, kWindowFrame.size.height));
        window.imageView().setFrame(kViewFrame);
        window.imageView().setMouseHandler(&recorder);
        recorder.window = &window;
        window.orderFrontRegardless();
    }

    void send(QEvent::Type type, QPointF local, Qt::MouseButton button, Qt::MouseButtons held) {
        QWidget& widget = window.widget();
        QMouseEvent event(type, local, widget.mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
    QPointF viewCentre() { return window.qtImageView().rectInWindow().center(); }
};

TEST_F(PetWindowTest, KeepsItsFractionalFrameUntilMoved) {
    const int screenBottom = primaryScreenGeometry().bottom() + 1;
    EXPECT_EQ(window.frame(), kWindowFrame);
    EXPECT_EQ(window.widget().geometry(), QRect(1205, screenBottom - 40 - 168, 175, 168));
    const Rect moved = Rect::make(1000.25, 300.5, 175.2, 167.67418738049716);
    window.setFrame(moved);
    EXPECT_EQ(window.frame(), moved);
    // Moved by someone else (a drag, the window manager): the real place.
    window.widget().move(900, 400);
    EXPECT_EQ(window.frame(), Rect::make(900, screenBottom - 400 - 168, 175, 168));
}

TEST_F(PetWindowTest, ViewSitsAboveTheBottomMarginOfTheWindow) {
    const QRectF view = window.qtImageView().rectInWindow();
    EXPECT_NEAR(view.left(), 27.6, 1e-9);
    EXPECT_NEAR(view.bottom(), 168 - kViewFrame.origin.y, 1e-9);
    EXPECT_NEAR(view.height(), kViewFrame.size.height, 1e-9);
}

TEST_F(PetWindowTest, ClicksAndDoubleClicksInsideTheView) {
    send(QEvent::MouseButtonPress, viewCentre(), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, viewCentre(), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, viewCentre(), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, viewCentre(), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, viewCentre(), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"down 1", "up", "down 2", "up", "right"}));
    EXPECT_EQ(window.frame(), kWindowFrame);
}

TEST_F(PetWindowTest, TheMarginsTakeNoClicks) {
    send(QEvent::MouseButtonPress, QPointF(5, 80), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPointF(5, 80), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, QPointF(80, 3), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(PetWindowTest, DragMovesTheWindowOnlyPastSixPoints) {
    const QPointF start = viewCentre();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPointF(4, 3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.frame(), kWindowFrame);  // 5 points: still a click
    // No window manager here, so the window follows the pointer itself.
    send(QEvent::MouseMove, start + QPointF(30, -20), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPointF(30, -20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"down 1", "up"}));
    EXPECT_EQ(window.frame().origin, (Point{1205 + 30, 40 + 20}));
}

TEST_F(PetWindowTest, WithoutPermissionAPressNeverDrags) {
    recorder.drags = false;
    const QPointF start = viewCentre();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPointF(40, 0), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPointF(40, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.frame(), kWindowFrame);
}

TEST_F(PetWindowTest, GhostModeAndVisibility) {
    window.setIgnoresMouseEvents(true);
    EXPECT_TRUE(window.ignoresMouseEvents());
    EXPECT_TRUE(window.widget().windowHandle()->flags() & Qt::WindowTransparentForInput);
    window.orderOut();
    EXPECT_FALSE(window.isVisible());
    window.orderFrontRegardless();
    EXPECT_TRUE(window.isVisible());
    window.setIgnoresMouseEvents(false);
    EXPECT_FALSE(window.widget().windowHandle()->flags() & Qt::WindowTransparentForInput);
}

TEST_F(PetWindowTest, RendersTheViewAsDrawn) {
    QTemporaryDir folder;
    QImage art(240, 275, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    art.setPixelColor(120, 137, Qt::red);
    for (int y = 100; y < 175; ++y)
        for (int x = 80; x < 160; ++x) art.setPixelColor(x, y, Qt::red);
    const QString path = folder.filePath(QStringLiteral("idle.png"));
    ASSERT_TRUE(art.save(path));

    QtImageLoader loader;
    ImageView& view = window.imageView();
    EXPECT_FALSE(view.hasImage());
    view.setImage(loader.loadImage(path.toStdString()));
    EXPECT_TRUE(view.hasImage());
    const auto png =
        view.renderPng(Rect::make(0, 0, kViewFrame.size.width, kViewFrame.size.height));
    ASSERT_TRUE(png);
    const QImage rendered = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_EQ(rendered.size(), QSize(120, 138));
    // Scaled by half into the view: the red block sits in the middle.
    EXPECT_EQ(rendered.pixelColor(60, 68), QColor(Qt::red));
    EXPECT_EQ(rendered.pixelColor(10, 10).alpha(), 0);
}

TEST_F(PetWindowTest, PositiveRotationTurnsCounterClockwiseAboutTheBottomCentre) {
    // A thin upright bar standing on the bottom centre of the picture.
    QTemporaryDir folder;
    QImage art(240, 275, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    for (int y = 0; y < 275; ++y)
        for (int x = 116; x < 124; ++x) art.setPixelColor(x, y, Qt::blue);
    const QString path = folder.filePath(QStringLiteral("bar.png"));
    ASSERT_TRUE(art.save(path));
    QtImageLoader loader;
    ImageView& view = window.imageView();
    view.setImage(loader.loadImage(path.toStdString()));
    view.layer()->setAnchorPoint({0.5, 0});
    // Held at 0.3 rad for the length of the test.
    view.layer()->addAnimation(
        BasicAnimation{"transform.rotation.z", 0.3, 0.3, 100, false, 0, TimingFunction::Linear},
        "hold");
    const auto png =
        view.renderPng(Rect::make(0, 0, kViewFrame.size.width, kViewFrame.size.height));
    ASSERT_TRUE(png);
    const QImage rendered = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    const auto barXAt = [&](int y) {
        for (int x = 0; x < rendered.width(); ++x)
            if (rendered.pixelColor(x, y).alpha() > 128) return x;
        return -1;
    };
    // The foot stays put, the top leans left by about h * sin(0.3).
    EXPECT_NEAR(barXAt(rendered.height() - 2), 58, 3);
    EXPECT_NEAR(barXAt(20), 58 - (137 - 20) * std::sin(0.3), 4);
}

TEST(ImageLoader, UndecodableFilesGiveNoImage) {
    QtImageLoader loader;
    EXPECT_EQ(loader.loadImage("/nonexistent/idle.png"), nullptr);
    QTemporaryDir folder;
    QFile junk(folder.filePath(QStringLiteral("junk.gif")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("GIF89a but not really");
    junk.close();
    EXPECT_EQ(loader.loadImage(junk.fileName().toStdString()), nullptr);
}

TEST(BubblePanel, TheDebugLineFitsOnOneLine) {
    QtBubblePanel panel(Rect::make(0, 0, 220, 44));
    panel.setText("莫生气 +1，测试气泡垂直居中");
    const Size oneLine = panel.fittingSize(232);
    EXPECT_LE(oneLine.width, 232);
    EXPECT_EQ(oneLine.width, std::ceil(oneLine.width));
    EXPECT_GE(oneLine.height, 13);
    EXPECT_LT(oneLine.height, 26);
    // Narrower, the same text wraps onto more lines.
    const Size wrapped = panel.fittingSize(60);
    EXPECT_LE(wrapped.width, 60);
    EXPECT_GE(wrapped.height, 2 * oneLine.height);
}

TEST(BubblePanel, FadesOutThenCallsBackAndShowsFullyAgain) {
    QtBubblePanel panel(Rect::make(100, 100, 202, 36));
    panel.setText("功德+1");
    panel.setLabelFrame(Rect::make(14, 10, 174, 16));
    panel.orderFrontRegardless();
    EXPECT_TRUE(panel.isVisible());
    bool faded = false;
    panel.fadeOut(0.05, [&] {
        faded = true;
        panel.orderOut();
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return faded; }, 2000));
    EXPECT_DOUBLE_EQ(panel.alpha(), 0);
    EXPECT_FALSE(panel.isVisible());

    // A fade cut short by a new show does not pull the alpha down again.
    panel.fadeOut(0.2, [&] { faded = false; });
    panel.setAlpha(1);
    panel.orderFrontRegardless();
    QTest::qWait(300);
    EXPECT_DOUBLE_EQ(panel.alpha(), 1);
    EXPECT_TRUE(faded);

    const auto png = panel.renderPng();
    ASSERT_TRUE(png);
    const QImage image = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_EQ(image.size(), QSize(202, 36));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);  // outside the rounded corner
    EXPECT_GT(image.pixelColor(101, 3).alpha(), 200);
}

}  // namespace
}  // namespace glugmo
