#include "tests/fake/fake_services.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace glugmo::fake {

CalendarFields FakeClock::calendarAt(double instant) const {
    const auto local = static_cast<std::time_t>(std::floor(instant + utcOffset_));
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
    start_ = static_cast<double>(timegm(&tm)) + second - utcOffset_ - loop_.now();
}

std::size_t ScriptedRandom::uniformIndex(std::size_t bound) {
    bounds.push_back(bound);
    if (indices.empty()) return std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine_);
    const std::size_t index = indices.front();
    indices.pop_front();
    return index % bound;
}

bool ScriptedRandom::fairCoin() {
    return everyCoin ? *everyCoin : std::bernoulli_distribution(0.5)(engine_);
}

void FakeSettings::setDouble(std::string_view key, double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    write(key, std::string(buffer, end));
}

bool FakeFileSystem::fileExists(const std::string& path) const {
    return files.contains(path) || directories.contains(path) || unreadable.contains(path);
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) const {
    if (unreadable.contains(path) || !files.contains(path)) return std::nullopt;
    return files.at(path);
}

bool FakeFileSystem::createDirectories(const std::string& path) {
    if (writesFail) return false;
    directories.insert(path);
    return true;
}

bool FakeFileSystem::writeFileAtomically(const std::string& path, std::string_view bytes) {
    ++writeCount;
    const std::string folder = path.substr(0, path.rfind('/'));
    if (writesFail || (!directories.contains(folder) && folder != "/tmp")) return false;
    files[path] = std::string(bytes);
    return true;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    if (writesFail) return false;
    files.erase(path);
    return true;
}

}  // namespace glugmo::fake
