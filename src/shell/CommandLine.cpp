#include "shell/CommandLine.h"

#include "OrvalisVersion.h"
#include "shell/DocManager.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace orvalis {

StartupRequest ParseCommandLine(const QStringList& arguments)
{
    StartupRequest request;
    bool options = true;
    for (const QString& arg : arguments) {
        if (options && arg == QLatin1String("--")) {
            options = false;
        } else if (options && arg == QLatin1String("--version")) {
            request.version = true;
        } else if (options && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            request.help = true;
        } else if (options && arg == QLatin1String("--no-splash")) {
            request.noSplash = true;
        } else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (request.problem.isEmpty())
                request.problem = QStringLiteral("orvalis: unknown option %1\n").arg(arg);
        } else {
            request.files.append(arg);
        }
    }
    // A file to open is what the user came for: straight to it.
    if (!request.files.isEmpty())
        request.noSplash = true;
    return request;
}

QString VersionText()
{
    return QStringLiteral("Tavelle Orvalis ") + QLatin1String(kProgramVersion) + QLatin1Char('\n');
}

QString HelpText()
{
    return QStringLiteral(
        "usage: orvalis [--no-splash] [WORKSHEET.ows...]\n"
        "       orvalis --version | --help\n"
        "Opens each worksheet file given, each in its own window; without any, starts\n"
        "with a new worksheet.\n"
        "  --no-splash  start without the start-up picture\n"
        "  --version    print the program's version\n"
        "  --help       print this text\n"
        "Qt's own options (-platform, -style, ...) are taken as well.\n"
        "\n"
        "usage: orvalis --screenshot OUT.png [--import FILE.csv] [--role COL=ROLE]...\n"
        "               [--train] [--chart] [--size WxH]\n"
        "Writes a picture of the main window, as the documentation shows it, and ends;\n"
        "the user's settings are not read or changed.\n"
        "  --screenshot OUT.png  the picture to write (PNG)\n"
        "  --import FILE.csv     import the file, its first line as column names\n"
        "  --role COL=ROLE       give column COL the role ROLE (Trg/In, Input, ...)\n"
        "  --train               train the worksheet, as Actions > Train does\n"
        "  --chart               show the chart pane under the grid\n"
        "  --size WxH            the window's size in pixels (default 1100x640)\n");
}

QStringList WorksheetFilesIn(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).suffix().compare(QLatin1String("ows"), Qt::CaseInsensitive) == 0)
            files.append(path);
    }
    return files;
}

namespace {

// Takes the drag events of one window for worksheet files.
class WorksheetDropFilter final : public QObject {
public:
    WorksheetDropFilter(QWidget& window, DocManager& docs) : QObject(&window), m_docs(docs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (WorksheetFilesIn(drag->mimeData()).isEmpty())
                return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = WorksheetFilesIn(drop->mimeData());
            if (files.isEmpty())
                return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // One after the other, each with its own message when it cannot be read.
            for (const QString& file : files)
                m_docs.OpenDocumentFile(file);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    DocManager& m_docs;
};

} // namespace

void AcceptWorksheetDrops(QWidget& window, DocManager& docs)
{
    window.setAcceptDrops(true);
    window.installEventFilter(new WorksheetDropFilter(window, docs));
}

} // namespace orvalis
