#include "app/Unit1.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {
// Start-up measurement only (bench/startup): with QUILLADO_BENCH_FIRST_PAINT set, the
// program prints the steady clock at the end of the main window's first paint and its peak
// resident memory, then quits. Learners never set it; nothing else reads the environment.
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
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelunor"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillado"));

    auto* form = new TForm1;
    if (form->terminateRequested()) {
        delete form;
        return 1;
    }
    if (std::getenv("QUILLADO_BENCH_FIRST_PAINT"))
        form->installEventFilter(new FirstPaintProbe(&app));
    form->show();
    const int result = app.exec();
    delete form;
    return result;
}
