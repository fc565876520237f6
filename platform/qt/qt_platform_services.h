#pragma once

#include "platform/platform.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_image_loader.h"
#include "platform/qt/qt_random_source.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_run_loop.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_window_system.h"

namespace glugmo {

// Every service of the Qt backend, made once the QApplication exists.
struct QtPlatformServices {
    QtPlatformServices();
    explicit QtPlatformServices(const std::optional<QString>& resourceFolder);

    QtRunLoop runLoop;
    QtClock clock;
    QtRandomSource random;
    QtSettingsStore settings;
    PosixFileSystem files;
    QtResources resources;
    QtImageLoader images;
    QtWindowSystem windows;
    QtApplication application;
    Platform platform;
};

}  // namespace glugmo
