#pragma once

#include <QString>

namespace orvalis {

class CGridDoc;

// The filter of the import file chooser.
QString ImportFileDialogFilter();

// File Import on the worksheet of doc: choose the file, then the File Import dialog,
// then the import itself. Cancelling either dialog ends the command without a change;
// failures are told through the document's prompts. An imported file marks the
// worksheet modified, so its new data is not closed away unasked.
void RunImportCommand(CGridDoc& doc);

} // namespace orvalis
