#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/geometry.h"
#include "platform/images.h"
#include "platform/layer.h"
#include "platform/menu.h"

namespace glugmo {

// Raw mouse input on a view, turned by the backend into these calls.
class MouseHandler {
public:
    virtual ~MouseHandler() = default;
    // A left press; clickCount is 2 on the second press of a double click.
    virtual void mouseDown(int clickCount) = 0;
    // The left release that ends a press. After a window drag it arrives once
    // the window has reached its new place.
    virtual void mouseUp() = 0;
    virtual void rightMouseDown() = 0;
};

// The view that shows the pet: draws its image scaled proportionally into its
// frame and plays animated images by their own frame delays. Its whole frame
// takes mouse input, transparent pixels included.
class ImageView {
public:
    virtual ~ImageView() = default;
    virtual void setImage(std::shared_ptr<const Image> image) = 0;
    virtual bool hasImage() const = 0;
    // In the window's content coordinates (bottom-left origin).
    virtual void setFrame(Rect frame) = 0;
    virtual Rect frame() const = 0;
    // Null when the view has no layer.
    virtual Layer* layer() = 0;
    virtual void setMouseHandler(MouseHandler* handler) = 0;
    // A PNG of the area (view coordinates) as it is drawn now, or nothing.
    virtual std::optional<std::string> renderPng(Rect area) = 0;
};

// The pet's window: borderless, transparent, floating above ordinary
// windows, on every desktop, out of the taskbar and window cycling; it never
// takes focus. Its content view takes no input itself, so clicks on the
// margins around the image view fall through to whatever lies below.
class PetWindow {
public:
    virtual ~PetWindow() = default;
    virtual Rect frame() const = 0;
    virtual void setFrame(Rect frame) = 0;
    virtual void setContentFrame(Rect frame) = 0;
    virtual bool isVisible() const = 0;
    virtual void orderOut() = 0;
    // Shows the window in front of its level without activating the program.
    virtual void orderFrontRegardless() = 0;
    virtual void setIgnoresMouseEvents(bool ignores) = 0;
    virtual bool ignoresMouseEvents() const = 0;
    virtual ImageView& imageView() = 0;
    // Lets the current left press drag the window, if the pointer moves.
    virtual void performWindowDrag() = 0;
};

// The speech bubble's own floating panel: a rounded dark-blue box with one
// centred, wrapping label. It never takes focus or activates the program.
class BubblePanel {
public:
    virtual ~BubblePanel() = default;
    virtual void setText(const std::string& text) = 0;
    // The size the label needs for its text, wrapped at maxLineWidth.
    virtual Size fittingSize(double maxLineWidth) const = 0;
    // Screen coordinates; the content (background) view fills the frame.
    virtual void setFrame(Rect frame) = 0;
    virtual Rect frame() const = 0;
    // In the panel's content coordinates (bottom-left origin).
    virtual void setLabelFrame(Rect frame) = 0;
    virtual void setAlpha(double alpha) = 0;
    virtual double alpha() const = 0;
    virtual void orderFrontRegardless() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    // Animates the alpha to 0 over `duration` seconds, then calls completion.
    virtual void fadeOut(double duration, std::function<void()> completion) = 0;
    // A PNG of the content as it is drawn now, or nothing.
    virtual std::optional<std::string> renderPng() = 0;
};

// The tray (status) icon with its menu.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    // `pointSize` where the bar gives the icon no size of its own; a tray
    // that asks for a size gets the picture drawn at that size.
    virtual void setImage(std::shared_ptr<const Image> image, Size pointSize) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setToolTip(const std::string& toolTip) = 0;
    virtual void setMenu(std::shared_ptr<Menu> menu) = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The main screen's area without panels and docks, or nothing.
    virtual std::optional<Rect> mainScreenVisibleFrame() const = 0;
    // The whole frame of the monitor that shows `point` (the main one when
    // none does), or nothing.
    virtual std::optional<Rect> screenFrameAt(Point point) const = 0;
    virtual std::unique_ptr<PetWindow> makePetWindow(Rect contentRect, bool ignoresMouseEvents) = 0;
    virtual std::unique_ptr<BubblePanel> makeBubblePanel(Rect contentRect) = 0;
    virtual std::unique_ptr<StatusItem> makeStatusItem() = 0;
    // Opens the menu with its top-left corner at `location`, given in the
    // view's own coordinates (bottom-left origin).
    virtual void popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) = 0;
    // Opens the menu beside the view, not over it: to its left, or to its
    // right where the screen has no room, level with the view's bottom.
    virtual void popUpMenuBeside(std::shared_ptr<Menu> menu, ImageView& view) = 0;
};

}  // namespace glugmo
