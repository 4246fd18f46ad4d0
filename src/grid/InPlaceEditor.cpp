#include "grid/InPlaceEditor.h"

#include "grid/CellBytes.h"
#include "grid/GridCtrl.h"

#include <QKeyEvent>
#include <QWidget>

namespace orvalis {

CInPlaceEditor::CInPlaceEditor(QWidget* self, CGridCtrl* grid, int id, int row, int col,
                               const std::string& text)
    : m_self(self), m_grid(grid), m_id(id), m_row(row), m_col(col), m_initialText(FromCell(text))
{
    self->setAttribute(Qt::WA_DeleteOnClose);
    if (grid)
        self->setFont(grid->GetGridFont());
}

QString CInPlaceEditor::FromCell(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool CInPlaceEditor::ClaimMnemonic(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride ||
        !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier))
        return false;
    event->accept();
    return true;
}

bool CInPlaceEditor::ShiftOf(const QKeyEvent* event)
{
    return (event->modifiers() & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
}

void CInPlaceEditor::LeaveWith(GridKey key, bool shift)
{
    m_lastKey = key;
    m_shift = shift;
    if (m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    else
        EndEdit();
}

void CInPlaceEditor::EndEdit()
{
    if (m_ended)
        return;
    m_ended = true;
    // A character the cell cannot hold becomes "?" as in a paste, and the window says so.
    const CellBytes typed = ToCellBytes(CurrentText());
    m_self->hide();
    if (m_grid)
        m_grid->OnEndInPlaceEdit(m_row, m_col, typed.bytes, m_lastKey, m_shift, typed.replaced);
    m_self->deleteLater();
}

} // namespace orvalis
