#include "app/app_delegate.h"

namespace glugmo {

void AppDelegate::applicationDidFinishLaunching(Platform& platform) {
    controller_ = PetController::create(platform);
    controller_->start();
}

void AppDelegate::applicationShouldHandleReopen() {
    if (controller_) controller_->comeBack();
}

// Settings are written as they change, so there is nothing to save: only the
// windows and timers go before the platform that made them.
void AppDelegate::applicationWillTerminate() { controller_.reset(); }

}  // namespace glugmo
