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

const double* const* VectorSets::InputPointers(int firstRow)
{
    for (int k = 0; k < kInputSets; ++k)
        m_inputPointers[static_cast<std::size_t>(k)] = Array(k) + firstRow;
    return m_inputPointers.data();
}

double* VectorSets::Level(int index)
{
    if (m_levels.empty())
        m_levels.assign(static_cast<std::size_t>(kInputSets + 1) * kCapacity, 0.0);
    return m_levels.data() + static_cast<std::size_t>(index) * kCapacity;
}

} // namespace orvalis
