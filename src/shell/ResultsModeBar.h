#pragma once

#include <QToolBar>

class QComboBox;

namespace orvalis {

// The bar below the toolbar: "Results Mode:" and the choice between "Model Evaluate"
// and "Data Extrapolate". A choice confirmed by the user is reported with the mode
// (1 or 2); showing the mode in force reports nothing. The arrow and page keys, Home,
// End, typed letters and the wheel choose only while the list is open: a key meant for
// the worksheet never switches the mode by accident.
class ResultsModeBar final : public QToolBar {
    Q_OBJECT
public:
    explicit ResultsModeBar(QWidget* parent = nullptr);

    QComboBox& Combo() { return *m_combo; }
    // Shows mode (1 Model Evaluate, 2 Data Extrapolate) without reporting it.
    void ShowMode(int mode);

signals:
    void modeChosen(int mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_combo;
};

}  // namespace orvalis
