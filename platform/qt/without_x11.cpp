// The X11 calls where Qt does not run on X11 (macOS): the window manager
// hints, input shapes and pointer queries they make have no counterpart
// there, so each reports that X11 is not available and changes nothing.
#include <QSystemTrayIcon>

#include "platform/qt/compositor_watch.h"
#include "platform/qt/stacking_watch.h"
#include "platform/qt/tray_host.h"
#include "platform/qt/window_event_watch.h"
#include "platform/qt/window_canvas.h"
#include "platform/qt/x11_display.h"
#include "platform/qt/x11_panels.h"
#include "platform/qt/x11_window.h"

// The watchers' fields serve the X11 build only.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wunused-private-field"
#endif

namespace glugmo {

namespace x11 {
bool available() { return false; }
bool windowManagerKeepsAbove() { return false; }
void markAsAccessory(QWidget&) {}
void restoreWindowType(QWidget&) {}
void dropAttention(QWidget&, uint32_t) {}
void keepAboveCoveringWindows(QWidget&, bool) {}
void watchTopLevelWindows() {}
void setInputShape(QWidget&, const QRect&) {}
std::optional<bool> compositorRunning(QWidget&) { return std::nullopt; }
std::optional<bool> leftButtonHeld() { return std::nullopt; }
std::optional<PanelStruts> panelStruts() { return std::nullopt; }
std::optional<bool> serverAnswers() { return std::nullopt; }
}  // namespace x11

// The platform's own status bar (macOS) is there from the start.
bool trayHostPresent() { return QSystemTrayIcon::isSystemTrayAvailable(); }

// No window manager reparents or flags windows without X11.
WindowEventWatch::WindowEventWatch(QWidget& window, Change change, std::function<void(std::uint32_t)> changed)
    : window_(window), change_(change), changed_(std::move(changed)) {}
WindowEventWatch::~WindowEventWatch() = default;
bool WindowEventWatch::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }

// Nor does any window stack itself.
StackingWatch::StackingWatch(QWidget& window, bool aboveUnmanagedPeers)
    : window_(window), aboveUnmanagedPeers_(aboveUnmanagedPeers) {}
StackingWatch::~StackingWatch() = default;
bool StackingWatch::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }

// Without X11 there is no compositor to tell about.
CompositorWatch::CompositorWatch(QWidget& window, std::function<void(bool)> changed)
    : window_(window), changed_(std::move(changed)) {}
CompositorWatch::~CompositorWatch() = default;
bool CompositorWatch::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }

// The widget paints the pet instead.
std::unique_ptr<WindowCanvas> createWindowCanvas(QWidget&) { return nullptr; }

}  // namespace glugmo
