// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// What the entries of the help menu do: open a reference file or the product's web page
// with the desktop's own viewer, or show an About box.
namespace HelpActions {

// The product's web page, opened by "软件更新".
inline constexpr const char* productPageUrl = "https://quillado.pelunor.example/";

// File names of the reference material that lies beside the program.
inline constexpr const char16_t* keyboardChart = u"标准键盘键位图.jpg";
inline constexpr const char16_t* keypadChart = u"数字键盘指法图.jpg";
inline constexpr const char16_t* rootChart = u"五笔字根图86版.jpg";
inline constexpr const char16_t* wubiDocument = u"五笔字型简述.doc";

// Asks the desktop to open the named file in the program's directory. The whole path goes as
// one local-file URL; whether a viewer exists or the file is there is the desktop's business,
// so nothing is reported.
void OpenReferenceFile(const QString& fileName);

// Asks the desktop to show the product's web page in the default browser.
void OpenProductPage();

// Shows a new About box each time, without blocking the main window, centred over it. The box
// belongs to the application (not to the main window) and lives until the application ends.
QWidget* ShowAboutBox(QWidget* mainWindow);

}
