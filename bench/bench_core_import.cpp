// Import of a full-width CSV: 990 data rows x 68 columns under a header line, through
// the worksheet's import command (loader, roles, configuration from column 1).
#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Writes the file once: prices with two decimals, a header of column names.
std::string WideCsv()
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "orvalis_bench_990x68.csv").string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int c = 0; c < 68; ++c)
        out << (c ? "," : "") << "Series" << c + 1;
    out << "\n";
    char field[32];
    for (int r = 0; r < 990; ++r) {
        for (int c = 0; c < 68; ++c) {
            std::snprintf(field, sizeof field, "%s%.2f", c ? "," : "",
                          1000.0 + r * 1.25 + c * 17.5 + (r * 7 + c * 13) % 101 / 10.0);
            out << field;
        }
        out << "\n";
    }
    return path;
}

void BM_ImportCsv990x68(benchmark::State& state)
{
    const std::string path = WideCsv();
    orvalis::AppSettings settings;
    settings.resultsMode = orvalis::ResultsModeExtrapolate;  // no suggestion message
    settings.UpdateExtrapolationRows();
    orvalis::SilentMessages messages;
    for (auto _ : state) {
        state.PauseTiming();
        auto worksheet = std::make_unique<orvalis::Worksheet>(settings, messages);
        state.ResumeTiming();
        const orvalis::ImportOutcome outcome = orvalis::ImportFile(*worksheet, {path, 1, 1, true});
        if (!outcome.imported || worksheet->Store().GetCellText(997, 68).empty())
            state.SkipWithError("import did not fill the worksheet");
        benchmark::DoNotOptimize(worksheet->counts.numTraining);
        state.PauseTiming();
        worksheet.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 990 * 68);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportCsv990x68)->Unit(benchmark::kMillisecond);

} // namespace
