#include "worksheet/ui/ChartSizeDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvalis {

namespace {

QSpinBox* SideField(int value, const QString& name, QWidget* parent)
{
    auto* field = new QSpinBox(parent);
    field->setRange(100, 8000);
    field->setValue(value);
    field->setSuffix(QStringLiteral(" px"));
    field->setAccessibleName(name);
    return field;
}

} // namespace

CChartSizeDialog::CChartSizeDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Picture Size"));
    setAccessibleName(windowTitle());
    m_width = SideField(kDefaultSize.width(), tr("Width:"), this);
    m_height = SideField(kDefaultSize.height(), tr("Height:"), this);
    auto* form = new QFormLayout;
    form->addRow(tr("Width:"), m_width);
    form->addRow(tr("Height:"), m_height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_width->setFocus();
    m_width->selectAll();
}

QSize CChartSizeDialog::PictureSize() const
{
    return {m_width->value(), m_height->value()};
}

} // namespace orvalis
