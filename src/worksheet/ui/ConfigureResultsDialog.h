#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvalis {

struct FigureOfMeritWeights;
struct ResultParameterFields;
class Worksheet;

// "Configure Results": the extrapolation length, the phase offset of the last training
// (shown only), the worksheet document's four figure-of-merit weights (shown only,
// still checked by OK), the comment header row and the season length of the forecast
// check ("Auto", "None" or the rows of a season). Defaults stores at once; OK stores
// each value as soon as it passes and keeps the dialog open on the first refused one.
class CConfigureResultsDialog final : public QDialog {
    Q_OBJECT
public:
    CConfigureResultsDialog(Worksheet& ws, FigureOfMeritWeights& weights, QWidget* parent = nullptr);

    QLineEdit& TrainAvgEdit() { return *m_trainAvg; }
    QLineEdit& TrainSdEdit() { return *m_trainSd; }
    QLineEdit& EstimateAvgEdit() { return *m_estimateAvg; }
    QLineEdit& EstimateSdEdit() { return *m_estimateSd; }
    QLineEdit& IntervalEdit() { return *m_interval; }
    QLineEdit& PhaseOffsetEdit() { return *m_phaseOffset; }
    QCheckBox& CommentRowCheck() { return *m_commentRow; }
    QLineEdit& SeasonEdit() { return *m_season; }

public slots:
    void accept() override;
    void OnDefaults();

private:
    void ShowFields(const ResultParameterFields& fields);

    Worksheet& m_ws;
    FigureOfMeritWeights& m_weights;
    QLineEdit* m_trainAvg;
    QLineEdit* m_trainSd;
    QLineEdit* m_estimateAvg;
    QLineEdit* m_estimateSd;
    QLineEdit* m_interval;
    QLineEdit* m_phaseOffset;
    QCheckBox* m_commentRow;
    QLineEdit* m_season;
};

} // namespace orvalis
