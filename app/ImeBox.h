// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QLineEdit>

// The input box of the input-method way: the learner's own input method composes in it as in
// any text field, and each piece of text it commits is handed on instead of being kept, so the
// box only ever shows the composition under way. Keys are counted as they leave the keyboard:
// on X11 and Windows an input method takes most keys before Qt turns them into key events, so
// they are counted from the window system's own messages there.
class ImeBox : public QLineEdit, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit ImeBox(QWidget* parent = nullptr);
    ~ImeBox() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void committed(const QString& text);
    void backspace();
    void keyCounted();
    void hintRequested();

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_nativeKeys = false; // keys are counted from the window system's messages
};
