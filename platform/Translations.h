// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own texts (dialog buttons, the input box's context menu) in Chinese, as the rest of
// the program is, whatever the desktop's language. False when Qt's translations are not
// installed; the program then runs on with Qt's English texts.
bool InstallQtChineseTranslations();
