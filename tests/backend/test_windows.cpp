// The Qt backend's windows, menu and animation as the pet draws them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cmath>
#include <condition_variable>

#include "platform/qt/animation_timing.h"
#include "platform/qt/cue_player.h"
#include "platform/qt/frame_timeline.h"
#include "platform/qt/menu_presenter.h"
#include "platform/qt/monotonic_time.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_layer.h"
#include "platform/qt/qt_pet_window.h"
#include "platform/qt/rotation_steps.h"
#include "platform/qt/rotation_transform.h"

namespace glugmo {
namespace {

// The pet's layout at size 120: the window and the view inside it.
const Rect kWindowFrame = Rect::make(1204.8, 40, 175.2, 167.67418738049716);
const Rect kViewFrame = Rect::make(27.6, 13.743785850860422, 120, 137.43785850860422);

struct PetWindowUnderTest {
    QtPetWindow window{kWindowFrame, false};

    PetWindowUnderTest() {
        window.setContentFrame(Rect::make(0, 0, kWindowFrame.size.width, kWindowFrame.size.height));
        window.imageView().setFrame(kViewFrame);
        window.orderFrontRegardless();
    }
    QImage render() {
        const auto png = window.imageView().renderPng(Rect::make(0, 0, kViewFrame.size.width, kViewFrame.size.height));
        return png ? QImage::fromData(QByteArray::fromStdString(*png), "PNG") : QImage();
    }
};

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

struct MenuModel : ::testing::Test {
    std::shared_ptr<Menu> model = std::make_shared<Menu>();
    std::shared_ptr<Menu> sizes = std::make_shared<Menu>();
    std::vector<std::string> performed;
    std::function<void(MenuItem&)> record = [this](MenuItem& item) { performed.push_back(item.title); };
    std::shared_ptr<MenuItem> ghost = MenuItem::make("幽灵模式", record);
    QMenu menu;
    MenuPresenter presenter{menu};

