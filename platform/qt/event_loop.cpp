#include "platform/event_loop.h"

#include <QApplication>
#include <QTimer>

#include "platform/qt/qt_platform_services.h"

namespace glugmo {

int runEventLoop(int argc, char** argv, ApplicationDelegate& delegate) {
    QCoreApplication::setOrganizationName(QStringLiteral("Glugmo"));
    QCoreApplication::setApplicationName(QStringLiteral("Glugmo"));
    QApplication app(argc, argv);
    // The pet lives in the tray; hiding its window must not end it.
    app.setQuitOnLastWindowClosed(false);
    QtPlatformServices services;
    // Launching has finished once the event loop runs.
    QTimer::singleShot(0, &app, [&] { delegate.applicationDidFinishLaunching(services.platform); });
    const int code = app.exec();
    delegate.applicationWillTerminate();
    return code;
}

}  // namespace glugmo
