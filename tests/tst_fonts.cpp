// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

namespace {
// Which face draws each character of a text in a font.
QStringList facesOf(const QFont& font, const QString& text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns())
        faces << run.rawFont().familyName();
    return faces;
}

QImage glyphImage(const QFont& font, QChar c)
{
    const int size = font.pixelSize() * 2;
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignLeft | Qt::AlignTop, QString(c));
    return image;
}

// Share of the inked pixels of either glyph that the other does not ink.
double difference(const QImage& a, const QImage& b)
{
    int inked = 0, differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const bool inkA = qGray(a.pixel(x, y)) < 128, inkB = qGray(b.pixel(x, y)) < 128;
            inked += inkA || inkB;
            differing += inkA != inkB;
        }
    return inked ? double(differing) / inked : 0;
}
}

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void latinFromAClearFaceChineseFromSong_data();
    void latinFromAClearFaceChineseFromSong();
};

void TestFonts::latinFromAClearFaceChineseFromSong_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("slots, 200 px") << SongFont(200);
    QTest::newRow("hint line and input box, 35 px bold") << SongFont(35, true);
    QTest::newRow("About box, 15 px") << SongFont(15);
}

void TestFonts::latinFromAClearFaceChineseFromSong()
{
    QFETCH(QFont, font);
    if (QFontDatabase::hasFamily(QStringLiteral("SimSun")))
        QSKIP("SimSun is installed and draws both");
    for (QChar c : QStringLiteral("Il1|O0"))
        QCOMPARE(facesOf(font, c), QStringList { QStringLiteral("DejaVu Serif") });
    for (QChar c : QStringLiteral("练完"))
        QCOMPARE(facesOf(font, c), QStringList { QStringLiteral("AR PL UMing CN") });
    QStringList mixed = facesOf(font, QStringLiteral("名称:  Quillado"));
    mixed.sort();
    QCOMPARE(mixed, QStringList({ QStringLiteral("AR PL UMing CN"), QStringLiteral("DejaVu Serif") }));
    if (const QString dir = qEnvironmentVariable("QUILLADO_SCREENSHOTS"); !dir.isEmpty()) {
        QImage sample(font.pixelSize() * 8, font.pixelSize() * 3 / 2, QImage::Format_RGB32);
        sample.fill(QColor(240, 240, 240));
        QPainter painter(&sample);
        painter.setFont(font);
        painter.drawText(sample.rect(), Qt::AlignCenter, QStringLiteral("Il1| O0 练"));
        painter.end();
        sample.save(QStringLiteral("%1/fonts-%2.png").arg(dir).arg(font.pixelSize()));
    }
    // Pairs a learner must tell apart: a third of their ink at least differs.
    const char* pairs[] = { "l1", "Il", "I1", "l|", "O0" };
    for (const char* pair : pairs) {
        const double d = difference(glyphImage(font, QLatin1Char(pair[0])), glyphImage(font, QLatin1Char(pair[1])));
        QVERIFY2(d > 0.33, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(pair)).arg(d)));
    }
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
