// The host runtime's random generator (the Windows C runtime's rand/srand).
//
// The module's arithmetic relies on its 15-bit range (0..32767), which glibc's rand does not
// have. The functions live in namespace win so that they never interpose the C library's own
// ::rand/::srand for the rest of the process; module code brings them into its namespace.
#pragma once

namespace win {

// Largest value rand() returns.
inline constexpr int RAND_MAX_VALUE = 0x7fff;

// Sets the seed of the calling thread's generator.
void srand(unsigned int seed) noexcept;

// Next value of the calling thread's generator: seed = seed * 214013 + 2531011, then bits 16..30.
int rand() noexcept;

} // namespace win
