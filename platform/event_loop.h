#pragma once

#include "platform/platform.h"

namespace glugmo {

// What the program does at the two ends of its life.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(Platform& platform) = 0;
    // The user launched the program again while it runs: show yourself.
    virtual void applicationShouldHandleReopen() = 0;
    // The event loop has ended; release everything that holds platform
    // objects before the platform itself goes away.
    virtual void applicationWillTerminate() = 0;
};

// Starts the platform's application as an accessory program (no dock or
// taskbar entry, no main window, not ended by closing windows), calls the
// delegate once launching has finished, then runs the event loop until
// Application::terminate. Returns the process exit code. One pet per user
// session: when another instance already runs, it is asked to reopen and
// this call returns 0 without launching.
int runEventLoop(int argc, char** argv, ApplicationDelegate& delegate);

}  // namespace glugmo
