#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace glugmo {

// Tells whether a compositing manager runs, at once and whenever that
// changes (a compositor may start or stop while the pet is on screen). The
// X server reports each change of the compositor selection's owner, so
// nothing is asked while nothing changes.
class CompositorWatch final : public QAbstractNativeEventFilter {
public:
    CompositorWatch(QWidget& window, std::function<void(bool composited)> changed);
    ~CompositorWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void check();

    QWidget& window_;
    std::function<void(bool)> changed_;
    std::optional<bool> composited_;
    std::uint8_t selectionNotify_ = 0;  // the event's number; 0 when nothing is reported
};

}  // namespace glugmo
