#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// Start-up measurement only (bench/): installed on a window, it prints the steady clock at
// the end of the window's first paint and the process's peak resident memory, then quits.
// The program and the bare-window floor of the benchmark report through this same probe.
class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The paint event opens the window's first sync; this runs once it is flushed.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                long peakKiB = 0;
#ifdef Q_OS_UNIX
                rusage usage {};
                if (getrusage(RUSAGE_SELF, &usage) == 0)
                    peakKiB = usage.ru_maxrss;
#endif
                std::printf("first-paint %lld ns peak-rss %ld KiB\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()), peakKiB);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }
};
