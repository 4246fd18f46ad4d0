#pragma once

#include "grid/core/CellStore.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

class Worksheet;

// The undo history of one worksheet, shared by all of its windows. It keeps the cell
// changes the user makes by hand, one step per user edit (an edit typed into a cell,
// Delete, Cut, Paste, a drop, a role choice), as the grids announce them with
// BeginUserEdit/EndUserEdit; while an edit is open it listens to the cell store and
// notes the text each changed cell had before. Undo and redo write the texts back
// through the same end-of-edit handling a typed edit gets, so header values and the
// row labels follow.
//
// The operations of the program that rewrite cells or the network (training,
// evaluation, Clear Training, Auto-Config Vectors, the results-mode switch, import)
// run inside a ProgramChange: when they changed anything, the history is cleared, since
// taking back a typed value under results computed from it would leave the results
// wrong. A cell change that comes from anywhere else clears it too.
//
// The modified mark follows the history: it is set exactly when the worksheet is not
// at the step last saved or loaded (MarkSaved), so undoing back to that step clears it.
class WorksheetUndo final : public QObject, private CellStoreListener {
    Q_OBJECT
public:
    // One cell of a step: its text before and after the user's edit.
    struct CellChange {
        int row = 0;
        int col = 0;
        std::string before;
        std::string after;
    };

    // Listens to the worksheet's cells until destroyed; the worksheet must outlive it.
    explicit WorksheetUndo(Worksheet& worksheet, QObject* parent = nullptr);
    ~WorksheetUndo() override;
    WorksheetUndo(const WorksheetUndo&) = delete;
    WorksheetUndo& operator=(const WorksheetUndo&) = delete;

    QUndoStack& Stack() { return m_stack; }
    const QUndoStack& Stack() const { return m_stack; }

    // A step to take back (or forward) while the cells take edits: not during a
    // training run, nor in the middle of an edit.
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    // The Edit menu's texts: "&Undo Paste", "&Redo Typing"; "&Undo" and "&Redo" when
    // there is no step.
    QString UndoMenuText() const;
    QString RedoMenuText() const;

    // The worksheet now equals its file (after a save or a load).
    void MarkSaved();
    // Forgets every step. When there were steps, historyCleared tells the user why.
    void ClearHistory(const QString& reason);

    // Brackets an operation of the program; see the class comment. Nests.
    class ProgramChange {
    public:
        ProgramChange(WorksheetUndo& undo, QString reason);
        ~ProgramChange();
        ProgramChange(const ProgramChange&) = delete;
        ProgramChange& operator=(const ProgramChange&) = delete;

    private:
        WorksheetUndo& m_undo;
    };

public slots:
    // A user edit named name begins; edits nest, the outermost one makes the step. An
    // edit that changed no text makes none and leaves the modified mark as it was.
    void BeginUserEdit(const QString& name);
    void EndUserEdit();
    // The worksheet's modified mark changed.
    void OnModifiedChanged(bool modified);

signals:
    // A short status-bar text: the history was cleared, and why.
    void historyCleared(const QString& message);
    // Undo or redo wrote these cells back (the block around every cell of the step).
    void cellsRestored(int minRow, int minCol, int maxRow, int maxCol);

private:
    friend class CellEditCommand;
    // The grid's row count before and after a step: a paste or a typed cell past the
    // last row grows the worksheet, and taking the step back takes the rows back too.
    struct RowCounts {
        int before = 0;
        int after = 0;
    };
    // Writes the before (or after) texts of a step, last cell first when undoing, with
    // the rows the step added gone after an undo and back before a redo.
    void Apply(const std::vector<CellChange>& changes, RowCounts rows, bool after);
    void SyncModified();

    // CellStoreListener
    void CellChanged(int, int) override {}
    void LayoutChanged() override {}
    void CellTextChanging(int row, int col, const std::string& oldText) override;

    Worksheet& m_worksheet;
    QUndoStack m_stack;
    int m_editDepth = 0;                                 // open user edits
    QString m_editName;                                  // name of the outermost open edit
    int m_rowsAtEditStart = 0;                           // the grid's row count when it began
    std::map<std::pair<int, int>, std::string> m_before; // (row, col) -> text before the edit
    int m_programDepth = 0;                              // open program operations
    bool m_programChanged = false;                       // a cell changed in the open program operation
    std::uint64_t m_modificationsAtStart = 0;            // the worksheet's count when it began
    QString m_programReason;                             // why the open program operation clears the history
    bool m_applying = false;                             // undo or redo is writing cells
    bool m_clearing = false;                             // the stack is being cleared
};

} // namespace orvalis
