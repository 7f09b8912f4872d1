// SPDX-License-Identifier: GPL-3.0-or-later
// The core's GBK table against glibc's iconv, which it was made from, for every code in both
// directions; the string conversions around it; and the widget boundary against Qt's own
// codec where Qt has one.

#include "data/Gbk.h"
#include "platform/Platform.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define QUILLADO_HAVE_ICONV 1
#endif

using namespace std::string_literals;

namespace {

#ifdef QUILLADO_HAVE_ICONV
// One iconv conversion of a whole input; nothing when iconv refuses any of it.
class Iconv {
public:
    Iconv(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> operator()(std::string_view in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)
            || iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    iconv_t m_cd;
};
#endif

std::string utf32(char32_t c) { return std::string(reinterpret_cast<const char*>(&c), sizeof c); }

QString hex(std::string_view bytes)
{
    return QString::fromLatin1(QByteArray(bytes.data(), qsizetype(bytes.size())).toHex(' ').toUpper());
}

// Every two-byte code GBK names, in code order.
std::string allGbkCharacters()
{
    std::string out;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (gbk::DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)) != 0) {
                out += static_cast<char>(lead);
                out += static_cast<char>(trail);
            }
    return out;
}

}

class TestGbk : public QObject {
    Q_OBJECT
private slots:
    void everyByteAndPairDecodesAsIconv();
    void everyCodePointEncodesAsIconv();
    void knownCharacters_data();
    void knownCharacters();
    void strictConversionsRefuseBadInput_data();
    void strictConversionsRefuseBadInput();
    void replacingKeepsEverythingElse_data();
    void replacingKeepsEverythingElse();
    void utf8RoundTripsTheWholeTable();
    void widgetBoundaryAgreesWithQtCodec();
};

void TestGbk::everyByteAndPairDecodesAsIconv()
{
#ifdef QUILLADO_HAVE_ICONV
    Iconv fromGbk("UTF-32LE", "CP936");
    QVERIFY(fromGbk.valid());
    int characters = 0;
    for (int lead = 0; lead <= 0xFF; ++lead) {
        const std::string one(1, static_cast<char>(lead));
        const auto expectOne = fromGbk(one);
        const auto gotOne = gbk::ToUtf16(one);
        QVERIFY2(expectOne.has_value() == gotOne.has_value(), qPrintable(hex(one)));
        if (gotOne) {
            QCOMPARE(gotOne->size(), size_t(1));
            QCOMPARE(utf32((*gotOne)[0]), *expectOne);
            continue;
        }
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair { static_cast<char>(lead), static_cast<char>(trail) };
            const auto expect = fromGbk(pair);
            const auto got = gbk::ToUtf16(pair);
            // iconv may read a lead byte before ASCII as two characters' worth; only pairs
            // that iconv reads as one character count as GBK characters.
            const bool oneCharacter = expect && expect->size() == 4;
            QVERIFY2(oneCharacter == (got && got->size() == 1), qPrintable(hex(pair)));
            if (oneCharacter) {
                QCOMPARE(utf32((*got)[0]), *expect);
                QCOMPARE(gbk::DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)),
                    char32_t((*got)[0]));
                ++characters;
            }
        }
    }
    QCOMPARE(characters, 21791);
#else
    QSKIP("no iconv on this system");
#endif
}

void TestGbk::everyCodePointEncodesAsIconv()
{
#ifdef QUILLADO_HAVE_ICONV
    Iconv toGbk("CP936", "UTF-32LE");
    QVERIFY(toGbk.valid());
    int encodable = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        auto expect = toGbk(utf32(c));
        // glibc drops the tag characters U+E0000-U+E007F without a trace: no code either.
        if (expect && expect->empty())
            expect.reset();
        const int got = gbk::Encode(c);
        QVERIFY2(expect.has_value() == (got >= 0), qPrintable(QString::number(uint(c), 16)));
        if (!expect)
            continue;
        ++encodable;
        std::string bytes;
        if (got >= 0x100)
            bytes += static_cast<char>(got >> 8);
        bytes += static_cast<char>(got & 0xFF);
        QCOMPARE(hex(bytes), hex(*expect));
    }
    QCOMPARE(encodable, 128 + 1 + 21791);
#else
    QSKIP("no iconv on this system");
#endif
}

void TestGbk::knownCharacters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("first GB2312 hanzi") << QByteArray("\xB0\xA1") << QStringLiteral("啊");
    QTest::newRow("the slots' placeholder and end mark") << QByteArray("\xC1\xB7\xCD\xEA") << QStringLiteral("练完");
    QTest::newRow("ideographic space") << QByteArray("\xA1\xA1") << QString(QChar(0x3000));
    QTest::newRow("full-width exclamation") << QByteArray("\xA3\xA1") << QStringLiteral("！");
    QTest::newRow("pinyin u with diaeresis") << QByteArray("\xA8\xB9") << QStringLiteral("ü");
    QTest::newRow("euro sign, one byte") << QByteArray("\x80") << QStringLiteral("€");
    QTest::newRow("last GBK/4 code") << QByteArray("\xFE\x4F") << QString(QChar(0xFA29));
    QTest::newRow("ASCII between hanzi") << QByteArray("ab\xD7\xD6 1") << QStringLiteral("ab字 1");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestGbk::knownCharacters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const auto decoded = gbk::ToUtf16(bytes.toStdString());
    QVERIFY(decoded);
    QCOMPARE(QString::fromStdU16String(*decoded), text);
    const auto encoded = gbk::FromUtf16(text.toStdU16String());
    QVERIFY(encoded);
    QCOMPARE(QByteArray::fromStdString(*encoded), bytes);
    QCOMPARE(gbk::ToUtf8(bytes.toStdString()), std::optional(text.toStdString()));
    QCOMPARE(gbk::FromUtf8(text.toStdString()), std::optional(bytes.toStdString()));
}

