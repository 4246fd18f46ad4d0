#pragma once

#include <cstdint>
#include <vector>

namespace orvalis {

struct NetLayer;
struct VectorView;

// Kernels for the shape nearly every worksheet uses: inputs, one hidden layer, one
// output. They keep the hidden sums in vector registers and fuse the update of the
// first weight layer with the next pattern's forward sums over it, so the largest
// weight block passes through the cache once per pattern instead of twice. Same
// operations in the same order as the general loops: the same bits.

// Whether the shallow kernels serve this network (3 layers, >= 1 hidden, 1 output).
bool IsShallow(const std::vector<NetLayer>& layers);

// `count` training patterns on rows drawn from first..last; `state` is the random
// generator's state, advanced as the draws go.
void TrainShallow(std::vector<NetLayer>& layers, const VectorView& data, int first, int last,
                  std::int64_t count, std::uint32_t& state, double rate, double gain,
                  double momentum, double& patternError);

// Sum of the pattern errors of rows first..last without training.
double MeasureShallow(std::vector<NetLayer>& layers, const VectorView& data, int first,
                      int last, double gain, double& patternError);

} // namespace orvalis
