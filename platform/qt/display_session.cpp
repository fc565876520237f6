#include "platform/qt/display_session.h"

#include <QRegularExpression>

namespace glugmo {

DisplaySession DisplaySession::fromEnvironment() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("DISPLAY")};
}

DisplayPlan planDisplay(const DisplaySession& session, std::optional<bool> xServerAnswers) {
    if (!xServerAnswers) return {};
    // Qt tries a list such as "wayland;xcb" in order.
    const QString asked = session.qpaPlatform.section(QLatin1Char(';'), 0, 0).trimmed();
    const bool askedWayland = asked.startsWith(QLatin1String("wayland"));
    if (!asked.isEmpty() && !askedWayland && asked != QLatin1String("xcb")) return {};
    if (*xServerAnswers) return {true, {}};

    const bool wayland =
        askedWayland || !session.waylandDisplay.isEmpty() ||
        session.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    if (!session.x11Display.isEmpty()) {
        return {false,
                QStringLiteral("glugmo: cannot open the X display \"%1\": is the X server%2 "
                               "running, and may this user use it?")
                    .arg(session.x11Display, wayland ? QStringLiteral(" (XWayland)") : QString())};
    }
    if (wayland) {
        return {false,
                QStringLiteral("glugmo: needs an X display, which every Wayland desktop provides "
                               "through XWayland, but DISPLAY is not set: turn XWayland on in your "
                               "compositor (sway: \"xwayland enable\") and start glugmo from that "
                               "session")};
    }
    return {false, QStringLiteral("glugmo: needs an X display, but DISPLAY is not set: start "
                                  "glugmo from your desktop session, or set DISPLAY (such as "
                                  "DISPLAY=:0)")};
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
