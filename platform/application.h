#pragma once

#include <string_view>

namespace glugmo {

class Application {
public:
    virtual ~Application() = default;
    virtual bool environmentContains(std::string_view name) const = 0;
    // Standard output; lines are written as given, plus a newline.
    virtual void writeLine(std::string_view line) = 0;
    virtual void flushOutput() = 0;
    // Ends the event loop and the process.
    virtual void terminate() = 0;
};

}  // namespace glugmo
