#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
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

struct PetWindowUnderTest : MouseHandler {
    QtPetWindow window{kWindowFrame, false};
    std::vector<std::string> calls;
    bool drags = true;

    PetWindowUnderTest() {
        window.setContentFrame(Rect::make(0, 0, kWindowFrame.size.width, kWindowFrame.size.height));
        window.imageView().setFrame(kViewFrame);
        window.imageView().setMouseHandler(this);
        window.orderFrontRegardless();
    }
    void mouseDown(int clickCount) override {
        calls.push_back("down " + std::to_string(clickCount));
        if (drags) window.performWindowDrag();
    }
    void mouseUp() override { calls.push_back("up"); }
    void rightMouseDown() override { calls.push_back("right"); }

    // A gesture on the view, from its middle plus `start`: p press, d double
    // click, r release, R right press, m move on along `path`.
    void perform(std::string_view gesture, QPointF start, std::vector<QPointF> path = {}) {
        QWidget& widget = window.widget();
        QPointF at = window.qtImageView().rectInWindow().center() + start;
        const QPointF middle = at - start;
        for (const char step : gesture) {
            if (step == 'm') at = middle + path.at(0), path.erase(path.begin());
            const auto type = step == 'm' ? QEvent::MouseMove : step == 'r' ? QEvent::MouseButtonRelease
                              : step == 'd'                   ? QEvent::MouseButtonDblClick
                                                              : QEvent::MouseButtonPress;
            const auto button = step == 'R' ? Qt::RightButton : step == 'm' ? Qt::NoButton : Qt::LeftButton;
            const Qt::MouseButtons held = step == 'r' ? Qt::NoButton : step == 'R' ? button : Qt::LeftButton;
            QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(&widget, &event);
        }
    }
    QImage render() {
        const auto png = window.imageView().renderPng(Rect::make(0, 0, kViewFrame.size.width, kViewFrame.size.height));
        return png ? QImage::fromData(QByteArray::fromStdString(*png), "PNG") : QImage();
    }
};

TEST(PetWindow, KeepsItsFractionalFrameInBottomLeftPointsUntilMoved) {
    PetWindowUnderTest pet;
    const int screenBottom = primaryScreenGeometry().bottom() + 1;
    EXPECT_EQ(pet.window.frame(), kWindowFrame);
    EXPECT_EQ(pet.window.widget().geometry(), QRect(1205, screenBottom - 40 - 168, 175, 168));
    const QRectF view = pet.window.qtImageView().rectInWindow();
    EXPECT_NEAR(view.left(), 27.6, 1e-9);
    EXPECT_NEAR(view.bottom(), 168 - kViewFrame.origin.y, 1e-9);
    EXPECT_NEAR(view.height(), kViewFrame.size.height, 1e-9);
    // The window manager's own placement of a window just shown is taken
    // back; a later move (a drag, the window manager) gives the real place.
    pet.window.widget().move(903, 420);
    EXPECT_EQ(pet.window.widget().geometry(), QRect(1205, screenBottom - 40 - 168, 175, 168));
    pet.window.widget().move(900, 400);
    EXPECT_EQ(pet.window.frame(), Rect::make(900, screenBottom - 400 - 168, 175, 168));
    EXPECT_EQ(toWholePixels(QRectF(10.4, 10.6, 0.2, 0.3)), QRect(10, 11, 1, 1));  // never vanishes
    // Points start at the bottom-left corner of the primary screen, wherever it is.
    const QRect offset(100, 50, 1280, 800);
    EXPECT_EQ(toQtScreen(Rect::make(0, 0, 10, 10), offset), QRectF(100, 840, 10, 10));
    EXPECT_EQ(fromQtScreen(QRectF(100, 840, 10, 10), offset), Rect::make(0, 0, 10, 10));
    // Ghost mode lets clicks through, and visibility follows.
    for (const bool ghost : {true, false}) {
        pet.window.setIgnoresMouseEvents(ghost);
        EXPECT_EQ(pet.window.ignoresMouseEvents(), ghost);
        EXPECT_EQ(bool(pet.window.widget().windowHandle()->flags() & Qt::WindowTransparentForInput), ghost);
        ghost ? pet.window.orderOut() : pet.window.orderFrontRegardless();
        EXPECT_EQ(pet.window.isVisible(), !ghost);
    }
}

