// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ImeBox.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

ImeBox::ImeBox(QWidget* parent)
    : QLineEdit(parent)
{
    const QString platform = QGuiApplication::platformName();
    m_nativeKeys = platform == QLatin1String("xcb") || platform == QLatin1String("windows");
    if (m_nativeKeys)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

ImeBox::~ImeBox()
{
    if (m_nativeKeys)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ImeBox::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!hasFocus() || !isEnabled() || !window()->isActiveWindow())
        return false;
    bool keyDown = false;
    if (eventType == "xcb_generic_event_t") {
        // The first byte of every xcb event is its type; the top bit marks a sent event.
        constexpr unsigned xcbKeyPress = 2;
        keyDown = (static_cast<const unsigned char*>(message)[0] & 0x7F) == xcbKeyPress;
    }
#ifdef Q_OS_WIN
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    }
#endif
    if (keyDown)
        emit keyCounted();
    return false;
}

void ImeBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    // The box keeps the composition only; what is committed goes to the comparison.
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preeditOnly);
    event->accept();
    if (!commit.isEmpty())
        emit committed(commit);
}

void ImeBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_nativeKeys)
        emit keyCounted();
    if (event->key() == Qt::Key_F1) {
        emit hintRequested();
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        if (text().isEmpty())
            emit backspace();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    // Without an input method (Latin text, digits, punctuation) a key commits at once.
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        emit committed(typed);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
