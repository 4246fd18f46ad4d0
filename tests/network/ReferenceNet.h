#pragma once

// A literal, unoptimised reading of the network algorithm, kept beside the tests to
// prove that the engine's vectorised layout gives the same bits: weights[i][j] stored
// unit-major, the full momentum matrix stored, every loop in its textbook order.

#include "network/RandomGenerator.h"

#include <cmath>
#include <limits>
#include <vector>

namespace orvalis::test {

struct ReferenceNet {
    struct Layer {
        int units = 0;
        std::vector<double> outputs, errors;
        std::vector<std::vector<double>> weights, best, lastDeltas; // [i][j]
    };
    std::vector<Layer> layers;
    double momentum = 0.5, learningRate = 0.05, gain = 1.0, patternError = 0.0;
    double errorRatioGoal = 1.2;
    int iterationsPerCycle = 10, maxCycles = 2000, abortAfterCycle = -1;
    int numTaps = 0, trainFirst = 0, trainLast = 0, testFirst = 0, testLast = 0, totalRows = 0;
    double trainError = 0, testError = 0;
    std::vector<const double*> inputs;
    const double* target = nullptr;
    RandomGenerator random;

    explicit ReferenceNet(const std::vector<int>& shape)
    {
        for (std::size_t l = 0; l < shape.size(); ++l) {
            Layer L;
            L.units = shape[l];
            L.outputs.assign(L.units + 1, 0.0);
            L.outputs[0] = 1.0;
            L.errors.assign(L.units + 1, 0.0);
            if (l > 0) {
                const std::vector<double> row(shape[l - 1] + 1, 0.0);
                L.weights.assign(L.units + 1, row);
                L.best = L.lastDeltas = L.weights;
            }
            layers.push_back(L);
        }
    }

    void Randomize()
    {
        random.Seed(4711);
        for (std::size_t l = 1; l < layers.size(); ++l)
            for (int i = 1; i <= layers[l].units; ++i)
                for (int j = 0; j <= layers[l - 1].units; ++j)
                    layers[l].weights[i][j] = random.RandomUniform(-0.5, 0.5);
    }

    void Present(int row, bool train)
    {
        Layer& in = layers.front();
        int n = 1;
        for (const double* set : inputs)
            for (int t = 0; t < numTaps; ++t)
                in.outputs[n++] = set[row - numTaps + t];
        for (std::size_t l = 0; l + 1 < layers.size(); ++l) {
            Layer& lo = layers[l];
            Layer& up = layers[l + 1];
            for (int i = 1; i <= up.units; ++i) {
                double sum = 0.0;
                for (int j = 0; j <= lo.units; ++j)
                    sum += up.weights[i][j] * lo.outputs[j];
                up.outputs[i] = 1 / (1 + std::exp(-gain * sum));
            }
        }
        Layer& out = layers.back();
        patternError = 0;
        for (int i = 1; i <= out.units; ++i) {
            const double o = out.outputs[i];
            const double err = target[row + i - 1] - o;
            out.errors[i] = gain * o * (1 - o) * err;
            patternError += 0.5 * (err * err);
        }
        if (!train)
            return;
        for (std::size_t l = layers.size() - 1; l >= 2; --l) {
            Layer& up = layers[l];
            Layer& lo = layers[l - 1];
            for (int i = 1; i <= lo.units; ++i) {
                const double o = lo.outputs[i];
                double e = 0.0;
                for (int j = 1; j <= up.units; ++j)
                    e += up.weights[j][i] * up.errors[j];
                lo.errors[i] = gain * o * (1 - o) * e;
            }
        }
        for (std::size_t l = 1; l < layers.size(); ++l)
            for (int i = 1; i <= layers[l].units; ++i)
                for (int j = 0; j <= layers[l - 1].units; ++j) {
                    const double o = layers[l - 1].outputs[j];
                    const double err = layers[l].errors[i];
                    const double d = layers[l].lastDeltas[i][j];
                    layers[l].weights[i][j] += learningRate * err * o + momentum * d;
                    layers[l].lastDeltas[i][j] = learningRate * err * o;
                }
    }

    void Measure()
    {
        trainError = 0;
        for (int r = trainFirst; r <= trainLast; ++r) {
            Present(r, false);
            trainError += patternError;
        }
        testError = 0;
        for (int r = testFirst; r <= testLast; ++r) {
            Present(r, false);
            testError += patternError;
        }
    }

    void CopyWeights(bool toBest)
    {
        for (std::size_t l = 1; l < layers.size(); ++l)
            (toBest ? layers[l].best : layers[l].weights) =
                toBest ? layers[l].weights : layers[l].best;
    }

    // Returns the number of cycles run; updates through the reference.
    int Run(int& updates)
    {
        double best = std::numeric_limits<double>::infinity();
        updates = 0;
        CopyWeights(true);
        int cycle = 0;
        bool stop = false;
        while (!stop) {
            for (long p = 0; p < long(iterationsPerCycle) * totalRows; ++p)
                Present(random.RandomRow(trainFirst, trainLast), true);
            Measure();
            if (testError < best) {
                best = testError;
                ++updates;
                CopyWeights(true);
            } else if (testError > errorRatioGoal * best) {
                stop = true;
                CopyWeights(false);
            }
            if (cycle > maxCycles || cycle == abortAfterCycle) {
                CopyWeights(false);
                stop = true;
            }
            ++cycle;
        }
        return cycle;
    }

    std::vector<double> Weights() const
    {
        std::vector<double> w;
        for (std::size_t l = 1; l < layers.size(); ++l)
            for (int i = 1; i <= layers[l].units; ++i)
                for (int j = 0; j <= layers[l - 1].units; ++j)
                    w.push_back(layers[l].weights[i][j]);
        return w;
    }
};

} // namespace orvalis::test
