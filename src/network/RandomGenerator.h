#pragma once

#include <cstdint>

namespace orvalis {

// The linear congruential generator behind every random choice of the program: the
// initial weights and the training rows. One state serves the whole process, so a
// training run continues the sequence that the weight initialisation started, and a
// run after seeding with 4711 is reproducible draw for draw.
class RandomGenerator {
public:
    static constexpr std::uint32_t DefaultSeed = 4711;

    explicit RandomGenerator(std::uint32_t seed = DefaultSeed) : state(seed) {}

    void Seed(std::uint32_t seed) { state = seed; }
    std::uint32_t State() const { return state; }

    // One draw: 0..32767.
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }

    // lo + draw mod (hi - lo + 1); the caller guarantees hi >= lo.
    int RandomRow(int lo, int hi) { return lo + Next() % (hi - lo + 1); }

    // lo + (hi - lo) x (draw x 1/32767), evaluated in that order.
    double RandomUniform(double lo, double hi)
    {
        const double r = static_cast<double>(Next());
        return lo + (hi - lo) * (r * InverseRange);
    }

    // The process-wide generator. Seeded with 4711 at start-up (by the first engine)
    // and again by every network initialisation.
    static RandomGenerator& Process();

    // 1/32767 as the double constant the weight initialisation uses.
    static constexpr double InverseRange = 3.051850947599719e-05;

private:
    std::uint32_t state; // full 32-bit state, wraps modulo 2^32
};

} // namespace orvalis
