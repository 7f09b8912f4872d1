// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/Records.h"
#include "session/Drawing.h"
#include "tests/TestSupport.h"

#include <QtTest>

namespace {
RandomSource fixed(std::uint32_t value)
{
    return RandomSource([value] { return value; });
}

Table plainTable(const std::string& content, int recordSize, int adjust = 0)
{
    Table t;
    t.buffer.assign(content.begin(), content.end());
    t.buffer.push_back('\0');
    t.count = int(content.size()) / recordSize + adjust;
    return t;
}
}

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void generatorStep_data();
    void generatorStep();
    void everyDrawReseeds();
    void startCharacters();
    void replacement_data();
    void replacement();
    void replacementNeverRepeatsTheTypedCharacter();
    void cleanField_data();
    void cleanField();
    void fieldsPastTheEndAreCut();
    void fieldUses();
    void pinyinSlot();
    void rootSlotNeverDrawsTheFiller();
    void level1Slot();
    void level2PictureNumber_data();
    void level2PictureNumber();
    void level2BadPictureKeepsOldNumber();
    void wubiSlot();
    void wubiBlankCodesAreEmpty();
    void emptyTableIsRefused();
    void zeroByteHidesLaterRecords();
};

void TestDrawing::generatorStep_data()
{
    QTest::addColumn<uint>("clock");
    QTest::addColumn<uint>("n");
    QTest::addColumn<uint>("seed");
    QTest::addColumn<uint>("index");
    // seed = clock * 134775813 + 1 (mod 2^32); index = seed * n div 2^32, worked by hand.
    QTest::addRow("100 of 26") << 100u << 26u << 592679413u << 3u;
    QTest::addRow("100 of 10") << 100u << 10u << 592679413u << 1u;
    QTest::addRow("100 of 2436") << 100u << 2436u << 592679413u << 336u;
    QTest::addRow("0 of 26") << 0u << 26u << 1u << 0u;
    QTest::addRow("max of 26") << 0xFFFFFFFFu << 26u << 4160191484u << 25u;
    QTest::addRow("max of 2436") << 0xFFFFFFFFu << 2436u << 4160191484u << 2359u;
    QTest::addRow("123456789 of 10") << 123456789u << 10u << 2335298922u << 5u;
    QTest::addRow("any of 1") << 123456789u << 1u << 2335298922u << 0u;
}

void TestDrawing::generatorStep()
{
    QFETCH(uint, clock);
    QFETCH(uint, n);
    QFETCH(uint, seed);
    QFETCH(uint, index);
    RandomSource r = fixed(clock);
    QCOMPARE(uint(r.Index(n)), index);
    QCOMPARE(uint(r.seed), seed);
}

void TestDrawing::everyDrawReseeds()
{
    // With a clock that stands still, every draw gives the same index.
    RandomSource r = fixed(100);
    QCOMPARE(r.Index(26), 3u);
    QCOMPARE(r.Index(26), 3u);
    std::uint32_t t = 0;
    RandomSource moving([&t] { return t++; });
    moving.Index(26);
    QCOMPARE(moving.seed, 1u);
    moving.Index(26);
    QCOMPARE(moving.seed, 134775814u);
}

void TestDrawing::startCharacters()
{
    const char* expected[3] = { "ABCD", "abcd", "1234" };
    for (int mode = 0; mode < 3; ++mode)
        for (int slot = 1; slot <= 4; ++slot)
            QCOMPARE(StartCharacter(mode, slot), std::string(1, expected[mode][slot - 1]));
}

void TestDrawing::replacement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<uint>("clock");
    QTest::addColumn<char>("typed");
    QTest::addColumn<char>("expected");
    // Clock 0 draws index 0, clock 0xFFFFFFFF the last index (25 or 9), clock 100 index 3 / 1.
    QTest::addRow("upper plain") << 0 << 100u << 'A' << 'D';
    QTest::addRow("upper same gives next") << 0 << 100u << 'D' << 'E';
    QTest::addRow("Z after Z is A") << 0 << 0xFFFFFFFFu << 'Z' << 'A';
    QTest::addRow("lower plain") << 1 << 0u << 'b' << 'a';
    QTest::addRow("z after z is a") << 1 << 0xFFFFFFFFu << 'z' << 'a';
    QTest::addRow("digit plain") << 2 << 100u << '5' << '1';
    QTest::addRow("9 after 9 is 1") << 2 << 0xFFFFFFFFu << '9' << '1';
    QTest::addRow("0 from the draw") << 2 << 0u << '5' << '0';
    QTest::addRow("0 after 0 is 1") << 2 << 0u << '0' << '1';
}

