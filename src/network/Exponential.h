#pragma once

// Internal to the engine: the exponential of the sigmoid.
//
// Every unit's output is 1/(1 + exp(-gain*sum)) with the C library's exp. Where the
// build found the library's entry that skips the errno wrapper and gives the same bits
// (CMakeLists.txt checks both), the hot loops call it directly: the wrapper costs a
// third of each call, and the engine never reads errno.

#include <cmath>

#if defined(ORVALIS_EXP_ENTRY)
extern "C" double __exp_finite(double);
__asm__(".symver __exp_finite,__exp_finite@GLIBC_2.15");
#endif

namespace orvalis {

[[gnu::always_inline]] inline double Exp(double x)
{
#if defined(ORVALIS_EXP_ENTRY)
    return __exp_finite(x);
#else
    return std::exp(x);
#endif
}

} // namespace orvalis
