#include "worksheet/ui/WorksheetGrid.h"

#include "grid/InPlaceList.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/WorksheetLayout.h"

#include <QGuiApplication>

namespace orvalis {

GridViewOptions WorksheetViewOptions(const PlatformColours& platform)
{
    GridViewOptions options;
    FollowPlatformColours(options, kViewStartColours, platform);
    options.dragAndDropEnabled = true;
    options.listMode = false;
    options.textBackColor = kTextBackColour;
    return options;
}

CWorksheetGrid::CWorksheetGrid(CellStore& store, QWidget* parent)
    : CGridCtrl(store, parent)
{
    Options() = WorksheetViewOptions(ReadPlatformColours(palette()));
}

void CWorksheetGrid::CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id,
                                              int row, int col, const std::string& text,
                                              EditStart start)
{
    if (row != kRoleRow) {
        CGridCtrl::CreateInPlaceEditControl(rect, alignment, id, row, col, text, start);
        return;
    }
    const std::vector<std::string> roles(kRoleTexts.begin(), kRoleTexts.end());
    SetInPlaceEditor(new CInPlaceList(this, viewport(), rect, true, id, row, col, roles, text,
                                      start));
}

QString CWorksheetGrid::TypedEditName(int row, int col) const
{
    return row == kRoleRow ? QStringLiteral("Role Choice") : CGridCtrl::TypedEditName(row, col);
}

bool CWorksheetGrid::HasDropDownList(int row, int col) const
{
    return row == kRoleRow && col >= Store().GetFixedColumnCount();
}

void CWorksheetGrid::OnEditSelectAll()
{
    // Selecting some seventy thousand cells takes a noticeable moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    CGridCtrl::OnEditSelectAll();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace orvalis
