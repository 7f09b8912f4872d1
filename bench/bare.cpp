// The floor for the start-up benchmark: a bare Qt Widgets window of the trainer's size with
// one Chinese label, the same first-paint report and nothing else. Started in turn with
// the program, it shows how much of the start-up time is the trainer's own.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {
class FirstPaintProbe : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                rusage usage {};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("first-paint %lld ns peak-rss %ld KiB\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    usage.ru_maxrss);
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
    QLabel label(QStringLiteral("练习 Quillado"));
    label.resize(961, 521);
    FirstPaintProbe probe;
    label.installEventFilter(&probe);
    label.show();
    return app.exec();
}