TEST(PetWindow, ClicksInsideTheViewAndDragsPastSixPoints) {
    const struct {
        const char* name;
        bool drags;
        const char* gesture;
        QPointF start;
        std::vector<QPointF> path;
        std::vector<std::string> calls;
        std::optional<Point> movedTo;  // in whole pixels once moved
    } cases[] = {
        {"clicks", true, "prdrR", {}, {}, {"down 1", "up", "down 2", "up", "right"}, {}},
        {"the margins take no clicks", true, "prR", {-82, 0}, {}, {}, {}},
        {"five points are still a click", true, "pmr", {}, {{4, 3}}, {"down 1", "up"}, {}},
        // No window manager here, so the window follows the pointer itself.
        {"a drag moves the window", true, "pmmr", {}, {{4, 3}, {30, -20}}, {"down 1", "up"}, Point{1235, 60}},
        {"without permission a press never drags", false, "pmr", {}, {{40, 0}}, {"down 1", "up"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PetWindowUnderTest pet;
        pet.drags = c.drags;
        pet.perform(c.gesture, c.start, c.path);
        EXPECT_EQ(pet.calls, c.calls);
        EXPECT_EQ(pet.window.frame().origin, c.movedTo.value_or(kWindowFrame.origin));
    }
}

// A thin upright bar standing on the bottom centre of the picture, drawn
// scaled by half into the view, then turned: positive angles turn it
// counter-clockwise about its foot.
TEST(PetWindow, RendersTheViewScaledAndTurnedAboutTheBottomCentre) {
    QTemporaryDir folder;
    QImage art(240, 275, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    QPainter(&art).fillRect(116, 0, 8, 275, Qt::blue);
    const QString path = folder.filePath(QStringLiteral("bar.png"));
    ASSERT_TRUE(art.save(path));
    // What cannot be decoded gives no image.
    QtImageLoader loader;
    QFile junk(folder.filePath(QStringLiteral("junk.gif")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("GIF89a but not really") && junk.flush());
    for (const QString& bad : {junk.fileName(), folder.filePath(QStringLiteral("missing.png"))})
        EXPECT_EQ(loader.loadImage(bad.toStdString()), nullptr) << bad.toStdString();

    PetWindowUnderTest pet;
    ImageView& view = pet.window.imageView();
    EXPECT_FALSE(view.hasImage());
    view.setImage(loader.loadImage(path.toStdString()));
    EXPECT_TRUE(view.hasImage());
    view.layer()->setAnchorPoint({0.5, 0});
    const QImage upright = pet.render();
    EXPECT_EQ(upright.size(), QSize(120, 138));
    EXPECT_EQ(upright.pixelColor(59, 68), QColor(Qt::blue));
    EXPECT_EQ(upright.pixelColor(10, 10).alpha(), 0);

    view.layer()->addAnimation(
        BasicAnimation{"transform.rotation.z", 0.3, 0.3, 100, false, 0, TimingFunction::Linear}, "hold");
    const QImage turned = pet.render();
    const auto barXAt = [&](int y) {
        for (int x = 0; x < turned.width(); ++x)
            if (turned.pixelColor(x, y).alpha() > 128) return x;
        return -1;
    };
    EXPECT_NEAR(barXAt(turned.height() - 2), 58, 3);
    EXPECT_NEAR(barXAt(20), 58 - (137 - 20) * std::sin(0.3), 4);
}

TEST(BubblePanel, FadesOutThenCallsBackAndShowsFullyAgain) {
    QtBubblePanel panel(Rect::make(100, 100, 202, 36));
    panel.setText("功德+1");
    panel.orderFrontRegardless();
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
}

}  // namespace
}  // namespace glugmo
