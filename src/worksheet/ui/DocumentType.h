#pragma once

#include <QString>

namespace orvalis {

// The one document type of the program: how worksheets are named and which files they
// live in. The file type is not registered with the desktop.
struct DocumentType {
    QString baseName;         // new worksheets: base name and a running number
    QString fileNewName;      // what File New offers
    QString filterName;       // the file dialogs' filter entry
    QString extension;        // with its dot
    QString fileTypeId;
    QString fileTypeName;

    // "Worsheets (*.ows)" followed by the catch-all entry, for the file dialogs.
    QString DialogFilter() const { return filterName + QStringLiteral(";;All Files (*.*)"); }
};

// The worksheet document type.
inline const DocumentType& WorksheetDocType()
{
    static const DocumentType type{
        QStringLiteral("Worksheet"),          QStringLiteral("Worksheet"),
        QStringLiteral("Worsheets (*.ows)"), QStringLiteral(".ows"),
        QStringLiteral("OrvalisWorsheet"),   QStringLiteral("Brennix Orvalis Worksheet"),
    };
    return type;
}

} // namespace orvalis
