#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

namespace glugmo {

// Keeps a window that no window manager manages above the ordinary windows
// it shares the screen with, and below a full-screen one: whenever a
// top-level window is mapped, unmapped, moved or restacked, it restacks
// itself if it must. Events come only when windows change, so an idle
// desktop costs nothing.
class StackingWatch final : public QAbstractNativeEventFilter {
public:
    // `aboveUnmanagedPeers`: also stay above other unmanaged utility windows
    // (the bubble above the pet).
    StackingWatch(QWidget& window, bool aboveUnmanagedPeers);
    ~StackingWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
    bool aboveUnmanagedPeers_;
};

}  // namespace glugmo
