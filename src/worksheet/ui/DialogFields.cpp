#include "worksheet/ui/DialogFields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace orvalis {

namespace {

QString AccessibleName(const char* label, const QString& prefix)
{
    const QString text = QString::fromLatin1(label);
    return prefix.isEmpty() ? text : prefix + QLatin1Char(' ') + text;
}

} // namespace

QLineEdit* AddField(QFormLayout& form, const char* label, const QString& accessiblePrefix)
{
    auto* edit = new QLineEdit;
    auto* caption = new QLabel(QString::fromLatin1(label));
    caption->setBuddy(edit);
    edit->setAccessibleName(AccessibleName(label, accessiblePrefix));
    form.addRow(caption, edit);
    return edit;
}

QLineEdit* AddValueField(QFormLayout& form, const char* label, const QString& accessiblePrefix)
{
    QLineEdit* edit = AddField(form, label, accessiblePrefix);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

} // namespace orvalis
