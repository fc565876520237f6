#pragma once

#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_run_loop.h"

namespace glugmo::fake {

// Wall-clock time that follows the run loop from a chosen start, in a local
// time zone with a fixed offset from UTC.
class FakeClock final : public Clock {
public:
    explicit FakeClock(const FakeRunLoop& loop) : loop_(loop) {}
    double now() const override { return start_ + loop_.now(); }
    CalendarFields calendarAt(double instant) const override;

    // Local date and time at which the run loop's zero lies.
    void setStart(int year, int month, int day, int hour, int minute, double second = 0);

private:
    const FakeRunLoop& loop_;
    double start_ = 1'780'000'000;  // some day in 2026
    static constexpr double utcOffset_ = 8 * 3600;
};

// Plays back scripted picks first, then falls back to a seeded generator; a
// coin can be fixed for a whole test.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(unsigned seed = 1) : engine_(seed) {}
    std::size_t uniformIndex(std::size_t bound) override;
    bool fairCoin() override;

    std::deque<std::size_t> indices;
    std::optional<bool> everyCoin;
    std::vector<std::size_t> bounds;  // every bound asked for, in order

private:
    std::mt19937 engine_;
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

class FakeFileSystem final : public FileSystem {
public:
    std::optional<std::string> applicationSupportDirectory() const override { return supportDir; }
    bool fileExists(const std::string& path) const override;
    std::optional<std::string> readFile(const std::string& path) const override;
    bool createDirectories(const std::string& path) override;
    bool writeFileAtomically(const std::string& path, std::string_view bytes) override;
    bool removeFile(const std::string& path) override;

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
    std::set<std::string> available;  // "name.ext"
    static std::string pathOf(std::string_view nameAndExt) { return "/res/" + std::string(nameAndExt); }
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
    void flushOutput() override { ++flushes; }
    void terminate() override { terminated = true; }

    std::set<std::string> environment;
    std::vector<std::string> output;
    int flushes = 0;
    bool terminated = false;
};

}  // namespace glugmo::fake
