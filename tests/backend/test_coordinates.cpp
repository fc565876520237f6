#include <gtest/gtest.h>

#include "platform/qt/coordinates.h"

namespace glugmo {
namespace {

const QRect kScreen(0, 0, 1440, 900);

TEST(Coordinates, BottomLeftPointsBecomeTopLeftPixels) {
    // A window 40 points above the bottom edge, 167.67 points tall.
    const QRectF qt = toQtScreen(Rect::make(1204.8, 40, 175.2, 167.67), kScreen);
    EXPECT_DOUBLE_EQ(qt.left(), 1204.8);
    EXPECT_DOUBLE_EQ(qt.top(), 900 - 40 - 167.67);
    EXPECT_DOUBLE_EQ(qt.width(), 175.2);
    EXPECT_DOUBLE_EQ(qt.height(), 167.67);
}

TEST(Coordinates, ScreenConversionRoundTripsFractionalFrames) {
    const Rect frames[] = {Rect::make(1204.8, 40, 175.2, 167.67418738049716),
                           Rect::make(-30.25, 880.5, 90, 36), Rect::make(0, 0, 1440, 900)};
    const QRect screens[] = {kScreen, QRect(0, 0, 1920, 1080), QRect(100, 50, 1280, 800)};
    for (const QRect& screen : screens) {
        for (const Rect& frame : frames) {
            const Rect back = fromQtScreen(toQtScreen(frame, screen), screen);
            EXPECT_NEAR(back.origin.x, frame.origin.x, 1e-9);
            EXPECT_NEAR(back.origin.y, frame.origin.y, 1e-9);
            EXPECT_EQ(back.size, frame.size);
        }
    }
}

TEST(Coordinates, OriginIsThePrimaryScreensBottomLeftCorner) {
    const QRect screen(100, 50, 1280, 800);
    const Rect atOrigin = fromQtScreen(QRectF(100, 850 - 10, 10, 10), screen);
    EXPECT_EQ(atOrigin, Rect::make(0, 0, 10, 10));
}

TEST(Coordinates, LocalFlipKeepsDistanceFromTheBottom) {
    // The pet view sits 13.74 points above the bottom of a 168-pixel window.
    const QRectF view = toQtLocal(Rect::make(27.6, 13.74, 120, 137.44), 168);
    EXPECT_DOUBLE_EQ(view.left(), 27.6);
    EXPECT_NEAR(view.bottom(), 168 - 13.74, 1e-9);
    const QPointF point = toQtLocal(Point{20, 20}, 137.44);
    EXPECT_DOUBLE_EQ(point.x(), 20);
    EXPECT_NEAR(point.y(), 117.44, 1e-9);
}

TEST(Coordinates, WholePixelsRoundEachEdgeAndNeverVanish) {
    EXPECT_EQ(toWholePixels(QRectF(1204.8, 692.3, 175.2, 167.67)), QRect(1205, 692, 175, 168));
    EXPECT_EQ(toWholePixels(QRectF(10.4, 10.6, 0.2, 0.3)), QRect(10, 11, 1, 1));
}

}  // namespace
}  // namespace glugmo
