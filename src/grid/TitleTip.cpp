#include "grid/TitleTip.h"

#include "grid/FontMapping.h"
#include "grid/ShownCellText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace orvalis {

CTitleTip::CTitleTip(QWidget* parentWnd)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_parentWnd(parentWnd)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    hide();
}

void CTitleTip::Show(const QRect& titleRect, const std::string& text, int xOffset,
                     const QRect* hoverRect, const LogFont* font)
{
    if (titleRect.isEmpty() || !m_parentWnd)
        return;
    m_hoverRect = hoverRect ? *hoverRect : titleRect;
    if (isVisible())
        return;
    if (!QApplication::focusWidget() && !QApplication::activeWindow())
        return;  // the program is not the one the user is working in
    m_font = font ? FontFromLogFont(*font) : m_parentWnd->font();
    // The tip never grows past the screen it opens on, however long the cell's text.
    const QFontMetrics metrics(m_font);
    const QScreen* screen = m_parentWnd->screen();
    const int widest = screen ? screen->availableGeometry().width() : 1920;
    const QString shown =
        QLatin1Char(' ') + metrics.elidedText(ShownCellText(text), Qt::ElideRight, widest) +
        QLatin1Char(' ');
    const int width = metrics.horizontalAdvance(shown) + xOffset;
    const QPoint topLeft = m_parentWnd->mapToGlobal(titleRect.topLeft());
    const QRect display(topLeft.x() + xOffset, topLeft.y(), width, titleRect.height());
    // The spaced text must end before the title area's last pixel (where the cell's
    // grid line is drawn); otherwise it does not fit and the tip appears.
    if (titleRect.left() + xOffset + width <= titleRect.right() - xOffset)
        return;
    m_text = shown;
    setFont(m_font);
    setGeometry(display);
    show();
    update();
}

void CTitleTip::Hide()
{
    if (isVisible())
        hide();
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(m_font);
    p.drawText(rect().adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               m_text);
}

void CTitleTip::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_parentWnd)
        return;
    const QPoint inParent = m_parentWnd->mapFromGlobal(event->globalPosition().toPoint());
    if (m_hoverRect.contains(inParent))
        return;
    PassOn(event);
}

void CTitleTip::mousePressEvent(QMouseEvent* event) { PassOn(event); }
void CTitleTip::mouseReleaseEvent(QMouseEvent* event) { PassOn(event); }
void CTitleTip::mouseDoubleClickEvent(QMouseEvent* event) { PassOn(event); }

void CTitleTip::PassOn(QMouseEvent* event)
{
    Hide();
    const QPoint global = event->globalPosition().toPoint();
    QWidget* target = QApplication::widgetAt(global);
    if (!target || target == this)
        target = m_parentWnd;
    if (!target)
        return;
    // Posted, not sent: the tip is gone before the window beneath handles the input.
    const QPointF local = target->mapFromGlobal(event->globalPosition());
    QCoreApplication::postEvent(target, new QMouseEvent(event->type(), local, event->globalPosition(),
                                                        event->button(), event->buttons(),
                                                        event->modifiers()));
}

} // namespace orvalis
