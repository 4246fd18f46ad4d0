#pragma once

#include <functional>
#include <string>

namespace orvalis {

class Worksheet;

// What the print command asks for.
struct BatchPdfRequest {
    std::string path;        // the PDF file to write
    std::string title;       // the worksheet's name, centred in every page header
    bool letter = false;     // US Letter paper; A4 otherwise
    bool landscape = false;  // the long side across
    bool chartPage = false;  // the worksheet's chart as a last page
};

// Draws the worksheet's printed pages as the bytes of a PDF file; returns the number of
// pages, 0 when they could not be drawn. Printing draws with Qt, which this library
// does not use (the worksheet's printer over its cells, the same as File Print's), so
// the program installs the writer before it runs a command; the command writes the
// bytes.
using BatchPdfWriter = std::function<int(Worksheet&, const BatchPdfRequest&, std::string& bytes)>;
void SetBatchPdfWriter(BatchPdfWriter writer);

} // namespace orvalis
