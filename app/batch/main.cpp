// orvalis-batch: the worksheet operations without a window, for scripts.
#include "batch/BatchTool.h"
#include "batch/ChartCommand.h"
#include "batch/PartialOutputCleanup.h"
#include "batch/PrintCommand.h"

#include "shell/core/QtSettingsStore.h"
#include "worksheet/ui/ChartPicture.h"
#include "worksheet/ui/WorksheetPdf.h"

#include <QApplication>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

// Qt's own remarks (a missing runtime folder, a font it substitutes) are not the tool's
// messages and would break the rule that stderr carries only those: they are dropped.
// A fatal one still ends the program, as Qt ends it anyway.
void DropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::cerr << "orvalis-batch: " << message.toLocal8Bit().constData() << std::endl;
        std::abort();
    }
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(DropQtMessages);
    std::vector<std::string> args(argv + 1, argv + argc);
    orvalis::InstallPartialOutputCleanup();
    // Printing and charts draw with Qt's painting, which needs the GUI application
    // object; it is made only for those commands, always on the offscreen platform, so
    // no display is ever needed.
    std::optional<QApplication> gui;
    const auto needGui = [&] {
        if (!gui) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            gui.emplace(argc, argv);
        }
    };
    orvalis::SetBatchPdfWriter([&](orvalis::Worksheet& worksheet,
                                   const orvalis::BatchPdfRequest& request, std::string& bytes) {
        needGui();
        orvalis::PdfPaper paper;
        paper.size = request.letter ? QPageSize::Letter : QPageSize::A4;
        paper.orientation = request.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
        QByteArray pdf;
        const int pages = orvalis::DrawWorksheetPdf(worksheet, QString::fromStdString(request.title),
                                                    paper, request.chartPage, pdf);
        bytes.assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
        return pages;
    });
    orvalis::SetBatchChartWriter([&](const orvalis::ChartData& data,
                                     const orvalis::BatchChartRequest& request, std::string& bytes) {
        needGui();
        QByteArray picture;
        if (!orvalis::DrawChartPicture(data, QSize(request.width, request.height),
                                       QString::fromLocal8Bit(request.path.c_str()), picture))
            return false;
        bytes.assign(picture.constData(), static_cast<std::size_t>(picture.size()));
        return true;
    });
    try {
        // The user's settings are read, never written: options change them for this
        // run only.
        orvalis::QtSettingsStore store;
        const orvalis::AppSettings settings = orvalis::LoadSettings(store);
        return orvalis::RunBatchTool(args, settings, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "orvalis-batch: " << e.what() << "\n";
        return 1;
    }
}
