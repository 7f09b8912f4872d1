// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/Unit2.h"

#include "platform/Face.h"
#include "platform/Fonts.h"
#include "ui_Unit2.h"

namespace {
constexpr int defaultPixelSize = 13;
constexpr int textPixelSize = 15;
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::Form2>())
{
    ui->setupUi(this);

    // A single fixed border with the close button only: no resizing, no minimise or maximise,
    // no context help.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(351, 330);
    // An open About box must not keep the program alive once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    setPalette(ButtonFacePalette());
    setFont(SongFont(defaultPixelSize));
    ui->Button1->setFont(SongFont(defaultPixelSize));
    const QList<QWidget*> texts { ui->Label1, ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->GroupBox1,
        ui->Label6 };
    for (QWidget* w : texts)
        w->setFont(SongFont(textPixelSize));

    // The description keeps a little clear of the group's frame.
    ui->Label6->setContentsMargins(2, 0, 2, 0);

    connect(ui->Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

TForm2::~TForm2() = default;

void TForm2::Button1Click() { close(); }
