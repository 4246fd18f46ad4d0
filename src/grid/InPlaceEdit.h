#pragma once

#include "grid/InPlaceEditor.h"

#include <QLineEdit>

#include <string>

namespace orvalis {

// A single-line editor laid over one cell. It takes the keyboard, grows to the right as
// the text needs, and ends when it loses the focus (the ending keys move the focus to the
// grid).
class CInPlaceEdit : public QLineEdit, public CInPlaceEditor {
    Q_OBJECT

public:
    // rect: the cell rectangle in the grid's cell-area coordinates. start decides the
    // caret: the mouse or Enter put it after the text, Backspace deletes the last
    // character, Tab, Space and the other keys select the text, any other typed
    // character replaces the text.
    CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect, Qt::Alignment alignment,
                 int id, int row, int col, const std::string& text, EditStart start);

    bool ExitOnArrows() const { return m_exitOnArrows; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QString CurrentText() const override { return text(); }

private:
    void Grow();

    bool m_exitOnArrows = true;
    QRect m_editRect;  // current placement in the grid's cell-area coordinates
};

} // namespace orvalis
