#include "worksheet/ui/WorksheetUndo.h"

#include "worksheet/Worksheet.h"

#include <QUndoCommand>

#include <algorithm>

namespace orvalis {

// One user edit: the cells it changed with their texts before and after.
class CellEditCommand final : public QUndoCommand {
public:
    CellEditCommand(WorksheetUndo& owner, const QString& name,
                    std::vector<WorksheetUndo::CellChange> changes, WorksheetUndo::RowCounts rows)
        : QUndoCommand(name), m_owner(owner), m_changes(std::move(changes)), m_rows(rows)
    {
    }

    void undo() override { m_owner.Apply(m_changes, m_rows, false); }

    void redo() override
    {
        // The stack redoes a step as it is pushed; the user's edit has already done it.
        if (m_done)
            m_owner.Apply(m_changes, m_rows, true);
        m_done = true;
    }

private:
    WorksheetUndo& m_owner;
    std::vector<WorksheetUndo::CellChange> m_changes;
    WorksheetUndo::RowCounts m_rows;
    bool m_done = false;
};

namespace {

// A step big enough to matter is a paste of a whole sheet; a hundred of them stay
// well inside memory, and nobody walks back further by hand.
constexpr int kUndoLimit = 100;

} // namespace

WorksheetUndo::WorksheetUndo(Worksheet& worksheet, QObject* parent)
    : QObject(parent), m_worksheet(worksheet)
{
    m_stack.setUndoLimit(kUndoLimit);
    connect(&m_stack, &QUndoStack::indexChanged, this, [this] {
        if (!m_clearing)
            SyncModified();
    });
    m_worksheet.Store().AddListener(this);
}

WorksheetUndo::~WorksheetUndo()
{
    m_worksheet.Store().RemoveListener(this);
}

bool WorksheetUndo::CanUndo() const
{
    return m_stack.canUndo() && m_worksheet.Store().editable && m_editDepth == 0;
}

bool WorksheetUndo::CanRedo() const
{
    return m_stack.canRedo() && m_worksheet.Store().editable && m_editDepth == 0;
}

void WorksheetUndo::Undo()
{
    if (CanUndo())
        m_stack.undo();
}

void WorksheetUndo::Redo()
{
    if (CanRedo())
        m_stack.redo();
}

QString WorksheetUndo::UndoMenuText() const
{
    const QString step = m_stack.undoText();
    return step.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + step;
}

QString WorksheetUndo::RedoMenuText() const
{
    const QString step = m_stack.redoText();
    return step.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + step;
}

void WorksheetUndo::MarkSaved()
{
    m_stack.setClean();
}

void WorksheetUndo::ClearHistory(const QString& reason)
{
    const bool hadSteps = m_stack.count() > 0;
    m_clearing = true;
    m_stack.clear();
    // Cleared, the stack counts as being at its saved step; a worksheet the operation
    // left modified must keep its mark until it is saved.
    if (m_worksheet.IsModified())
        m_stack.resetClean();
    m_clearing = false;
    if (hadSteps)
        emit historyCleared(reason.isEmpty() ? QStringLiteral("Undo history cleared")
                                             : QStringLiteral("Undo history cleared: ") + reason);
}

WorksheetUndo::ProgramChange::ProgramChange(WorksheetUndo& undo, QString reason)
    : m_undo(undo)
{
    if (m_undo.m_programDepth++ > 0)
        return;
    m_undo.m_programChanged = false;
    m_undo.m_modificationsAtStart = m_undo.m_worksheet.ModificationCount();
    m_undo.m_programReason = std::move(reason);
}

WorksheetUndo::ProgramChange::~ProgramChange()
{
    if (--m_undo.m_programDepth > 0)
        return;
    // A question answered No or a run refused before it touched anything keeps the
    // history; anything written, or the worksheet marked modified, ends it.
    if (m_undo.m_programChanged || m_undo.m_worksheet.ModificationCount() != m_undo.m_modificationsAtStart)
        m_undo.ClearHistory(m_undo.m_programReason);
}

void WorksheetUndo::BeginUserEdit(const QString& name)
{
    if (m_editDepth++ > 0)
        return;
    m_editName = name;
    m_rowsAtEditStart = m_worksheet.Store().GetRowCount();
    m_before.clear();
}

void WorksheetUndo::EndUserEdit()
{
    if (m_editDepth == 0 || --m_editDepth > 0)
        return;
    std::vector<CellChange> changes;
    const CellStore& store = m_worksheet.Store();
    for (auto& [cell, before] : m_before) {
        const std::string& after = store.CellTextRef(cell.first, cell.second);
        if (after != before)
            changes.push_back(CellChange{cell.first, cell.second, std::move(before), after});
    }
    m_before.clear();
    if (changes.empty()) {
        // An edit that ended with the text it started with changes nothing to save.
        SyncModified();
        return;
    }
    const RowCounts rows{m_rowsAtEditStart, store.GetRowCount()};
    m_stack.push(new CellEditCommand(*this, m_editName, std::move(changes), rows));
}

void WorksheetUndo::OnModifiedChanged(bool modified)
{
    // Marked by something outside the history's view: no step may clear the mark
    // again until the worksheet is saved.
    if (modified && !m_applying && m_editDepth == 0 && m_programDepth == 0 && m_stack.isClean())
        m_stack.resetClean();
}

void WorksheetUndo::CellTextChanging(int row, int col, const std::string& oldText)
{
    if (m_applying)
        return;
    if (m_editDepth > 0) {
        m_before.try_emplace(std::pair{row, col}, oldText);
    } else if (m_programDepth > 0) {
        m_programChanged = true;
    } else if (m_stack.count() > 0) {
        // Written by the program outside any known operation: the steps no longer
        // describe the cells they would write back.
        ClearHistory(QString());
    }
}

void WorksheetUndo::Apply(const std::vector<CellChange>& changes, RowCounts rows, bool after)
{
    CellStore& store = m_worksheet.Store();
    m_applying = true;
    const bool grew = rows.after > rows.before;
    if (after && grew)
        m_worksheet.GrowRows(rows.after);
    auto write = [&store, after](const CellChange& change) {
        // An ended edit as for typing: a header value is read back and the row labels
        // recoloured, exactly as when the user typed it.
        store.SetCellText(change.row, change.col, after ? change.after : change.before);
        store.NotifyEditEnded(change.row, change.col);
    };
    if (after)
        std::for_each(changes.begin(), changes.end(), write);
    else
        std::for_each(changes.rbegin(), changes.rend(), write);
    if (!after && grew)
        m_worksheet.ShrinkRows(rows.before);
    m_applying = false;
    if (changes.empty())
        return;
    int minRow = changes.front().row, maxRow = minRow;
    int minCol = changes.front().col, maxCol = minCol;
    for (const CellChange& change : changes) {
        minRow = std::min(minRow, change.row);
        maxRow = std::max(maxRow, change.row);
        minCol = std::min(minCol, change.col);
        maxCol = std::max(maxCol, change.col);
    }
    // Rows an undo took away are not there to show.
    maxRow = std::min(maxRow, store.GetRowCount() - 1);
    if (minRow <= maxRow)
        emit cellsRestored(minRow, minCol, maxRow, maxCol);
}

void WorksheetUndo::SyncModified()
{
    m_worksheet.SetModified(!m_stack.isClean());
}

} // namespace orvalis
