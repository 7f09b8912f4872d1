// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up measurement only, and outside the program: preloaded into a launch
// (LD_PRELOAD), it watches the application for the first paint of a window, prints the
// steady clock once that paint is flushed and the process's peak resident memory, then
// quits. The program and the bare-window floor are measured by this same probe, and
// neither carries any code for it.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/resource.h>
#include <time.h>

namespace {

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_seen || !watched->isWidgetType()
            || !static_cast<QWidget*>(watched)->isWindow())
            return false;
        m_seen = true;
        // The paint event opens the window's first sync; this runs once it is flushed.
        QTimer::singleShot(0, this, [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            rusage usage {};
            const long peakKiB = getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
            // The shared objects mapped at that moment, and whether Qt Multimedia is among them.
            std::set<std::string> objects;
            if (std::FILE* maps = std::fopen("/proc/self/maps", "r")) {
                char line[4096];
                while (std::fgets(line, sizeof line, maps))
                    if (const char* path = std::strchr(line, '/'); path && std::strstr(path, ".so"))
                        objects.insert(path);
                std::fclose(maps);
            }
            const bool multimedia = std::any_of(objects.begin(), objects.end(),
                [](const std::string& o) { return o.find("Multimedia") != std::string::npos; });
            // Processor time so far: unlike the clock, it hardly depends on what else the
            // machine runs.
            timespec cpu {};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
            std::printf("first-paint %lld ns peak-rss %ld KiB objects %zu multimedia %d cpu %lld ns\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()), peakKiB,
                objects.size(), multimedia ? 1 : 0, static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
            std::fflush(stdout);
            // Where the resident memory lies, mapping by mapping, when asked for.
            if (const char* copy = std::getenv("QUILLADO_PROBE_SMAPS")) {
                std::FILE* in = std::fopen("/proc/self/smaps", "r");
                std::FILE* out = std::fopen(copy, "w");
                char line[4096];
                while (in && out && std::fgets(line, sizeof line, in))
                    std::fputs(line, out);
                if (in)
                    std::fclose(in);
                if (out)
                    std::fclose(out);
            }
            QCoreApplication::quit();
        });
        return false;
    }

private:
    bool m_seen = false;
};

void InstallProbe()
{
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
