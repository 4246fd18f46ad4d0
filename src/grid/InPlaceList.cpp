#include "grid/InPlaceList.h"

#include "grid/GridCtrl.h"
#include "grid/InPlaceKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace orvalis {

namespace {

QString FromCell(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

CInPlaceList::CInPlaceList(CGridCtrl* grid, QWidget* parent, const QRect& rect,
                           bool withEditField, int id, int row, int col,
                           const std::vector<std::string>& items, const std::string& text,
                           unsigned firstChar)
    : QComboBox(parent), m_grid(grid), m_id(id), m_row(row), m_col(col),
      m_initialText(FromCell(text))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setEditable(withEditField);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(kVisibleLines);
    if (grid)
        setFont(grid->GetGridFont());
    for (const std::string& item : items)
        addItem(FromCell(item));

    // As wide as the widest item with a blank either side and a scroll bar.
    const QFontMetrics fm(font());
    int widest = 0;
    for (const std::string& item : items)
        widest = std::max(widest, fm.horizontalAdvance(FromCell(item)));
    const int listWidth = widest + 2 * fm.horizontalAdvance(QLatin1Char(' ')) +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QRect placed(rect.left(), rect.top(), std::max(rect.width() - 1, listWidth),
                 std::max(rect.height() - 1, 1));
    setGeometry(placed);
    view()->setMinimumWidth(listWidth);

    int match = -1;
    for (int i = 0; i < count() && match < 0; ++i)
        if (itemText(i).startsWith(m_initialText, Qt::CaseInsensitive))
            match = i;
    if (match >= 0)
        setCurrentIndex(match);
    else if (withEditField)
        setEditText(m_initialText);
    else
        setCurrentIndex(-1);

    installEventFilter(this);
    if (lineEdit())
        lineEdit()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    show();
    setFocus(Qt::OtherFocusReason);
    if (withEditField)
        PlaceCaret(firstChar);
}

void CInPlaceList::PlaceCaret(unsigned firstChar)
{
    QLineEdit* edit = lineEdit();
    if (firstChar == KeyMouse || firstChar == KeyEnter) {
        edit->setCursorPosition(static_cast<int>(m_initialText.size()));
        edit->deselect();
    } else if (firstChar == KeyBackspace) {
        edit->setCursorPosition(static_cast<int>(m_initialText.size()));
        edit->deselect();
        edit->backspace();
    } else if (firstChar >= KeyPageUp && firstChar <= KeyDown) {
        edit->selectAll();
    } else {
        edit->selectAll();
        // Tab and Space count as typed here; control characters type nothing.
        if (firstChar >= 32 && firstChar < 256)
            edit->insert(QString(QChar(static_cast<char16_t>(firstChar))));
    }
}

bool CInPlaceList::HandleEndingKey(QKeyEvent* event)
{
    const unsigned code = GridKeyCodeOf(event->key());
    const bool shift = (event->modifiers() & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
    if (IsArrowOrPageKey(code) && (event->modifiers() & Qt::ControlModifier)) {
        LeaveWith(code, shift);
        return true;
    }
    if (code == KeyEscape) {
        if (isEditable())
            setEditText(m_initialText);
        else
            setCurrentIndex(findText(m_initialText));
    }
    if (code == KeyTab || code == KeyEnter || code == KeyEscape) {
        LeaveWith(code, shift);
        return true;
    }
    return false;
}

bool CInPlaceList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        if (HandleEndingKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier)
            return true;  // menu mnemonics do not fire while editing
    } else if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void CInPlaceList::keyPressEvent(QKeyEvent* event)
{
    if (!HandleEndingKey(event))
        QComboBox::keyPressEvent(event);
}

void CInPlaceList::LeaveWith(unsigned key, bool shift)
{
    m_lastKey = key;
    m_shift = shift;
    if (m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    else
        EndEdit();
}

void CInPlaceList::OnFocusChanged(QWidget* now)
{
    if (m_ended)
        return;
    // Focus moving inside the editor, its edit field or its drop-down keeps editing.
    if (now && (now == this || isAncestorOf(now) || now->window() == view()->window()))
        return;
    EndEdit();
}

void CInPlaceList::EndEdit()
{
    if (m_ended)
        return;
    m_ended = true;
    const QByteArray bytes = currentText().toLatin1();
    const std::string finalText(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    hide();
    if (m_grid)
        m_grid->OnEndInPlaceEdit(m_row, m_col, finalText, m_lastKey, m_shift);
    deleteLater();
}

} // namespace orvalis
