// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "session/SlotBank.h"

#include <QtTest>

namespace {
// GBK bytes of the characters the tables below hold.
const std::string nanChar = "\xc4\xd0"; // 男
const std::string nvChar = "\xc5\xae"; // 女
const std::string zhuang = "\xd7\xaf"; // 庄
const std::string wang = "\xcd\xf5"; // 王
const std::string tu = "\xcd\xc1"; // 土
const std::string yi = "\xd2\xbb"; // 一
const std::string di = "\xb5\xd8"; // 地
const std::string yu = "\xd3\xda"; // 于
const std::string tian = "\xcc\xec"; // 天
const std::string jing = "\xbe\xad"; // 经
const std::string guo = "\xb9\xfa"; // 国

void setTable(Table& table, const std::string& content, int count)
{
    table.buffer.assign(content.begin(), content.end());
    table.buffer.push_back('\0');
    table.count = count;
}

// Two records in every table, laid out byte for byte as the data files hold them.
DataTables twoOfEach()
{
    DataTables t;
    setTable(t.py, "zhuang      " + zhuang + "  nan         " + nanChar + "  ", 2);
    setTable(t.wbzg, wang + "g  " + tu + "f       ", 2); // the last record is the filler
    setTable(t.wb1, yi + "g  " + di + "f  ", 2);
    setTable(t.wb2, yu + "gf       2  " + tian + "gd    3000  ", 2);
    setTable(t.wb, "xcagx   xc  xca         " + jing + "  lgyil   lgy             " + guo + "  ", 2);
    return t;
}

// A clock reading that makes the next draw pick index r of n.
std::uint32_t clockFor(std::uint32_t n, std::uint32_t r)
{
    for (std::uint32_t c = 0;; ++c)
        if (RandomSource([c] { return c; }).Index(n) == r)
            return c;
}

QByteArray bytes(const std::string& s) { return QByteArray::fromStdString(s); }
}

class TestSlotBank : public QObject {
    Q_OBJECT
private slots:
    void fillShowsTheModesItems_data();
    void fillShowsTheModesItems();
    void fillIsAllOrNothing();
    void emptyTableNamesItsFile();
    void attemptsHitTheLeftmostSlot();
    void emptyAttemptNeverHits();
    void pinyinFollowHitsOnlyTheTarget();
    void keysHitSingleKeySlots();
    void refillDrawsAnew();
    void hints_data();
    void hints();
    void wubiHintStepsGuideDoesNot();
    void zeroedSlotsHint();
    void noModeDoesNothing();
    void phrasesNeedTheirBook();
    void phrasesHitShowAndHint();

private:
    DataTables m_tables = twoOfEach();
    std::uint32_t m_clock = 0;
    RandomSource m_random { [this] { return m_clock; } };
};

void TestSlotBank::fillShowsTheModesItems_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<QByteArray>>("shown");
    const auto four = [](const std::string& s) { return QList<QByteArray>(4, bytes(s)); };
    QTest::addRow("upper") << 0 << QList<QByteArray> { "A", "B", "C", "D" };
    QTest::addRow("lower") << 1 << QList<QByteArray> { "a", "b", "c", "d" };
    QTest::addRow("digits") << 2 << QList<QByteArray> { "1", "2", "3", "4" };
    QTest::addRow("pinyin") << 3 << four(zhuang);
    QTest::addRow("roots") << 4 << four(wang);
    QTest::addRow("level 1") << 5 << four(yi);
    QTest::addRow("level 2") << 6 << four(yu);
    QTest::addRow("wubi") << 7 << four(jing);
    QTest::addRow("pinyin follow") << 8 << four(zhuang);
    QTest::addRow("wubi follow") << 9 << four(jing);
}

void TestSlotBank::fillShowsTheModesItems()
{
    QFETCH(int, mode);
    QFETCH(QList<QByteArray>, shown);
    SlotBank bank(m_tables, m_random);
    m_clock = 0; // every draw picks record 0
    bank.Fill(mode);
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(bytes(bank.ShownText(mode, k)), shown[k - 1]);
}

