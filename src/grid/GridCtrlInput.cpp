// Focus, the key table and in-place editing of CGridCtrl.

#include "grid/GridCtrl.h"
#include "grid/InPlaceEdit.h"
#include "grid/InPlaceKeys.h"
#include "grid/InPlaceList.h"
#include "grid/TitleTip.h"

#include <QApplication>
#include <QKeyEvent>

namespace orvalis {

// Focus and selection ---------------------------------------------------------------------

void CGridCtrl::RedrawHeaders(CellId cell, CellId other)
{
    // The semi-bold, sunken look of the focus cell's headers follows the focus.
    if (cell.col != other.col)
        for (int r = 0; r < m_store.GetFixedRowCount(); ++r)
            RedrawCell(r, cell.col);
    if (cell.row != other.row)
        for (int c = 0; c < m_store.GetFixedColumnCount(); ++c)
            RedrawCell(cell.row, c);
}

CellId CGridCtrl::SetFocusCell(CellId cell)
{
    // The selection reports both cells, which repaints them and their headers.
    return m_selection.SetFocusCell(cell);
}

void CGridCtrl::ResetSelectedRange()
{
    m_selection.SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(CellId{});
}

// Keys ------------------------------------------------------------------------------------

bool CGridCtrl::focusNextPrevChild(bool next)
{
    // With handleTabKey the grid keeps Tab for moving between cells.
    if (m_options.handleTabKey && !(QApplication::keyboardModifiers() & Qt::ControlModifier))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool CGridCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && m_options.handleTabKey &&
            !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::DeleteFocusCellText()
{
    const CellId focus = m_selection.GetFocusCell();
    if (!m_store.IsCellEditable(focus.row, focus.col))
        return;
    // Only the focus cell is cleared, whatever else is selected.
    const UserEdit edit(*this, QStringLiteral("Delete"));
    m_store.SetCellText(focus.row, focus.col, std::string());
    m_store.SetModified(true, focus.row, focus.col);
    m_store.NotifyEditEnded(focus.row, focus.col);
    RedrawCell(focus.row, focus.col);
}

void CGridCtrl::OnCtrlLetter(int qtKey)
{
    const CellId focus = m_selection.GetFocusCell();
    if (!m_store.IsValidCell(focus.row, focus.col))
        return;
    switch (qtKey) {
    case Qt::Key_A: OnEditSelectAll(); break;
    case Qt::Key_C: OnEditCopy(); break;
    case Qt::Key_V: OnEditPaste(); break;
    case Qt::Key_X: OnEditCut(); break;
    default: break;
    }
}

bool CGridCtrl::OnKeyDown(GridKey key, bool shift)
{
    const CellId focus = m_selection.GetFocusCell();
    if (!m_store.IsValidCell(focus.row, focus.col))
        return false;
    if (key == GridKey::Delete) {
        DeleteFocusCellText();
        return true;
    }
    int rowsScrolled = 0;
    if (key == GridKey::PageDown || key == GridKey::PageUp) {
        const int before = GetTopLeftNonFixedCell().row;
        Scroll(true, key == GridKey::PageDown ? ScrollAction::PageForward : ScrollAction::PageBack);
        rowsScrolled = GetTopLeftNonFixedCell().row - before;
    } else if (key == GridKey::Home) {
        Scroll(true, ScrollAction::ToStart);
    } else if (key == GridKey::End) {
        Scroll(true, ScrollAction::ToEnd);
    }
    const Navigation nav = NextCellForKey(m_store, focus, key, shift, rowsScrolled);
    if (nav.defaultHandling)
        return false;
    if (nav.next == focus)
        return true;

    if (m_mouseMode == MouseNothing) {
        // A plain key selects exactly the new cell; Shift extends the block from the anchor.
        m_selection.ForgetKeptSelection();
        m_mouseMode = m_options.listMode ? MouseSelectRows : MouseSelectCells;
        if (!shift || key == GridKey::Tab)
            m_selection.SetSelectionStartCell(nav.next);
        m_selection.OnSelecting(nav.next, m_mouseMode);
        m_mouseMode = MouseNothing;
    }
    SetFocusCell(nav.next);

    // The whole focus cell comes into view after every key move, however far it went.
    const CellId topLeft = GetTopLeftNonFixedCell();
    EnsureVisible(nav.next.row, nav.next.col);
    if (GetTopLeftNonFixedCell() != topLeft)
        viewport()->update();
    return true;
}

void CGridCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_titleTip)
        m_titleTip->Hide();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = (mods & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
    const bool ctrl = mods & Qt::ControlModifier;
    // F2 edits the focus cell keeping its text, as a double click does; Alt+Down or Alt+Up
    // on a cell edited with a list starts that edit with the list dropped down.
    const CellId at = m_selection.GetFocusCell();
    const bool f2 = event->key() == Qt::Key_F2 && !(mods & (Qt::AltModifier | Qt::ControlModifier));
    const bool dropDown = (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
                          (mods & Qt::AltModifier) && !ctrl && HasDropDownList(at.row, at.col);
    if ((f2 || dropDown) && m_mouseMode == MouseNothing && m_store.IsValidCell(at.row, at.col)) {
        OnEditCell(at.row, at.col, EditStart::Mouse());
        auto* list = qobject_cast<CInPlaceList*>(InPlaceEditor());
        if (dropDown && list)
            list->showPopup();
        event->accept();
        return;
    }
    // Ctrl with a letter acts, then the letter goes on to the default handling.
    if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        OnCtrlLetter(event->key());
    const GridKey key = GridKeyOf(event->key());
    const bool used = key != GridKey::Other && OnKeyDown(key, shift);

    // The character step: typing starts an edit with that character. Keys that type no
    // character (navigation, Delete), Alt combinations and Escape do not: an edit opened by
    // Escape would only be left open over the cell, its text selected for the next key.
    const QString text = event->text();
    char16_t ch = text.size() == 1 ? text.at(0).unicode() : 0;
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        ch = u'\t'; // Shift+Tab types a Tab as well
    const bool isCharacter = ch != 0 && ch != 127 && ch != 27 && ch < 256 &&
                             event->key() != Qt::Key_Delete && !(mods & Qt::AltModifier);
    if (isCharacter && !ctrl && m_mouseMode == MouseNothing &&
        !(m_options.handleTabKey && ch == u'\t')) {
        // Tab, Enter and Backspace start the edit as those keys; anything else is typed.
        const GridKey typedKey = ch == u'\t'   ? GridKey::Tab
                                 : ch == u'\r' ? GridKey::Enter
                                 : ch == u'\b' ? GridKey::Backspace
                                               : GridKey::Other;
        const CellId focus = m_selection.GetFocusCell();
        OnEditCell(focus.row, focus.col,
                   typedKey != GridKey::Other ? EditStart::Key(typedKey) : EditStart::Typed(ch));
        return;
    }
    // Keys the grid does not use go on to the parent; the scroll area's own key scrolling
    // is not wanted, the key table does the grid's scrolling.
    if (used)
        event->accept();
    else
        event->ignore();
}

// In-place editing ------------------------------------------------------------------------

void CGridCtrl::OnEditCell(int row, int col, EditStart start)
{
    EnsureVisible(row, col);
    if (!m_store.IsValidCell(row, col) || !m_store.IsCellEditable(row, col) ||
        !IsCellVisible(row, col))
        return;
    QRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = ItemText | ItemFormat;
    if (!m_store.GetCell(item))
        return;
    Qt::Alignment alignment = Qt::AlignLeft;
    if (item.format & FormatRight)
        alignment = Qt::AlignRight;
    else if (item.format & FormatCenter)
        alignment = Qt::AlignHCenter;
    if (m_titleTip)
        m_titleTip->Hide();
    CreateInPlaceEditControl(rect, alignment, 8, row, col, item.text, start);
}

bool CGridCtrl::HasDropDownList(int, int) const
{
    return false;
}

void CGridCtrl::CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id,
                                         int row, int col, const std::string& text,
                                         EditStart start)
{
    m_editor = new CInPlaceEdit(this, viewport(), rect, alignment, id, row, col, text, start);
}

void CGridCtrl::EndEditing()
{
    if (auto* editor = dynamic_cast<CInPlaceEditor*>(m_editor.data()))
        editor->EndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const std::string& text, GridKey lastKey,
                                 bool shift, int replaced)
{
    m_editor = nullptr;
    {
        const UserEdit edit(*this, TypedEditName(row, col));
        OnEndEditCell(row, col, text);
        InvalidateCell(row, col);
        m_store.NotifyEditEnded(row, col);
        // Typing down the last row goes on in a new row below it: the row is part of the
        // typed step, so Undo takes back both.
        if (lastKey == GridKey::Down && growRows && row == m_store.GetRowCount() - 1 && !text.empty())
            growRows(row + 2);
    }
    if (replaced > 0)
        emit typedCharactersReplaced(replaced, row, col);
    if (lastKey == GridKey::Tab || IsArrowOrPageKey(lastKey) || lastKey == GridKey::Home ||
        lastKey == GridKey::End) {
        // Editing goes on in the cell the key leads to.
        OnKeyDown(lastKey, shift);
        const CellId focus = m_selection.GetFocusCell();
        OnEditCell(focus.row, focus.col, EditStart::Key(lastKey));
    }
}

QString CGridCtrl::TypedEditName(int /*row*/, int /*col*/) const
{
    return QStringLiteral("Typing");
}

CGridCtrl::UserEdit::UserEdit(CGridCtrl& grid, const QString& name)
    : m_grid(grid)
{
    emit m_grid.userEditBegun(name);
}

CGridCtrl::UserEdit::~UserEdit()
{
    emit m_grid.userEditEnded();
}

void CGridCtrl::OnEndEditCell(int row, int col, const std::string& text)
{
    if (m_store.GetCellText(row, col) == text)
        return;
    m_store.SetModified(true, row, col);
    m_store.SetCellText(row, col, text);
}

} // namespace orvalis
