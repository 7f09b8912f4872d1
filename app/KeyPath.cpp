// SPDX-License-Identifier: GPL-3.0-or-later
// How a typed key reaches the window's handlers: once, whichever control holds the focus.

#include "app/FormParts.h"
#include "app/InputBox.h"
#include "app/Unit1.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QKeyEvent>

using namespace FormParts;

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && !m_resending) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (watched == Edit1 && keyEvent->key() >= Qt::Key_F1 && keyEvent->key() <= Qt::Key_F4)
            Platform::RunHandler([&] { Edit1KeyDown(quint16(VK_F1 + (keyEvent->key() - Qt::Key_F1))); });
        return DeliverCharacter(watched, keyEvent);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    // A key the focused child ignores travels on to the window as the same event, and the
    // child's filter has judged it already; so has the filter a changed character was resent
    // past. Only a key delivered to the window itself, with no child holding the focus, is
    // judged here.
    if (m_resending || KeyPreviewedByChild()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!DeliverCharacter(this, event))
        QWidget::keyPressEvent(event);
}

bool TForm1::KeyPreviewedByChild() const
{
    QWidget* focused = focusWidget();
    return focused && focused != this && m_previewedChildren.contains(focused);
}

// One typed character on its way: the window's handler first (while KeyPreview is on),
// then the input box's, then the control itself unless a handler consumed it. Returns true
// when the control is not to see the original event.
bool TForm1::DeliverCharacter(QObject* receiver, QKeyEvent* event)
{
    QString text = event->text();
    if (text.isEmpty()) {
        switch (event->key()) {
        case Qt::Key_Backspace:
            text = QStringLiteral("\b");
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            text = QStringLiteral("\r");
            break;
        case Qt::Key_Escape:
            text = QStringLiteral("\x1b");
            break;
        default:
            return false;
        }
    }
    // Alt+letter is a menu accelerator, not typing; Tab moves the focus.
    if (text.size() != 1 || text == QStringLiteral("\t") || (event->modifiers() & Qt::AltModifier))
        return false;
    const QChar ch = text.at(0);
    // A Chinese character arrives as its first GBK byte, which no judge keeps.
    const std::string bytes = Platform::ToGbk(text);
    const char original = ch.unicode() < 0x80 ? char(ch.unicode()) : (bytes.empty() ? char(0x80) : bytes[0]);
    char key = original;
    if (KeyPreview)
        Platform::RunHandler([&] { FormKeyPress(key); });
    if (key != 0 && receiver == Edit1)
        Platform::RunHandler([&] { Edit1KeyPress(key); });
    if (key == 0)
        return true;
    if (key == original)
        return false;
    if (receiver == this)
        return true; // the window itself has no use for the changed character
    // A handler changed the character: the control receives the changed one instead.
    QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), QString(QChar(uchar(key))));
    m_resending = true;
    QCoreApplication::sendEvent(receiver, &changed);
    m_resending = false;
    return true;
}
