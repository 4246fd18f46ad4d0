#pragma once

#include <QLineEdit>
#include <QPointer>

#include <string>

namespace orvalis {

class CGridCtrl;

// A single-line editor laid over one cell. It takes the keyboard, grows to the right as
// the text needs, and ends when it loses the focus (the ending keys move the focus to the
// grid): it then reports the final text and the ending key to the grid once and deletes
// itself. Nobody else deletes it.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT

public:
    // rect: the cell rectangle in the grid's cell-area coordinates. firstChar decides the
    // caret: KeyMouse or Enter put it after the text, Backspace deletes the last
    // character, Tab, Space and the navigation keys select the text, any other character
    // replaces the text.
    CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect, Qt::Alignment alignment,
                 int id, int row, int col, const std::string& text, unsigned firstChar);

    unsigned LastKey() const { return m_lastKey; }
    // Ends editing now: reports the text to the grid once and deletes itself later. The
    // focus leaving the editor calls this; the grid calls it when it closes.
    Q_INVOKABLE void EndEdit();
    bool ExitOnArrows() const { return m_exitOnArrows; }
    int Id() const { return m_id; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Grow();
    void LeaveWith(unsigned key, bool shift);

    QPointer<CGridCtrl> m_grid;
    int m_id;
    int m_row;
    int m_col;
    QString m_initialText;
    unsigned m_lastKey = 0;
    bool m_shift = false;  // Shift was held with the ending key
    bool m_exitOnArrows = true;
    bool m_ended = false;
    QRect m_editRect;  // current placement in the grid's cell-area coordinates
};

} // namespace orvalis