    MenuModel() {
        auto sizeItem = MenuItem::make("大小");
        sizes->addItem(MenuItem::make("小只 80", record));
        model->setSubmenu(sizes, *sizeItem);
        ghost->state = MenuItem::State::On;
        for (auto item : {ghost, sizeItem, MenuItem::separatorItem(), MenuItem::make("退出", record, "q")})
            model->addItem(item);
        presenter.setModel(model);
    }
};

// Each opening rebuilds the menu from the model as it is now; the old
// submenus go with the old actions.
TEST_F(MenuModel, OpeningShowsTheModelAsItIsNow) {
    EXPECT_TRUE(menu.actions()[0]->isCheckable() && menu.actions()[0]->isChecked());
    ghost->state = MenuItem::State::Off;
    ghost->title = "幽灵模式 (关)";
    sizes->addItem(MenuItem::make("标准 120"));
    menu.popup(QPoint(10, 10));
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("幽灵模式 (关)"));
    EXPECT_FALSE(actions[0]->isChecked());
    ASSERT_NE(actions[1]->menu(), nullptr);
    EXPECT_EQ(actions[1]->menu()->actions().size(), 2);
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    actions[1]->menu()->actions()[0]->trigger();
    EXPECT_EQ(performed, std::vector<std::string>{"小只 80"});
    menu.close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(MenuModel, CtrlQWorksWhileTheMenuIsOpen) {
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QTest::keyClick(&menu, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(performed, std::vector<std::string>{"退出"});
    EXPECT_FALSE(menu.isVisible());
    // A key without the modifier is the menu's own business.
    menu.popup(QPoint(10, 10));
    QTest::keyClick(&menu, Qt::Key_Q);
    EXPECT_EQ(performed.size(), 1u);
    menu.close();
}

const BasicAnimation kRock{"transform.rotation.z",       -0.055, 0.055, 1.7, true, kRepeatForever,
                           TimingFunction::EaseInEaseOut};
const KeyframeAnimation kStretch{
    "transform.rotation.z", {0, 0.18, -0.05, 0.02, 0}, {0, 0.35, 0.65, 0.85, 1.0}, 1.4, TimingFunction::EaseInEaseOut};

// A layer on a clock the test moves by hand.
struct LayerOnTestClock : ::testing::Test {
    double now = 100;
    int changes = 0;
    QtLayer layer{[this] { return now; }, [this] { ++changes; }};
};

TEST_F(LayerOnTestClock, TheNewestRunningRotationIsDrawnUntilItEnds) {
    layer.addAnimation(kRock, "rock");
    EXPECT_NEAR(layer.rotationAt(now + 1.7), 0.055, 1e-9);
    now += 0.85;
    layer.addAnimation(kRock, "rock");  // replaces and restarts
    EXPECT_NEAR(layer.rotationAt(now), -0.055, 1e-12);
    now += 0.5;
    layer.addAnimation(kStretch, "stretch");
    EXPECT_NEAR(layer.rotationAt(now), 0, 1e-12);
    EXPECT_TRUE(layer.isAnimatingAt(now + 0.7));
    // Once the stretch has ended the rock shows through again, still in phase.
    EXPECT_NEAR(layer.rotationAt(now + 2.0), *animationValueAt(kRock, 2.5), 1e-12);
    now += 1.4;
    EXPECT_FALSE(layer.hasAnimation("stretch"));
    layer.removeAnimation("rock");
    EXPECT_FALSE(layer.hasAnimation("rock"));
    EXPECT_FALSE(layer.isAnimatingAt(now));
    EXPECT_DOUBLE_EQ(layer.rotationAt(now), 0);
    layer.resetTransform();
    layer.setAnchorPoint({0.5, 0});
    layer.setFrame(Rect::make(0, 0, 120, 137));
    EXPECT_EQ(changes, 7);
}

// A 120 x 137 picture rotating about its bottom centre: its top corners are
// the farthest points, about 149.6 pixels away. One step moves them a pixel.
TEST(RotationSteps, OneStepMovesTheFarthestPointByOnePixel) {
    const double radius = farthestDistance(QRectF(0, 0, 120, 137), QPointF(60, 137));
    EXPECT_NEAR(radius, std::hypot(60.0, 137.0), 1e-9);
    EXPECT_DOUBLE_EQ(farthestDistance(QRectF(), QPointF(60, 137)), 0);
    const RotationSteps steps(radius), none(0);
    EXPECT_NEAR(steps.step() * radius, 1.0, 1e-12);
    const std::pair<double, int> indices[] = {
        {0.0, 0}, {0.49 / radius, 0}, {0.51 / radius, 1}, {-0.055, -static_cast<int>(std::lround(0.055 * radius))}};
    for (const auto& [angle, index] : indices) EXPECT_EQ(steps.indexOf(angle), index) << angle;
    EXPECT_EQ(none.indexOf(0.18) + none.indexOf(NAN), 0);  // no picture never repaints for rotation
    // The drawn angle is never further than half a pixel from the true one.
    for (double angle = -0.2; angle <= 0.2; angle += 0.0007)
        EXPECT_LE(std::abs(steps.angleOf(steps.indexOf(angle)) - angle) * radius, 0.5 + 1e-9);

    // A turn of a step every 0.1 s, from time 0, leaves step 0 at 0.05 s, found within the resolution, even past
    // the first stride or near the horizon's end; a still angle waits the longest.
    const RotationSteps hundredths(100);
    const StepSearch search{.horizon = 1.0, .stride = 0.016, .resolution = 0.001};
    for (const double from : {0.0, 0.04, 0.049, -0.9}) {
        const double change =
            nextStepChange([](double t) { return 0.1 * std::max(t, 0.0); }, hundredths, 0, from, search);
        EXPECT_TRUE(change >= 0.05 && change <= 0.05 + search.resolution) << from << " " << change;
    }
    EXPECT_DOUBLE_EQ(nextStepChange([](double) { return 0.02; }, hundredths, 2, 3.0, search), 4.0);
}

// Cues are shown in order and none before its moment; new cues or a stop
// drop those still to come, and a player going away shows nothing more.
TEST(CuePlayer, ShowsEachCueAtItsMomentUntilReplacedOrGone) {
    using namespace std::chrono_literals;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, double>> shown;  // step, when
    auto player = std::make_unique<CuePlayer>(mutex, [&](const CanvasKey& key) {
        shown.emplace_back(key.step, monotonicSeconds());
        changed.notify_all();
    });
    const auto cue = [](double time, int step) { return Cue{time, CanvasKey{7, 0, step}}; };
    const double start = monotonicSeconds();
    std::unique_lock lock(mutex);
    player->play({cue(start + 0.02, 1), cue(start + 0.04, 2), cue(start + 60, 9)});
    ASSERT_TRUE(changed.wait_for(lock, 5s, [&] { return shown.size() == 2; }));
    player->play({cue(start + 0.05, 5)});
    player->stop();
    EXPECT_FALSE(changed.wait_for(lock, 150ms, [&] { return shown.size() > 2; }));
    player->play({cue(start - 1, 3), cue(start + 60, 8)});  // the first is due already
    ASSERT_TRUE(changed.wait_for(lock, 5s, [&] { return shown.size() == 3; }));
    lock.unlock();
    player.reset();  // without waiting for the cue a minute away
    EXPECT_LT(monotonicSeconds() - start, 5);

    ASSERT_EQ(shown.size(), 3u);
    const std::pair<int, double> expected[] = {{1, start + 0.02}, {2, start + 0.04}, {3, start}};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].first, expected[i].first);
        EXPECT_GE(shown[i].second, expected[i].second - 1e-6) << i;
    }
}

