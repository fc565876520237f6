#include "tests/fake/fake_platform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace glugmo::fake {

namespace {
constexpr double kUtcOffset = 8 * 3600;

double playingTime(const Animation& animation) {
    if (const auto* keyframes = std::get_if<KeyframeAnimation>(&animation)) return keyframes->duration;
    const auto& basic = std::get<BasicAnimation>(animation);
    return basic.duration * (basic.autoreverses ? 2.0 : 1.0) * std::max(basic.repeatCount, 1.0);
}
}  // namespace

// Ends its timer when dropped, as the real ones do.
class FakeRunLoop::Handle final : public Timer {
public:
    explicit Handle(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
    ~Handle() override { entry_->valid = false; }
    void invalidate() override { entry_->valid = false; }
    bool isValid() const override { return entry_->valid; }

private:
    std::shared_ptr<Entry> entry_;
};

std::shared_ptr<FakeRunLoop::Entry> FakeRunLoop::add(double delay, double interval, bool repeats, bool isTimer,
                                                     std::function<void()> work) {
    return entries_.emplace_back(
        std::make_shared<Entry>(Entry{now_ + delay, interval, repeats, isTimer, true, nextOrder_++, std::move(work)}));
}

std::unique_ptr<Timer> FakeRunLoop::scheduleTimer(double interval, bool repeats, std::function<void()> tick) {
    return std::make_unique<Handle>(add(interval, interval, repeats, true, std::move(tick)));
}

void FakeRunLoop::runAfter(double delay, std::function<void()> block) { add(delay, 0, false, false, std::move(block)); }

void FakeRunLoop::advance(double seconds) {
    const double target = now_ + seconds;
    for (;;) {
        std::erase_if(entries_, [](const auto& entry) { return !entry->valid; });
        auto next = std::min_element(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
            return a->due != b->due ? a->due < b->due : a->order < b->order;
        });
        if (next == entries_.end() || (*next)->due > target + 1e-9) break;
        const std::shared_ptr<Entry> entry = *next;
        now_ = std::max(now_, entry->due);
        if (entry->repeats) {
            entry->due += entry->interval;
            entry->order = nextOrder_++;
        } else {
            entry->valid = false;
        }
        // Copy: the work may replace or destroy the timer that runs it.
        const std::function<void()> work = entry->work;
        work();
    }
    now_ = std::max(now_, target);
}

std::size_t FakeRunLoop::count(bool timers, std::optional<double> interval) const {
    return std::count_if(entries_.begin(), entries_.end(), [&](const auto& e) {
        return e->isTimer == timers && e->valid && (!interval || e->interval == *interval);
    });
}

std::optional<double> FakeRunLoop::nextDue() const {
    std::optional<double> next;
    for (const auto& e : entries_)
        if (e->valid && (!next || e->due < *next)) next = e->due;
    return next;
}

CalendarFields FakeClock::calendarAt(double instant) const {
    const auto local = static_cast<std::time_t>(std::floor(instant + kUtcOffset));
    std::tm tm{};
    gmtime_r(&local, &tm);
    char key[16];
    std::strftime(key, sizeof key, "%Y-%m-%d", &tm);
    return CalendarFields{tm.tm_hour, tm.tm_min, tm.tm_wday + 1, key};
}

void FakeClock::setStart(int year, int month, int day, int hour, int minute, double second) {
    std::tm tm{};
    tm.tm_year = year - 1900, tm.tm_mon = month - 1, tm.tm_mday = day;
    tm.tm_hour = hour, tm.tm_min = minute;
    start_ = static_cast<double>(timegm(&tm)) + second - kUtcOffset - loop_.now();
}

std::size_t ScriptedRandom::uniformIndex(std::size_t bound) {
    bounds.push_back(bound);
    if (indices.empty()) return std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine_);
    const std::size_t index = indices.front();
    indices.pop_front();
    return index % bound;
}

void FakeSettings::setDouble(std::string_view key, double value) {
    char buffer[64];
    write(key, std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr));
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) const {
    if (unreadable.contains(path) || !files.contains(path)) return std::nullopt;
    return files.at(path);
}

bool FakeFileSystem::createDirectories(const std::string& path) {
    if (!writesFail) directories.insert(path);
    return !writesFail;
}

bool FakeFileSystem::writeFileAtomically(const std::string& path, std::string_view bytes) {
    ++writeCount;
    const std::string folder = path.substr(0, path.rfind('/'));
    if (writesFail || (!directories.contains(folder) && folder != "/tmp")) return false;
    files[path] = std::string(bytes);
    return true;
}

void FakeLayer::addAnimation(const Animation& animation, const std::string& key) {
    ends_.insert_or_assign(key, loop_.now() + playingTime(animation));
}

std::vector<std::string> FakeLayer::keys() const {
    std::vector<std::string> live;
    for (const auto& [key, end] : ends_)
        if (hasAnimation(key)) live.push_back(key);
    return live;
}

void FakeBubblePanel::fadeOut(double duration, std::function<void()> completion) {
    ++fades;
    // Like a real fade, a later alpha wins; the completion runs regardless.
    loop_.runAfter(duration, [this, alive = std::weak_ptr<int>(alive_), sets = alphaSets_,
                              completion = std::move(completion)] {
        if (alive.expired()) return;
        if (alphaSets_ == sets) alpha_ = 0;
        completion();
    });
}

const std::vector<std::string>& allGifNames() {
    static const std::vector<std::string> names = {
        "01_好jeng啊", "03_收工", "04_爱你哟", "05_帮紧你", "06_辛苦了",     "07_谢谢", "08_多喝水",
        "09_问号",     "10_三点几", "12_哈哈哈", "13_嚯",     "14_精神打击", "16_笑"};
    return names;
}

FakePlatform::FakePlatform() {
    for (const std::string& name : allGifNames()) addGif(name, 1.0);
    resources.available.insert({"idle.png", "icon.png"});
}

void FakePlatform::addGif(const std::string& name, double seconds) {
    resources.available.insert(name + ".gif");
    images.frames[FakeResources::pathOf(name + ".gif")] =
        std::vector<GifFrameProperties>(4, GifFrameProperties{true, seconds / 4, seconds / 4});
}

}  // namespace glugmo::fake
