// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

QFont SongFont(int pixelSize, bool bold)
{
    QFont font;
    // Where SimSun is missing, the Latin letters, digits and signs come from DejaVu Serif,
    // in which I l 1 | and O 0 cannot be mistaken for one another (in AR PL UMing CN a
    // lower-case l is the digit 1), and Chinese from the Song faces after it.
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("DejaVu Serif"),
        QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("serif") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

bool ChineseFontInstalled() { return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty(); }