// Our own sine and cosine agree with libm to an ulp or two in every quadrant,
// and the turn about a pivot is the one Qt's rotateRadians makes.
TEST(RotationSteps, TurnsAsQtDoes) {
    for (double angle = -4; angle <= 4; angle += 0.0009) {
        const QTransform ours = rotationAbout(QPointF(), angle);
        EXPECT_NEAR(ours.m12(), std::sin(angle), 5e-16) << angle;
        EXPECT_NEAR(ours.m11(), std::cos(angle), 5e-16) << angle;
    }
    const QPointF pivot(60, 137);
    for (const double angle : {0.0, -0.055, 0.18, 2.0, -3.5, 100.0, 3e6}) {
        QTransform qt;
        qt.translate(pivot.x(), pivot.y());
        qt.rotateRadians(angle);
        qt.translate(-pivot.x(), -pivot.y());
        for (const QPointF point : {QPointF(0, 0), QPointF(120, 0), pivot}) {
            const QPointF difference = rotationAbout(pivot, angle).map(point) - qt.map(point);
            EXPECT_LT(std::abs(difference.x()) + std::abs(difference.y()), 1e-10) << angle;
        }
    }
}

// Frames follow their own delays, tiny ones played as 20 ms; a loop count
// limits the passes (0 plays once, 2 three times), then the last frame holds.
TEST(FrameTimeline, FramesFollowTheirDelaysForTheirLoops) {
    const std::vector<int> delays{100, 50, 200}, pair{100, 100};
    const struct {
        std::vector<int> delays;
        int loops;
        std::int64_t elapsed;
        std::size_t frame;
        std::optional<std::int64_t> untilNext;  // none: held for good
    } table[] = {{delays, -1, 0, 0, 100},  {delays, -1, 99, 0, 1},   {delays, -1, 100, 1, 50},
                 {delays, -1, 149, 1, 1},  {delays, -1, 150, 2, 200}, {delays, -1, 349, 2, 1},
                 {delays, -1, 350, 0, 100}, {delays, -1, 820, 1, 30}, {pair, 0, 150, 1, 50},
                 {pair, 0, 250, 1, {}},    {pair, 2, 450, 0, 50},     {pair, 2, 650, 1, {}},
                 {{0, 0}, -1, 30, 1, 10},  {{100}, -1, 5000, 0, {}},  {{}, -1, 0, 0, {}}};
    for (const auto& row : table) {
        const FramePosition position = framePositionAt(row.delays, row.loops, row.elapsed);
        EXPECT_EQ(position.index, row.frame) << row.elapsed;
        EXPECT_EQ(position.msUntilNext, row.untilNext) << row.elapsed;
    }
    for (const auto& [written, played] : {std::pair{0, 20}, {10, 20}, {70, 70}})
        EXPECT_EQ(playedFrameDelay(written), played);
}

}  // namespace
}  // namespace glugmo
