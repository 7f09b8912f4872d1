// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// The input box takes raw Latin letters even while a Chinese input method is active, so a
// learner never has to switch input methods before typing a code. In Qt 6.4 turning off
// WA_InputMethodEnabled does not reach a QLineEdit; answering "not enabled" to the input
// method's query does, and a commit that still arrives is dropped.
class InputBox : public QLineEdit {
    Q_OBJECT
public:
    explicit InputBox(QWidget* parent = nullptr);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
};
