#include "network/NetworkShape.h"

namespace orvalis {

std::int64_t NetworkShape::WeightCount() const
{
    std::int64_t count = 0;
    for (int l = 1; l < layerCount && l < MaxEntries; ++l)
        count += static_cast<std::int64_t>(unitsPerLayer[l]) * (unitsPerLayer[l - 1] + 1);
    return count;
}

} // namespace orvalis
