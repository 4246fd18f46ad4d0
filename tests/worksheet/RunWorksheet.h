#pragma once

#include "RecordingMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/NumberText.h"
#include "worksheet/Worksheet.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

// A worksheet built in code for the run tests: settings of its own (automatic sizing
// off), recorded messages, roles and columns written straight into the grid, section
// counts typed into the header as a user would.
struct RunWorksheet {
    AppSettings settings;
    RecordingMessages messages;
    std::unique_ptr<Worksheet> ws;

    explicit RunWorksheet(bool twoPass = true, int mode = ResultsModeEvaluate)
    {
        settings.use2PassEstimate = twoPass;
        settings.autoVectorSizing = false;
        settings.resultsMode = mode;
        settings.UpdateExtrapolationRows();
        ws = std::make_unique<Worksheet>(settings, messages);
    }

    void Role(int col, const std::string& role) { ws->Store().SetCellText(kRoleRow, col, role); }
    void Text(int dataRow, int col, const std::string& text)
    {
        ws->Store().SetCellText(ws->firstDataRow + dataRow, col, text);
    }
    std::string Cell(int dataRow, int col) const
    {
        return ws->Store().CellTextRef(ws->firstDataRow + dataRow, col);
    }
    void Column(int col, const std::vector<double>& values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            Text(static_cast<int>(i), col, FormatNumber("%.3f", values[i]));
    }
    // Types the four counts into the header (Num Eval is skipped in Data Extrapolate mode,
    // where the header shows "---").
    void Counts(int training, int testing, int eval, int taps)
    {
        ws->ApplyCellEdit(kNumTrainingRow, kValueColumn, std::to_string(training));
        ws->ApplyCellEdit(kNumTestingRow, kValueColumn, std::to_string(testing));
        ws->ApplyCellEdit(kNumEvalRow, kValueColumn, std::to_string(eval));
        ws->ApplyCellEdit(kNumTapsRow, kValueColumn, std::to_string(taps));
    }
    std::string Header(int row, int col) const { return ws->Store().CellTextRef(row, col); }
};

// A smooth, non-repeating series with a trend: price-like test data.
inline std::vector<double> TestSeries(int n, double phase = 0.0)
{
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        v.push_back(100.0 + 12.0 * std::sin(0.37 * i + phase) + 0.4 * i + 3.0 * std::cos(1.3 * i));
    return v;
}

} // namespace orvalis
