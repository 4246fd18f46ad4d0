#pragma once

#include "grid/GridCtrl.h"

namespace orvalis {

// The grid of a worksheet: the role row is edited with a drop-down of the ten role
// texts that also takes any typed text; every other cell uses the grid's usual editor.
class CWorksheetGrid final : public CGridCtrl {
    Q_OBJECT
public:
    explicit CWorksheetGrid(CellStore& store, QWidget* parent = nullptr);

    void OnEditCell(int row, int col, unsigned firstChar) override;
    void CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id, int row,
                                  int col, const std::string& text, unsigned firstChar) override;

    bool IsEditLocked() const { return m_editLocked; }

public slots:
    void SetEditLocked(bool locked);

private:
    bool m_editLocked = false;
};

} // namespace orvalis
