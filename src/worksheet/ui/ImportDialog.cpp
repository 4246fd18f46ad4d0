#include "worksheet/ui/ImportDialog.h"

#include "worksheet/UserMessages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvalis {

CImportDialog::CImportDialog(UserMessages& messages, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_row(new QLineEdit(QString::fromLatin1(ImportParameters::kInitialRowText)))
    , m_column(new QLineEdit(QString::fromLatin1(ImportParameters::kInitialColumnText)))
    , m_header(new QCheckBox(QString::fromLatin1(ImportParameters::kHeaderLabel)))
{
    setWindowTitle(QString::fromLatin1(ImportParameters::kTitle));
    m_keepLastRows = new QCheckBox(QString::fromLatin1(ImportParameters::kKeepLastRowsLabel));
    m_grow = new QCheckBox(QString::fromLatin1(ImportParameters::kGrowLabel));

    auto* group = new QGroupBox(QString::fromLatin1(ImportParameters::kGroupLabel));
    auto* fields = new QFormLayout(group);
    fields->addRow(QString::fromLatin1(ImportParameters::kRowLabel), m_row);
    fields->addRow(QString::fromLatin1(ImportParameters::kColumnLabel), m_column);
    fields->addRow(m_header);
    fields->addRow(m_keepLastRows);
    fields->addRow(m_grow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CImportDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    m_row->setFocus();
}

void CImportDialog::accept()
{
    const std::string message = m_parameters.Validate(
        m_row->text().toStdString(), m_column->text().toStdString(), m_header->isChecked());
    if (!message.empty()) {
        m_messages.Error(message);
        return;
    }
    m_parameters.keepLastRows = m_keepLastRows->isChecked();
    m_parameters.growRows = m_grow->isChecked();
    QDialog::accept();
}

} // namespace orvalis
