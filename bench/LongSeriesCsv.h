#pragma once

// A long CSV of four price-like columns for the long-worksheet benchmarks, written into
// the temporary folder and removed again by its owner.

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orvalis::bench {

// Rows of the long benchmarks: a million, or ORVALIS_BENCH_LONG_ROWS for a quick look.
inline int LongRows()
{
    const char* text = std::getenv("ORVALIS_BENCH_LONG_ROWS");
    const int rows = text != nullptr ? std::atoi(text) : 0;
    return rows > 0 ? rows : 1000000;
}

// A header line "Open,High,Low,Close" and `rows` lines of a daily price walk: the close
// moves by a small pseudo-random step, the open is the previous close and high and low
// lie around both, each with two decimals as a quote sheet gives them.
inline std::string WriteLongSeriesCsv(int rows)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("orvalis_bench_series_" + std::to_string(rows) + "x4.csv");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return {};
    std::fputs("Open,High,Low,Close\n", out);
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    double close = 3000.0;
    for (int r = 0; r < rows; ++r) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const double step = (static_cast<double>(state % 20001) - 10000.0) / 10000.0; // -1 .. 1
        const double open = close;
        close = std::max(10.0, close * (1.0 + 0.01 * step));
        const double spread = 0.004 * open * static_cast<double>((state >> 20) % 100) / 100.0;
        std::fprintf(out, "%.2f,%.2f,%.2f,%.2f\n", open, std::max(open, close) + spread,
                     std::min(open, close) - spread, close);
    }
    const bool written = std::fclose(out) == 0;
    return written ? path.string() : std::string{};
}

// Heap in use, the blocks the allocator maps on their own (large arrays) included.
inline std::size_t HeapBytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

inline double Megabytes(std::size_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace orvalis::bench
