#pragma once

#include <cstddef>

namespace glugmo {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform in [0, bound); bound is at least 1.
    virtual std::size_t uniformIndex(std::size_t bound) = 0;
    virtual bool fairCoin() = 0;
};

}  // namespace glugmo
