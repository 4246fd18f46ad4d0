#include "shell/StatusMessagePane.h"

#include <QAccessibleWidget>
#include <QStatusBar>

namespace orvalis {

namespace {

const QString& IdleText()
{
    static const QString text = QStringLiteral("Ready");
    return text;
}

// The pane for assistive technology: a label named "Message" whose text is the one
// shown. The text cannot be selected or edited.
class StatusMessageAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit StatusMessageAccessible(StatusMessagePane* pane)
        : QAccessibleWidget(pane, QAccessible::StaticText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Shown();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface over the shown text.
    void selection(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return Shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    QString Shown() const { return static_cast<const QLabel*>(object())->text(); }
};

QAccessibleInterface* StatusMessageFactory(const QString&, QObject* object)
{
    if (auto* pane = qobject_cast<StatusMessagePane*>(object))
        return new StatusMessageAccessible(pane);
    return nullptr;
}

} // namespace

StatusMessagePane::StatusMessagePane(QStatusBar& bar)
    : QLabel(IdleText(), &bar)
{
    InstallStatusMessageAccessibility();
    setAccessibleName(QStringLiteral("Message"));
    setAccessibleDescription(IdleText());
    // A permanent pane: the bar hides its other panes while it draws a message itself,
    // and a hidden pane is not read. The pane draws the message in their place.
    bar.insertPermanentWidget(0, this, 1);
    connect(&bar, &QStatusBar::messageChanged, this, &StatusMessagePane::Show);
}

void StatusMessagePane::Show(const QString& message)
{
    const QString old = text();
    const QString shown = message.isEmpty() ? IdleText() : message;
    if (shown == old)
        return;
    setText(shown);
    setAccessibleDescription(shown);
    QAccessibleTextUpdateEvent event(this, 0, old, shown);
    QAccessible::updateAccessibility(&event);
}

void InstallStatusMessageAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(StatusMessageFactory);
        return true;
    }();
    (void)installed;
}

} // namespace orvalis
