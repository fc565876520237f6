// One libFuzzer target: CMake names the check it runs with GLUGMO_FUZZ_CHECK.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const glugmo::fuzz::Problem problem = glugmo::fuzz::GLUGMO_FUZZ_CHECK(bytes)) {
        std::fprintf(stderr, "broken rule: %s\n", problem->c_str());
        std::abort();
    }
    return 0;
}
