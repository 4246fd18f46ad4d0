#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "batch/ForecastReport.h"
#include "worksheet/BaselineFigures.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/NumberText.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <optional>
#include <ostream>
#include <string>

namespace orvalis {

namespace {

// The six figures of the header block: name, cell.
struct HeaderFigure {
    const char* name;
    int row;
    int col;
};
const HeaderFigure kHeaderFigures[] = {
    {"slope_fm", kSlopeFmRow, kStateColumn},   {"value_fm", kValueFmRow, kStateColumn},
    {"slope_err_avg", 1, kFigureColumn},       {"slope_err_sd", 2, kFigureColumn},
    {"value_err_avg", 3, kFigureColumn},       {"value_err_sd", 4, kFigureColumn},
};

const char* SectionKey(ResultSection section)
{
    switch (section) {
    case ResultSection::Training: return "training";
    case ResultSection::Testing: return "testing";
    case ResultSection::Evaluate: return "evaluate";
    case ResultSection::Extrapolate: break;
    }
    return "";
}

// The same for the plain listing, shorter.
std::string Plain(const std::optional<double>& value)
{
    return value ? FormatNumber("%.6g", *value) : std::string("-");
}

void WriteJson(std::ostream& out, const CellStore& store, const BaselineFigures& figures,
               const ForecastCheck* check)
{
    out << "{\n  \"figures\": {";
    const char* separator = "\n";
    for (const HeaderFigure& f : kHeaderFigures) {
        out << separator << "    \"" << f.name
            << "\": " << JsonNumber(ReadFiniteNumberText(store.CellTextRef(f.row, f.col)));
        separator = ",\n";
    }
    out << "\n  },\n  \"sections\": [";
    separator = "\n";
    for (const SectionFigures& s : figures) {
        out << separator << "    {\"section\": \"" << SectionKey(s.section) << "\", \"n\": " << s.n
            << ", \"mae\": " << JsonNumber(s.mae) << ", \"rmse\": " << JsonNumber(s.rmse)
            << ", \"mape\": " << JsonNumber(s.mape) << ", \"mape_n\": " << s.mapeLeftOut
            << ", \"naive_rmse\": " << JsonNumber(s.naiveRmse) << ", \"theil_u\": " << JsonNumber(s.theilU)
            << ", \"direction_hits\": " << JsonNumber(s.directionHits) << "}";
        separator = ",\n";
    }
    out << "\n  ],\n  \"forecast_check\": ";
    WriteForecastCheckJson(out, check);
    out << "\n}\n";
}

void WritePlain(std::ostream& out, const CellStore& store, const BaselineFigures& figures,
                const ForecastCheck* check)
{
    for (const HeaderFigure& f : kHeaderFigures)
        out << f.name << ": " << store.CellTextRef(f.row, f.col) << '\n';
    for (const SectionFigures& s : figures) {
        out << SectionKey(s.section) << ": n " << s.n << ", mae " << Plain(s.mae) << ", rmse "
            << Plain(s.rmse) << ", mape " << Plain(s.mape) << " % (" << s.mapeLeftOut
            << " zero actuals left out), naive_rmse " << Plain(s.naiveRmse) << ", theil_u "
            << Plain(s.theilU) << ", direction_hits " << Plain(s.directionHits) << " %\n";
    }
    if (check)
        WriteForecastCheckPlain(out, *check);
}

} // namespace

int RunReportCommand(BatchContext& context)
{
    auto worksheet = context.LoadWorksheet(context.Arguments().positional[0]);
    if (!worksheet)
        return BatchFileError;
    const CellStore& store = worksheet->Store();
    const ResultLayout layout = ReadResultLayout(*worksheet);
    const BaselineFigures figures = ComputeBaselineFigures(store, layout);
    // Only an evaluated worksheet has a forecast to check.
    std::optional<ForecastCheck> check;
    if (worksheet->state == WorksheetState::Eval)
        check = CheckLastEvaluation(*worksheet);
    const ForecastCheck* shown = check ? &*check : nullptr;
    if (context.Arguments().Has("--json"))
        WriteJson(context.Out(), store, figures, shown);
    else
        WritePlain(context.Out(), store, figures, shown);
    context.Out().flush();
    return context.Finish(*worksheet, context.Out() ? BatchDone : BatchFileError);
}

} // namespace orvalis