void TestSlotBank::fillIsAllOrNothing()
{
    DataTables tables = twoOfEach();
    // The second level-2 record's picture field is no number.
    setTable(tables.wb2, yu + "gf       2  " + tian + "gd    x1    ", 2);
    int draws = 0;
    RandomSource random([&] { return ++draws == 3 ? clockFor(2, 1) : 0u; });
    SlotBank bank(tables, random);
    bank.wb2Slots[1] = { "GS", "old", 7 };
    QVERIFY_THROWS_EXCEPTION(AppError, bank.Fill(Mode::Level2));
    QCOMPARE(draws, 3); // slots 1 and 2 were drawn, slot 3 failed
    QCOMPARE(bank.wb2Slots[1].code, std::string("GS"));
    QCOMPARE(bank.wb2Slots[1].pictureNo, 7);
    QCOMPARE(bank.wb2Slots[2].text, std::string());
    QCOMPARE(bank.wb2Slots[3].text, std::string());
}

void TestSlotBank::emptyTableNamesItsFile()
{
    DataTables tables = twoOfEach();
    setTable(tables.py, "", 0);
    setTable(tables.wbzg, "     ", 0); // only the filler record
    SlotBank bank(tables, m_random);
    QCOMPARE(bank.EmptyTableFile(Mode::Pinyin), "py.dat");
    QCOMPARE(bank.EmptyTableFile(Mode::PinyinFollow), "py.dat");
    QCOMPARE(bank.EmptyTableFile(Mode::Roots), "wbzg.dat");
    QCOMPARE(bank.EmptyTableFile(Mode::WubiChars), nullptr);
    QCOMPARE(bank.EmptyTableFile(Mode::Digits), nullptr);
    QVERIFY_THROWS_EXCEPTION(AppError, bank.Fill(Mode::Pinyin));
}

void TestSlotBank::attemptsHitTheLeftmostSlot()
{
    SlotBank bank(m_tables, m_random);
    bank.wbSlots[2].codes = { "", "XCAG", "X", "", "" };
    bank.wbSlots[2].text = jing;
    bank.wbSlots[3].codes = { "", "LGYI", "L", "LGY", "X" };
    bank.wbSlots[3].text = guo;
    const Judgement fourth = bank.JudgeAttempt(Mode::WubiChars, "X", "");
    QCOMPARE(fourth.slot, 2);
    QCOMPARE(bytes(fourth.item), bytes(jing));
    QCOMPARE(bank.JudgeAttempt(Mode::WubiFollow, "LGY", "").slot, 3); // any slot, whatever the guide
    QCOMPARE(bank.JudgeAttempt(Mode::WubiChars, "XC", "").hit(), false);
    QCOMPARE(bank.JudgeAttempt(Mode::WubiChars, "XC", "").item, std::string());
    // Another mode's table is not looked at.
    QCOMPARE(bank.JudgeAttempt(Mode::Level1, "X", "").hit(), false);
}

void TestSlotBank::emptyAttemptNeverHits()
{
    SlotBank bank(m_tables, m_random); // every code field empty
    for (int mode = 0; mode < Mode::Count; ++mode)
        QVERIFY2(!bank.JudgeAttempt(mode, "", "").hit(), qPrintable(QString::number(mode)));
}

void TestSlotBank::pinyinFollowHitsOnlyTheTarget()
{
    SlotBank bank(m_tables, m_random);
    bank.pySlots = { tavcharsetpy {}, { "NAN", nanChar }, { "NV", nvChar }, { "NAN", nanChar }, { "LE", "" } };
    QCOMPARE(bank.JudgeAttempt(Mode::PinyinFollow, "NV", "NAN").hit(), false);
    QCOMPARE(bank.JudgeAttempt(Mode::PinyinFollow, "NAN", "NAN").slot, 1);
    QCOMPARE(bank.JudgeAttempt(Mode::PinyinFollow, "NV", "NV").slot, 2);
    QCOMPARE(bank.JudgeAttempt(Mode::Pinyin, "NV", "NAN").slot, 2); // the drill has no target
}

void TestSlotBank::keysHitSingleKeySlots()
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::UpperLetters);
    const Judgement c = bank.JudgeKey(Mode::UpperLetters, 'C');
    QCOMPARE(c.slot, 3);
    QCOMPARE(c.item, std::string("C"));
    QCOMPARE(bank.JudgeKey(Mode::UpperLetters, 'c').hit(), false); // folding is the caller's
    QCOMPARE(bank.JudgeKey(Mode::UpperLetters, 'E').hit(), false);
    QCOMPARE(bank.JudgeKey(Mode::Pinyin, 'C').hit(), false);
}