void TestDrawing::replacement()
{
    QFETCH(int, mode);
    QFETCH(uint, clock);
    QFETCH(char, typed);
    QFETCH(char, expected);
    RandomSource r = fixed(clock);
    QCOMPARE(ReplacementCharacter(mode, typed, r), expected);
}

void TestDrawing::replacementNeverRepeatsTheTypedCharacter()
{
    std::uint32_t t = 7;
    RandomSource r([&t] { return t += 2654435761u; });
    for (int i = 0; i < 3000; ++i) {
        for (int mode = 0; mode < 3; ++mode) {
            const char typed = mode == 0 ? char('A' + i % 26) : mode == 1 ? char('a' + i % 26) : char('0' + i % 10);
            const char c = ReplacementCharacter(mode, typed, r);
            QVERIFY(c != typed);
            if (mode == 0)
                QVERIFY(c >= 'A' && c <= 'Z');
            else if (mode == 1)
                QVERIFY(c >= 'a' && c <= 'z');
            else
                QVERIFY(c >= '0' && c <= '9');
        }
    }
}

void TestDrawing::cleanField_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("clean");
    QTest::addRow("blanks") << QByteArray("  ab ") << QByteArray("AB");
    QTest::addRow("control bytes") << QByteArray("\t\x01xc\r\n") << QByteArray("XC");
    QTest::addRow("inner blank kept") << QByteArray(" a b ") << QByteArray("A B");
    QTest::addRow("four blanks") << QByteArray("    ") << QByteArray("");
    QTest::addRow("GBK kept") << QByteArray("\xd6\xd0z") << QByteArray("\xd6\xd0Z");
    QTest::addRow("upper stays") << QByteArray("ZHUANG") << QByteArray("ZHUANG");
}

void TestDrawing::cleanField()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, clean);
    QCOMPARE(QByteArray::fromStdString(CleanField(raw.toStdString())), clean);
}

void TestDrawing::fieldsPastTheEndAreCut()
{
    const std::string text = "abcdefgh";
    QCOMPARE(RecordField(text, 5, 1, 1, 2), std::string("fg"));
    QCOMPARE(RecordField(text, 5, 1, 3, 5), std::string("h"));
    QCOMPARE(RecordField(text, 5, 1, 4, 5), std::string());
    QCOMPARE(RecordField(text, 5, 9, 1, 2), std::string());
}

void TestDrawing::fieldUses()
{
    // Record 1 of a 14-byte table: a level-2 record whose picture field reads "  12".
    const std::string text = std::string(14, 'x') + "\xd3\xdagf      12  ";
    QCOMPARE(ReadField(text, 14, 1, { 0, 2, FieldUse::Raw }), std::string("\xd3\xda"));
    QCOMPARE(ReadField(text, 14, 1, { 2, 2, FieldUse::Cleaned }), std::string("GF"));
    QCOMPARE(ReadField(text, 14, 1, { 2, 2, FieldUse::Raw }), std::string("gf"));
    QCOMPARE(ReadField(text, 14, 1, { 8, 4, FieldUse::Trimmed }), std::string("12"));
    QCOMPARE(ReadField(text, 14, 1, { 8, 4, FieldUse::Raw }), std::string("  12"));
    // Cut at the end of the text, empty beyond it.
    QCOMPARE(ReadField(text, 14, 1, { 12, 4, FieldUse::Raw }), std::string("  "));
    QCOMPARE(ReadField(text, 14, 2, { 0, 2, FieldUse::Raw }), std::string());
    QCOMPARE(ReadField(text, 14, 0xFFFFFFFFu, { 0, 2, FieldUse::Raw }), std::string());
}

void TestDrawing::pinyinSlot()
{
    Table t = plainTable(PlainPy({ { "男", "nan" }, { "庄", "ZHUANG" } }), 16);
    RandomSource r = fixed(0xFFFFFFFF);
    tavcharsetpy slot;
    DrawSlot(t, r, slot);
    QCOMPARE(slot.pinyin, std::string("ZHUANG"));
    QCOMPARE(slot.text, Gbk("庄"));
}

