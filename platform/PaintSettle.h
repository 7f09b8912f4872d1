// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Qt's X11 backing store hands each drawing to the X server through shared memory, and
// before it paints over an area it has handed over it waits for the server to have read it:
// a round trip (0.3 ms on a quiet machine) between a key and its red flash, every hit, as
// the slot last drawn is the slot hit next. This takes that wait in idle time instead: after
// each drawing of the window, one pixel that no control covers is repainted, which settles
// everything handed over so far; the next key's paint then finds nothing to wait for.
// Elsewhere than X11 it does nothing.
class PaintSettle : public QObject {
public:
    explicit PaintSettle(QWidget* window);

    // Drawings settled in idle time so far (for the tests).
    int Settled() const { return m_settled; }
    // The pixel repainted to settle them, in the window's coordinates.
    QPoint Pixel() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Settle();

    QWidget* m_window;
    bool m_pending = false;
    bool m_settling = false;
    int m_settled = 0;
};
