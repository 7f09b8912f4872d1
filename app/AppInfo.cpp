// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppInfo.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>

#include <cstring>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// A Windows GUI program has no console of its own: it answers in the one it was started from.
std::FILE* consoleFor(std::FILE* out)
{
#ifdef _WIN32
    if (out == stdout && AttachConsole(ATTACH_PARENT_PROCESS) && std::freopen("CONOUT$", "w", stdout))
        return stdout;
#endif
    return out;
}

}

namespace AppInfo {

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::FILE* out)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            out = consoleFor(out);
            std::fprintf(out, "Quillado %s\n", QUILLADO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            out = consoleFor(out);
            std::fprintf(out,
                "Usage: quillado [--help | --version]\n"
                "\n"
                "A typing trainer for Chinese learners: letters, digits, pinyin, Wubi 86 roots,\n"
                "short codes and characters. The program opens its window and takes no other\n"
                "arguments; its tables, sounds and charts lie beside the executable.\n"
                "\n"
                "  --help     show this text and exit\n"
                "  --version  show the version and exit\n"
                "\n"
                "The manual: man quillado, or manual.html among the program's documents.\n");
            return 0;
        }
    }
    return std::nullopt;
}

void SetApplicationIdentity(QApplication& app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Pelunor"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillado"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLADO_VERSION));
    // Lets the desktop match the window to its entry (and so to the entry's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLADO_APP_ID));

    // The icon is compiled in as raw pixels: decoding a PNG here would load every image-format
    // plugin before the window's first paint.
    const QResource raw(QStringLiteral(":/icons/quillado-64.rgba"));
    constexpr int side = 64;
    if (!raw.isValid() || raw.compressionAlgorithm() != QResource::NoCompression
        || raw.size() != qint64(side) * side * 4)
        return;
    const QImage image(raw.data(), side, side, qsizetype(side) * 4, QImage::Format_RGBA8888);
    app.setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

}
