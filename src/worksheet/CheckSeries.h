#pragma once

#include <string>
#include <vector>

namespace orvalis {

class Worksheet;

// The worksheet's numbers as the forecast check reads them, in arrays of its own (the
// worksheet's vector sets hold what the last run left there and stay untouched). Rows
// are data rows counted from 0: F = Training + Testing rows are the fitted ones, the
// Evaluate rows follow.
struct CheckSeries {
    int taps = 0;   // T, the window of every input set
    int fitted = 0; // F
    int rows = 0;   // F + the Evaluate rows: every array holds this many values
    bool twoPass = false;
    int targetInput = -1; // the input set that is also target set 0, -1 for none
    // The change lag L the network learned (0: the values). Set by the caller, or -1 to
    // take the one the settings give for these rows.
    int lag = 0;

    std::vector<std::vector<double>> inputs; // x_k as the cells hold them
    std::vector<double> target;              // y, target set 0
    // With a change lag: x_k[j] - x_k[j-L] and y[j] - y[j-L], 0 below row L (no change
    // there, and no window reaches below L). Empty without one.
    std::vector<std::vector<double>> inputChanges;
    std::vector<double> targetChange;
    // 2 Pass: the series the network learned (values or changes) less their trailing mean
    // over the T rows up to and including the row (as the extraction removes it, from
    // row L on); 1 Pass: that series. Then scaled into 0.1..0.9 with the range of rows
    // L..F-1 (the training scale record): rows past F fall wherever the range puts them.
    std::vector<std::vector<double>> scaled;
    std::vector<double> inputMin, inputMax;   // each input set's training range
    float targetMin = 0.0f, targetMax = 0.0f; // the target's training record

    // The series the network learned: the changes, or the values without a lag.
    const std::vector<double>& Learned(int k) const
    {
        const auto i = static_cast<std::size_t>(k);
        return lag > 0 ? inputChanges[i] : inputs[i];
    }
    const std::vector<double>& LearnedTarget() const { return lag > 0 ? targetChange : target; }
    // The first row with a value of the learned series.
    int FirstRow() const { return lag > 0 ? lag : 0; }

    // One value of input set k scaled by its training range.
    double Scale(int k, double detrended) const
    {
        const auto i = static_cast<std::size_t>(k);
        return 0.1 + (0.8 * (detrended - inputMin[i])) / (inputMax[i] - inputMin[i]);
    }
    // A network output turned back into target units by the target's training record.
    double Unscale(double output) const
    {
        const double min = targetMin;
        const double max = targetMax;
        return ((output - 0.1) * 1.25) * (max - min) + min;
    }
};

// The columns the check reads: the input columns (at most 16, left to right) and target
// column 0 of the worksheet's last role scan. A worksheet opened without a scan since
// (automatic sizing off) has none yet; its role row is then read the way the scan reads
// it, without the scan's writes. target 0: no target column.
struct CheckColumns {
    std::vector<int> inputs;
    int target = 0;
};
CheckColumns CheckColumnsOf(const Worksheet& ws);
// The input and target columns as the role row reads now, the way the scan reads it,
// without the scan's writes or messages.
CheckColumns RoleRowColumns(const Worksheet& ws);

// Reads rows 0 .. rows-1 of the columns and prepares them as above; out.taps, out.fitted
// (<= rows), out.twoPass and out.lag are set by the caller. On failure returns false with `reason`
// saying, for a user, which cell does not hold a number.
bool ReadCheckSeries(const Worksheet& ws, const CheckColumns& columns, int rows, CheckSeries& out,
                     std::string& reason);

} // namespace orvalis