void TestDrawing::rootSlotNeverDrawsTheFiller()
{
    const std::string content = PlainWbzg({ { "王", "g" }, { "土", "f" } }); // plus its filler record
    Table t = plainTable(content, 5, -1);
    QCOMPARE(t.count, 2);
    RandomSource last = fixed(0xFFFFFFFF);
    tavcharsetzg slot;
    DrawSlot(t, last, slot);
    QCOMPARE(slot.text, Gbk("土"));
    QCOMPARE(slot.code, std::string("F"));
}

void TestDrawing::level1Slot()
{
    Table t = plainTable(PlainWb1({ { "不", "i" } }), 5);
    RandomSource r = fixed(3);
    tavcharset1 slot;
    DrawSlot(t, r, slot);
    QCOMPARE(slot.code, std::string("I"));
    QCOMPARE(slot.text, Gbk("不"));
}

void TestDrawing::level2PictureNumber_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("number");
    QTest::addRow("two blanks then 12") << QByteArray("  12") << 12;
    QTest::addRow("right-aligned 3071") << QByteArray("3071") << 3071;
    QTest::addRow("left-aligned") << QByteArray("7   ") << 7;
    QTest::addRow("signed") << QByteArray(" -5 ") << -5;
}

void TestDrawing::level2PictureNumber()
{
    QFETCH(QByteArray, field);
    QFETCH(int, number);
    Table t = plainTable(PlainWb2({ { "五", "gg", field.toStdString() } }), 14);
    RandomSource r = fixed(1);
    tavcharset2 slot;
    DrawSlot(t, r, slot);
    QCOMPARE(slot.pictureNo, number);
    QCOMPARE(slot.code, std::string("GG"));
}

void TestDrawing::level2BadPictureKeepsOldNumber()
{
    Table t = plainTable(PlainWb2({ { "五", "gg", " 1x " } }), 14);
    RandomSource r = fixed(1);
    tavcharset2 slot;
    slot.pictureNo = 44;
    try {
        DrawSlot(t, r, slot);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'1x' is not a valid integer value"));
        QCOMPARE(e.encoding(), AppError::Encoding::Gbk);
    }
    QCOMPARE(slot.text, Gbk("五"));
    QCOMPARE(slot.code, std::string("GG"));
    QCOMPARE(slot.pictureNo, 44);
}

void TestDrawing::wubiSlot()
{
    Table t = plainTable(PlainWb({ { { "gggg", "g", "", "" }, "一" }, { { "xcag", "x", "xc", "xca" }, "经" } }), 28);
    RandomSource r = fixed(0xFFFFFFFF);
    tavcharset slot;
    slot.hintStep = 3;
    DrawSlot(t, r, slot);
    QCOMPARE(slot.codes[1], std::string("XCAG"));
    QCOMPARE(slot.codes[2], std::string("X"));
    QCOMPARE(slot.codes[3], std::string("XC"));
    QCOMPARE(slot.codes[4], std::string("XCA"));
    QCOMPARE(slot.text, Gbk("经"));
    QCOMPARE(slot.pictureNo, 2);
    QCOMPARE(slot.hintStep, std::uint16_t(1));
    RandomSource first = fixed(0);
    DrawSlot(t, first, slot);
    QCOMPARE(slot.pictureNo, 1);
}

void TestDrawing::wubiBlankCodesAreEmpty()
{
    Table t = plainTable(PlainWb({ { { "gggg", "", "", "" }, "一" } }), 28);
    RandomSource r = fixed(0);
    tavcharset slot;
    DrawSlot(t, r, slot);
    QVERIFY(slot.codes[2].empty() && slot.codes[3].empty() && slot.codes[4].empty());
}

void TestDrawing::emptyTableIsRefused()
{
    Table empty = plainTable("", 28);
    Table rootsOnlyFiller = plainTable("     ", 5, -1);
    RandomSource r = fixed(0);
    tavcharset wb;
    tavcharsetzg zg;
    QVERIFY_THROWS_EXCEPTION(AppError, DrawSlot(empty, r, wb));
    QVERIFY_THROWS_EXCEPTION(AppError, DrawSlot(rootsOnlyFiller, r, zg));
}

void TestDrawing::zeroByteHidesLaterRecords()
{
    std::string content = PlainWb1({ { "一", "g" }, { "地", "f" } });
    content[5] = '\0';
    Table t = plainTable(content, 5);
    RandomSource last = fixed(0xFFFFFFFF);
    tavcharset1 slot;
    DrawSlot(t, last, slot);
    QVERIFY(slot.text.empty());
    QVERIFY(slot.code.empty());
}

QTEST_GUILESS_MAIN(TestDrawing)
#include "tst_drawing.moc"
