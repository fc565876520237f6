#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace glugmo {

// Calls back when the X server reports one kind of change to one window;
// nothing happens where Qt does not run on X11.
class WindowEventWatch final : public QAbstractNativeEventFilter {
public:
    enum class Change {
        Reparented,       // the window manager took the window into its frame
        PropertyChanged,  // the callback gets the property's atom
    };

    WindowEventWatch(QWidget& window, Change change, std::function<void(std::uint32_t)> changed);
    ~WindowEventWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& window_;
    Change change_;
    std::function<void(std::uint32_t)> changed_;
};

}  // namespace glugmo
