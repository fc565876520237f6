#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

namespace glugmo {

// Tells whether a compositing manager runs, at once and whenever that
// changes (a compositor may start or stop while the pet is on screen).
// Looking every few seconds costs a few round trips to the X server, so it
// only looks while the window is shown, and once more when it comes back.
class CompositorWatch {
public:
    CompositorWatch(QWidget& window, std::function<void(bool composited)> changed);

    void setWindowShown(bool shown);

private:
    void check();

    QWidget& window_;
    std::function<void(bool)> changed_;
    std::optional<bool> composited_;
    QTimer poll_;
};

}  // namespace glugmo
