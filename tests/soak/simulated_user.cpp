#include "tests/soak/simulated_user.h"

namespace glugmo {

namespace {

void collectItems(const Menu& menu, std::vector<MenuItem*>& all, std::vector<MenuItem*>& sizes) {
    for (const auto& item : menu.itemArray()) {
        if (item->isSeparator) continue;
        all.push_back(item.get());
        if (item->representedValue) sizes.push_back(item.get());
        if (item->submenu) collectItems(*item->submenu, all, sizes);
    }
}

}  // namespace

SimulatedUser::SimulatedUser(fake::FakePlatform& fake, PetController& pet, unsigned seed, Observer afterEvent)
    : fake_(fake), pet_(pet), random_(seed), afterEvent_(std::move(afterEvent)) {
    collectItems(*pet.statusMenu(), menuItems_, sizeItems_);
}

template <typename T>
const T& SimulatedUser::pick(const std::vector<T>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random_)];
}

double SimulatedUser::pauseLength() {
    // Mostly quick successions and short breaks, now and then hours away.
    struct Range {
        double weight, shortest, longest;
    };
    static const std::vector<Range> ranges = {
        {40, 0.0, 2.0}, {30, 2.0, 30.0}, {20, 30.0, 600.0}, {10, 600.0, 7200.0}};
    std::vector<double> weights;
    for (const Range& r : ranges) weights.push_back(r.weight);
    const Range& r = ranges[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(random_)];
    return std::uniform_real_distribution<double>(r.shortest, r.longest)(random_);
}

void SimulatedUser::wait(double seconds) {
    const double until = fake_.loop.now() + seconds;
    while (const std::optional<double> due = fake_.loop.nextDue()) {
        if (*due > until) break;
        fake_.loop.advanceTo(*due);
        event("timers fired");
    }
    fake_.loop.advanceTo(until);
    event("pause ended");
}

void SimulatedUser::liveOneMoment() {
    wait(pauseLength());
    using Gesture = void (SimulatedUser::*)();
    static const std::vector<std::pair<Gesture, double>> gestures = {
        {&SimulatedUser::tap, 30},        {&SimulatedUser::doubleClick, 8}, {&SimulatedUser::drag, 10},
        {&SimulatedUser::rightClick, 6},  {&SimulatedUser::pester, 3},      {&SimulatedUser::pickMenuItem, 12},
        {&SimulatedUser::pickSize, 4},
    };
    std::vector<double> weights;
    for (const auto& g : gestures) weights.push_back(g.second);
    Gesture gesture = gestures[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(random_)].first;
    // A hidden or click-through pet cannot be reached with the mouse: the
    // user goes to the tray menu instead.
    const bool needsMouse = gesture != &SimulatedUser::pickMenuItem && gesture != &SimulatedUser::pickSize;
    if (needsMouse && !canReachPet()) gesture = &SimulatedUser::pickMenuItem;
    (this->*gesture)();
}

bool SimulatedUser::canReachPet() {
    return fake_.window().isVisible() && !fake_.window().ignoresMouseEvents() && fake_.view().mouseHandler;
}

MouseHandler& SimulatedUser::mouse() { return *fake_.view().mouseHandler; }

void SimulatedUser::tap() {
    ++gestures_["tap"];
    mouse().mouseDown(1);
    event("press");
    mouse().mouseUp();
    event("release");
}

void SimulatedUser::doubleClick() {
    ++gestures_["double click"];
    mouse().mouseDown(1);
    event("first press of a double click");
    mouse().mouseUp();
    event("first release of a double click");
    mouse().mouseDown(2);
    event("second press of a double click");
    mouse().mouseUp();
    event("second release of a double click");
}

void SimulatedUser::drag() {
    ++gestures_["drag"];
    mouse().mouseDown(1);
    event("press before a drag");
    const Point from = fake_.window().frame().origin;
    std::uniform_real_distribution<double> nudge(-4.0, 4.0), x(0, 1400), y(25, 880);
    // Some drags are jitters that still count as taps.
    const bool jitter = std::bernoulli_distribution(0.3)(random_);
    fake_.window().moveTo(jitter ? Point{from.x + nudge(random_), from.y + nudge(random_)}
                                 : Point{x(random_), y(random_)});
    event("window dragged");
    mouse().mouseUp();
    event("release after a drag");
}

void SimulatedUser::rightClick() {
    ++gestures_["right click"];
    mouse().rightMouseDown();
    event("right press");
}

void SimulatedUser::pester() {
    ++gestures_["pester"];
    for (int i = 0; i < 6; ++i) {
        mouse().mouseDown(1);
        event("quick press");
        mouse().mouseUp();
        event("quick release");
        wait(0.2);
    }
}

void SimulatedUser::pickMenuItem() {
    ++gestures_["menu item"];
    pick(menuItems_)->perform();
    event("menu item picked");
}

void SimulatedUser::pickSize() {
    ++gestures_["size"];
    pick(sizeItems_)->perform();
    event("size picked");
}

}  // namespace glugmo
