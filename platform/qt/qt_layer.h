#pragma once

#include <functional>
#include <vector>

#include "platform/layer.h"

namespace glugmo {

// A layer whose rotation is computed from its animations at the moment it is
// drawn. Time is a monotonic clock in seconds, so an animation keeps its
// phase while nothing draws it (the window is hidden).
class QtLayer final : public Layer {
public:
    using TimeSource = std::function<double()>;

    // `changed` runs after anything that can change what is drawn.
    QtLayer(TimeSource now, std::function<void()> changed);

    bool hasAnimation(std::string_view key) const override;
    void addAnimation(const Animation& animation, const std::string& key) override;
    void removeAnimation(std::string_view key) override;
    void resetTransform() override;
    void setAnchorPoint(Point anchor) override;
    void setFrame(Rect frame) override;

    Point anchorPoint() const { return anchor_; }
    Rect frame() const { return frame_; }
    // The rotation drawn at `time`: the value of the most recently added
    // animation still running, else the layer's own transform.
    double rotationAt(double time) const;
    // Whether the rotation can still change after `time`.
    bool isAnimatingAt(double time) const;
    double now() const { return now_(); }

private:
    struct Running {
        std::string key;
        Animation animation;
        double start = 0;
    };

    bool animatesRotation(const Running& running) const;
    bool isFinished(const Running& running, double time) const;
    void dropFinished();

    TimeSource now_;
    std::function<void()> changed_;
    std::vector<Running> running_;  // oldest first
    double rotation_ = 0;
    Point anchor_{0.5, 0.5};
    Rect frame_;
};

}  // namespace glugmo
