// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class QWidget;

// Input as a person gives it, through the X server: XTest key presses and pointer clicks on
// a connection of our own, so the program receives them exactly as typed ones, focus rules,
// propagation and window manager included.
class XInput {
public:
    XInput();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    bool connected() const { return m_display != nullptr; }

    // Presses and releases the key that types c (Shift for upper case).
    bool type(char c);
    // A named key: "F1", "BackSpace", "space", "Return".
    bool typeKeysym(const char* name);
    void moveTo(QPoint global);
    void click(QPoint global, int count = 1);
    // Clicks the middle of a widget.
    void click(const QWidget* widget, int count = 1);

    // The running window manager's name, empty without one.
    QString windowManagerName();
    // The actions the window manager offers for a client window.
    QStringList allowedActions(unsigned long window);
    // Asks the window manager to maximise a window, as its title bar and pagers do.
    void requestMaximise(unsigned long window);
    // Asks the window manager to give a window another size, as dragging its frame does.
    void requestResize(unsigned long window, int width, int height);
    // The top-level window holding the X input focus, and its frame's extents.
    unsigned long inputFocus();
    void sync();

private:
    bool pressKeysym(unsigned long keysym, bool shift);
    unsigned long atom(const char* name);
    struct _XDisplay* m_display = nullptr;
};

// Counts the key presses the window system delivers to the program's windows, so a test
// proves a key arrived before it judges what the key did.
class KeyArrivals : public QObject {
public:
    KeyArrivals();
    ~KeyArrivals() override;
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Types one character through X and waits until the program has received it. False when it
// never arrived: the set-up is broken, not the program.
bool typeAndWait(XInput& x, KeyArrivals& arrivals, char c);
bool typeKeysymAndWait(XInput& x, KeyArrivals& arrivals, const char* name);

// What the X server shows of a widget: its pixels read back from the screen.
QImage grabFromScreen(const QWidget* widget);

// WCAG contrast ratio of two colours (1 to 21).
double contrastRatio(QRgb a, QRgb b);
// The contrast of a text drawn in an area: the most frequent colour is taken as the
// background, the colour farthest from it as the ink.
double inkContrast(const QImage& area);

// The desktop the wrapper script prepared, e.g. "wm", "wm,dark", "wm,im".
bool desktopHas(const char* feature);
