#include "grid/InPlaceEdit.h"

#include "grid/GridCtrl.h"
#include "grid/InPlaceKeys.h"

#include <QFocusEvent>
#include <QFontMetrics>

namespace orvalis {

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect,
                           Qt::Alignment alignment, int id, int row, int col,
                           const std::string& text, unsigned firstChar)
    : QLineEdit(parent), m_grid(grid), m_id(id), m_row(row), m_col(col),
      m_initialText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Over the cell without its grid lines, which stay visible around the editor.
    m_editRect = QRect(rect.left(), rect.top(), std::max(rect.width() - 1, 1),
                       std::max(rect.height() - 1, 1));
    setGeometry(m_editRect);
    setAlignment(alignment | Qt::AlignVCenter);
    setTextMargins(0, 0, 0, 0);
    if (grid)
        setFont(grid->GetGridFont());
    setText(m_initialText);
    show();
    setFocus(Qt::OtherFocusReason);

    m_exitOnArrows = firstChar != KeyMouse;
    if (firstChar == KeyMouse || firstChar == KeyEnter) {
        end(false);
    } else if (firstChar == KeyBackspace) {
        end(false);
        backspace();
    } else if (firstChar == KeyTab || (firstChar >= KeySpace && firstChar <= KeyDown)) {
        selectAll();
    } else {
        selectAll();
        // Control characters type nothing into an edit box.
        if (firstChar >= 32 && firstChar < 256)
            insert(QString(QChar(static_cast<char16_t>(firstChar))));
    }
}

bool CInPlaceEdit::event(QEvent* event)
{
    // Every key comes here, Tab included, so the dialog-style focus chain never sees it;
    // and no shortcut of the frame steals a key while editing.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::LeaveWith(unsigned key, bool shift)
{
    m_lastKey = key;
    m_shift = shift;
    if (m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    else
        EndEdit();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const unsigned code = GridKeyCodeOf(event->key());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
    if (IsArrowOrPageKey(code)) {
        if (m_exitOnArrows || ctrl) {
            LeaveWith(code, shift);
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (code == KeyTab || code == KeyEnter) {
        LeaveWith(code, shift);
        return;
    }
    if (code == KeyEscape) {
        setText(m_initialText);
        LeaveWith(KeyEscape, shift);
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

void CInPlaceEdit::EndEdit()
{
    if (m_ended)
        return;
    m_ended = true;
    const QByteArray bytes = text().toLatin1();
    const std::string finalText(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    hide();
    if (m_grid)
        m_grid->OnEndInPlaceEdit(m_row, m_col, finalText, m_lastKey, m_shift);
    deleteLater();
}

} // namespace orvalis
