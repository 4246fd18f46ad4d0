#include "grid/InPlaceEdit.h"

#include "grid/InPlaceKeys.h"

#include <QFocusEvent>
#include <QFontMetrics>

namespace orvalis {

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect,
                           Qt::Alignment alignment, int id, int row, int col,
                           const std::string& text, EditStart start)
    : QLineEdit(parent), CInPlaceEditor(this, grid, id, row, col, text)
{
    // Over the cell without its grid lines, which stay visible around the editor.
    m_editRect = QRect(rect.left(), rect.top(), std::max(rect.width() - 1, 1),
                       std::max(rect.height() - 1, 1));
    setGeometry(m_editRect);
    setAlignment(alignment | Qt::AlignVCenter);
    setTextMargins(0, 0, 0, 0);
    setText(InitialText());
    show();
    setFocus(Qt::OtherFocusReason);

    m_exitOnArrows = start.by != EditStart::By::Mouse;
    const bool byKey = start.by == EditStart::By::Key;
    if (start.by == EditStart::By::Mouse || (byKey && start.key == GridKey::Enter)) {
        end(false);
    } else if (byKey && start.key == GridKey::Backspace) {
        end(false);
        backspace();
    } else {
        selectAll();
        // A typed Space only opens the cell, as a key would; control characters type
        // nothing into an edit box.
        const char16_t c = start.character;
        if (start.by == EditStart::By::Typing && c > u' ' && c < 256)
            insert(QString(QChar(c)));
    }
}

bool CInPlaceEdit::event(QEvent* event)
{
    // Every key comes here, Tab included, so the dialog-style focus chain never sees it.
    // The edit box claims the shortcuts it uses itself (Ctrl+C copies the selected
    // characters); other command keys go to the frame.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    } else if (ClaimMnemonic(event)) {
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const GridKey code = GridKeyOf(event->key());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = ShiftOf(event);
    if (IsArrowOrPageKey(code)) {
        if (m_exitOnArrows || ctrl) {
            LeaveWith(code, shift);
            return;
        }
        // In an edit started with the mouse these keys stay in the one line: Up and Page
        // Up go to its start, Down and Page Down to its end, so none reaches the grid,
        // whose focus frame would leave the cell being edited.
        if (code == GridKey::Up || code == GridKey::PageUp)
            home(shift);
        else if (code == GridKey::Down || code == GridKey::PageDown)
            end(shift);
        else
            QLineEdit::keyPressEvent(event);
        event->accept();
        return;
    }
    if (code == GridKey::Tab || code == GridKey::Enter) {
        LeaveWith(code, shift);
        return;
    }
    if (code == GridKey::Escape) {
        setText(InitialText());
        LeaveWith(GridKey::Escape, shift);
        return;
    }
    if (event->modifiers() & Qt::AltModifier)
        return;  // menu mnemonics do not fire while editing
    QLineEdit::keyPressEvent(event);
    Grow();
}

void CInPlaceEdit::Grow()
{
    const int needed = QFontMetrics(font()).horizontalAdvance(text() + QStringLiteral("  "));
    if (needed <= m_editRect.width())
        return;
    int right = m_editRect.left() + needed - 1;
    if (parentWidget())
        right = std::min(right, parentWidget()->width() - 1);
    if (right <= m_editRect.right())
        return;
    m_editRect.setRight(right);
    setGeometry(m_editRect);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup of the editor's own (its context menu) does not end editing.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    EndEdit();
}

} // namespace orvalis
