// The clipboard side of CGridCtrl: Cut, Copy, Paste and Select All with their enable
// queries, and the grid's context menu that offers them.

#include "grid/CellBytes.h"
#include "grid/GridCtrl.h"
#include "grid/core/GridTextTransfer.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>

namespace orvalis {

namespace {

QString FromCellBytes(const std::string& bytes)
{
    // The exchange block ends in a NUL for readers that stop there; text on the
    // clipboard is length-delimited, and other programs would take the NUL for a
    // character of the last cell.
    std::size_t size = bytes.size();
    if (size > 0 && bytes[size - 1] == '\0')
        --size;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(size));
}

} // namespace

bool CGridCtrl::CanCopy() const
{
    return !m_selection.SelectedCells().empty();
}

bool CGridCtrl::CanCut() const
{
    return m_store.editable && CanCopy();
}

bool CGridCtrl::CanPaste() const
{
    const CellId focus = m_selection.GetFocusCell();
    if (!m_store.IsValidCell(focus.row, focus.col) || !m_store.IsCellEditable(focus.row, focus.col))
        return false;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasText();
}

std::unique_ptr<QMimeData> CGridCtrl::CopyTextFromGrid() const
{
    const std::string block = CopyTextFromCells(m_store, m_selection, GetSelectedCellRange());
    if (block.empty())
        return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setText(FromCellBytes(block));
    return mime;
}

bool CGridCtrl::PasteTextToGrid(CellId cell, const QMimeData* mime, GridSelection* leaving)
{
    if (!mime || !mime->hasText())
        return false;
    const CellBytes text = ToCellBytes(mime->text());
    if (growRows && !text.bytes.empty() && m_store.IsCellEditable(cell.row, cell.col)) {
        const CellId last = PasteTargetOf(cell, text.bytes, text.bytes.size() - 1);
        if (last.row >= m_store.GetRowCount())
            growRows(last.row + 1);
    }
    const PasteOutcome outcome = PasteTextToCells(m_store, cell, text.bytes, leaving ? leaving : &m_selection);
    if (!outcome)
        return false;
    viewport()->update();
    if (text.replaced > 0) {
        const CellId first = PasteTargetOf(cell, text.bytes, text.firstReplaced);
        const bool inside = m_store.IsValidCell(first.row, first.col);
        emit charactersReplaced(text.replaced, inside ? first.row : -1, inside ? first.col : -1);
    }
    return true;
}

void CGridCtrl::CutSelectedText()
{
    if (!m_store.editable)
        return;
    CutSelectedCells(m_store, m_selection);
    viewport()->update();
}

bool CGridCtrl::PlaceOnClipboard(std::unique_ptr<QMimeData> mime)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = mime->text();
    clipboard->setMimeData(mime.release());
    // The platform may refuse to take the text (another program holding the clipboard,
    // say); only what the clipboard now answers counts as copied.
    const QMimeData* now = clipboard->mimeData();
    return now && now->hasText() && now->text() == text;
}

void CGridCtrl::OnEditCopy()
{
    if (std::unique_ptr<QMimeData> mime = CopyTextFromGrid())
        PlaceOnClipboard(std::move(mime));
}

void CGridCtrl::OnEditCut()
{
    if (!m_store.editable)
        return;
    std::unique_ptr<QMimeData> mime = CopyTextFromGrid();
    // Cells are emptied only once their text is safe on the clipboard.
    if (mime && PlaceOnClipboard(std::move(mime))) {
        const UserEdit edit(*this, QStringLiteral("Cut"));
        CutSelectedText();
    }
}

void CGridCtrl::OnEditPaste()
{
    if (!m_store.editable)
        return;
    CellId target = m_selection.GetFocusCell();
    if (!m_store.IsValidCell(target.row, target.col))
        target = GetTopLeftNonFixedCell();
    if (!m_store.IsValidCell(target.row, target.col))
        return;
    const UserEdit edit(*this, QStringLiteral("Paste"));
    PasteTextToGrid(target, QGuiApplication::clipboard()->mimeData());
}

void CGridCtrl::OnEditSelectAll()
{
    SelectAllCells();
}

std::unique_ptr<QMenu> CGridCtrl::CreateContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setAccessibleName(QStringLiteral("Grid"));
    QAction* undo = menu->addAction(QStringLiteral("Undo"));
    undo->setEnabled(m_undoStack && m_undoStack->canUndo() && m_store.editable);
    menu->addSeparator();
    QAction* cut = menu->addAction(QStringLiteral("Cut"));
    QAction* copy = menu->addAction(QStringLiteral("Copy"));
    QAction* paste = menu->addAction(QStringLiteral("Paste"));
    QAction* del = menu->addAction(QStringLiteral("Delete"));
    menu->addSeparator();
    QAction* all = menu->addAction(QStringLiteral("Select All"));
    cut->setEnabled(CanCut());
    del->setEnabled(CanCut());
    copy->setEnabled(CanCopy());
    paste->setEnabled(CanPaste());
    all->setEnabled(CanSelectAll());
    // Delete removes the selection the way Cut does.
    connect(undo, &QAction::triggered, this, [this] {
        EndEditing();
        if (m_undoStack)
            m_undoStack->undo();
    });
    connect(cut, &QAction::triggered, this, [this] { OnEditCut(); });
    connect(del, &QAction::triggered, this, [this] { OnEditCut(); });
    connect(copy, &QAction::triggered, this, [this] { OnEditCopy(); });
    connect(paste, &QAction::triggered, this, [this] { OnEditPaste(); });
    connect(all, &QAction::triggered, this, [this] { OnEditSelectAll(); });
    return menu;
}

} // namespace orvalis
