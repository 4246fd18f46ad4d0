#pragma once

#include "worksheet/ImportParameters.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvalis {

class UserMessages;

// The "File Import" dialog: start row and column in the grid, whether the file's first
// line is a header of column names, whether a file longer than the grid gives its
// last lines rather than its first, and whether it grows the worksheet to fit instead
// (growing wins when both are ticked: nothing is left out). OK checks the fields in order and keeps the
// dialog open on the first failing one, after showing its message.
class CImportDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CImportDialog(UserMessages& messages, QWidget* parent = nullptr);

    // The highest Grid Row OK takes: the worksheet's row count when it has grown.
    void SetMaxRow(int maxRow) { m_parameters.maxRow = maxRow; }

    // The values accepted by OK (those that passed so far when it failed).
    const ImportParameters& Parameters() const { return m_parameters; }

    QLineEdit& RowEdit() { return *m_row; }
    QLineEdit& ColumnEdit() { return *m_column; }
    QCheckBox& HeaderCheck() { return *m_header; }
    QCheckBox& KeepLastRowsCheck() { return *m_keepLastRows; }
    QCheckBox& GrowCheck() { return *m_grow; }

public slots:
    void accept() override;

private:
    UserMessages& m_messages;
    ImportParameters m_parameters;
    QLineEdit* m_row;
    QLineEdit* m_column;
    QCheckBox* m_header;
    QCheckBox* m_keepLastRows = nullptr;
    QCheckBox* m_grow = nullptr;
};

} // namespace orvalis
