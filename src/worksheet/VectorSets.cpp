#include "worksheet/VectorSets.h"

#include <cstddef>

namespace orvalis {

double* VectorSets::Array(int index)
{
    if (m_storage.empty()) {
        m_storage.assign(static_cast<std::size_t>(kArrays) * kCapacity, 0.0);
        for (int k = 0; k < kInputSets; ++k)
            m_inputPointers[static_cast<std::size_t>(k)] =
                m_storage.data() + static_cast<std::size_t>(k) * kCapacity;
    }
    return m_storage.data() + static_cast<std::size_t>(index) * kCapacity;
}

const double* const* VectorSets::InputPointers()
{
    Array(0);
    return m_inputPointers.data();
}

} // namespace orvalis
