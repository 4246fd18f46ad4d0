#pragma once

#include "grid/GridCtrl.h"

namespace orvalis {

// The grid of a worksheet: the role row is edited with a drop-down of the ten role
// texts that also takes any typed text; every other cell uses the grid's usual editor.
// Select All shows the wait cursor while it runs. An edit of the role row is a role
// choice in the worksheet's history.
class CWorksheetGrid final : public CGridCtrl {
    Q_OBJECT
public:
    explicit CWorksheetGrid(CellStore& store, QWidget* parent = nullptr);

    void CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id, int row,
                                  int col, const std::string& text, unsigned firstChar) override;
    bool HasDropDownList(int row, int col) const override;
    void OnEditSelectAll() override;
    QString TypedEditName(int row, int col) const override;
};

} // namespace orvalis
