// Training patterns per second of the network engine for the four reference shapes,
// and one full default training run, on a real price series (DAX closes).

#include "network/BackpropNet.h"
#include "network/RandomGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// The DAX column of the sample series, scaled into 0.1..0.9 as the extraction does, in
// buffers of the worksheet's size.
struct Series {
    std::vector<double> values = std::vector<double>(CBackpropNet::MinPredictionRows + 100, 0.0);
    const double* pointer = nullptr;
    int rows = 0;
    double mean = 0.0;

    Series()
    {
        // The environment may point elsewhere (a worktree beside the main checkout).
        const char* dir = std::getenv("ORVALIS_SAMPLE_DATA_DIR");
        std::ifstream in(std::string(dir ? dir : ORVALIS_SAMPLE_DATA_DIR) +
                         "/eustockmarkets_990.csv");
        std::string line;
        std::getline(in, line); // header
        std::vector<double> raw;
        while (std::getline(in, line)) {
            std::stringstream fields(line);
            std::string day, dax;
            std::getline(fields, day, ',');
            std::getline(fields, dax, ',');
            raw.push_back(std::strtod(dax.c_str(), nullptr));
        }
        if (raw.size() < 2)
            return; // no data: the benchmarks report it
        const auto [lo, hi] = std::minmax_element(raw.begin(), raw.end());
        const double min = *lo, max = *hi;
        rows = static_cast<int>(raw.size());
        for (int r = 0; r < rows; ++r) {
            values[r] = 0.1 + (0.8 * (raw[r] - min)) / (max - min);
            mean = mean + values[r] / rows;
        }
        pointer = values.data();
    }
};

const Series& Dax()
{
    static const Series series;
    return series;
}

// A network of shape inputs-hidden-1 over one input set of `inputs` taps.
struct Setup {
    CBackpropNet net;
    VectorView view;
    Setup(int inputs, int hidden, int numTraining, int numTesting, int totalRows)
    {
        const Series& s = Dax();
        if (s.rows < totalRows)
            return;
        view = VectorView{&s.pointer, 1, s.pointer, static_cast<int>(s.values.size()), inputs};
        net.shape.layerCount = 3;
        net.shape.unitsPerLayer[0] = inputs;
        net.shape.unitsPerLayer[1] = hidden;
        net.shape.unitsPerLayer[2] = 1;
        RandomGenerator::Process().Seed(RandomGenerator::DefaultSeed);
        net.InitNetwork();
        net.DefineRanges(view, totalRows, s.mean, numTraining, numTesting);
    }
};

void TrainingPatterns(benchmark::State& state)
{
    const int inputs = static_cast<int>(state.range(0));
    Setup setup(inputs, inputs / 2, 600, 200, Dax().rows);
    if (!setup.net.IsBuilt())
        return state.SkipWithError("sample series not found");
    constexpr int Batch = 1000;
    for (auto _ : state)
        setup.net.TrainPatterns(setup.view, Batch);
    state.SetItemsProcessed(state.iterations() * Batch);
    state.SetLabel(std::to_string(inputs) + "-" + std::to_string(inputs / 2) + "-1");
}
BENCHMARK(TrainingPatterns)->Arg(6)->Arg(20)->Arg(60)->Arg(200)->Unit(benchmark::kMicrosecond);

void ForwardRows(benchmark::State& state)
{
    const int inputs = static_cast<int>(state.range(0));
    Setup setup(inputs, inputs / 2, 600, 200, Dax().rows);
    if (!setup.net.IsBuilt())
        return state.SkipWithError("sample series not found");
    for (auto _ : state)
        setup.net.MeasureErrors(setup.view);
    state.SetItemsProcessed(state.iterations() * (800 - inputs));
    state.SetLabel(std::to_string(inputs) + "-" + std::to_string(inputs / 2) + "-1");
}
BENCHMARK(ForwardRows)->Arg(6)->Arg(20)->Arg(60)->Arg(200)->Unit(benchmark::kMicrosecond);

// A default run (10 iterations per cycle, ratio 1.2, up to 2000 cycles) of 20-10-1 on a
// 600-row worksheet: 400 training, 150 testing, 50 evaluation rows.
void FullDefaultRun(benchmark::State& state)
{
    int cycles = 0;
    if (Dax().rows < 600)
        return state.SkipWithError("sample series not found");
    for (auto _ : state) {
        Setup setup(20, 10, 400, 150, 600);
        cycles = setup.net.RunTraining(setup.view, nullptr).cycles;
    }
    state.counters["cycles"] = cycles;
}
BENCHMARK(FullDefaultRun)->Unit(benchmark::kMillisecond);

} // namespace
