#pragma once

#include "grid/GridPrinter.h"
#include "worksheet/ChartData.h"

#include <QString>

#include <optional>

namespace orvalis {

// The printer of a worksheet's cells: paper shows the used part of the worksheet
// (UsedGrid.h), the header block and the columns and rows that hold something, not the
// empty rest of the grid, under title. With a chart that has something to draw, the
// pages end with one more: the chart scaled to the page, under the grid pages' header
// and above their footer. File Print, Print Preview and the batch tool all print
// through here, with the colours and grid lines of look (a worksheet window's options).
// cells must outlive the printer.
GridPrinter WorksheetPrinter(const CellStore& cells, const GridViewOptions& look, const QString& title,
                             std::optional<ChartData> chart);

} // namespace orvalis
