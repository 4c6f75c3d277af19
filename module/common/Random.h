// The runtime random generator as module code sees it.
//
// Inside namespace gantrel an unqualified rand() or srand() is the host runtime's generator
// (15-bit values, the Windows C runtime's rule), even where <cstdlib> is also included: the
// using-declarations below are found before the C library's global functions.
#pragma once

#include "crt_random.h"

namespace gantrel {

using win::rand;
using win::srand;

// Largest value rand() returns.
inline constexpr int kRandMax = win::RAND_MAX_VALUE;

} // namespace gantrel
