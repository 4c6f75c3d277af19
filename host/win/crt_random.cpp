#include "crt_random.h"

#include <cstdint>

namespace win {

namespace {
// The runtime keeps the seed per thread, and a thread that never called srand starts from 1.
thread_local std::uint32_t t_seed = 1;
} // namespace

void srand(unsigned int seed) noexcept {
    t_seed = seed;
}

int rand() noexcept {
    t_seed = t_seed * 214013u + 2531011u;
    return static_cast<int>((t_seed >> 16) & 0x7fffu);
}

} // namespace win
