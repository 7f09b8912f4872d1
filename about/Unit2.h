// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class Form2;
}

// The About box: name, version, date, maker and a short description of the trainer.
// Shown without blocking the main window; closing it only hides it.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

public slots:
    void Button1Click();

private:
    std::unique_ptr<Ui::Form2> ui;
};
