#include "worksheet/ui/ResultsPanel.h"

#include "worksheet/ChartData.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/ui/ForecastVerdictLabel.h"

#include <QGridLayout>
#include <QLabel>

#include <cmath>

namespace orvalis {

namespace {

struct FigureRow {
    const char* name;
    const char* tooltip;
};

const FigureRow kRows[kBaselineFigureCount] = {
    {"n", "Rows counted: their actual value, estimate and previous actual value all read as numbers."},
    {"MAE", "Mean absolute error: the average distance between estimate and actual value."},
    {"RMSE", "Root mean square error: the typical distance between estimate and actual value, "
             "with large misses weighing more."},
    {"MAPE", "Mean absolute percentage error: the average miss as a share of the actual value."},
    {"Zero actuals", "Rows left out of MAPE because their actual value is zero."},
    {"Naive RMSE", "RMSE of the naive forecast that each row repeats the previous actual value."},
    {"Theil's U", "Model RMSE divided by naive RMSE: below 1 the model beats the naive forecast."},
    {"Direction hits", "Share of rows whose step up or down from the previous actual value "
                       "the estimate called right."},
};

const FigureRow kCheckRows[kCheckFigureCount] = {
    {"Season", "Rows per season the seasonal naive forecast and the scale of MASE use: set in "
               "Configure > Result Parameters, or found from the data."},
    {"MASE network", "The network's mean absolute error when it estimates each Evaluate row from "
                     "the rows before it only, over the in-sample error of the naive forecast: "
                     "below 1 it beats repeating the last value as it did in the fitted rows."},
    {"MASE naive", "The same for repeating the last value."},
    {"MASE seasonal naive", "The same for the value one season back."},
    {"MASE linear", "The same for a linear model on the network's window, fitted on the "
                    "Training and Testing rows."},
};

QString Fixed(const std::optional<double>& value, int decimals, const char* suffix = "")
{
    if (!value)
        return QStringLiteral("-");
    // A figure of a series of huge values would run to hundreds of digits in fixed form.
    if (std::fabs(*value) >= 1e15)
        return QString::number(*value, 'g', 6) + QString::fromUtf8(suffix);
    return QString::number(*value, 'f', decimals) + QString::fromUtf8(suffix);
}

} // namespace

QString BaselineFigureText(const SectionFigures& f, BaselineFigure figure)
{
    switch (figure) {
    case BaselineFigure::N: return QString::number(f.n);
    case BaselineFigure::Mae: return Fixed(f.mae, 3);
    case BaselineFigure::Rmse: return Fixed(f.rmse, 3);
    case BaselineFigure::Mape: return Fixed(f.mape, 2, " %");
    case BaselineFigure::MapeLeftOut: return QString::number(f.mapeLeftOut);
    case BaselineFigure::NaiveRmse: return Fixed(f.naiveRmse, 3);
    case BaselineFigure::TheilU: return Fixed(f.theilU, 3);
    case BaselineFigure::DirectionHits: return Fixed(f.directionHits, 2, " %");
    }
    return QString();
}

CResultsPanel::CResultsPanel(QWidget* parent)
    : QGroupBox(tr("Results"), parent)
{
    setAccessibleName(tr("Results"));
    auto* grid = new QGridLayout(this);
    for (int s = 0; s < 3; ++s) {
        auto* header = new QLabel(QString::fromUtf8(SectionName(static_cast<ResultSection>(s))), this);
        header->setAlignment(Qt::AlignRight);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        grid->addWidget(header, 0, s + 1);
    }
    for (int r = 0; r < kBaselineFigureCount; ++r) {
        auto* name = new QLabel(tr(kRows[r].name), this);
        name->setToolTip(tr(kRows[r].tooltip));
        grid->addWidget(name, r + 1, 0);
        for (int s = 0; s < 3; ++s) {
            auto* value = new QLabel(QStringLiteral("-"), this);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setToolTip(name->toolTip());
            value->setAccessibleName(
                QString::fromUtf8(SectionName(static_cast<ResultSection>(s))) + ' ' + name->text());
            grid->addWidget(value, r + 1, s + 1);
            m_values[s][r] = value;
        }
    }
    AddCheckPart(*grid, kBaselineFigureCount + 1);
    grid->setRowStretch(kBaselineFigureCount + 2, 1);
}

void CResultsPanel::AddCheckPart(QGridLayout& grid, int row)
{
    m_checkPart = new QWidget(this);
    auto* layout = new QGridLayout(m_checkPart);
    layout->setContentsMargins(0, 8, 0, 0);
    auto* title = new QLabel(tr("Forecast check"), m_checkPart);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title, 0, 0, 1, 2);
    m_verdict = new QLabel(m_checkPart);
    layout->addWidget(m_verdict, 1, 0, 1, 2);
    for (int r = 0; r < kCheckFigureCount; ++r) {
        auto* name = new QLabel(tr(kCheckRows[r].name), m_checkPart);
        name->setToolTip(tr(kCheckRows[r].tooltip));
        auto* value = new QLabel(QStringLiteral("-"), m_checkPart);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setToolTip(name->toolTip());
        value->setAccessibleName(tr("Forecast check") + ' ' + name->text());
        layout->addWidget(name, r + 2, 0);
        layout->addWidget(value, r + 2, 1);
        m_check[r] = value;
    }
    grid.addWidget(m_checkPart, row, 0, 1, 4);
    ShowForecastCheck(nullptr);
}

void CResultsPanel::ShowForecastCheck(const ForecastCheck* check)
{
    ShowForecastVerdict(*m_verdict, check);
    m_checkPart->setVisible(check != nullptr);
    if (!check)
        return;
    QString season = check->season >= 2 ? QString::number(check->season) : tr("none");
    season += check->seasonAutomatic ? tr(" (found)") : tr(" (set)");
    const bool computed = check->available || !check->intervals.empty();
    m_check[static_cast<int>(CheckFigure::Season)]->setText(computed ? season : QStringLiteral("-"));
    const ForecastErrors* errors[] = {&check->network, &check->naive, &check->seasonalNaive, &check->linear};
    for (int i = 0; i < 4; ++i)
        m_check[i + 1]->setText(Fixed(errors[i]->mase, 3));
}

QLabel* CResultsPanel::ValueLabel(ResultSection section, BaselineFigure figure) const
{
    const int s = static_cast<int>(section);
    if (s < 0 || s >= 3)
        return nullptr;
    return m_values[s][static_cast<int>(figure)];
}

void CResultsPanel::ShowFigures(const BaselineFigures& figures)
{
    for (int s = 0; s < 3; ++s) {
        const SectionFigures& f = figures[static_cast<std::size_t>(s)];
        for (int r = 0; r < kBaselineFigureCount; ++r)
            m_values[s][r]->setText(BaselineFigureText(f, static_cast<BaselineFigure>(r)));
        QLabel* theil = m_values[s][static_cast<int>(BaselineFigure::TheilU)];
        QPalette palette = this->palette();
        if (f.theilU && *f.theilU < 1.0)
            palette.setColor(QPalette::WindowText, QColor(0, 130, 0));
        else if (f.theilU && *f.theilU > 1.0)
            palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
        theil->setPalette(palette);
    }
}

} // namespace orvalis
