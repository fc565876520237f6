#include "platform/event_loop.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/qt/display_session.h"
#include "platform/qt/qt_platform_services.h"
#include "platform/qt/resident_pages.h"
#include "platform/qt/single_instance.h"
#include "platform/qt/x11_display.h"

namespace glugmo {

namespace {
// How long a second launch waits for a pet that is itself still starting.
constexpr std::chrono::milliseconds kStartingPetPatience{5000};
}  // namespace

int runEventLoop(int argc, char** argv, ApplicationDelegate& delegate) {
#if defined(__GLIBC__)
    // Decoded pictures go back to the system as soon as they are freed. By
    // default the allocator raises this bound to the largest block freed so
    // far, and a picture decoded after that stays in the heap once freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // Starting the program read the symbol tables and relocations of some
    // fifty libraries, about 5 MB never read again; handed back now, they
    // no longer count against the pet while it builds its window.
    releaseUnusedPages();
    const DisplaySession session = DisplaySession::fromEnvironment();
    const DisplayPlan plan = planDisplay(session, x11::serverAnswers());
    if (!plan.refusal.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(plan.refusal));
        return 1;
    }
    if (plan.useXcb) qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication::setOrganizationName(QStringLiteral("Glugmo"));
    QCoreApplication::setApplicationName(QStringLiteral("Glugmo"));
    QApplication app(argc, argv);
    // The pet lives in the tray; hiding its window must not end it.
    app.setQuitOnLastWindowClosed(false);

    SingleInstance instance(instanceFolder(), QStringLiteral("glugmo-") + displayKey(session),
                            [&delegate] { delegate.applicationShouldHandleReopen(); });
    switch (instance.claim(kStartingPetPatience)) {
        case SingleInstance::Claim::Ours:
            break;
        case SingleInstance::Claim::AnsweredElsewhere:
            return 0;
        case SingleInstance::Claim::NoAnswer:
            std::fputs("glugmo: another Glugmo is running but does not answer\n", stderr);
            return 1;
    }

    QtPlatformServices services;
    // Launching has finished once the event loop runs.
    QTimer::singleShot(0, &app, [&] { delegate.applicationDidFinishLaunching(services.platform); });
    const int code = app.exec();
    delegate.applicationWillTerminate();
    return code;
}

}  // namespace glugmo
