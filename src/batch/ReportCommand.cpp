#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "worksheet/BaselineFigures.h"
#include "worksheet/NumberText.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <cmath>
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

// A JSON number with every digit a double holds, or null: JSON has no words for an
// overflow or a quotient without a value, and a reader must never meet "inf" or "nan".
std::string Json(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? FormatNumber("%.17g", *value) : std::string("null");
}

// The same for the plain listing, shorter.
std::string Plain(const std::optional<double>& value)
{
    return value ? FormatNumber("%.6g", *value) : std::string("-");
}

void WriteJson(std::ostream& out, const CellStore& store, const BaselineFigures& figures)
{
    out << "{\n  \"figures\": {";
    const char* separator = "\n";
    for (const HeaderFigure& f : kHeaderFigures) {
        out << separator << "    \"" << f.name
            << "\": " << Json(ReadFiniteNumberText(store.CellTextRef(f.row, f.col)));
        separator = ",\n";
    }
    out << "\n  },\n  \"sections\": [";
    separator = "\n";
    for (const SectionFigures& s : figures) {
        out << separator << "    {\"section\": \"" << SectionKey(s.section) << "\", \"n\": " << s.n
            << ", \"mae\": " << Json(s.mae) << ", \"rmse\": " << Json(s.rmse)
            << ", \"mape\": " << Json(s.mape) << ", \"mape_n\": " << s.mapeLeftOut
            << ", \"naive_rmse\": " << Json(s.naiveRmse) << ", \"theil_u\": " << Json(s.theilU)
            << ", \"direction_hits\": " << Json(s.directionHits) << "}";
        separator = ",\n";
    }
    out << "\n  ]\n}\n";
}

void WritePlain(std::ostream& out, const CellStore& store, const BaselineFigures& figures)
{
    for (const HeaderFigure& f : kHeaderFigures)
        out << f.name << ": " << store.CellTextRef(f.row, f.col) << '\n';
    for (const SectionFigures& s : figures) {
        out << SectionKey(s.section) << ": n " << s.n << ", mae " << Plain(s.mae) << ", rmse "
            << Plain(s.rmse) << ", mape " << Plain(s.mape) << " % (" << s.mapeLeftOut
            << " zero actuals left out), naive_rmse " << Plain(s.naiveRmse) << ", theil_u "
            << Plain(s.theilU) << ", direction_hits " << Plain(s.directionHits) << " %\n";
    }
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
    if (context.Arguments().Has("--json"))
        WriteJson(context.Out(), store, figures);
    else
        WritePlain(context.Out(), store, figures);
    context.Out().flush();
    return context.Finish(*worksheet, context.Out() ? BatchDone : BatchFileError);
}

} // namespace orvalis
