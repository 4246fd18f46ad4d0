#include "StartupProbe.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <sys/resource.h>
#include <utility>

namespace orvalis {

namespace {

long long MonotonicNs()
{
    // steady_clock is CLOCK_MONOTONIC on Linux: the clock the benchmark reads before it
    // starts the program.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Processor time (user and system) the program has used so far.
long long CpuNs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval& t) { return t.tv_sec * 1000000000LL + t.tv_usec * 1000LL; };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

class FirstShowProbe final : public QObject {
public:
    FirstShowProbe(std::function<QWidget*()> mainWindow, QString file)
        : QObject(QCoreApplication::instance()), m_mainWindow(std::move(mainWindow)), m_file(std::move(file))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || m_exposedNs)
            return false;
        const QWidget* main = m_mainWindow();
        auto* window = qobject_cast<QWindow*>(watched);
        if (!main || !window || window != main->windowHandle() || !window->isExposed())
            return false;
        m_exposedNs = MonotonicNs();
        // The first paint runs while this expose is handled; a zero timer fires once it
        // has been drawn and handed to the window system.
        QTimer::singleShot(0, this, [this] { Report(); });
        return false;
    }

private:
    void Report()
    {
        const long long paintedNs = MonotonicNs();
        const long long cpuNs = CpuNs();
        QFile out(m_file);
        if (out.open(QIODevice::Append | QIODevice::Text))
            out.write(QByteArrayList{QByteArray::number(m_startNs), QByteArray::number(m_exposedNs),
                                     QByteArray::number(paintedNs), QByteArray::number(cpuNs)}
                          .join(' ') +
                      '\n');
        QCoreApplication::quit();
    }

    std::function<QWidget*()> m_mainWindow;
    QString m_file;
    long long m_startNs = MonotonicNs(); // the application object exists, before the start-up sequence
    long long m_exposedNs = 0;           // the main window was first exposed
};

} // namespace

void WatchFirstShow(std::function<QWidget*()> mainWindow)
{
    const QString file = qEnvironmentVariable("ORVALIS_STARTUP_PROBE");
    if (!file.isEmpty())
        new FirstShowProbe(std::move(mainWindow), file);
}

} // namespace orvalis
