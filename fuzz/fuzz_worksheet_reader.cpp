// Feeds arbitrary bytes to the worksheet file reader. A file the reader accepts is also
// loaded into a worksheet and written again; the written bytes must read back.
#include "worksheet/AppSettings.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvalis;
    static AppSettings settings;
    static SilentMessages messages;
    auto parsed = ParseWorksheetFile(data, size, 8);
    if (std::holds_alternative<FileError>(parsed))
        return 0;
    Worksheet ws(settings, messages);
    if (!LoadWorksheetBytes(ws, data, size))
        std::abort();  // parsed but refused on load
    const auto again = WorksheetFileBytes(ws);
    if (std::holds_alternative<FileError>(ParseWorksheetFile(again.data(), again.size(), 8)))
        std::abort();  // what the writer writes must read back
    return 0;
}
