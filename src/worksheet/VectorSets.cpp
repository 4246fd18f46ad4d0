#include "worksheet/VectorSets.h"

#include <algorithm>
#include <cstddef>

namespace orvalis {

namespace {

// The arrays of `count` rows each, laid end to end in `storage`, made `capacity` rows
// long: each keeps its values at the start of its new place; the rest is 0.
void Lengthen(std::vector<double>& storage, std::size_t arrays, std::size_t count, std::size_t capacity)
{
    if (storage.empty())
        return;
    std::vector<double> grown(arrays * capacity, 0.0);
    for (std::size_t a = 0; a < arrays; ++a)
        std::copy_n(storage.data() + a * count, count, grown.data() + a * capacity);
    storage = std::move(grown);
}

} // namespace

void VectorSets::Reserve(int rows)
{
    if (rows <= m_capacity)
        return;
    const auto oldCapacity = static_cast<std::size_t>(m_capacity);
    const auto capacity = static_cast<std::size_t>(rows);
    Lengthen(m_storage, kArrays, oldCapacity, capacity);
    Lengthen(m_levels, kInputSets + 1, oldCapacity, capacity);
    m_capacity = rows;
    if (!m_storage.empty())
        PointInputs();
}

void VectorSets::PointInputs()
{
    const auto capacity = static_cast<std::size_t>(m_capacity);
    for (int k = 0; k < kInputSets; ++k)
        m_inputPointers[static_cast<std::size_t>(k)] =
            m_storage.data() + static_cast<std::size_t>(k) * capacity + m_pointerRow;
}

double* VectorSets::Array(int index)
{
    const auto capacity = static_cast<std::size_t>(m_capacity);
    if (m_storage.empty()) {
        m_storage.assign(static_cast<std::size_t>(kArrays) * capacity, 0.0);
        PointInputs();
    }
    return m_storage.data() + static_cast<std::size_t>(index) * capacity;
}

const double* const* VectorSets::InputPointers(int firstRow)
{
    Array(0);
    m_pointerRow = firstRow;
    PointInputs();
    return m_inputPointers.data();
}

double* VectorSets::Level(int index)
{
    const auto capacity = static_cast<std::size_t>(m_capacity);
    if (m_levels.empty())
        m_levels.assign(static_cast<std::size_t>(kInputSets + 1) * capacity, 0.0);
    return m_levels.data() + static_cast<std::size_t>(index) * capacity;
}

} // namespace orvalis
