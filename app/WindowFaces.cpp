// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's two faces: the 961 × 521 window and the borderless full screen, switched
// by 全屏/窗口 and by the window manager's maximise.

#include "app/FormParts.h"
#include "app/InputBox.h"
#include "app/Unit1.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "presentation/Layout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

using namespace FormParts;

namespace {
const QEvent::Type SysCommandEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// WM_SYSCOMMAND posted to the window's own queue.
class SysCommandEvent : public QEvent {
public:
    explicit SysCommandEvent(quint32 command)
        : QEvent(SysCommandEventType)
        , command(command)
    {
    }
    quint32 command;
};
}

void TForm1::Button6Click()
{
    BringToFront();
    if (!Mode::IsInputBox(CurrentMode()))
        KeyPreview = true;
    else
        Edit1->setFocus();
    if (Button6->text() == captionFullScreen) {
        PostSysCommand(SC_MAXIMIZE);
        Button6->setText(captionWindow);
    } else if (Button6->text() == captionWindow) {
        PostSysCommand(SC_RESTORE);
        Button6->setText(captionFullScreen);
    }
}

void TForm1::PostSysCommand(quint32 command) { QCoreApplication::postEvent(this, new SysCommandEvent(command)); }

bool TForm1::event(QEvent* event)
{
    if (event->type() == SysCommandEventType) {
        const quint32 command = static_cast<SysCommandEvent*>(event)->command;
        Platform::RunHandler([&] { HandleSysCommand(command); });
        return true;
    }
    return QWidget::event(event);
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The title bar's maximise button leads to the full-screen face as well.
    if (event->type() == QEvent::WindowStateChange && !m_applyingLayout && (windowState() & Qt::WindowMaximized))
        PostSysCommand(SC_MAXIMIZE);
}

void TForm1::HandleSysCommand(quint32 command)
{
    if (command == SC_RESTORE)
        ApplyWindowLayout();
    else if (command == SC_MAXIMIZE)
        ApplyFullScreenLayout();
}

void TForm1::PlaceControls(const FaceLayout& layout)
{
    const int slotPixels = PointsToPixels(layout.slotFontPoints);
    for (int k = 1; k <= 4; ++k) {
        QLabel* slot = SlotLabel(k);
        QFont font = slot->font();
        font.setPixelSize(slotPixels);
        slot->setFont(font);
        slot->resize(slotPixels, slotPixels);
    }
    for (const Placement& p : layout.placements) {
        QWidget* w = m_faceControls[std::size_t(p.control)];
        w->move(p.left, p.top < 0 ? w->y() : p.top);
        if (w == Label6)
            m_label6Left = p.left;
    }
    // Phrases take their font from the slot size, so they follow a change of face.
    if (ModeOf(CurrentMode()).slotKind == SlotKind::Phrase && Button1->text() != captionStart) {
        for (int k = 1; k <= 4; ++k)
            if (SlotLabel(k)->text() != captionFinished)
                FitPhraseSlot(SlotLabel(k));
        PlacePhraseHint();
    }
}

void TForm1::CentreOnDesktop()
{
    const QRect desktop = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    QRect client(QPoint(0, 0), size());
    client.moveCenter(desktop.center());
    // On a screen smaller than the window the title bar and the left column (the modes)
    // must stay reachable; the right and bottom edges give way. The frame is known only
    // once the window manager has framed the window: until then assume a usual one.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull())
        frame = QMargins(4, 30, 4, 4);
    if (client.left() - frame.left() < desktop.left())
        client.moveLeft(desktop.left() + frame.left());
    if (client.top() - frame.top() < desktop.top())
        client.moveTop(desktop.top() + frame.top());
    setGeometry(client);
}

void TForm1::ApplyWindowLayout()
{
    m_applyingLayout = true;
    const bool visible = isVisible();
    // Changing the window flags hides and re-creates the window; the learner's keys must
    // still land where they did.
    QWidget* focused = focusWidget();
    setWindowFlags(windowFaceFlags);
    setWindowState(Qt::WindowNoState);
    HoldWindowFaceSize();
    PlaceControls(WindowFaceLayout());
    Button6->setText(captionFullScreen);
    CentreOnDesktop();
    if (visible) {
        show();
        ActivateAfterSwitch();
    }
    if (focused)
        focused->setFocus();
    m_applyingLayout = false;
}

// The window face is 961 × 521 and does not follow its frame. A minimum equal to the maximum
// would keep it so, but X11 window managers then offer no maximise at all, and maximise is
// the title bar's way to the full-screen face: so only a minimum is set, and any other size
// is put back.
void TForm1::HoldWindowFaceSize()
{
    setMinimumSize(WindowFaceClientSize);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(WindowFaceClientSize);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window manager may announce a maximise after its new size: decide a little later.
    if (!m_applyingLayout && event->size() != WindowFaceClientSize && Button6->text() == captionFullScreen)
        QTimer::singleShot(50, this, [this] { SnapBackToWindowFace(); });
}

void TForm1::SnapBackToWindowFace()
{
    if (m_applyingLayout || Button6->text() != captionFullScreen
        || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) || size() == WindowFaceClientSize)
        return;
    resize(WindowFaceClientSize);
}

// Hiding the window to re-create it for the other face makes Qt forget its active window,
// while the window system keeps the same window focused and so never announces it again:
// the box would take keys but show no caret. Qt is told what the window system says.
void TForm1::ActivateAfterSwitch()
{
    raise();
    activateWindow();
    if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(this);
        QT_WARNING_POP
    }
}

void TForm1::ApplyFullScreenLayout()
{
    m_applyingLayout = true;
    const bool visible = isVisible();
    QWidget* focused = focusWidget();
    const QRect screenRect = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Window flags change before showing: changing them on a visible window hides it.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // A bare X server without a window manager does not resize a frameless window itself.
    setGeometry(screenRect);
    if (visible) {
        showFullScreen();
        ActivateAfterSwitch();
    }
    if (focused)
        focused->setFocus();
    BottomRowHeights h;
    h.label5 = Label5->height();
    h.image1 = Image1->height();
    h.button1 = Button1->height();
    h.edit1 = Edit1->height();
    h.button2 = Button2->height();
    h.button4 = Button4->height();
    h.button5 = Button5->height();
    h.button6 = Button6->height();
    h.label8 = Label8->height();
    PlaceControls(FullScreenFaceLayout(screenRect.width(), screenRect.height(), h));
    Button6->setText(captionWindow);
    m_applyingLayout = false;
}
