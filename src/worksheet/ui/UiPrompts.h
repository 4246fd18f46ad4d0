#pragma once

#include "worksheet/UserMessages.h"

#include <QString>

class QDialog;
class QWidget;

namespace orvalis {

// Everything the windows ask the user: the core's messages plus the save question on
// closing, the file choosers and running a modal dialog. The program answers with
// message boxes and file dialogs; widget tests answer with a script and never block.
class UiPrompts : public UserMessages {
public:
    enum class SaveAnswer { Yes, No, Cancel };

    // "Save changes to %1?" with Yes, No and Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& title) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString ChooseOpenFile(const QString& filter) = 0;
    virtual QString ChooseSaveFile(const QString& suggestedName, const QString& filter) = 0;
    // The file to import; an open dialog that may start in a folder of its own.
    virtual QString ChooseImportFile(const QString& filter) { return ChooseOpenFile(filter); }
    // The file an export writes; a save dialog captioned for the export.
    virtual QString ChooseExportFile(const QString& suggestedName, const QString& filter)
    {
        return ChooseSaveFile(suggestedName, filter);
    }
    // Runs dialog modally; true when it was accepted.
    virtual bool RunDialog(QDialog& dialog) = 0;
};

// The text of the standard save question for a worksheet title.
inline QString SaveChangesText(const QString& title)
{
    return QStringLiteral("Save changes to %1?").arg(title);
}

} // namespace orvalis
