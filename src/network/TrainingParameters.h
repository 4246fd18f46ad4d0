#pragma once

namespace orvalis {

// What steers a training run. The engine reads learningRate, gain, momentum,
// errorRatioGoal and maxCycles where it uses them, so a change made while a run
// dispatches events acts at once; iterationsPerCycle is read once per run.
struct TrainingParameters {
    static constexpr int MinIterations = 1, MaxIterations = 1000;
    static constexpr int MinCycles = 1, MaxCycles = 100000;

    int iterationsPerCycle = 10;  // patterns per cycle = iterationsPerCycle x total rows
    int maxCycles = 2000;         // cycle limit (a run performs at most maxCycles + 2)
    double errorRatioGoal = 1.2;  // stop when test error > ratio x best test error
    double learningRate = 0.05;   // step size of the weight change
    double gain = 1.0;            // steepness of the sigmoid
    double momentum = 0.5;        // share of the previous weight change added

    bool operator==(const TrainingParameters&) const = default;
};

} // namespace orvalis
