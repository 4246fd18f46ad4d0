#pragma once

// A small synthetic worksheet for engine tests: input sets and a target in 0.1..0.9,
// built in code so every test knows its data exactly.

#include "network/VectorView.h"

#include <cmath>
#include <vector>

namespace orvalis::test {

struct NetTestData {
    std::vector<std::vector<double>> sets; // input sets
    std::vector<const double*> pointers;
    std::vector<double> target;
    VectorView view;

    NetTestData(int rows, int inputSets, int numTaps, int extraRows = 0)
    {
        const int total = rows + extraRows;
        sets.resize(inputSets);
        for (int k = 0; k < inputSets; ++k) {
            sets[k].resize(total);
            for (int r = 0; r < total; ++r)
                sets[k][r] = 0.5 + 0.35 * std::sin(0.37 * r + 1.3 * k) * std::cos(0.05 * r);
        }
        target = sets[0]; // set 0 is the target as well, as with a "Trg/In" column
        for (auto& s : sets)
            pointers.push_back(s.data());
        view.inputs = pointers.data();
        view.inputSetCount = inputSets;
        view.target = target.data();
        view.rowCount = total;
        view.numTaps = numTaps;
    }

    double Mean() const
    {
        double m = 0.0;
        for (double v : target)
            m += v / static_cast<double>(target.size());
        return m;
    }
};

} // namespace orvalis::test