void TestGbk::strictConversionsRefuseBadInput_data()
{
    QTest::addColumn<QByteArray>("gbkBytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("utf8Bytes");
    QTest::newRow("lead byte at the end") << QByteArray("ab\xC1") << QString() << QByteArray();
    QTest::newRow("lead byte before a blank") << QByteArray("\xC1 ") << QString() << QByteArray();
    QTest::newRow("byte FF") << QByteArray("\xFF") << QString() << QByteArray();
    QTest::newRow("user-defined area") << QByteArray("\xAA\xA1") << QString() << QByteArray();
    QTest::newRow("outside the basic plane") << QByteArray() << QString::fromUcs4(U"\U0001F600") << QByteArray();
    QTest::newRow("lone surrogate") << QByteArray() << QString(QChar(0xD800)) << QByteArray();
    QTest::newRow("Latin letter GBK lacks") << QByteArray() << QStringLiteral("ß") << QByteArray();
    QTest::newRow("private use") << QByteArray() << QString(QChar(0xE000)) << QByteArray();
    QTest::newRow("overlong UTF-8") << QByteArray() << QString() << QByteArray("\xC0\x80");
    QTest::newRow("UTF-8 surrogate") << QByteArray() << QString() << QByteArray("\xED\xA0\x80");
    QTest::newRow("cut UTF-8") << QByteArray() << QString() << QByteArray("\xE5\xAD");
    QTest::newRow("stray continuation") << QByteArray() << QString() << QByteArray("\x80");
}

void TestGbk::strictConversionsRefuseBadInput()
{
    QFETCH(QByteArray, gbkBytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, utf8Bytes);
    if (!gbkBytes.isEmpty()) {
        QVERIFY(!gbk::ToUtf16(gbkBytes.toStdString()));
        QVERIFY(!gbk::ToUtf8(gbkBytes.toStdString()));
    }
    if (!text.isEmpty()) {
        QVERIFY(!gbk::FromUtf16(text.toStdU16String()));
        // UTF-8 cannot carry a lone surrogate at all: the rows of bad UTF-8 cover that.
        if (text.size() != 1 || !text.front().isSurrogate())
            QVERIFY(!gbk::FromUtf8(text.toStdString()));
    }
    if (!utf8Bytes.isEmpty())
        QVERIFY(!gbk::FromUtf8(utf8Bytes.toStdString()));
}

void TestGbk::replacingKeepsEverythingElse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // A pair inside the two-byte code space is one bad character; a lead byte before a byte
    // that cannot trail is bad alone, and that byte survives.
    QTest::newRow("user-defined pair") << QByteArray("a\xAA\xA1z") << QStringLiteral("a\uFFFDz");
    QTest::newRow("lead before a blank") << QByteArray("\xC1 \xCD\xEA") << QStringLiteral("\uFFFD 完");
    QTest::newRow("lead at the end") << QByteArray("\xC1\xB7\xC1") << QStringLiteral("练\uFFFD");
    QTest::newRow("byte FF") << QByteArray("\xFF\xB0\xA1") << QStringLiteral("\uFFFD啊");
}

void TestGbk::replacingKeepsEverythingElse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdU16String(*gbk::ToUtf16(bytes.toStdString(), gbk::OnError::Replace)), text);
    QCOMPARE(Platform::FromGbk(bytes.toStdString()), text);

    // Each character GBK cannot hold becomes one '?', a surrogate pair included.
    const QString mixed
        = QStringLiteral("练") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("ß完") + QChar(0xDC00);
    QCOMPARE(QByteArray::fromStdString(Platform::ToGbk(mixed)), QByteArray("\xC1\xB7??\xCD\xEA?"));
}

void TestGbk::utf8RoundTripsTheWholeTable()
{
    const std::string all = allGbkCharacters();
    QCOMPARE(all.size(), size_t(2 * 21791));
    const auto utf8 = gbk::ToUtf8(all);
    QVERIFY(utf8);
    QCOMPARE(gbk::FromUtf8(*utf8), std::optional(all));
}

void TestGbk::widgetBoundaryAgreesWithQtCodec()
{
    QStringDecoder decoder("GBK");
    QStringEncoder encoder("GBK");
    if (!decoder.isValid() || !encoder.isValid())
        QSKIP("this Qt has no GBK codec of its own (built without ICU)");
    const std::string all = "Quillado 0-9 \x80" + allGbkCharacters();
    const QString expect = decoder.decode(QByteArray::fromStdString(all));
    QVERIFY(!decoder.hasError());
    QCOMPARE(Platform::FromGbk(all), expect);
    QCOMPARE(QByteArray::fromStdString(Platform::ToGbk(expect)), QByteArray(encoder.encode(expect)));
}

QTEST_GUILESS_MAIN(TestGbk)
#include "tst_gbk.moc"
