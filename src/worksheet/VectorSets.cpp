#include "worksheet/VectorSets.h"

#include <algorithm>
#include <cstddef>

namespace orvalis {

void VectorSets::Reserve(int rows)
{
    if (rows <= m_capacity)
        return;
    const auto oldCapacity = static_cast<std::size_t>(m_capacity);
    const auto capacity = static_cast<std::size_t>(rows);
    if (!m_storage.empty()) {
        // Each array keeps its values at the start of its new, longer place; the rest is 0.
        std::vector<double> grown(static_cast<std::size_t>(kArrays) * capacity, 0.0);
        for (std::size_t a = 0; a < kArrays; ++a)
            std::copy_n(m_storage.data() + a * oldCapacity, oldCapacity, grown.data() + a * capacity);
        m_storage = std::move(grown);
        for (int k = 0; k < kInputSets; ++k)
            m_inputPointers[static_cast<std::size_t>(k)] =
                m_storage.data() + static_cast<std::size_t>(k) * capacity;
    }
    m_capacity = rows;
}

double* VectorSets::Array(int index)
{
    const auto capacity = static_cast<std::size_t>(m_capacity);
    if (m_storage.empty()) {
        m_storage.assign(static_cast<std::size_t>(kArrays) * capacity, 0.0);
        for (int k = 0; k < kInputSets; ++k)
            m_inputPointers[static_cast<std::size_t>(k)] =
                m_storage.data() + static_cast<std::size_t>(k) * capacity;
    }
    return m_storage.data() + static_cast<std::size_t>(index) * capacity;
}

const double* const* VectorSets::InputPointers()
{
    Array(0);
    return m_inputPointers.data();
}

} // namespace orvalis
