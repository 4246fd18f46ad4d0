#pragma once

namespace orvalis {

class Worksheet;

// "Window by rule": Num Taps from the series instead of a tenth of the rows. A window
// one season and a row long lets the network see the same row of the last season and
// the step into it; without a season, the order of the linear autoregression that the
// first differences support best (least BIC) is the memory the series shows.

// The largest order the rule tries on `fitted` rows: a tenth of them (the usual
// window, which the rule may only shorten on a long series), at most 24 (two years of a
// monthly series), at least 2.
int WindowRuleBound(int fitted);

// The order p in 2..maxOrder minimising the BIC, N ln(RSS / N) + (p + 1) ln N, of the
// least squares of z[t] on 1, z[t-1] .. z[t-p] over the same rows t = maxOrder ..
// count-1 for every p (so the fits are compared on equal terms); ties go to the
// smaller order. 2 when there are too few rows to compare.
int AutoregressiveOrderByBic(const double* z, int count, int maxOrder);

// The window the rule gives the series y[0 .. fitted-1]: season + 1 when season >= 2,
// else the order of least BIC on its first differences.
int RuleTaps(const double* y, int fitted, int season);

// Train's first step when the window rule is on: reads the target's Training and
// Testing rows, and when they and the sections allow it types the rule's window into
// the Num Taps cell (as a user would, so a changed window starts training afresh),
// kept inside the limits Train enforces (fewer taps than Training rows, less the
// change lag; at most 200 network inputs; 2 in 2 Pass). Does nothing when the cells
// or sections cannot give a window: the run's own refusals say why. Returns the taps
// in force afterwards.
int ApplyWindowRule(Worksheet& ws);

} // namespace orvalis
