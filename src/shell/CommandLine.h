#pragma once

#include <QStringList>

class QMimeData;
class QWidget;

namespace orvalis {

class DocManager;

// What the program was started with, beyond Qt's own options.
struct StartupRequest {
    bool version = false;    // --version: print the version and end
    bool help = false;       // --help, -h: print the usage and end
    bool noSplash = false;   // --no-splash, or files given: start without the splash
    QStringList files;       // worksheets to open, in the order given
    QString problem;         // an unknown option: what to tell on stderr (exit 2)
};

// Reads the arguments after the program name. "--" ends the options, so a file named
// like one can still be opened.
StartupRequest ParseCommandLine(const QStringList& arguments);

// "Tavelle Orvalis 1.0" and the usage text, each ending in a line feed.
QString VersionText();
QString HelpText();

// The local worksheet files (".ows", any case) among dropped or pasted data; empty when
// there are none.
QStringList WorksheetFilesIn(const QMimeData* mime);

// Lets worksheet files dropped from a file manager onto window open as worksheets in
// docs, as File Open opens them. Other drops are left to the windows under the pointer.
void AcceptWorksheetDrops(QWidget& window, DocManager& docs);

} // namespace orvalis
