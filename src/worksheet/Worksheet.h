#pragma once

#include "grid/core/CellStore.h"
#include "worksheet/ColumnRoleMap.h"
#include "worksheet/ResultStatistics.h"
#include "worksheet/StoredNetwork.h"
#include "worksheet/VectorSets.h"
#include "worksheet/WorksheetLayout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

struct AppSettings;
class UserMessages;
struct WorksheetNetwork;

// The section values of a worksheet, read from and written to its header cells.
struct SectionCounts {
    int startOffset = 0;   // cell (1,2); stored, shown and saved, used by no computation
    int numTraining = 0;   // cell (2,2)
    int numTesting = 0;    // cell (3,2)
    int numEval = 0;       // cell (4,2); 0 (shown "---") in Data Extrapolate mode
    int numTaps = 0;       // cell (5,2): window length of every input series
    int totalRows = 0;     // numTraining + numTesting + numEval
    int savedNumEval = 0;  // numEval when the mode last switched to Data Extrapolate
};

// One worksheet: its grid (the cell store, the store of truth for every text the user
// sees) and every value that belongs to this worksheet alone: section counts, state,
// FirstDataRow, role map and set counts, the network's stored shape, parameters and
// weights, the phase offset and the prediction arrays. Settings are application-wide
// and only referenced. Plain C++: the GUI's document, the batch tool and the tests all
// drive the same object.
//
// The worksheet listens to its store: whoever edits the cells for the user (a grid
// window, the batch tool's set --cell, the edit history) ends each edit through
// CellStore::NotifyEditEnded, and the worksheet reads header values back and sets the
// modified mark.
//
// Messages go to the UserMessages given at construction. Operations that the user can
// make fail show their message there and return false; the caller abandons silently.
class Worksheet final : public CellStoreListener {
public:
    static constexpr int kPredictionCapacity = 10000;

    // Creates the grid and writes the header block into it (FirstDataRow from the
    // comment-line setting in force now). With a measurer the columns are auto-sized.
    Worksheet(AppSettings& settings, UserMessages& messages, TextMeasurer* measurer = nullptr);
    ~Worksheet() override;
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    CellStore& Store() { return m_store; }
    const CellStore& Store() const { return m_store; }
    AppSettings& Settings() { return m_settings; }
    const AppSettings& Settings() const { return m_settings; }
    UserMessages& Messages() { return m_messages; }

    // Auto-sizes every row and column and widens the label column by half; for a view
    // that attaches its measurer after the worksheet was built. False without measurer.
    bool AutoSizeHeaderBlock();

    // Grows the grid to gridRows rows (header rows included): the new data rows are
    // labelled, formatted and coloured like the others and start empty. A smaller count
    // changes nothing. Growing marks the worksheet modified.
    // False, with nothing added, past maxRows.
    bool GrowRows(std::int64_t gridRows);
    // Takes the grid back to gridRows rows, for undoing the edit that grew it (the rows
    // it drops are empty again by then). Never below the usual 1001 rows; a larger count
    // changes nothing.
    void ShrinkRows(std::int64_t gridRows);

    // Recolours the row labels for the current counts and ExtrapolationRows.
    void UpdateRowLabels();
    // Recolours the row labels for the given counts (colours only).
    void UpdateRowLabels(int numTraining, int numTesting, int numEval, int numExtrapolate);

    // Reads the role row into `roles`, sets TotalRows, TargetSetCount and (on success)
    // InputSetCount; a changed input count returns the state to Init. Missing
    // "Val:Est"/"Val:Slope" columns are created in free "No Data" columns (no data
    // below FirstDataRow) and never over a column in use. Shows "Error: Exceeded Maximum
    // Number of Input Sets", "...Target Sets" or "Error: No Target Sets Defined" and
    // returns false; a failed scan leaves what it had built so far.
    bool ScanColumnRoles();

    // Applies text to a cell as if the user had typed it into the grid's editor: the
    // cell must be editable (not fixed, not read-only); the end of the edit is told to the
    // store's listeners, so header values are read back and the worksheet is marked
    // modified. False when the cell cannot be edited.
    bool ApplyCellEdit(int row, int col, const std::string& text);

    // CellStoreListener: the end of a user's edit reads a header value back and marks
    // the worksheet modified; other changes concern only the windows.
    void EditEnded(int row, int col) override;
    void CellChanged(int, int) override {}
    void LayoutChanged() override {}

