#include "worksheet/ui/ConfigureNetworkDialog.h"

#include "worksheet/NetworkShapeFields.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/DialogFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvalis {

CConfigureNetworkDialog::CConfigureNetworkDialog(Worksheet& ws, QWidget* parent)
    : QDialog(parent)
    , m_ws(ws)
{
    setWindowTitle(QStringLiteral("Configure Orvalis"));
    auto* form = new QFormLayout;
    m_inputNodes = AddField(*form, "Input Nodes:");
    m_outputNodes = AddField(*form, "Output Nodes:");
    m_layers = AddField(*form, "Layers:");
    m_elements = AddField(*form, "Elements/Layer:");
    m_auto = new QCheckBox(QStringLiteral("Auto Orvalis Configure"));
    form->addRow(m_auto);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConfigureNetworkDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConfigureNetworkDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const NetworkShapeFields fields =
        OpenNetworkShapeFields(ws.Network().net.shape, ws.network.autoNetworkConfigure);
    m_inputNodes->setText(FromLatin1(fields.inputNodes));
    m_outputNodes->setText(FromLatin1(fields.outputNodes));
    m_layers->setText(FromLatin1(fields.layers));
    m_elements->setText(FromLatin1(fields.elementsPerLayer));
    m_auto->setChecked(fields.autoConfigure);
    m_inputNodes->setFocus();
}

void CConfigureNetworkDialog::accept()
{
    NetworkShapeFields fields;
    fields.inputNodes = ToLatin1(m_inputNodes->text());
    fields.outputNodes = ToLatin1(m_outputNodes->text());
    fields.layers = ToLatin1(m_layers->text());
    fields.elementsPerLayer = ToLatin1(m_elements->text());
    fields.autoConfigure = m_auto->isChecked();

    NetworkShape shape = m_ws.Network().net.shape;
    int autoConfigure = m_ws.network.autoNetworkConfigure;
    const bool closes = AcceptNetworkShapeFields(fields, shape, autoConfigure, m_ws.Messages());
    // What passed before a refused field stays in force: store whatever the check left.
    m_ws.network.autoNetworkConfigure = autoConfigure;
    SetNetworkShape(m_ws, shape);
    if (closes)
        QDialog::accept();
}

} // namespace orvalis
