#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

// Watches for the first paint of a top-level window: the moment a user sees the
// application. Once that paint is done it prints the wall-clock time in nanoseconds
// ("shown <ns>") for the benchmark, which started the process, and ends the application.
// Both start-up probes use it, so they are measured to the same point.
class QuitWhenShown : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (m_done || event->type() != QEvent::Paint || !widget || !widget->isWindow())
            return false;
        m_done = true;
        // Deliver the paint now, so that the time taken is after it.
        QCoreApplication::instance()->removeEventFilter(this);
        QCoreApplication::sendEvent(widget, event);
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("shown %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL
                                        + now.tv_nsec);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return true;
    }

private:
    bool m_done = false;
};
