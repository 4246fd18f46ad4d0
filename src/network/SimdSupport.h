#pragma once

// Internal to the engine: the vector type and attributes of the hot loops.
//
// The loops are compiled twice, for plain x86-64 and for AVX2, and the loader picks the
// one the processor runs. Vector code here uses only element-wise IEEE operations in
// the order the plain algorithm names them (the core builds without contraction or
// fast-math), so every lane gives the same bits as the scalar reading.

#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__)
#define ORVALIS_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVALIS_CLONES
#endif
#define ORVALIS_INLINE [[gnu::always_inline]] inline

// Vector values never cross a call: every function that takes or returns one is
// always inlined, so the two clones cannot disagree on how vectors are passed, and
// the note on the changed passing convention does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace orvalis::simd {

constexpr int Lanes = 4; // doubles per vector

typedef double V4 __attribute__((vector_size(32)));

ORVALIS_INLINE V4 Load(const double* p)
{
    V4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

ORVALIS_INLINE void Store(double* p, const V4& v) { std::memcpy(p, &v, sizeof v); }

ORVALIS_INLINE V4 Splat(double x) { return V4{x, x, x, x}; }

// One value from memory in every lane. Written as a shuffle so the AVX2 clone gets a
// single broadcast load: the plain splat, inlined from code built for the baseline
// target, comes out as a half-width load and a lane insert.
ORVALIS_INLINE V4 Broadcast(const double* p)
{
    const V4 v = {*p, 0.0, 0.0, 0.0};
    return __builtin_shufflevector(v, v, 0, 0, 0, 0);
}

} // namespace orvalis::simd
