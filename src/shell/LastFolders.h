#pragma once

#include <QString>

namespace orvalis {

class SettingsStore;

// Where the file dialogs start: the folder of the file last chosen in them, kept in the
// settings store (group "Strings") so that it outlasts the program. Open and Save As
// share "WorksheetFolder", since worksheets are opened where they were saved; Import
// keeps "ImportFolder" of its own, as data files usually live elsewhere. Without a kept
// folder, or when it is gone, the dialogs start in the working folder.
//
// The store must outlive the object.
class LastFolders {
public:
    enum class Kind {
        Worksheet, // Open and Save As
        Import,
    };

    explicit LastFolders(SettingsStore& store) : m_store(store) {}

    // The kept folder of kind, or an empty text (the working folder) when none is kept
    // or the kept one no longer exists.
    QString StartFolder(Kind kind) const;
    // Save As's start: a suggested bare name goes into the worksheets' folder; a
    // suggestion with a folder (the worksheet's own file) stays as it is.
    QString SaveStart(const QString& suggestedName) const;
    // Keeps the folder of chosenPath, a file picked in a dialog of kind; nothing for an
    // empty path (a cancelled dialog).
    void Remember(Kind kind, const QString& chosenPath);

private:
    SettingsStore& m_store;
};

} // namespace orvalis
