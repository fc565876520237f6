#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace glugmo::fake {

// A run loop in virtual time: nothing fires until the test advances the
// clock, and then everything due fires in time order (ties in the order it
// was scheduled). Repeating timers keep their original cadence.
class FakeRunLoop final : public RunLoop {
public:
    std::unique_ptr<Timer> scheduleTimer(double interval, bool repeats, std::function<void()> tick) override;
    void runAfter(double delay, std::function<void()> block) override;

    double now() const { return now_; }  // seconds since the loop was made
    // Fires everything due up to now + seconds, then sets the clock there.
    void advance(double seconds);
    std::size_t liveTimerCount() const { return count(true); }
    std::size_t pendingBlockCount() const { return count(false); }
    std::size_t liveTimersWithInterval(double interval) const { return count(true, interval); }
    // When the next timer or block is due; nothing when none is scheduled.
    std::optional<double> nextDue() const;

private:
    struct Entry {
        double due, interval;
        bool repeats, isTimer, valid;
        std::uint64_t order;
        std::function<void()> work;
    };
    class Handle;
    std::shared_ptr<Entry> add(double delay, double interval, bool repeats, bool isTimer, std::function<void()> work);
    std::size_t count(bool timers, std::optional<double> interval = std::nullopt) const;

    double now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::vector<std::shared_ptr<Entry>> entries_;
};

// Wall-clock time that follows the run loop from a chosen start, in a local
// time zone eight hours ahead of UTC.
class FakeClock final : public Clock {
public:
    explicit FakeClock(const FakeRunLoop& loop) : loop_(loop) {}
    double now() const override { return start_ + loop_.now(); }
    CalendarFields calendarAt(double instant) const override;
    // Local date and time at which the run loop's present lies.
    void setStart(int year, int month, int day, int hour, int minute, double second = 0);

private:
    const FakeRunLoop& loop_;
    double start_ = 1'780'000'000;  // some day in 2026
};

// Plays back scripted picks first, then falls back to a seeded generator; a
// coin can be fixed for a whole test.
class ScriptedRandom final : public RandomSource {
public:
    std::size_t uniformIndex(std::size_t bound) override;
    bool fairCoin() override { return everyCoin ? *everyCoin : std::bernoulli_distribution(0.5)(engine_); }

    std::deque<std::size_t> indices;
    std::optional<bool> everyCoin;
    std::vector<std::size_t> bounds;  // every bound asked for, in order

private:
    std::mt19937 engine_{1};
};

class FakeSettings final : public SettingsStore {
public:
    std::optional<std::string> rawValue(std::string_view key) const override {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void setBool(std::string_view key, bool value) override { write(key, value ? "true" : "false"); }
    void setDouble(std::string_view key, double value) override;
    void write(std::string_view key, std::string value) {
        values[std::string(key)] = std::move(value);
        ++writes;
    }

    std::map<std::string, std::string, std::less<>> values;
    int writes = 0;
};

// Files in memory; a write goes only into a folder created before (or /tmp).
class FakeFileSystem final : public FileSystem {
public:
    std::optional<std::string> applicationSupportDirectory() const override { return supportDir; }
    bool fileExists(const std::string& path) const override {
        return files.contains(path) || directories.contains(path) || unreadable.contains(path);
    }
    std::optional<std::string> readFile(const std::string& path) const override;
    bool createDirectories(const std::string& path) override;
    bool writeFileAtomically(const std::string& path, std::string_view bytes) override;
    bool removeFile(const std::string& path) override { return !writesFail && (files.erase(path), true); }

    std::optional<std::string> supportDir = "/home/u/.local/share";
    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> unreadable;  // exist, but reading fails
    bool writesFail = false;
    int writeCount = 0;
};

class FakeResources final : public Resources {
public:
    std::optional<std::string> pathFor(std::string_view name, std::string_view ext) const override {
        const std::string key = std::string(name) + "." + std::string(ext);
        return available.contains(key) ? std::optional(pathOf(key)) : std::nullopt;
    }
    static std::string pathOf(std::string_view nameAndExt) { return "/res/" + std::string(nameAndExt); }
    std::set<std::string> available;  // "name.ext"
};

class FakeImage final : public Image {
public:
    explicit FakeImage(std::string path) : path(std::move(path)) {}
    std::string path;
};

class FakeImageLoader final : public ImageLoader {
public:
    std::shared_ptr<const Image> loadImage(const std::string& path) override {
        return undecodable.contains(path) ? nullptr : std::make_shared<FakeImage>(path);
    }
    std::optional<std::vector<GifFrameProperties>> gifFrameProperties(const std::string& path) override {
        const auto found = frames.find(path);
        return found == frames.end() ? std::nullopt : std::optional(found->second);
    }

    std::set<std::string> undecodable;  // paths that do not load as images
    // Frame properties per path; a path not listed has no image source.
    std::map<std::string, std::vector<GifFrameProperties>> frames;
};

class FakeApplication final : public Application {
public:
    bool environmentContains(std::string_view name) const override { return environment.contains(std::string(name)); }
    void writeLine(std::string_view line) override { output.emplace_back(line); }
    void flushOutput() override {}
    void terminate() override {}

