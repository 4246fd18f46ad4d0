#include "shell/StatusIndicators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace orvalis {

namespace {

// The lock indicators of the X server's core keyboard (bit 0 Caps, 1 Num, 2 Scroll);
// false when there is no server to ask. Defined last: the X headers' macros would
// clash with Qt's names.
bool ReadX11Indicators(unsigned int& state);

QLabel* Pane(QStatusBar& bar, const QString& text, const QString& name)
{
    auto* pane = new QLabel(&bar);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    // Wide enough for the text whether it shows or not, so the panes never jump.
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 8);
    pane->setAccessibleName(name);
    bar.addPermanentWidget(pane);
    return pane;
}

}  // namespace

StatusIndicators::StatusIndicators(QStatusBar& bar)
    : QObject(&bar)
    , m_capsPane(Pane(bar, QStringLiteral("CAP"), QStringLiteral("Caps Lock")))
    , m_numPane(Pane(bar, QStringLiteral("NUM"), QStringLiteral("Num Lock")))
    , m_scrollPane(Pane(bar, QStringLiteral("SCRL"), QStringLiteral("Scroll Lock")))
{
    qApp->installEventFilter(this);
    Refresh();
}

void StatusIndicators::Refresh()
{
    if (unsigned int state = 0; ReadX11Indicators(state)) {
        m_caps = (state & 1u) != 0;
        m_num = (state & 2u) != 0;
        m_scroll = (state & 4u) != 0;
    }
    Show();
}

void StatusIndicators::Show()
{
    const auto show = [](QLabel* pane, bool on, const char* text) {
        pane->setText(on ? QString::fromLatin1(text) : QString());
        pane->setAccessibleDescription(on ? QStringLiteral("on") : QStringLiteral("off"));
    };
    show(m_capsPane, m_caps, "CAP");
    show(m_numPane, m_num, "NUM");
    show(m_scrollPane, m_scroll, "SCRL");
}

bool StatusIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // A key travels up from the focus widget to its window: count it once, where it
    // starts.
    const QWidget* focus = QApplication::focusWidget();
    const bool start = focus
                           ? watched == focus
                           : watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow();
    if (event->type() == QEvent::KeyRelease && start
        && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool lockKey
            = key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
        if (lockKey) {
            if (unsigned int state = 0; ReadX11Indicators(state)) {
                Refresh();
                return false;
            }
            // Without a server to ask, each press of a lock key turns its state over.
            if (key == Qt::Key_CapsLock)
                m_caps = !m_caps;
            else if (key == Qt::Key_NumLock)
                m_num = !m_num;
            else
                m_scroll = !m_scroll;
            Show();
        }
    }
    return QObject::eventFilter(watched, event);
}

#ifdef ORVALIS_HAVE_X11
}  // namespace orvalis
#include <X11/XKBlib.h>
namespace orvalis {
#endif

namespace {

bool ReadX11Indicators(unsigned int& state)
{
#ifdef ORVALIS_HAVE_X11
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    return display && XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == Success;
#else
    (void)state;
    return false;
#endif
}

}  // namespace

}  // namespace orvalis
