// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PaintSettle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

PaintSettle::PaintSettle(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    // Only the X11 backing store waits before painting; elsewhere the extra pixel would be
    // work for nothing.
    if (QGuiApplication::platformName() == QStringLiteral("xcb"))
        window->installEventFilter(this);
}

QPoint PaintSettle::Pixel() const
{
    const QRect r = m_window->rect();
    // A pixel of the window's own background: a control's area may be what the next key
    // repaints, and settling there would put the wait back in the key's path.
    for (const QPoint p : { r.bottomRight(), r.topRight(), r.bottomLeft(), r.topLeft(),
             QPoint(r.center().x(), r.bottom()), QPoint(r.right(), r.center().y()) })
        if (!m_window->childAt(p))
            return p;
    return r.bottomRight();
}

bool PaintSettle::eventFilter(QObject* watched, QEvent* event)
{
    // A window's drawings are painted and handed to the server on its update request. The
    // settling repaint sends one of its own, synchronously: that one is not a new drawing to
    // settle, or the window would repaint its pixel for ever.
    if (watched == m_window && event->type() == QEvent::UpdateRequest && !m_pending && !m_settling) {
        m_pending = true;
        QTimer::singleShot(0, this, [this] { Settle(); });
    }
    return false;
}

void PaintSettle::Settle()
{
    m_pending = false;
    if (!m_window->isVisible() || !m_window->updatesEnabled())
        return;
    m_settling = true;
    m_window->repaint(QRect(Pixel(), QSize(1, 1)));
    m_settling = false;
    ++m_settled;
}
