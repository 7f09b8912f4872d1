// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for the start-up benchmark: a bare Qt Widgets window of the trainer's size with
// one Chinese label and nothing else, measured by the same preloaded first-paint probe.
// Started in turn with the program, it shows how much of the start-up time is the trainer's own.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("练习 Quillado"));
    label.resize(961, 521);
    label.show();
    return app.exec();
}
