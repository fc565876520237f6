#pragma once

#include <memory>

#include "app/pet_controller.h"
#include "platform/event_loop.h"

namespace glugmo {

// Creates the one pet once the platform has finished launching and keeps it
// for the life of the process.
class AppDelegate final : public ApplicationDelegate {
public:
    void applicationDidFinishLaunching(Platform& platform) override;
    void applicationShouldHandleReopen() override;
    void applicationWillTerminate() override;
    // Closing or hiding the pet's window never ends the program.
    static constexpr bool applicationShouldTerminateAfterLastWindowClosed() { return false; }

    const std::shared_ptr<PetController>& controller() const { return controller_; }

private:
    std::shared_ptr<PetController> controller_;
};

}  // namespace glugmo
