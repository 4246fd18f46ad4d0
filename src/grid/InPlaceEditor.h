#pragma once

#include "grid/core/GridNavigation.h"

#include <QPointer>
#include <QString>

#include <string>

class QEvent;
class QKeyEvent;
class QWidget;

namespace orvalis {

class CGridCtrl;

// What every editor laid over a grid cell shares: the cell it edits, the text it started
// with, the key that ended it, and the one report of the final text back to the grid.
// The editor widget derives from its Qt widget first and from this second; it deletes
// itself once it has reported, and nobody else deletes it.
class CInPlaceEditor {
public:
    virtual ~CInPlaceEditor() = default;
    CInPlaceEditor(const CInPlaceEditor&) = delete;
    CInPlaceEditor& operator=(const CInPlaceEditor&) = delete;

    // The key that ended editing; Other while editing goes on or when focus left it.
    GridKey LastKey() const { return m_lastKey; }
    int Id() const { return m_id; }
    // Ends editing now: reports the text to the grid once and deletes the editor later.
    // The focus leaving the editor calls this; the grid calls it when it closes.
    void EndEdit();

    // The cell text as the editor shows it (cells hold Latin-1).
    static QString FromCell(const std::string& text);

protected:
    // self: the editor widget itself, which outlives this base part.
    CInPlaceEditor(QWidget* self, CGridCtrl* grid, int id, int row, int col,
                   const std::string& text);

    // The text the editor holds now.
    virtual QString CurrentText() const = 0;

    const QString& InitialText() const { return m_initialText; }
    bool Ended() const { return m_ended; }
    // Records the ending key and hands the focus back to the grid, which ends editing
    // through the focus change; without a grid it ends at once.
    void LeaveWith(GridKey key, bool shift);
    // Alt with a key while editing: true when the event is such a shortcut override, which
    // the editor keeps so that menu mnemonics do not fire. Every other key the editor does
    // not use itself reaches the frame's shortcuts, whose commands store the edit first.
    static bool ClaimMnemonic(QEvent* event);
    // Shift held with the key, or Backtab (Shift+Tab as one key).
    static bool ShiftOf(const QKeyEvent* event);

private:
    QWidget* m_self;
    QPointer<CGridCtrl> m_grid;
    int m_id;
    int m_row;
    int m_col;
    QString m_initialText;
    GridKey m_lastKey = GridKey::Other;
    bool m_shift = false; // Shift was held with the ending key
    bool m_ended = false;
};

} // namespace orvalis
