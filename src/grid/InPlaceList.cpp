#include "grid/InPlaceList.h"

#include "grid/InPlaceKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace orvalis {

CInPlaceList::CInPlaceList(CGridCtrl* grid, QWidget* parent, const QRect& rect,
                           bool withEditField, int id, int row, int col,
                           const std::vector<std::string>& items, const std::string& text,
                           EditStart start)
    : QComboBox(parent), CInPlaceEditor(this, grid, id, row, col, text)
{
    setEditable(withEditField);
    // Typed text stays as typed: no completion turns "tar" into "Target".
    if (withEditField)
        setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(kVisibleLines);
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
        if (itemText(i).startsWith(InitialText(), Qt::CaseInsensitive))
            match = i;
    if (match >= 0)
        setCurrentIndex(match);
    else if (withEditField)
        setEditText(InitialText());
    else
        setCurrentIndex(-1);

    installEventFilter(this);
    view()->installEventFilter(this);  // the keys of the dropped-down list
    if (lineEdit())
        lineEdit()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    show();
    setFocus(Qt::OtherFocusReason);
    if (withEditField)
        PlaceCaret(start);
}

void CInPlaceList::PlaceCaret(EditStart start)
{
    QLineEdit* edit = lineEdit();
    const bool byKey = start.by == EditStart::By::Key;
    if (start.by == EditStart::By::Mouse || (byKey && start.key == GridKey::Enter)) {
        edit->setCursorPosition(static_cast<int>(InitialText().size()));
        edit->deselect();
    } else if (byKey && start.key == GridKey::Backspace) {
        edit->setCursorPosition(static_cast<int>(InitialText().size()));
        edit->deselect();
        edit->backspace();
    } else {
        edit->selectAll();
        // Space counts as typed here; keys and control characters type nothing.
        const char16_t c = start.character;
        if (start.by == EditStart::By::Typing && c >= u' ' && c < 256)
            edit->insert(QString(QChar(c)));
    }
}

bool CInPlaceList::HandleEndingKey(QKeyEvent* event)
{
    const GridKey code = GridKeyOf(event->key());
    const bool shift = ShiftOf(event);
    if (IsArrowOrPageKey(code) && (event->modifiers() & Qt::ControlModifier)) {
        LeaveWith(code, shift);
        return true;
    }
    if (code == GridKey::Escape) {
        if (isEditable())
            setEditText(InitialText());
        else
            setCurrentIndex(findText(InitialText()));
    }
    if (code == GridKey::Tab || code == GridKey::Enter || code == GridKey::Escape) {
        LeaveWith(code, shift);
        return true;
    }
    return false;
}

bool CInPlaceList::IsDropDownToggle(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F4)
        return mods == Qt::NoModifier;
    return (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && mods == Qt::AltModifier;
}

void CInPlaceList::ToggleDropDown()
{
    if (!view()->isVisible()) {
        showPopup();
        return;
    }
    // Folding the list up by key takes the item it shows highlighted, as a click on it
    // would; Escape is the key that leaves the choice as it was.
    const QModelIndex highlighted = view()->currentIndex();
    if (highlighted.isValid())
        setCurrentIndex(highlighted.row());
    hidePopup();
}

bool CInPlaceList::eventFilter(QObject* watched, QEvent* event)
{
    if (IsDropDownToggle(event)) {
        // The override is claimed so that no shortcut takes the key; the press toggles.
        if (event->type() == QEvent::KeyPress)
            ToggleDropDown();
        event->accept();
        return true;
    }
    if (watched == view())
        return QComboBox::eventFilter(watched, event);  // the list's own keys
    if (event->type() == QEvent::KeyPress) {
        if (HandleEndingKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier)
            return true;  // menu mnemonics do not fire while editing
    } else if (ClaimMnemonic(event)) {
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void CInPlaceList::keyPressEvent(QKeyEvent* event)
{
    if (!HandleEndingKey(event))
        QComboBox::keyPressEvent(event);
}

void CInPlaceList::OnFocusChanged(QWidget* now)
{
    if (Ended())
        return;
    // Focus moving inside the editor, its edit field or its drop-down keeps editing.
    if (now && (now == this || isAncestorOf(now) || now->window() == view()->window()))
        return;
    EndEdit();
}

} // namespace orvalis