    std::set<std::string> environment;
    std::vector<std::string> output;
};

// A layer that knows the run loop's time, so a keyframe animation removes
// itself once it has played, as a real layer's does.
class FakeLayer final : public Layer {
public:
    explicit FakeLayer(const FakeRunLoop& loop) : loop_(loop) {}
    bool hasAnimation(std::string_view key) const override {
        const auto found = ends_.find(key);
        return found != ends_.end() && loop_.now() < found->second;
    }
    void addAnimation(const Animation& animation, const std::string& key) override;
    void removeAnimation(std::string_view key) override { ends_.erase(std::string(key)); }
    void resetTransform() override { ++transformResets; }
    void setAnchorPoint(Point anchor) override { anchorPoint = anchor; }
    void setFrame(Rect) override {}
    // The keys of the animations still playing.
    std::vector<std::string> keys() const;

    Point anchorPoint{0.5, 0.5};
    int transformResets = 0;

private:
    const FakeRunLoop& loop_;
    std::map<std::string, double, std::less<>> ends_;  // when each animation ends
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
    std::optional<std::string> renderPng(Rect) override {
        return renderFails ? std::nullopt : std::optional("PNG:pet:" + imagePath());
    }

    // The path of the image shown, "" for none.
    std::string imagePath() const {
        const auto* fake = dynamic_cast<const FakeImage*>(image_.get());
        return fake ? fake->path : "";
    }
    FakeLayer& fakeLayer() { return layer_; }

    MouseHandler* mouseHandler = nullptr;
    std::vector<std::string> imageHistory;  // paths, in the order shown
    bool renderFails = false;

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
    void setContentFrame(Rect) override {}
    bool isVisible() const override { return visible_; }
    void orderOut() override { visible_ = false; }
    void orderFrontRegardless() override { visible_ = true; }
    void setIgnoresMouseEvents(bool ignores) override { ignores_ = ignores; }
    bool ignoresMouseEvents() const override { return ignores_; }
    ImageView& imageView() override { return imageView_; }
    void performWindowDrag() override {}

    FakeImageView& fakeImageView() { return imageView_; }
    // The user drags the window somewhere else.
    void moveTo(Point origin) { frame_.origin = origin; }

private:
    Rect frame_;
    bool visible_ = false, ignores_;
    FakeImageView imageView_;
};

// Measures text as one line of 7 points a byte, cut at the maximum width.
class FakeBubblePanel final : public BubblePanel {
public:
    explicit FakeBubblePanel(FakeRunLoop& loop, Rect contentRect) : loop_(loop), frame_(contentRect) {}
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
    void setAlpha(double value) override { alpha_ = value, ++alphaSets_; }
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
    void setImage(std::shared_ptr<const Image> value, Size) override { image = std::move(value); }
    void setTitle(const std::string& value) override { title = value; }
    void setToolTip(const std::string& value) override { toolTip = value; }
    void setMenu(std::shared_ptr<Menu> value) override { menu = std::move(value); }

    std::shared_ptr<const Image> image;
    std::string title, toolTip;
    std::shared_ptr<Menu> menu;
};

// A 1440x900 screen with a 25-point menu bar; keeps the latest windows made
// (the behaviour owns them) and every menu popped up.
class FakeWindowSystem final : public WindowSystem {
public:
    explicit FakeWindowSystem(FakeRunLoop& loop) : loop_(loop) {}
    std::optional<Rect> mainScreenVisibleFrame() const override { return visibleFrame; }
    std::optional<Rect> screenFrameAt(Point) const override { return Rect::make(0, 0, 1440, 900); }
    std::unique_ptr<PetWindow> makePetWindow(Rect rect, bool ignores) override {
        return latest(petWindow, std::make_unique<FakePetWindow>(loop_, rect, ignores));
    }
    std::unique_ptr<BubblePanel> makeBubblePanel(Rect rect) override {
        return latest(bubblePanel, std::make_unique<FakeBubblePanel>(loop_, rect));
    }
    std::unique_ptr<StatusItem> makeStatusItem() override {
        return latest(statusItem, std::make_unique<FakeStatusItem>());
    }
    void popUpMenu(std::shared_ptr<Menu> menu, Point location, ImageView&) override {
        popUps.push_back({std::move(menu), location});
    }
    void popUpMenuBeside(std::shared_ptr<Menu> menu, ImageView&) override { popUps.push_back({std::move(menu), {}}); }

    std::optional<Rect> visibleFrame = Rect::make(0, 25, 1440, 875);
    FakePetWindow* petWindow = nullptr;
    FakeBubblePanel* bubblePanel = nullptr;
    FakeStatusItem* statusItem = nullptr;
    struct PopUp {
        std::shared_ptr<Menu> menu;
        Point location;
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

// Every GIF the program plays.
const std::vector<std::string>& allGifNames();

// Every fake service in one place, wired together, with every picture of the
// program present, each GIF a second long.
struct FakePlatform {
    FakePlatform();

    FakeRunLoop loop;
    FakeClock clock{loop};
    ScriptedRandom random;
    FakeSettings settings;
    FakeFileSystem files;
    FakeResources resources;
    FakeImageLoader images;
    FakeWindowSystem windows{loop};
    FakeApplication application;
    Platform platform{loop, clock, random, settings, files, resources, images, windows, application};

    // Makes a GIF resource whose one pass lasts `seconds`.
    void addGif(const std::string& name, double seconds);
    void removeResource(const std::string& nameAndExt) { resources.available.erase(nameAndExt); }

    FakePetWindow& window() { return *windows.petWindow; }
    FakeImageView& view() { return windows.petWindow->fakeImageView(); }
    FakeLayer& layer() { return view().fakeLayer(); }
    FakeBubblePanel& bubble() { return *windows.bubblePanel; }
    FakeStatusItem& statusItem() { return *windows.statusItem; }
};

}  // namespace glugmo::fake
