// What both cold-start programs share: the resident memory, and the moment a window of a given
// class first paints.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <functional>

namespace coldstart {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// VmRSS of this process, in KiB.
inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Calls painted(window) once, when the first paint event reaches a widget inside a window of
// the class windowClass, after Qt has delivered it.
class FirstPaint : public QObject
{
public:
    FirstPaint(const char *windowClass, std::function<void(QWidget *)> painted)
        : m_windowClass(windowClass)
        , m_painted(std::move(painted))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_done || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (qstrcmp(window->metaObject()->className(), m_windowClass) != 0)
            return false;
        m_done = true;
        QMetaObject::invokeMethod(
            this, [this, window] { m_painted(window); }, Qt::QueuedConnection);
        return false;
    }

private:
    const char *m_windowClass;
    std::function<void(QWidget *)> m_painted;
    bool m_done = false;
};

// The line the runner reads: the times in ms since main began and the memory growth since the
// application object was made.
inline void report(const char *phases, double paintMs, long growthKb)
{
    std::printf("painted %.3f %ld %s\n", paintMs, growthKb, phases);
    std::fflush(stdout);
}

} // namespace coldstart
