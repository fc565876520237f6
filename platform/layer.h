#pragma once

#include <string>
#include <string_view>

#include "platform/animation.h"
#include "platform/geometry.h"

namespace glugmo {

// The drawing layer of a view. Animations are found again only by their key;
// at most one animation lives under a key. A finished animation that does not
// repeat removes itself. The only animated key path is "transform.rotation.z"
// (radians, counter-clockwise), rotating about the anchor point.
class Layer {
public:
    virtual ~Layer() = default;
    virtual bool hasAnimation(std::string_view key) const = 0;
    // Replaces whatever ran under the key.
    virtual void addAnimation(const Animation& animation, const std::string& key) = 0;
    virtual void removeAnimation(std::string_view key) = 0;
    virtual void resetTransform() = 0;
    // In unit coordinates of the layer's bounds, (0.5, 0) being the bottom centre.
    virtual void setAnchorPoint(Point anchor) = 0;
    // In the view's own coordinates.
    virtual void setFrame(Rect frame) = 0;
};

}  // namespace glugmo
