#include "platform/qt/display_session.h"

#include <QRegularExpression>

namespace glugmo {

DisplaySession DisplaySession::fromEnvironment() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("DISPLAY")};
}

bool shouldUseXWayland(const DisplaySession& session) {
    const bool wayland =
        !session.waylandDisplay.isEmpty() ||
        session.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    return wayland && !session.x11Display.isEmpty() && session.qpaPlatform.isEmpty();
}

QString displayKey(const DisplaySession& session) {
    QString key;
    if (!session.waylandDisplay.isEmpty()) {
        key = session.waylandDisplay;
    } else if (!session.x11Display.isEmpty()) {
        // ":0" and ":0.0" are the same display; the screen number after the
        // dot only says where new windows appear.
        static const QRegularExpression screen(QStringLiteral("\\.\\d+$"));
        key = QStringLiteral("x") + QString(session.x11Display).remove(screen);
    } else {
        return QStringLiteral("default");
    }
    // Wayland names may be paths, X names may carry host names.
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    return key.replace(unsafe, QStringLiteral("_"));
}

}  // namespace glugmo
