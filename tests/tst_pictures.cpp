// SPDX-License-Identifier: GPL-3.0-or-later
// The decomposition picture set and its loader.

#include "data/AppError.h"
#include "presentation/GifDecode.h"
#include "presentation/Pictures.h"

#include <QFile>
#include <QtTest>

#include <gif_lib.h>

#include <cstring>

namespace {

QByteArray ResourceBytes(int n)
{
    QFile file(QStringLiteral(":/pictures/MYWBGIF%1").arg(n));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct MemoryReader {
    const QByteArray* bytes;
    int pos;
};

int Read(GifFileType* gif, GifByteType* out, int wanted)
{
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    const int n = std::min(wanted, int(r->bytes->size()) - r->pos);
    std::memcpy(out, r->bytes->constData() + r->pos, size_t(n));
    r->pos += n;
    return n;
}

QString ErrorOf(int n)
{
    try {
        LoadDecompositionPicture(n);
    } catch (const AppError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void present_data()
    {
        QTest::addColumn<int>("number");
        for (int n : { 1, 2, 654, 2436, 3000, 3071 })
            QTest::addRow("%d", n) << n;
    }
    void present()
    {
        QFETCH(int, number);
        const QImage image = LoadDecompositionPicture(number);
        QCOMPARE(image.width(), 220);
        QCOMPARE(image.height(), 56);
        // some of the character is drawn black, and the background is near-white
        bool black = false;
        for (int y = 0; y < image.height() && !black; ++y)
            for (int x = 0; x < image.width() && !black; ++x)
                black = qGray(image.pixel(x, y)) == 0;
        QVERIFY(black);
        QVERIFY(qGray(image.pixel(0, 0)) > 240);
    }

    void missing_data()
    {
        QTest::addColumn<int>("number");
        for (int n : { 0, 2437, 2999, 3072, -1, 10000 })
            QTest::addRow("%d", n) << n;
    }
    void missing()
    {
        QFETCH(int, number);
        QCOMPARE(ErrorOf(number), QStringLiteral("Resource MywbGIF%1 not found").arg(number));
    }

    void sameNumberSamePicture()
    {
        const QImage first = LoadDecompositionPicture(77);
        const QImage second = LoadDecompositionPicture(77);
        QCOMPARE(first, second);
        QVERIFY(first != LoadDecompositionPicture(78));
    }

    // Every picture of the set: 220 x 56, one image, not interlaced, no transparency,
    // a four-entry grey global palette, and giflib decodes it.
    void everyPictureIsWellFormed()
    {
        LoadDecompositionPicture(1); // registers the set
        QList<int> numbers;
        for (int n = 1; n <= 2436; ++n)
            numbers << n;
        for (int n = 3000; n <= 3071; ++n)
            numbers << n;
        for (int n : numbers) {
            const QByteArray bytes = ResourceBytes(n);
            QVERIFY2(!bytes.isEmpty(), qPrintable(QString("MYWBGIF%1 missing").arg(n)));
            MemoryReader reader { &bytes, 0 };
            int error = 0;
            GifFileType* gif = DGifOpen(&reader, Read, &error);
            QVERIFY2(gif, qPrintable(QString("MYWBGIF%1: %2").arg(n).arg(GifErrorString(error))));
            const int slurp = DGifSlurp(gif);
            const bool ok = slurp == GIF_OK && gif->SWidth == 220 && gif->SHeight == 56 && gif->ImageCount == 1
                && gif->SColorMap && gif->SColorMap->ColorCount == 4 && !gif->SavedImages[0].ImageDesc.Interlace
                && !gif->SavedImages[0].ImageDesc.ColorMap && gif->SavedImages[0].ImageDesc.Width == 220
                && gif->SavedImages[0].ImageDesc.Height == 56;
            bool grey = ok;
            for (int k = 0; grey && k < 4; ++k) {
                const GifColorType c = gif->SColorMap->Colors[k];
                grey = c.Red == c.Green && c.Green == c.Blue;
            }
            bool transparent = false;
            for (int k = 0; ok && k < gif->SavedImages[0].ExtensionBlockCount; ++k) {
                const ExtensionBlock& ext = gif->SavedImages[0].ExtensionBlocks[k];
                if (ext.Function == GRAPHICS_EXT_FUNC_CODE && ext.ByteCount >= 1 && (ext.Bytes[0] & 1))
                    transparent = true;
            }
            DGifCloseFile(gif, nullptr);
            QVERIFY2(ok && grey && !transparent, qPrintable(QString("MYWBGIF%1 is not as required").arg(n)));
        }
    }

    void damagedGifGivesDecoderError()
    {
        const QByteArray notGif("this is not a picture at all");
        try {
            DecodeGif(reinterpret_cast<const unsigned char*>(notGif.constData()), size_t(notGif.size()), "MywbGIF9");
            QFAIL("no error");
        } catch (const AppError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString("MywbGIF9: %1").arg(GifErrorString(D_GIF_ERR_NOT_GIF_FILE)));
        }

        LoadDecompositionPicture(1);
        const QByteArray cut = ResourceBytes(5).left(60);
        try {
            DecodeGif(reinterpret_cast<const unsigned char*>(cut.constData()), size_t(cut.size()), "MywbGIF5");
            QFAIL("no error");
        } catch (const AppError& e) {
            const QString text = QString::fromUtf8(e.what());
            QVERIFY2(text.startsWith("MywbGIF5: ") && text.size() > 10, qPrintable(text));
        }
    }

    void decodesPalettePixels()
    {
        LoadDecompositionPicture(1);
        const QByteArray bytes = ResourceBytes(1);
        const GifPicture gif
            = DecodeGif(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()), "MywbGIF1");
        QCOMPARE(gif.width, 220);
        QCOMPARE(gif.height, 56);
        QCOMPARE(gif.pixels.size(), size_t(220 * 56));
        QCOMPARE(LoadDecompositionPicture(1).pixel(0, 0), gif.pixels[0]);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