void TestSlotBank::refillDrawsAnew()
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::Digits);
    m_clock = clockFor(10, 9);
    bank.Refill(Mode::Digits, 3, '9'); // 9 drawn for a typed 9 gives 1
    QCOMPARE(bank.keySlots[3], std::string("1"));
    bank.Refill(Mode::Digits, 4, '4');
    QCOMPARE(bank.keySlots[4], std::string("9"));

    m_clock = 0;
    bank.Fill(Mode::WubiChars);
    bank.Hint(Mode::WubiChars, 2); // steps slot 2 on
    m_clock = clockFor(2, 1);
    bank.Refill(Mode::WubiChars, 2);
    QCOMPARE(bytes(bank.ShownText(Mode::WubiChars, 2)), bytes(guo));
    QCOMPARE(bank.wbSlots[2].pictureNo, 2);
    QCOMPARE(bank.wbSlots[2].hintStep, std::uint16_t(1));
    QCOMPARE(bank.wbSlots[2].codes[4], std::string());
    QCOMPARE(bytes(bank.ShownText(Mode::WubiChars, 1)), bytes(jing)); // the others stay
}

void TestSlotBank::hints_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("showsLine");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("character"); // empty: none
    QTest::addColumn<int>("picture"); // -1: none
    QTest::addRow("upper") << 0 << false << QByteArray() << QByteArray() << -1;
    QTest::addRow("digits") << 2 << false << QByteArray() << QByteArray() << -1;
    QTest::addRow("pinyin in lower case") << 3 << true << QByteArray("zhuang") << QByteArray() << -1;
    QTest::addRow("roots") << 4 << true << QByteArray("G") << QByteArray() << -1;
    QTest::addRow("level 1") << 5 << true << QByteArray("G") << QByteArray() << -1;
    QTest::addRow("level 2 with picture") << 6 << true << QByteArray("GF") << QByteArray() << 2;
    QTest::addRow("wubi first code") << 7 << true << QByteArray("XCAG") << QByteArray() << 1;
    QTest::addRow("pinyin follow with character") << 8 << true << QByteArray("zhuang") << bytes(zhuang) << -1;
    QTest::addRow("wubi follow") << 9 << true << QByteArray("XCAG") << QByteArray() << 1;
}

void TestSlotBank::hints()
{
    QFETCH(int, mode);
    QFETCH(bool, showsLine);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, character);
    QFETCH(int, picture);
    SlotBank bank(m_tables, m_random);
    m_clock = 0;
    bank.Fill(mode);
    const SlotHint hint = bank.Hint(mode, 4);
    QCOMPARE(hint.showsLine, showsLine);
    QCOMPARE(bytes(hint.line), line);
    QCOMPARE(bytes(hint.character.value_or("")), character);
    QCOMPARE(hint.picture.value_or(-1), picture);
}

void TestSlotBank::wubiHintStepsGuideDoesNot()
{
    SlotBank bank(m_tables, m_random);
    m_clock = 0;
    bank.Fill(Mode::WubiFollow);
    for (const char* code : { "XCAG", "X", "XC", "XCA", "XCAG" })
        QCOMPARE(bank.Hint(Mode::WubiFollow, 2).line, std::string(code));
    QCOMPARE(bank.Hint(Mode::WubiFollow, 1).line, std::string("XCAG")); // each slot cycles on its own
    QCOMPARE(bank.wbSlots[2].hintStep, std::uint16_t(2));

    const SlotHint guide = bank.Guide(Mode::WubiFollow, 2);
    QCOMPARE(guide.line, std::string("XCAG"));
    QCOMPARE(guide.picture, std::optional<std::int32_t>(1));
    QCOMPARE(bank.wbSlots[2].hintStep, std::uint16_t(2));

    // Only the follow-typing modes guide.
    QVERIFY(!bank.Guide(Mode::WubiChars, 2).showsLine);
    bank.Fill(Mode::PinyinFollow);
    const SlotHint target = bank.Guide(Mode::PinyinFollow, 3);
    QCOMPARE(target.line, std::string("zhuang"));
    QCOMPARE(bytes(target.character.value_or("")), bytes(zhuang));
    QVERIFY(!bank.Guide(Mode::Pinyin, 3).showsLine);
}

