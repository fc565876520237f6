#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace glugmo {

// Calls back when the window manager reparents the window into its frame.
// A reparenting window manager copies the client's input shape to the frame
// only when the shape changes after it manages the window, so the shape is
// set again at that moment.
class ReparentWatcher final : public QAbstractNativeEventFilter {
public:
    ReparentWatcher(QWidget& window, std::function<void()> reparented);
    ~ReparentWatcher() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
    std::function<void()> reparented_;
};

}  // namespace glugmo
