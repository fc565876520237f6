#include "platform/qt/display_session.h"

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

namespace {

// ":0.1" less its screen number; any other name as it is.
QString withoutScreen(const QString& x11Display) {
    const qsizetype dot = x11Display.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot + 1 == x11Display.size()) return x11Display;
    for (qsizetype i = dot + 1; i < x11Display.size(); ++i) {
        if (x11Display[i] < QLatin1Char('0') || x11Display[i] > QLatin1Char('9')) return x11Display;
    }
    return x11Display.left(dot);
}

bool fitForFileName(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
           c == QLatin1Char('.') || c == QLatin1Char('-');
}

}  // namespace

QString displayKey(const DisplaySession& session) {
    QString key;
    if (!session.waylandDisplay.isEmpty()) {
        key = session.waylandDisplay;
    } else if (!session.x11Display.isEmpty()) {
        // ":0" and ":0.0" are the same display; the screen number after the
        // dot only says where new windows appear.
        key = QStringLiteral("x") + withoutScreen(session.x11Display);
    } else {
        return QStringLiteral("default");
    }
    // Wayland names may be paths, X names may carry host names. Plain loops:
    // a regular expression would page in half a megabyte of PCRE for this.
    QString safe;
    for (qsizetype i = 0; i < key.size(); ++i) {
        safe += fitForFileName(key[i]) ? key[i] : QLatin1Char('_');
        // One character outside the first plane, one '_'.
        if (key[i].isHighSurrogate() && i + 1 < key.size() && key[i + 1].isLowSurrogate()) ++i;
    }
    return safe;
}

}  // namespace glugmo
