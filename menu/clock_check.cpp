#include "app/pet_controller.h"
#include "menu/clock_rules.h"
#include "menu/settings_rules.h"

namespace glugmo {

void PetController::checkClock() {
    const ClockSwitches switches{switchIsOn(defaults.rawValue(kClockOnKey)),
                                 switchIsOn(defaults.rawValue(kDrinkOnKey))};
    if (!switches.clockOn || !isIdle) return;
    const CalendarFields now = platform.clock.calendarAt(platform.clock.now());
    for (ClockAction& action : clockActions(now, switches, isIdle, firedToday, drinkGif)) {
        firedToday.insert(action.firedKey);
        if (action.gif) {
            play(*action.gif, action.text);
        } else {
            bubble->show(action.text, currentPetRectangle());
        }
    }
}

}  // namespace glugmo
