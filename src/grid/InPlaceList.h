#pragma once

#include <QComboBox>
#include <QPointer>

#include <string>
#include <vector>

namespace orvalis {

class CGridCtrl;

// A drop-down list laid over one cell for cells with a fixed vocabulary (the worksheet's
// role row). It preselects the first item that starts with the cell text, ignoring case;
// Ctrl+arrows and Tab, Enter and Escape end it (Escape restores the text); plain arrows
// move in the list. When it loses the focus it reports the final text and the ending key
// to the grid once and deletes itself.
class CInPlaceList : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kVisibleLines = 4;

    // withEditField: a drop-down with an edit field (the worksheet's choice) rather than
    // a plain drop-down list. rect: the cell rectangle in the grid's cell-area coordinates.
    CInPlaceList(CGridCtrl* grid, QWidget* parent, const QRect& rect, bool withEditField,
                 int id, int row, int col, const std::vector<std::string>& items,
                 const std::string& text, unsigned firstChar);

    unsigned LastKey() const { return m_lastKey; }
    // Ends editing now: reports the text to the grid once and deletes itself later. The
    // focus leaving the editor calls this; the grid calls it when it closes.
    Q_INVOKABLE void EndEdit();
    int Id() const { return m_id; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Handles the keys that end editing; true when the key was used.
    bool HandleEndingKey(QKeyEvent* event);
    void PlaceCaret(unsigned firstChar);
    void OnFocusChanged(QWidget* now);
    void LeaveWith(unsigned key, bool shift);

    QPointer<CGridCtrl> m_grid;
    int m_id;
    int m_row;
    int m_col;
    QString m_initialText;
    unsigned m_lastKey = 0;
    bool m_shift = false;
    bool m_ended = false;
};

} // namespace orvalis
