// engine_cli: the network engine alone, so that it can be timed and checked side by
// side with other implementations of the same algorithm.
//
//   engine_cli train SHAPE DATA N NMEAS
//   engine_cli run SHAPE DATA MAXCYCLES
//
// SHAPE is like 20-10-1. DATA is a text file of whitespace-separated numbers:
// totalRows numTraining numTesting numTaps inputSets targetMean, then inputSets x
// totalRows input values (set after set, already scaled), then totalRows targets.
// The hash is 64-bit FNV-1a over the weights as little-endian doubles in file order.

#include "network/BackpropNet.h"
#include "network/RandomGenerator.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

constexpr int kMaxRows = 1 << 20; // the longest worksheet's data rows at the most

struct Data {
    int totalRows = 0, numTraining = 0, numTesting = 0, numTaps = 0, inputSets = 0;
    double targetMean = 0.0;
    std::vector<std::vector<double>> sets;
    std::vector<double> target;
    std::vector<const double*> pointers;
    VectorView view;
};

int Usage()
{
    std::fprintf(stderr, "usage: engine_cli train SHAPE DATA N NMEAS\n"
                         "       engine_cli run SHAPE DATA MAXCYCLES\n");
    return 2;
}

bool ParseShape(const std::string& text, NetworkShape& shape)
{
    std::stringstream in(text);
    std::string part;
    shape.layerCount = 0;
    while (std::getline(in, part, '-')) {
        char* end = nullptr;
        const long units = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end != '\0' || units < 0 || units > NetworkShape::MaxUnits ||
            shape.layerCount == NetworkShape::MaxLayers)
            return false;
        shape.unitsPerLayer[shape.layerCount++] = static_cast<int>(units);
    }
    return shape.layerCount >= 1;
}

bool ReadData(const char* path, Data& d)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::stringstream buffer;
    buffer << file.rdbuf();
    const std::string text = buffer.str();
    const char* p = text.c_str();
    bool ok = true;
    const auto next = [&]() {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p)
            ok = false;
        p = end;
        return v;
    };
    d.totalRows = static_cast<int>(next());
    d.numTraining = static_cast<int>(next());
    d.numTesting = static_cast<int>(next());
    d.numTaps = static_cast<int>(next());
    d.inputSets = static_cast<int>(next());
    d.targetMean = next();
    if (!ok || d.totalRows < 1 || d.totalRows > kMaxRows || d.inputSets < 1 ||
        d.inputSets > CBackpropNet::MaxInputs)
        return false;
    // Like the worksheet's vector buffers: 10,000 rows at the least, zero past the data.
    const std::size_t capacity = static_cast<std::size_t>(std::max(d.totalRows, CBackpropNet::MinPredictionRows)) +
                                 CBackpropNet::MaxOutputs;
    d.sets.assign(static_cast<std::size_t>(d.inputSets), std::vector<double>(capacity, 0.0));
    for (auto& set : d.sets)
        for (int r = 0; r < d.totalRows; ++r)
            set[r] = next();
    d.target.assign(capacity, 0.0);
    for (int r = 0; r < d.totalRows; ++r)
        d.target[r] = next();
    for (const auto& set : d.sets)
        d.pointers.push_back(set.data());
    d.view = VectorView{d.pointers.data(), d.inputSets, d.target.data(),
                        static_cast<int>(capacity), d.numTaps};
    return ok;
}

std::uint64_t WeightHash(const CBackpropNet& net)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (double w : net.WeightsInOrder()) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &w, sizeof bits);
        for (int b = 0; b < 8; ++b) {
            hash ^= (bits >> (8 * b)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
        return Usage();
    const std::string mode = argv[1];
    const std::string shapeText = argv[2];
    CBackpropNet net;
    Data data;
    if (!ParseShape(shapeText, net.shape)) {
        std::fprintf(stderr, "engine_cli: bad shape %s\n", shapeText.c_str());
        return 2;
    }
    if (!ReadData(argv[3], data)) {
        std::fprintf(stderr, "engine_cli: cannot read %s\n", argv[3]);
        return 3;
    }
    RandomGenerator::Process().Seed(RandomGenerator::DefaultSeed);
    net.InitNetwork();
    net.DefineRanges(data.view, data.totalRows, data.targetMean, data.numTraining,
                     data.numTesting);
    if (!net.DataFits(data.view)) {
        std::fprintf(stderr, "engine_cli: shape and data do not fit\n");
        return 2;
    }

    if (mode == "train" && argc == 6) {
        const long long n = std::atoll(argv[4]);
        const long long measures = std::atoll(argv[5]);
        net.TrainPatterns(data.view, n / 5 + 1);
        auto start = std::chrono::steady_clock::now();
        net.TrainPatterns(data.view, n);
        const double trainNs = Seconds(start) * 1e9 / static_cast<double>(n > 0 ? n : 1);
        start = std::chrono::steady_clock::now();
        for (long long m = 0; m < measures; ++m)
            net.MeasureErrors(data.view);
        const long long rows = static_cast<long long>(net.trainLast - net.trainFirst + 1) +
                               (net.testLast - net.testFirst + 1);
        const double fwdNs =
            Seconds(start) * 1e9 / static_cast<double>(measures > 0 ? measures * rows : 1);
        std::printf("impl=orvalis shape=%s mode=train train_ns=%.2f fwd_ns=%.2f hash=%016" PRIx64
                    " testErr=%.17g\n",
                    shapeText.c_str(), trainNs, fwdNs, WeightHash(net), net.testError);
        return 0;
    }
    if (mode == "run" && argc == 5) {
        net.parameters.maxCycles = std::atoi(argv[4]);
        const auto start = std::chrono::steady_clock::now();
        const TrainingOutcome outcome = net.RunTraining(data.view, nullptr);
        const double runS = Seconds(start);
        std::printf("impl=orvalis shape=%s mode=run cycles=%d updates=%d run_s=%.6f "
                    "s_per_cycle=%.9f trainRatio=%.17g testRatio=%.17g hash=%016" PRIx64 "\n",
                    shapeText.c_str(), outcome.cycles, outcome.updates, runS,
                    runS / (outcome.cycles > 0 ? outcome.cycles : 1), outcome.trainRatio,
                    outcome.testRatio, WeightHash(net));
        return 0;
    }
    return Usage();
}
