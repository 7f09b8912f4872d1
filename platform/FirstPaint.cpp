// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QWidget* window, std::function<void()> action)
        : QObject(window)
        , m_action(std::move(action))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_action) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                auto action = std::move(m_action);
                deleteLater();
                action();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};
}

void RunAfterFirstPaint(QWidget* window, std::function<void()> action)
{
    // The watcher belongs to the window and removes itself once it has run.
    new FirstPaintWatcher(window, std::move(action));
}
