#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

namespace orvalis {

// The size of a saved chart picture, asked after its file name: width and height in
// pixels, starting from 1200 x 700 (the batch tool's chart size), each 100 to 8000.
class CChartSizeDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CChartSizeDialog(QWidget* parent = nullptr);

    QSize PictureSize() const;
    QSpinBox& WidthField() { return *m_width; }
    QSpinBox& HeightField() { return *m_height; }

    static constexpr QSize kDefaultSize{1200, 700};

private:
    QSpinBox* m_width;
    QSpinBox* m_height;
};

} // namespace orvalis
