// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the reference charts that lie beside the program.
//
//   chartgen keyboard OUT.jpg
//   chartgen keypad OUT.jpg
//   chartgen roots ROOTS.tsv OUT.jpg
//
// Run with QT_QPA_PLATFORM=offscreen: it needs fonts, not a display. The output depends only
// on the input table and the installed fonts, so a rebuild gives the same bytes.

#include "Charts.h"
#include "RootTable.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>
#include <exception>

namespace {

int usage()
{
    std::fputs("usage: chartgen keyboard OUT.jpg | keypad OUT.jpg | roots ROOTS.tsv OUT.jpg\n", stderr);
    return 2;
}

bool writeJpeg(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "chartgen: %s: cannot write: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(92);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        std::fprintf(stderr, "chartgen: %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    try {
        const QString& what = args[0];
        if (what == QLatin1String("keyboard") && args.size() == 2)
            return writeJpeg(chartgen::DrawKeyboardChart(), args[1]) ? 0 : 1;
        if (what == QLatin1String("keypad") && args.size() == 2)
            return writeJpeg(chartgen::DrawKeypadChart(), args[1]) ? 0 : 1;
        if (what == QLatin1String("roots") && args.size() == 3) {
            const auto table = chartgen::ReadRootTable(args[1].toStdString());
            return writeJpeg(chartgen::DrawRootChart(table), args[2]) ? 0 : 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "chartgen: %s\n", e.what());
        return 1;
    }
    return usage();
}
