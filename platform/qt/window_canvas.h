#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "platform/qt/cue_player.h"

namespace glugmo {

// Pictures kept in the window server, each drawn once and then shown on the
// window by a single copy request: no repaint through the widget, no image
// conversion and no allocation when the pet moves on by a rotation step or
// a frame. The window's exposures are answered here too, so the widget never
// paints. Where the window server cannot do this there is no canvas, and
// the view paints through the widget instead.
//
// Pictures already kept can also be shown on a schedule (`play`), without
// the program's own thread.
class WindowCanvas {
public:
    using Key = CanvasKey;

    virtual ~WindowCanvas() = default;

    virtual bool has(Key key) const = 0;
    // `image` is premultiplied ARGB in device pixels, its top-left corner at
    // `topLeft` in the window.
    virtual void keep(Key key, const QImage& image, QPoint topLeft) = 0;
    // Shows a kept picture instead of the one shown before; false when it
    // is not kept.
    virtual bool show(Key key) = 0;
    // Shows each cue's picture at its moment until the cues run out or any
    // call other than `has` and `shown` ends them. A picture not kept by
    // its moment is skipped.
    virtual void play(std::vector<Cue> cues) = 0;
    // What is on the window now, as the canvas last drew it.
    virtual std::optional<Key> shown() const = 0;
    // Shows nothing.
    virtual void clear() = 0;
    // Drops every kept picture (a new size or scale).
    virtual void forget() = 0;
    // Cuts the window to the opaque pixels of what it shows (for a screen
    // without a compositor, where transparent pixels would be black). Turning
    // it on forgets the kept pictures, which were kept without their shapes.
    virtual void setShaped(bool shaped) = 0;
};

// A canvas for the window's native window, or none where its pixels cannot
// be sent as they are (not X11, or an unusual pixel layout).
std::unique_ptr<WindowCanvas> createWindowCanvas(QWidget& window);

}  // namespace glugmo
