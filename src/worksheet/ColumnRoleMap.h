#pragma once

#include <vector>

namespace orvalis {

// The worksheet's column roles as the last role scan found them. Column numbers are
// grid columns (1..68); 0 means none.
struct ColumnRoleMap {
    std::vector<int> inputColumns;   // "Input" and "Trg/In" columns, left to right, <= 16
    std::vector<int> targetColumns;  // "Target" and "Trg/In" columns, left to right, <= 6;
                                     // entry 0 is the series the network learns
    int trgInColumn = 0;  // last "Trg/In" seen; kept from earlier scans when none is present
    int valEstColumn = 0;
    int valSlopeColumn = 0;
    int errValueColumn = 0;
    int errSlopeColumn = 0;
    int errSignColumn = 0;
    bool hasResultColumns = false;  // any result column exists or was created
};

} // namespace orvalis
