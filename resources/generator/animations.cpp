#include "animation.h"

namespace artwork {

std::vector<Animation> allAnimations() {
    return {lookingGreat(), clockingOff(), loveYou(),  gotYourBack(), workedHard(),
            thanks(),       drinkWater(),  puzzled(),  teaTime(),     laughing(),
            startled(),     knockedFlat(), warmSmile()};
}

}  // namespace artwork
