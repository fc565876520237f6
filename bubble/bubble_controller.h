#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace glugmo {

// The speech bubble: one floating panel above the pet, showing one line at a
// time for 3 seconds before it fades out in 0.4 seconds. A new text replaces
// the current one at once and restarts the 3 seconds.
class BubbleController : public std::enable_shared_from_this<BubbleController> {
public:
    static constexpr double kTimeOnScreen = 3.0;
    static constexpr double kFadeDuration = 0.4;

    explicit BubbleController(Platform& platform);
    BubbleController(const BubbleController&) = delete;
    BubbleController& operator=(const BubbleController&) = delete;

    void show(const std::string& text, Rect anchor);
    void hide();
    // Writes a PNG of the bubble as it is now; false when nothing was written.
    bool debugRender(const std::string& path);

    const BubblePanel& panel() const { return *panel_; }

private:
    void fadeOut();

    Platform& platform_;
    std::unique_ptr<BubblePanel> panel_;
    std::unique_ptr<Timer> hideTimer_;
    // Counts shows, so a fade that began before the latest show leaves the
    // panel on screen when it completes.
    unsigned long showCount_ = 0;
};

}  // namespace glugmo
