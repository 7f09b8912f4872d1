// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/desktop/DesktopSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <cmath>

// Xlib's macros (None, KeyPress, Bool, ...) stay out of every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#undef KeyPress
#undef KeyRelease

XInput::XInput()
    : m_display(XOpenDisplay(nullptr))
{
    int event = 0, error = 0, major = 0, minor = 0;
    if (m_display && !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

XInput::~XInput()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XInput::pressKeysym(unsigned long keysym, bool shift)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (code == 0)
        return false;
    const KeyCode shiftCode = XKeysymToKeycode(m_display, XK_Shift_L);
    if (shift)
        XTestFakeKeyEvent(m_display, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(m_display, shiftCode, False, CurrentTime);
    XSync(m_display, False);
    return true;
}

bool XInput::type(char c)
{
    if (!m_display)
        return false;
    if (c >= 'A' && c <= 'Z')
        return pressKeysym(XK_a + (c - 'A'), true);
    if (c == ' ')
        return pressKeysym(XK_space, false);
    // Letters and digits have keysyms equal to their Latin-1 codes.
    return pressKeysym(static_cast<unsigned char>(c), false);
}

bool XInput::typeKeysym(const char* name)
{
    if (!m_display)
        return false;
    const KeySym sym = XStringToKeysym(name);
    return sym != NoSymbol && pressKeysym(sym, false);
}

void XInput::moveTo(QPoint global)
{
    XTestFakeMotionEvent(m_display, -1, global.x(), global.y(), CurrentTime);
    XSync(m_display, False);
}

void XInput::click(QPoint global, int count)
{
    if (!m_display)
        return;
    moveTo(global);
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
        // A double click needs two clicks close in time but apart as events.
        if (count > 1)
            QTest::qWait(30);
    }
}

void XInput::click(const QWidget* widget, int count) { click(widget->mapToGlobal(widget->rect().center()), count); }

unsigned long XInput::atom(const char* name) { return XInternAtom(m_display, name, False); }

QString XInput::windowManagerName()
{
    if (!m_display)
        return {};
    auto windowProperty = [this](Window w, const char* name, Atom type) -> QByteArray {
        Atom actualType = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(
                m_display, w, atom(name), 0, 1024, False, type, &actualType, &format, &items, &after, &data)
                != Success
            || !data)
            return {};
        QByteArray bytes(reinterpret_cast<const char*>(data), int(items * (format == 32 ? sizeof(long) : format / 8)));
        XFree(data);
        return bytes;
    };
    const QByteArray check = windowProperty(DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (check.size() < int(sizeof(long)))
        return {};
    const Window wm = Window(*reinterpret_cast<const long*>(check.constData()));
    return QString::fromUtf8(windowProperty(wm, "_NET_WM_NAME", atom("UTF8_STRING")));
}

QStringList XInput::allowedActions(unsigned long window)
{
    QStringList names;
    if (!m_display)
        return names;
    Atom actualType = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, window, atom("_NET_WM_ALLOWED_ACTIONS"), 0, 64, False, XA_ATOM, &actualType,
            &format, &items, &after, &data)
            == Success
        && data) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < items; ++i) {
            char* name = XGetAtomName(m_display, atoms[i]);
            names << QString::fromLatin1(name);
            XFree(name);
        }
        XFree(data);
    }
    return names;
}

void XInput::requestMaximise(unsigned long window)
{
    XEvent e {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = atom("_NET_WM_STATE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1; // add
    e.xclient.data.l[1] = long(atom("_NET_WM_STATE_MAXIMIZED_VERT"));
    e.xclient.data.l[2] = long(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
    e.xclient.data.l[3] = 1; // from an application, as a pager or wmctrl sends it
    XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XSync(m_display, False);
}

void XInput::requestResize(unsigned long window, int width, int height)
{
    XResizeWindow(m_display, window, unsigned(width), unsigned(height));
    XSync(m_display, False);
}

unsigned long XInput::inputFocus()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

void XInput::sync()
{
    if (m_display)
        XSync(m_display, False);
}

KeyArrivals::KeyArrivals() { qApp->installEventFilter(this); }

KeyArrivals::~KeyArrivals() { qApp->removeEventFilter(this); }

bool KeyArrivals::eventFilter(QObject* watched, QEvent* event)
{
    // Each key from the window system reaches a window exactly once, before any widget.
    if (event->type() == QEvent::KeyPress && event->spontaneous() && qobject_cast<QWindow*>(watched))
        ++count;
    return false;
}

namespace {
template <typename Press> bool pressAndWait(KeyArrivals& arrivals, Press press)
{
    const int before = arrivals.count;
    if (!press())
        return false;
    if (!QTest::qWaitFor([&] { return arrivals.count > before; }, 5000))
        return false;
    // Let the release and anything the key posted be handled too.
    QCoreApplication::processEvents();
    return true;
}
}

bool typeAndWait(XInput& x, KeyArrivals& arrivals, char c)
{
    return pressAndWait(arrivals, [&] { return x.type(c); });
}

bool typeKeysymAndWait(XInput& x, KeyArrivals& arrivals, const char* name)
{
    return pressAndWait(arrivals, [&] { return x.typeKeysym(name); });
}

QImage grabFromScreen(const QWidget* widget)
{
    QScreen* screen = widget->screen();
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    // The root window's pixels, so what is measured is what the X server shows.
    return screen->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

namespace {
double channel(int c)
{
    const double s = c / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}
double luminance(QRgb c)
{
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
}

double contrastRatio(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double inkContrast(const QImage& area)
{
    QHash<QRgb, int> frequency;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++frequency[area.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it)
        best = std::max(best, contrastRatio(it.key(), background));
    return best;
}

bool desktopHas(const char* feature)
{
    return qEnvironmentVariable("QUILLADO_DESKTOP").split(QLatin1Char(',')).contains(QLatin1String(feature));
}
