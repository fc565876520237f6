#pragma once

#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/pet_controller.h"
#include "tests/fake/fake_platform.h"

namespace glugmo {

// Someone who lives with the pet for weeks: pauses from a fraction of a
// second to hours, then taps, double-clicks, drags or right-clicks it, or
// picks something from its menu, all drawn from a seeded random stream.
// After every single event (each mouse call, menu pick and timer firing) it
// tells the observer what just happened.
class SimulatedUser {
public:
    using Observer = std::function<void(std::string_view event)>;

    SimulatedUser(fake::FakePlatform& fake, PetController& pet, unsigned seed, Observer afterEvent);

    // A pause, then one gesture.
    void liveOneMoment();
    // Lets time pass, stopping at every instant something is due.
    void wait(double seconds);

    // How often each gesture was made.
    const std::map<std::string, int>& gestures() const { return gestures_; }

private:
    double pauseLength();
    bool canReachPet();
    void tap();
    void doubleClick();
    void drag();
    void rightClick();
    void pester();
    void pickMenuItem();
    void pickSize();

    MouseHandler& mouse();
    void event(std::string_view what) { afterEvent_(what); }
    template <typename T>
    const T& pick(const std::vector<T>& from);

    fake::FakePlatform& fake_;
    PetController& pet_;
    std::mt19937 random_;
    Observer afterEvent_;
    std::vector<MenuItem*> menuItems_;
    std::vector<MenuItem*> sizeItems_;
    std::map<std::string, int> gestures_;
};

}  // namespace glugmo
