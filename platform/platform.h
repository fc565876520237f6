#pragma once

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/images.h"
#include "platform/random_source.h"
#include "platform/resources.h"
#include "platform/run_loop.h"
#include "platform/settings_store.h"
#include "platform/windows.h"

namespace glugmo {

// Everything the behaviour may ask of the system it runs on. A backend owns
// the services and outlives every object that holds this.
struct Platform {
    RunLoop& runLoop;
    Clock& clock;
    RandomSource& random;
    SettingsStore& settings;
    FileSystem& files;
    Resources& resources;
    ImageLoader& images;
    WindowSystem& windows;
    Application& application;
};

}  // namespace glugmo
