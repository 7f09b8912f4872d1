#include "platform/Fonts.h"

#include <QStringList>

QFont SongFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN"),
        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("serif") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
