#include <gtest/gtest.h>

#include "app/pet_layout.h"

namespace glugmo {
namespace {

TEST(PetLayout, KnownSizesGiveTheKnownFramesWithThePetInsideItsMargins) {
    struct Case {
        double size;
        Size window;
        Rect petView;
    };
    const Case cases[] = {
        {120, {175.2, 167.67418738049716}, Rect::make(27.6, 13.743785850860423, 120, 137.43785850860422)},
        {200, {292, 279.4569789674952}, Rect::make(46, 22.906309751434037, 200, 229.06309751434034)},
        {1, {1.46, 1.3972849}, Rect::make(0.23, 0.11453154875717018, 1, 1.1453154875717018)},
    };
    for (const Case& c : cases) {
        const PetLayout layout = petLayout(c.size);
        EXPECT_NEAR(layout.windowSize.width, c.window.width, 1e-9) << c.size;
        EXPECT_NEAR(layout.windowSize.height, c.window.height, 1e-6) << c.size;
        EXPECT_EQ(layout.contentFrame, Rect::make(0, 0, layout.windowSize.width, layout.windowSize.height));
        for (const auto& [got, want] : {std::pair{layout.petViewFrame.origin.x, c.petView.origin.x},
                                        {layout.petViewFrame.origin.y, c.petView.origin.y},
                                        {layout.petViewFrame.size.width, c.petView.size.width},
                                        {layout.petViewFrame.size.height, c.petView.size.height}}) {
            EXPECT_NEAR(got, want, 1e-9) << c.size;
        }
        EXPECT_EQ(layout.layerFrame, Rect::make(0, 0, c.size, layout.petViewFrame.size.height));
        // The rocking never leaves the window: 0.12 of the pet's height above it.
        const Rect pet = layout.petViewFrame;
        EXPECT_NEAR(layout.windowSize.height - pet.maxY(), 0.12 * pet.size.height, 1e-9) << c.size;
        // Placed by the window's origin (placement and resizing are the startup and menu tests').
        EXPECT_EQ(petRectangle({1000, 40}, c.size), (Rect{{1000 + pet.origin.x, 40 + pet.origin.y}, pet.size}));
    }
}

}  // namespace
}  // namespace glugmo