    // The document's modified mark. Every end of edit sets it; the observer (the GUI
    // document's title mark) is told on every change of the mark.
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true);
    void SetModifiedObserver(std::function<void(bool)> observer) { m_modifiedObserver = std::move(observer); }
    // Counts every SetModified(true), whether the mark changed or not, so a caller can
    // tell an operation that touched the worksheet from one refused before it did.
    std::uint64_t ModificationCount() const { return m_modificationCount; }

    // Sets the state and writes its text into cell (1,4): for training, evaluation,
    // reset and load, the only writers of the state text.
    void SetStateAndText(WorksheetState newState);

    // Automatic configuration ---------------------------------------------------------
    // Number of data rows in column before the first empty cell, counted from
    // FirstDataRow; 0 when no cell down to the last grid row is empty.
    int CountDataRows(int column) const;
    // Sections from the length of the first input column (after a role scan, whose
    // messages show as usual): two thirds training, the rest testing (Data Extrapolate,
    // mode 2) or testing and evaluation (Model Evaluate, mode 1); NumTaps a tenth of the
    // rows when it is 0. Suggests a larger training set below 20 rows. Does nothing when
    // the scan met no input column; returns whether it configured.
    bool AutoConfigureSections(int mode);
    // The same, measuring column 1 without a role scan (after an import).
    void AutoConfigureSectionsFromColumn1(int mode);
    // Back to Init: state, phase offset, state text and the figure cells; in Data
    // Extrapolate mode the extrapolation rows are cleared first.
    void ResetTraining();
    // Empties the result-role cells of the 21 rows after the given sections. The user's
    // data in other columns is never touched.
    void ClearExtrapolationRows(int numTraining, int numTesting, int numEval);
    // The results-mode bar's choice (1 Model Evaluate, 2 Data Extrapolate), applied to
    // this worksheet and to the application-wide mode; other values do nothing.
    void SwitchResultsMode(int mode);
    // Load's last step: automatic sizing when it is on, otherwise the Data Extrapolate
    // adjustment of the counts; then the row labels.
    void AdjustSectionsAfterLoad();

    // Network ---------------------------------------------------------------------------
    // The worksheet's own network, built on first use from `network` (and, in state
    // Trained or Eval, `storedWeights`), so a worksheet loaded trained evaluates at once.
    // Until then `network` and `storedWeights` are the whole of it.
    WorksheetNetwork& Network();
    bool HasNetwork() const { return m_network != nullptr; }
    // A loaded file replaces the network and everything known about its runs: an
    // existing network is built again from the record just read.
    void RebuildNetwork();

    // Per-worksheet values ------------------------------------------------------------
    SectionCounts counts;
    WorksheetState state = WorksheetState::Init;
    int firstDataRow = 8;       // grid row of data row 0: 8 with the comment row, 7 without
    // Grid rows this worksheet may grow to (kMaxWorksheetRows, within what the store holds).
    int maxRows = kMaxWorksheetRows < CellStore::kMaxRowCount ? kMaxWorksheetRows : CellStore::kMaxRowCount;
    int inputSetCount = 0;      // input columns of the last successful scan, <= 16
    int targetSetCount = 0;     // target columns of the last scan, <= 6
    ColumnRoleMap roles;
    StoredNetwork network;
    std::vector<float> storedWeights;  // last exported or loaded weights
    int phaseOffset = 100;             // 100 undetermined, 0 or -1
    int savedColumnCount = 0;          // counts read from the last loaded file
    int savedRowCount = 0;
    std::vector<float> trainingPredictions;   // at least kPredictionCapacity entries, one per data row
    std::vector<float> evaluationPredictions; // the same
    VectorSets vectors;                // the last vector extraction
    ResultStatistics statistics;       // the last results pass
    int extrapolationCount = 0;        // rows the last evaluation extended the series by
    // Data rows [estimateBegin, estimateEnd) whose "Val:Est" the last training or
    // evaluation computed (or, after a load, the file's run). A later mode switch or a
    // load's automatic sizing moves the sections but not these estimates; every row
    // outside them holds a placeholder or nothing. -1: no run or load has noted them,
    // and the rows follow from the sections as the cells show them.
    int estimateBegin = -1;
    int estimateEnd = -1;

private:
    void HandleHeaderEdit(int row);
    // Writes a count as "%d" into a header value cell.
    void WriteCount(int row, int value);
    bool IsFreeColumn(int col) const;
    void CreateResultColumns(int firstNoData);
    void ApplySections(int n, int mode);

    AppSettings& m_settings;
    UserMessages& m_messages;
    CellStore m_store;
    bool m_modified = false;
    std::uint64_t m_modificationCount = 0;
    std::function<void(bool)> m_modifiedObserver;
    std::unique_ptr<WorksheetNetwork> m_network;  // null until first use
};

// a + b without overflow: counts typed by the user may be anything an int holds, and
// their sums wrap as 32-bit integers do.
int AddCounts(int a, int b);

} // namespace orvalis
