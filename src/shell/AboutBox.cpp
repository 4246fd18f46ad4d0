#include "shell/AboutBox.h"

#include "OrvalisVersion.h"
#include "shell/AppIcon.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace orvalis {

namespace {

int IconExtent()
{
    return QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
}

QFrame* BlackLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line->setPalette(palette);
    return line;
}

QLabel* Text(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    return label;
}

// The icon at the left, the lines beside it.
QVBoxLayout* IconAndText(QWidget& box)
{
    auto* row = new QHBoxLayout(&box);
    row->addWidget(new IconButton(&box), 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    row->addLayout(column, 1);
    column->addWidget(Text(VersionLine(), &box));
    column->addWidget(Text(YearLine(), &box));
    column->addWidget(BlackLine(&box));
    return column;
}

}  // namespace

QString VersionLine()
{
    return QString::fromLatin1(kProgramTitleWithVersion);
}

QString LicenceLine()
{
    return QStringLiteral("Licensed under the GNU General Public License, version 3 or later.");
}

QString YearLine()
{
    return QStringLiteral("Published 2026");
}

IconButton::IconButton(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(ButtonSize());
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Program icon"));
}

QSize IconButton::ButtonSize()
{
    const int extent = IconExtent();
    return {2 * extent + 8, 2 * extent + 8};
}

void IconButton::paintEvent(QPaintEvent*)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, w - 4, h - 4);
    painter.fillRect(w - 4, 4, 4, h - 4, Qt::darkGray);
    painter.fillRect(4, h - 4, w - 4, 4, Qt::darkGray);
    // Drawn at the icon size and doubled, so the picture keeps the icon's own pixels.
    const QPixmap icon = AppIcon().pixmap(QSize(IconExtent(), IconExtent()));
    if (!icon.isNull())
        painter.drawPixmap(QRect(2, 2, w - 8, h - 8), icon);
}

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Tavelle Orvalis"));
    setAccessibleName(windowTitle());
    QVBoxLayout* column = IconAndText(*this);
    column->addWidget(Text(QStringLiteral("Brennix Devices"), this));
    column->addWidget(Text(QStringLiteral("Time-series analysis for the desktop"), this));
    column->addWidget(Text(QStringLiteral("Acknowledgements:"), this));
    column->addWidget(Text(
        QStringLiteral("To everyone who tried the early versions and sent their series."), this));
    column->addWidget(Text(LicenceLine(), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

SplashWindow::SplashWindow(QWidget* owner)
    : QFrame(owner, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    // Without a caption the window needs an edge of its own to stand out from what lies
    // behind it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("Tavelle Orvalis is starting"));
    setAutoFillBackground(true);
    QVBoxLayout* column = IconAndText(*this);
    // Free software: the notice names the licence under which it may be copied, not a
    // threat against copying it.
    for (const char* line : {"Its results are estimates: check them before you rely on them.",
                             "It comes with no warranty of any kind."})
        column->addWidget(Text(QString::fromLatin1(line), this));
    column->addWidget(Text(LicenceLine(), this));
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace orvalis
