// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtChineseTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Qt's installed translations first; a program shipped with its own Qt carries them beside itself.
    for (const QString& dir : { QLibraryInfo::path(QLibraryInfo::TranslationsPath),
             QCoreApplication::applicationDirPath() + QStringLiteral("/translations") }) {
        if (translator->load(QStringLiteral("qtbase_zh_CN"), dir))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}
