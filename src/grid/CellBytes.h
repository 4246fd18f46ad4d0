#pragma once

#include <QString>

#include <cstddef>
#include <string>

namespace orvalis {

// Text from the user (typed or pasted) as the cells' 8-bit text, up to its first NUL
// (where the exchange format ends it): each character above U+00FF (a pair of
// surrogates counting as one) becomes one "?", counted in replaced, the first of them
// at byte firstReplaced.
struct CellBytes {
    std::string bytes;
    int replaced = 0;
    std::size_t firstReplaced = 0;
};

CellBytes ToCellBytes(const QString& text);

} // namespace orvalis