void TestSlotBank::zeroedSlotsHint()
{
    SlotBank bank(m_tables, m_random);
    const SlotHint wubi = bank.Hint(Mode::WubiChars, 1);
    QVERIFY(!wubi.showsLine); // step 0 shows nothing
    QCOMPARE(wubi.picture, std::optional<std::int32_t>(0));
    QCOMPARE(bank.wbSlots[1].hintStep, std::uint16_t(1));
    const SlotHint level2 = bank.Hint(Mode::Level2, 1);
    QVERIFY(level2.showsLine); // an empty hint line
    QCOMPARE(level2.line, std::string());
    QCOMPARE(level2.picture, std::optional<std::int32_t>(0));
}

void TestSlotBank::noModeDoesNothing()
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::None);
    bank.Refill(Mode::None, 1);
    bank.Refill(Mode::Pinyin, 0);
    bank.Refill(Mode::Pinyin, 5);
    QCOMPARE(bank.ShownText(Mode::None, 1), std::string());
    QCOMPARE(bank.ShownText(Mode::Pinyin, 1), std::string());
    QVERIFY(!bank.Hint(Mode::None, 1).showsLine);
    QVERIFY(!bank.JudgeKey(Mode::None, 'A').hit());
    QCOMPARE(bank.EmptyTableFile(Mode::None), nullptr);
}

// The phrase drill starts only with phrases to draw, and a failed fill keeps what was there.
void TestSlotBank::phrasesNeedTheirBook()
{
    SlotBank bank(m_tables, m_random);
    QCOMPARE(QString::fromLatin1(bank.EmptyTableFile(Mode::Phrases)), QStringLiteral("wbcz.dat"));
    QVERIFY_THROWS_EXCEPTION(AppError, bank.Fill(Mode::Phrases));
    PhraseBook empty;
    bank.SetPhraseBook(&empty);
    QCOMPARE(QString::fromLatin1(bank.EmptyTableFile(Mode::Phrases)), QStringLiteral("wbcz.dat"));
    QVERIFY_THROWS_EXCEPTION(AppError, bank.Fill(Mode::Phrases));
    QVERIFY(bank.phraseSlots[1].text.empty());
}

// 经国 is typed XCLG: 经 (xcag) gives XC, 国 (lgyi) LG; both have pictures (records 1 and 2 of
// the character table). 男女 has none.
void TestSlotBank::phrasesHitShowAndHint()
{
    PhraseBook book;
    book.phrases = { { "xclg", 10, jing + guo, 2 } };
    book.drawer = PhraseDrawer(book.phrases);
    SlotBank bank(m_tables, m_random);
    bank.SetPhraseBook(&book);
    QCOMPARE(bank.EmptyTableFile(Mode::Phrases), nullptr);
    bank.Fill(Mode::Phrases);
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(bytes(bank.ShownText(Mode::Phrases, k)), bytes(jing + guo));
    QCOMPARE(bank.JudgeAttempt(Mode::Phrases, "XCLG", "").slot, 1);
    QCOMPARE(bank.JudgeAttempt(Mode::Phrases, "XCL", "").slot, 0);
    QCOMPARE(bank.JudgeAttempt(Mode::Phrases, "", "").slot, 0);
    QCOMPARE(bytes(bank.Item(Mode::Phrases, 2).text), bytes(jing + guo));
    QCOMPARE(bank.Item(Mode::Phrases, 2).code, std::string("XCLG"));

    // Each press shows the next character's picture, round the phrase; the line keeps the code.
    for (int expected : { 1, 2, 1 }) {
        const SlotHint hint = bank.Hint(Mode::Phrases, 3);
        QVERIFY(hint.showsLine);
        QCOMPARE(hint.line, std::string("XCLG"));
        QCOMPARE(bytes(hint.phrase.value()), bytes("XCLG  " + jing + "XC + " + guo + "LG"));
        QCOMPARE(hint.picture.value(), expected);
    }
    // The follow-typing guide has nothing to say about phrases.
    QVERIFY(!bank.Guide(Mode::Phrases, 1).showsLine);

    bank.phraseSlots[4] = { "NNVV", nanChar + nvChar, 2, 1 };
    const SlotHint bare = bank.Hint(Mode::Phrases, 4);
    QVERIFY(!bare.picture);
    QVERIFY(bare.clearsPicture);

    // A longer phrase lays out in two lines for the square slot.
    bank.phraseSlots[2] = { "XCLG", jing + guo + jing + guo, 4, 1 };
    QCOMPARE(bytes(bank.ShownText(Mode::Phrases, 2)), bytes(jing + guo + "\n" + jing + guo));
}

QTEST_GUILESS_MAIN(TestSlotBank)
#include "tst_slotbank.moc"
