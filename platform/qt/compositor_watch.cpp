#include "platform/qt/compositor_watch.h"

#include "platform/qt/x11_window.h"

namespace glugmo {

namespace {
constexpr int kPollMs = 3000;
}

CompositorWatch::CompositorWatch(QWidget& window, std::function<void(bool)> changed)
    : window_(window), changed_(std::move(changed)) {
    if (!x11::available()) return;
    poll_.setInterval(kPollMs);
    poll_.setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(&poll_, &QTimer::timeout, [this] { check(); });
    setWindowShown(window_.isVisible());
    check();
}

void CompositorWatch::setWindowShown(bool shown) {
    if (!x11::available() || shown == poll_.isActive()) return;
    if (!shown) {
        poll_.stop();
        return;
    }
    poll_.start();
    check();
}

void CompositorWatch::check() {
    const std::optional<bool> composited = x11::compositorRunning(window_);
    if (!composited || composited == composited_) return;
    composited_ = composited;
    changed_(*composited);
}

}  // namespace glugmo
