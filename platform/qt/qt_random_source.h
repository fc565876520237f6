#pragma once

#include "platform/random_source.h"

namespace glugmo {

// The system's random source, seeded by the operating system.
class QtRandomSource final : public RandomSource {
public:
    std::size_t uniformIndex(std::size_t bound) override;
    bool fairCoin() override;
};

}  // namespace glugmo
