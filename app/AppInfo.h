// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <optional>

class QApplication;

// Who the program is to the desktop and on the command line.
namespace AppInfo {

// Answers --help and --version on `out` and gives the exit status; nothing for any other
// command line, whose arguments the trainer ignores. Runs before the application object
// exists, so that both work without a display.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::FILE* out);

// Names, version, desktop entry and window icon of the running application.
void SetApplicationIdentity(QApplication& app);

}
