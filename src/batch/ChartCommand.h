#pragma once

#include "worksheet/ChartData.h"

#include <functional>
#include <string>

namespace orvalis {

// What the chart command asks for.
struct BatchChartRequest {
    std::string path;  // the picture to write, in the format its name asks for (PictureFormatOf)
    int width = 1200;  // pixels
    int height = 700;  // pixels
};

// Draws the chart of a worksheet as the bytes of the picture file the request names
// (SVG or PNG by its name); false when it could not be drawn. Drawing lives above this
// library (it is the chart pane's own code), so the program installs the writer before
// it runs a command; the command writes the bytes.
using BatchChartWriter =
    std::function<bool(const ChartData&, const BatchChartRequest&, std::string& bytes)>;
void SetBatchChartWriter(BatchChartWriter writer);

// Reads "WIDTHxHEIGHT" (each a whole number from kMinChartSide to kMaxChartSide pixels)
// into request; false when the text is anything else.
constexpr int kMinChartSide = 100;
constexpr int kMaxChartSide = 8000;
bool ParseChartSize(const std::string& text, BatchChartRequest& request);

} // namespace orvalis
