#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "tests/fake/fake_run_loop.h"

namespace glugmo::fake {

// A layer that knows the run loop's time, so a keyframe animation removes
// itself once it has played, as a real layer's does.
class FakeLayer final : public Layer {
public:
    explicit FakeLayer(const FakeRunLoop& loop) : loop_(loop) {}
    bool hasAnimation(std::string_view key) const override;
    void addAnimation(const Animation& animation, const std::string& key) override;
    void removeAnimation(std::string_view key) override;
    void resetTransform() override { ++transformResets; }
    void setAnchorPoint(Point anchor) override { anchorPoint = anchor; }
    void setFrame(Rect rect) override { frame = rect; }

    std::vector<std::string> keys() const;

    Point anchorPoint{0.5, 0.5};
    Rect frame;
    int transformResets = 0, adds = 0;

private:
    struct Running {
        Animation animation;
        double startedAt;
    };
    const FakeRunLoop& loop_;
    std::map<std::string, Running, std::less<>> animations_;
};

class FakeImageView final : public ImageView {
public:
    explicit FakeImageView(const FakeRunLoop& loop) : layer_(loop) {}
    void setImage(std::shared_ptr<const Image> image) override {
        image_ = std::move(image);
        imageHistory.push_back(imagePath());
    }
    bool hasImage() const override { return image_ != nullptr; }
    void setFrame(Rect rect) override { frame_ = rect; }
    Rect frame() const override { return frame_; }
    Layer* layer() override { return &layer_; }
    void setMouseHandler(MouseHandler* handler) override { mouseHandler = handler; }
    std::optional<std::string> renderPng(Rect area) override {
        lastRenderArea = area;
        return renderFails ? std::nullopt : std::optional("PNG:pet:" + imagePath());
    }

    // The path of the image shown, "" for none.
    std::string imagePath() const;
    FakeLayer& fakeLayer() { return layer_; }

    MouseHandler* mouseHandler = nullptr;
    std::vector<std::string> imageHistory;  // paths, in the order shown
    bool renderFails = false;
    Rect lastRenderArea;

private:
    FakeLayer layer_;
    Rect frame_;
    std::shared_ptr<const Image> image_;
};

class FakePetWindow final : public PetWindow {
public:
    FakePetWindow(const FakeRunLoop& loop, Rect contentRect, bool ignores)
        : frame_(contentRect), ignores_(ignores), imageView_(loop) {}
    Rect frame() const override { return frame_; }
    void setFrame(Rect rect) override { frame_ = rect; }
    void setContentFrame(Rect rect) override { contentFrame = rect; }
    bool isVisible() const override { return visible_; }
    void orderOut() override { visible_ = false; }
    void orderFrontRegardless() override { visible_ = true; ++ordersFront; }
    void setIgnoresMouseEvents(bool ignores) override { ignores_ = ignores; }
    bool ignoresMouseEvents() const override { return ignores_; }
    ImageView& imageView() override { return imageView_; }
    void performWindowDrag() override { ++dragRequests; }

    FakeImageView& fakeImageView() { return imageView_; }
    // The user drags the window somewhere else.
    void moveTo(Point origin) { frame_.origin = origin; }

    Rect contentFrame;
    int ordersFront = 0, dragRequests = 0;

private:
    Rect frame_;
    bool visible_ = false;
    bool ignores_;
    FakeImageView imageView_;
};

// Measures text as one line of 7 points a byte, cut at the maximum width.
class FakeBubblePanel final : public BubblePanel {
public:
    FakeBubblePanel(FakeRunLoop& loop, Rect contentRect) : loop_(loop), frame_(contentRect) {}
    void setText(const std::string& value) override {
        text = value;
        textHistory.push_back(value);
    }
    Size fittingSize(double maxLineWidth) const override {
        return {std::min(7.0 * static_cast<double>(text.size()), maxLineWidth), 18};
    }
    void setFrame(Rect rect) override { frame_ = rect; }
    Rect frame() const override { return frame_; }
    void setLabelFrame(Rect) override {}
    void setAlpha(double value) override {
        alpha_ = value;
        ++alphaSets_;
    }
    double alpha() const override { return alpha_; }
    void orderFrontRegardless() override { visible_ = true; }
    void orderOut() override { visible_ = false; }
    bool isVisible() const override { return visible_; }
    void fadeOut(double duration, std::function<void()> completion) override;
    std::optional<std::string> renderPng() override {
        return renderFails ? std::nullopt : std::optional("PNG:bubble:" + text);
    }

    std::string text;
    std::vector<std::string> textHistory;
    int fades = 0;
    bool renderFails = false;

private:
    FakeRunLoop& loop_;
    Rect frame_;
    double alpha_ = 1.0;
    int alphaSets_ = 0;  // a fade started before the latest alpha leaves it alone
    bool visible_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // a pending fade outlives no panel
};

class FakeStatusItem final : public StatusItem {
public:
    void setImage(std::shared_ptr<const Image> value, Size size) override { image = value, imageSize = size; }
    void setTitle(const std::string& value) override { title = value; }
    void setToolTip(const std::string& value) override { toolTip = value; }
    void setMenu(std::shared_ptr<Menu> value) override { menu = std::move(value); }

    std::shared_ptr<const Image> image;
    Size imageSize;
    std::string title, toolTip;
    std::shared_ptr<Menu> menu;
};

class FakeWindowSystem final : public WindowSystem {
public:
    explicit FakeWindowSystem(FakeRunLoop& loop) : loop_(loop) {}
    std::optional<Rect> mainScreenVisibleFrame() const override { return visibleFrame; }
    std::optional<Rect> screenFrameAt(Point) const override { return screenFrame; }
    std::unique_ptr<PetWindow> makePetWindow(Rect rect, bool ignores) override {
        return latest(petWindow, std::make_unique<FakePetWindow>(loop_, rect, ignores));
    }
    std::unique_ptr<BubblePanel> makeBubblePanel(Rect rect) override {
        return latest(bubblePanel, std::make_unique<FakeBubblePanel>(loop_, rect));
    }
    std::unique_ptr<StatusItem> makeStatusItem() override {
        return latest(statusItem, std::make_unique<FakeStatusItem>());
    }
    void popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView& view) override {
        popUps.push_back({std::move(menu), location, &view});
    }
    void popUpMenuBeside(std::shared_ptr<Menu> menu, ImageView& view) override {
        popUps.push_back({std::move(menu), {}, &view, true});
    }

    std::optional<Rect> visibleFrame = Rect::make(0, 25, 1440, 875);
    std::optional<Rect> screenFrame = Rect::make(0, 0, 1440, 900);
    // The latest objects made; owned by the behaviour.
    FakePetWindow* petWindow = nullptr;
    FakeBubblePanel* bubblePanel = nullptr;
    FakeStatusItem* statusItem = nullptr;

    struct PopUp {
        std::shared_ptr<Menu> menu;
        Point location;
        ImageView* view;
        bool beside = false;
    };
    std::vector<PopUp> popUps;

private:
    template <class T>
    static std::unique_ptr<T> latest(T*& pointer, std::unique_ptr<T> made) {
        pointer = made.get();
        return made;
    }
    FakeRunLoop& loop_;
};

}  // namespace glugmo::fake
