#include "worksheet/ImportParameters.h"

#include "worksheet/IntegerText.h"

namespace orvalis {

std::string ImportParameters::Validate(const std::string& rowText,
                                       const std::string& columnText, bool header)
{
    const int r = ReadIntegerText(rowText);
    if (r <= 0 || r > maxRow)
        return "Error: Grid Row Value Out of Range";
    row = r;
    const int c = ReadIntegerText(columnText);
    if (c <= 0 || c >= 70)
        return "Error: Grid Column Value Out of Range";
    column = c;
    if (header && (row != 1 || column != 1))
        return "Error: Comment Header Requires Grid Row/Column Values Equal 1";
    commentHeader = header;
    return {};
}

} // namespace orvalis
