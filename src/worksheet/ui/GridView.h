#pragma once

#include <QWidget>

namespace orvalis {

class CWorksheetGrid;
class CGridDoc;

// The window of one worksheet: it draws nothing itself and hosts the worksheet's grid,
// which always fills it. Creating the view attaches the grid to the worksheet's cells
// and sizes the header block to the screen fonts.
class CGridView final : public QWidget {
    Q_OBJECT
public:
    explicit CGridView(CGridDoc& doc, QWidget* parent = nullptr);
    ~CGridView() override;

    CGridDoc& Document() { return m_doc; }
    CWorksheetGrid& Grid() { return *m_grid; }

private:
    CGridDoc& m_doc;
    CWorksheetGrid* m_grid;  // child widget
};

} // namespace orvalis
