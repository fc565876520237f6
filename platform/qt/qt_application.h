#pragma once

#include "platform/application.h"

namespace glugmo {

// The process: its environment, standard output and the event loop's end.
class QtApplication final : public Application {
public:
    bool environmentContains(std::string_view name) const override;
    void writeLine(std::string_view line) override;
    void flushOutput() override;
    void terminate() override;
};

}  // namespace glugmo
