#include "worksheet/ui/ChartView.h"

#include "shell/core/AppTitle.h"
#include "shell/core/QtOutputFile.h"
#include "worksheet/PictureFormat.h"
#include "worksheet/ui/ChartPicture.h"
#include "worksheet/ui/ChartSizeDialog.h"
#include "worksheet/ui/ChartSvg.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace orvalis {

bool DrawChartPicture(QChartView& view, const QString& path, QByteArray& bytes)
{
    const PictureFormat format = PictureFormatOf(QFile::encodeName(path).toStdString());
    if (format == PictureFormat::Svg)
        return DrawChartSvg(view, bytes);
    bytes.clear();
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) &&
           view.grab().save(&buffer, format == PictureFormat::Jpeg ? "JPEG" : "PNG");
}

bool SaveChartPicture(QChartView& view, const QString& path)
{
    QByteArray bytes;
    return DrawChartPicture(view, path, bytes) && WriteOutputFile(path, bytes);
}

CChartView::CChartView(QWidget* parent)
    : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setAccessibleName(tr("Chart"));
}

bool CChartView::SavePicture(const QString& path)
{
    return SaveChartPicture(*this, path);
}

bool CChartView::SavePictureAt(const QString& path, QSize size)
{
    if (!pictureSource)
        return SavePicture(path);
    return WriteChartPicture(pictureSource(), size, path);
}

void CChartView::CopyPicture()
{
    QApplication::clipboard()->setPixmap(grab());
}

void CChartView::ConnectTooltips()
{
    for (QLineSeries* series : ValueSeries(*chart())) {
        connect(series, &QLineSeries::hovered, this,
                [this, series](const QPointF& point, bool state) { ShowTooltip(series, point, state); });
    }
}

void CChartView::ShowTooltip(QLineSeries* series, const QPointF& point, bool entered)
{
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    // The pointer lies somewhere on a segment: tell the row nearest to it.
    const QList<QPointF> points = series->points();
    if (points.isEmpty())
        return;
    const auto it = std::lower_bound(points.begin(), points.end(), point.x(),
                                     [](const QPointF& p, double x) { return p.x() < x; });
    QPointF nearest = it == points.end() ? points.back() : *it;
    if (it != points.begin() && it != points.end() && point.x() - (it - 1)->x() < it->x() - point.x())
        nearest = *(it - 1);
    // A value of a power-of-ten axis is told as the cell's value, in exponent form
    // (its fixed form could run to hundreds of digits).
    const double value = CellValueOf(*chart(), nearest.y());
    const bool ordinary = value == nearest.y();
    QToolTip::showText(QCursor::pos(), tr("%1, Data %2: %3").arg(series->name()).arg(qRound(nearest.x())).arg(value, 0, ordinary ? 'f' : 'g', ordinary ? 3 : 6),
                       this);
}

void CChartView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0 || !chart())
        return;
    // Zoom about the pointer: the plot shows the rectangle that keeps the point under
    // the pointer where it is. One zoom step, never a scroll: the chart remembers the
    // whole chart at its first zoom, and a scroll before that would survive the reset.
    const QPointF pos = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const QRectF area = chart()->plotArea();
    const double factor = std::pow(1.25, steps);
    chart()->zoomIn(QRectF(pos - (pos - area.topLeft()) / factor, area.size() / factor));
    event->accept();
}

void CChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (chart())
        chart()->zoomReset();
    event->accept();
}

// The right button opens the context menu; it must not zoom out as a rubber band's
// right click otherwise would.
void CChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void CChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void CChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Save as PNG..."), this,
                   [this] { AskAndSave(tr("PNG pictures (*.png)"), QStringLiteral(".png")); });
    menu.addAction(tr("Save as SVG..."), this,
                   [this] { AskAndSave(tr("SVG pictures (*.svg)"), QStringLiteral(".svg")); });
    menu.addAction(tr("Copy Picture"), this, &CChartView::CopyPicture);
    menu.addSeparator();
    menu.addAction(tr("Reset Zoom"), this, [this] { chart()->zoomReset(); });
    menu.exec(event->globalPos());
}

void CChartView::AskAndSave(const QString& filter, const QString& suffix)
{
    QString path = QFileDialog::getSaveFileName(this, tr("Save Chart"), QString(), filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    CChartSizeDialog size(this);
    if (size.exec() != QDialog::Accepted)
        return;
    if (!SavePictureAt(path, size.PictureSize()))
        QMessageBox::warning(this, AppTitle(), tr("Error: Cannot write file %1").arg(QFileInfo(path).fileName()));
}

} // namespace orvalis
