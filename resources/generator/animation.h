#pragma once

#include <QPainter>
#include <functional>
#include <string>
#include <vector>

// A reaction of the pet: a named, fixed-length sequence of drawn frames.
namespace artwork {

struct Animation {
    std::string name;  // the file's base name
    int frames = 0;
    int delayCs = 8;  // per frame, in hundredths of a second
    int holdCs = 40;  // the last frame lingers before the pet returns to idle
    // Paints frame `i` in ground coordinates onto a cleared canvas.
    std::function<void(QPainter&, int i)> draw;
};

// In the order of the files' numbering.
std::vector<Animation> allAnimations();

Animation lookingGreat();  // 01
Animation clockingOff();   // 03
Animation loveYou();       // 04
Animation gotYourBack();   // 05
Animation workedHard();    // 06
Animation thanks();        // 07
Animation drinkWater();    // 08
Animation puzzled();       // 09
Animation teaTime();       // 10
Animation laughing();      // 12
Animation startled();      // 13
Animation knockedFlat();   // 14
Animation warmSmile();     // 16

}  // namespace artwork
