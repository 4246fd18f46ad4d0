#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orvalis::test {

// Builds worksheet files field by field, independently of the product's writer, so
// tests can corrupt any field. Strings use the shortest narrow prefix unless raw bytes
// are appended instead.
struct WorksheetFileBuilder {
    std::vector<std::uint8_t> bytes;
    // The training parameters Network writes.
    double learningRate = 0.05;
    double momentum = 0.5;
    double gain = 1.0;
    int autoTrainingConfigure = 1;
    double errorRatioGoal = 1.2;

    void Raw(std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void I32(std::int32_t v) { Raw(static_cast<std::uint32_t>(v), 4); }
    void F64(double v)
    {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        Raw(u, 8);
    }
    void F32(float v)
    {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        Raw(u, 4);
    }
    void Str(const std::string& s)
    {
        if (s.size() < 255) {
            Raw(s.size(), 1);
        } else if (s.size() <= 65533) {
            Raw(0xFF, 1);
            Raw(s.size(), 2);
        } else {
            Raw(0xFF, 1);
            Raw(0xFFFF, 2);
            Raw(s.size(), 4);
        }
        bytes.insert(bytes.end(), s.begin(), s.end());
    }
    // Wide form: 0xFF 0xFFFE, a narrow-scheme count of 16-bit characters, the characters.
    void WideStr(const std::u16string& s)
    {
        Raw(0xFF, 1);
        Raw(0xFFFE, 2);
        if (s.size() < 255) {
            Raw(s.size(), 1);
        } else {
            Raw(0xFF, 1);
            Raw(s.size(), 2);
        }
        for (char16_t c : s)
            Raw(c, 2);
    }

    // The fields up to and including the weights, with the given shape and weights.
    void Network(std::vector<int> units, std::vector<float> weights, int iterations = 10,
                 int maxCycles = 2000, int phase = 100)
    {
        Str("082704");
        I32(1);
        I32(static_cast<std::int32_t>(units.size()));
        for (int u : units)
            I32(u);
        F64(learningRate);
        F64(momentum);
        F64(gain);
        I32(autoTrainingConfigure);
        F64(errorRatioGoal);
        I32(iterations);
        I32(maxCycles);
        I32(phase);
        I32(static_cast<std::int32_t>(weights.size()));
        for (float w : weights)
            F32(w);
    }
    void Header(const std::vector<std::string>& texts)
    {
        for (const std::string& t : texts)
            Str(t);
    }
};

} // namespace orvalis::test
