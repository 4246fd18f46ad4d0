// Configure-time check: the C library's errno-free exponential entry links, and it
// returns the same bits as exp() on ordinary, extreme and special arguments.
#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" double __exp_finite(double);
__asm__(".symver __exp_finite,__exp_finite@GLIBC_2.15");

int main()
{
    std::uint64_t x = 0x9e3779b97f4a7c15u;
    for (int i = 0; i < 200000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        double v = static_cast<double>(x >> 11) * 0x1p-53 * 1500.0 - 750.0;
        if (i % 4 == 0)
            v = v / 64.0;
        const double a = std::exp(v), b = __exp_finite(v);
        if (std::memcmp(&a, &b, sizeof a) != 0)
            return 1;
    }
    const double special[] = {0.0, -0.0, 1e-320, 709.78, 709.79, -745.2, -745.1, INFINITY,
                              -INFINITY, NAN};
    for (double v : special) {
        const double a = std::exp(v), b = __exp_finite(v);
        if (std::memcmp(&a, &b, sizeof a) != 0 && !(std::isnan(a) && std::isnan(b)))
            return 1;
    }
    return 0;
}
