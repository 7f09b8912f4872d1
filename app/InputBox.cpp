// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InputBox.h"

#include <QInputMethodEvent>

InputBox::InputBox(QWidget* parent)
    : QLineEdit(parent)
{
}

QVariant InputBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return false;
    return QLineEdit::inputMethodQuery(query);
}

void InputBox::inputMethodEvent(QInputMethodEvent* event) { event->accept(); }
