#include <gtest/gtest.h>

#include "app/pet_layout.h"

namespace glugmo {
namespace {

TEST(PetLayout, DefaultSizeGivesTheKnownWindowAndViewFrames) {
    const PetLayout layout = petLayout(120);
    EXPECT_DOUBLE_EQ(layout.windowSize.width, 175.2);
    EXPECT_DOUBLE_EQ(layout.windowSize.height, 167.67418738049716);
    EXPECT_EQ(layout.contentFrame, Rect::make(0, 0, 175.2, 167.67418738049716));
    EXPECT_DOUBLE_EQ(layout.petViewFrame.origin.x, 27.6);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.origin.y, 13.743785850860423);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.size.width, 120);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.size.height, 137.43785850860422);
    EXPECT_EQ(layout.layerFrame, Rect::make(0, 0, 120, 137.43785850860422));
}

TEST(PetLayout, LargeSizeGivesTheKnownFrames) {
    const PetLayout layout = petLayout(200);
    EXPECT_DOUBLE_EQ(layout.windowSize.width, 292);
    EXPECT_DOUBLE_EQ(layout.windowSize.height, 279.4569789674952);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.origin.x, 46);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.origin.y, 22.906309751434037);
    EXPECT_DOUBLE_EQ(layout.petViewFrame.size.height, 229.06309751434034);
}

TEST(PetLayout, MarginsKeepThePetInsideTheWindow) {
    for (double s : {1.0, 80.0, 120.0, 200.0, 333.3}) {
        const PetLayout layout = petLayout(s);
        const Rect pet = layout.petViewFrame;
        EXPECT_NEAR(pet.minX(), layout.windowSize.width - pet.maxX(), 1e-9) << s;
        EXPECT_NEAR(layout.windowSize.height - pet.maxY(), 0.12 * pet.size.height, 1e-9) << s;
        EXPECT_NEAR(pet.minY(), 0.1 * pet.size.height, 1e-9) << s;
    }
}

TEST(PetLayout, StartsBottomRightOfTheVisibleArea) {
    const Size window = petLayout(120).windowSize;
    const Rect frame = initialWindowFrame(Rect::make(0, 25, 1440, 875), window);
    EXPECT_DOUBLE_EQ(frame.origin.x, 1204.8);
    EXPECT_DOUBLE_EQ(frame.origin.y, 65);
    EXPECT_EQ(frame.size, window);
}

TEST(PetLayout, PetRectangleFollowsTheWindowOrigin) {
    const Rect rect = petRectangle({1000, 40}, 120);
    EXPECT_DOUBLE_EQ(rect.origin.x, 1027.6);
    EXPECT_DOUBLE_EQ(rect.origin.y, 53.74378585086042);
    EXPECT_DOUBLE_EQ(rect.size.width, 120);
    EXPECT_DOUBLE_EQ(rect.size.height, 137.43785850860422);
}

TEST(PetLayout, ResizingKeepsTheCentre) {
    const Rect before = Rect::make(500 - 87.6, 300 - 83.83709369024858, 175.2, 167.67418738049716);
    const Rect after = resizedAboutCentre(before, petLayout(200).windowSize);
    EXPECT_NEAR(after.origin.x, 354.0, 1e-9);
    EXPECT_NEAR(after.origin.y, 160.272, 5e-4);
    EXPECT_NEAR(after.midX(), 500, 1e-9);
    EXPECT_NEAR(after.midY(), 300, 1e-9);
}

}  // namespace
}  // namespace glugmo
