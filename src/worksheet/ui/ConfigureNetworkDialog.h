#pragma once

#include "network/NetworkShape.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvalis {

class Worksheet;

// "Configure Orvalis": the network shape of the worksheet and its automatic switch.
// OK stores each value as soon as it passes its check, so after a refused field the
// layer count and the unit counts read before it are in force, even when the user then
// cancels; a refused field keeps the dialog open.
class CConfigureNetworkDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CConfigureNetworkDialog(Worksheet& ws, QWidget* parent = nullptr);

    QLineEdit& InputNodesEdit() { return *m_inputNodes; }
    QLineEdit& OutputNodesEdit() { return *m_outputNodes; }
    QLineEdit& LayersEdit() { return *m_layers; }
    QLineEdit& ElementsEdit() { return *m_elements; }
    QCheckBox& AutoCheck() { return *m_auto; }

public slots:
    void accept() override;

private:
    Worksheet& m_ws;
    QLineEdit* m_inputNodes;
    QLineEdit* m_outputNodes;
    QLineEdit* m_layers;
    QLineEdit* m_elements;
    QCheckBox* m_auto;
};

} // namespace orvalis
