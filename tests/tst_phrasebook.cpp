// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/PhraseTables.h"
#include "session/Drawing.h"
#include "session/PhraseBook.h"
#include "session/PhraseCode.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <random>

using Texts = std::vector<std::string>;

namespace {

// GBK bytes of the characters used below.
const std::string gong = "\xb9\xa4"; // 工
const std::string yi = "\xd2\xd5"; // 艺
const std::string zhong = "\xd6\xd0"; // 中
const std::string hua = "\xbb\xaa"; // 华
const std::string ren = "\xc8\xcb"; // 人
const std::string min = "\xc3\xf1"; // 民
const std::string guo = "\xb9\xfa"; // 国

std::string phraseRecord(std::string code, std::string weight, std::string text)
{
    std::string r = code + std::string(4 - code.size(), ' ') + weight + std::string(10 - weight.size(), ' ') + text;
    return r + std::string(32 - r.size(), ' ');
}

std::string codeRecord(std::string code, std::string weight, std::string character)
{
    return code + std::string(4 - code.size(), ' ') + weight + std::string(10 - weight.size(), ' ') + character;
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.what();
    }
    return {};
}

}

class TestPhraseBook : public QObject {
    Q_OBJECT
private slots:
    void phraseRules_data();
    void phraseRules();
    void recordsRoundTrip();
    void damagedTables_data();
    void damagedTables();
    void lexiconRanksByWeightAcrossTables();
    void oneBadTableLeavesTheOther();
    void missingTablesNameTheirFiles();
    void drawerKeepsLengthSharesAndFavoursFrequent();
    void drawAndMatch();
    void hints();
    void slotText();
};

void TestPhraseBook::phraseRules_data()
{
    QTest::addColumn<QStringList>("fullCodes");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("工艺") << QStringList { "aaaa", "anb" } << "aaan" << QStringList { "aa", "an" };
    QTest::newRow("共和国") << QStringList { "awu", "tkg", "lgyi" } << "atlg" << QStringList { "a", "t", "lg" };
    QTest::newRow("操作系统") << QStringList { "rkks", "wthf", "txiu", "xycq" } << "rwtx"
                              << QStringList { "r", "w", "t", "x" };
    QTest::newRow("中华人民共和国") << QStringList { "khk", "wxfj", "w", "nav", "awu", "tkg", "lgyi" } << "kwwl"
                                    << QStringList { "k", "w", "w", "", "", "", "l" };
    QTest::newRow("one character") << QStringList { "aaaa" } << "" << QStringList {};
    QTest::newRow("full code too short") << QStringList { "a", "anb" } << "" << QStringList {};
}

void TestPhraseBook::phraseRules()
{
    QFETCH(QStringList, fullCodes);
    QFETCH(QString, code);
    QFETCH(QStringList, parts);
    std::vector<std::string> codes;
    for (const QString& c : fullCodes)
        codes.push_back(c.toStdString());
    QCOMPARE(QString::fromStdString(FormPhraseCode(codes).value_or("")), code);
    if (code.isEmpty())
        return;
    Texts expected;
    for (const QString& p : parts)
        expected.push_back(p.toStdString());
    QCOMPARE(SplitPhraseCode(code.toStdString(), int(codes.size())), expected);
    QVERIFY(SplitPhraseCode("aaa", 2).empty());
}

void TestPhraseBook::recordsRoundTrip()
{
    const PhraseRecord phrase { "kwwl", 67000000, zhong + hua + ren + min + "\xb9\xb2\xba\xcd" + guo, 7 };
    const std::string bytes = PhraseRecordBytes(phrase);
    QCOMPARE(bytes.size(), size_t(PhraseRecordSize));
    QCOMPARE(bytes, std::string("kwwl67000000  ") + phrase.text + "    ");
    const auto back = ParsePhraseTable(bytes + PhraseRecordBytes({ "aaan", 0, gong + yi, 2 }), "wbcz.dat");
    QCOMPARE(back.size(), size_t(2));
    QCOMPARE(back[0].text, phrase.text);
    QCOMPARE(back[0].characters, 7);
    QCOMPARE(back[0].weight, 67000000u);
    QCOMPARE(back[1].code, std::string("aaan"));

    const CharacterCode code { "a", 4294967295u, gong };
    QCOMPARE(CharacterCodeRecordBytes(code), std::string("a   4294967295") + gong);
    const auto codes = ParseCharacterCodeTable(CharacterCodeRecordBytes(code), "wbzd.dat");
    QCOMPARE(codes.size(), size_t(1));
    QCOMPARE(codes[0].weight, 4294967295u);
}

void TestPhraseBook::damagedTables_data()
{
    QTest::addColumn<bool>("phrases");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const auto good = QByteArray::fromStdString(phraseRecord("aaan", "80700000", gong + yi));
    QTest::newRow("empty") << true << QByteArray() << "The code table \"t\" is empty.";
    QTest::newRow("cut short") << true << good + good.left(20)
                               << "The code table \"t\" is cut short: 52 bytes are no whole number of 32-byte records.";
    QTest::newRow("upper-case code") << true << good + QByteArray::fromStdString(phraseRecord("AAAN", "1", gong + yi))
                                     << "The code table \"t\" is damaged: record 2 has no four-letter code.";
    QTest::newRow("short phrase code") << true << QByteArray::fromStdString(phraseRecord("aan", "1", gong + yi))
                                       << "The code table \"t\" is damaged: record 1 has no four-letter code.";
    QTest::newRow("z in code") << true << QByteArray::fromStdString(phraseRecord("aazn", "1", gong + yi))
                               << "The code table \"t\" is damaged: record 1 has no four-letter code.";
    QTest::newRow("weight not digits") << true << QByteArray::fromStdString(phraseRecord("aaan", "8x", gong + yi))
                                       << "The code table \"t\" is damaged: record 1 has no weight.";
    QTest::newRow("weight too large") << true
                                      << QByteArray::fromStdString(phraseRecord("aaan", "4294967296", gong + yi))
                                      << "The code table \"t\" is damaged: record 1 has no weight.";
    QTest::newRow("one character") << true << QByteArray::fromStdString(phraseRecord("aaan", "1", gong))
                                   << "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters.";
    QTest::newRow("zero byte in text")
        << true << QByteArray::fromStdString(phraseRecord("aaan", "1", gong + std::string(2, '\0')))
        << "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters.";
    QTest::newRow("GBK outside GB2312")
        << true << QByteArray::fromStdString(phraseRecord("aaan", "1", gong + "\x81\x40"))
        << "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters.";
    QTest::newRow("code with a gap") << false << QByteArray::fromStdString(codeRecord("a a", "1", gong))
                                     << "The code table \"t\" is damaged: record 1 has no code of one to four letters.";
    QTest::newRow("no character") << false << QByteArray::fromStdString(codeRecord("a", "1", "  "))
                                  << "The code table \"t\" is damaged: record 1 holds no GB2312 character.";
    QTest::newRow("code table cut short") << false << QByteArray::fromStdString(codeRecord("a", "1", gong)).left(15)
                                          << "The code table \"t\" is cut short: 15 bytes are no whole number of "
                                             "16-byte records.";
}

void TestPhraseBook::damagedTables()
{
    QFETCH(bool, phrases);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const std::string text = bytes.toStdString();
    const std::string error = errorOf([&] {
        if (phrases)
            ParsePhraseTable(text, "t");
        else
            ParseCharacterCodeTable(text, "t");
    });
    QCOMPARE(QString::fromStdString(error), message);
}

void TestPhraseBook::lexiconRanksByWeightAcrossTables()
{
    // 工 weighs more by its level-1 code than by its full code; the phrase 工艺 outweighs a
    // character that shares its code, and a character wins a tie.
    const std::vector<CharacterCode> characters {
        { "a", 99, gong },
        { "aaan", 50, yi }, // not a real code: a rival for the phrase below
        { "aaaa", 40, gong },
        { "aaan", 30, zhong },
    };
    const std::vector<PhraseRecord> phrases { { "aaan", 80, gong + yi, 2 }, { "aaan", 30, hua + ren, 2 } };
    Lexicon lexicon;
    FillLexicon(characters, phrases, lexicon);
    QCOMPARE(lexicon.Size(), size_t(6));
    QCOMPARE(lexicon.TextsForCode("aaan"), (Texts { gong + yi, yi, zhong, hua + ren }));
    QCOMPARE(lexicon.CodesForText(gong), (Texts { "a", "aaaa" }));
}

void TestPhraseBook::oneBadTableLeavesTheOther()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("wbzd.dat"), codeRecord("aaaa", "9", gong) + codeRecord("a", "8", gong));
    writeFile(dir.filePath("wbcz.dat"), phraseRecord("aaan", "1", gong + yi) + "cut");
    PhraseBook book;
    const auto errors = LoadPhraseBook(dir.path().toStdString(), book);
    QCOMPARE(errors.size(), size_t(1));
    QVERIFY2(std::string(errors[0].what()).find("wbcz.dat\" is cut short") != std::string::npos, errors[0].what());
    QVERIFY(book.phrases.empty());
    QVERIFY(book.drawer.Empty());
    QCOMPARE(book.lexicon.CodesForText(gong), (Texts { "a", "aaaa" }));

    // And the other way round: the phrases load when the character table is damaged.
    writeFile(dir.filePath("wbzd.dat"), codeRecord("aaaa", "9", "ab"));
    writeFile(dir.filePath("wbcz.dat"), phraseRecord("aaan", "1", gong + yi));
    PhraseBook second;
    const auto errors2 = LoadPhraseBook(dir.path().toStdString(), second);
    QCOMPARE(errors2.size(), size_t(1));
    QVERIFY(std::string(errors2[0].what()).find("wbzd.dat\" is damaged: record 1") != std::string::npos);
    QCOMPARE(second.phrases.size(), size_t(1));
    QCOMPARE(second.lexicon.TextsForCode("aaan"), (Texts { gong + yi }));
}

void TestPhraseBook::missingTablesNameTheirFiles()
{
    QTemporaryDir dir;
    PhraseBook book;
    const auto errors = LoadPhraseBook(dir.path().toStdString(), book);
    QCOMPARE(errors.size(), size_t(2));
    QVERIFY(std::string(errors[0].what()).starts_with("Cannot open file \"" + dir.filePath("wbzd.dat").toStdString()));
    QVERIFY(std::string(errors[1].what()).starts_with("Cannot open file \"" + dir.filePath("wbcz.dat").toStdString()));
    QVERIFY(book.lexicon.Empty());
    QVERIFY(book.drawer.Empty());
    tavphrase slot;
    RandomSource random;
    QVERIFY(!errorOf([&] { DrawPhraseSlot(book, random, slot); }).empty());
}

void TestPhraseBook::drawerKeepsLengthSharesAndFavoursFrequent()
{
    // Six two-character phrases (one heavy), two of three, two of seven characters.
    std::vector<PhraseRecord> phrases;
    phrases.push_back({ "aaan", 1000000, gong + yi, 2 });
    for (int i = 0; i < 5; ++i)
        phrases.push_back({ "aaan", 100, gong + yi, 2 });
    phrases.push_back({ "aaaa", 100, gong + yi + gong, 3 });
    phrases.push_back({ "aaaa", 100, gong + yi + gong, 3 });
    phrases.push_back({ "kwwl", 100, zhong + hua + ren + min + gong + yi + guo, 7 });
    phrases.push_back({ "kwwl", 100, zhong + hua + ren + min + gong + yi + guo, 7 });
    const PhraseDrawer drawer(phrases);
    // The clock stands in for the real one's unrelated readings of draw after draw.
    std::mt19937 clock(19);
    RandomSource random([&] { return std::uint32_t(clock()); });
    std::vector<int> hits(phrases.size());
    const int draws = 20000;
    for (int i = 0; i < draws; ++i)
        ++hits[drawer.Draw(random)];
    int byClass[3] = { 0, 0, 0 };
    for (size_t i = 0; i < phrases.size(); ++i)
        byClass[std::min(phrases[i].characters, 4) - 2] += hits[i];
    // Shares of the table: 6/10, 2/10, 2/10.
    QVERIFY2(std::abs(byClass[0] - draws * 6 / 10) < draws / 20, qPrintable(QString::number(byClass[0])));
    QVERIFY(std::abs(byClass[1] - draws * 2 / 10) < draws / 20);
    QVERIFY(std::abs(byClass[2] - draws * 2 / 10) < draws / 20);
    // sqrt weights 1001 against five of 11: the heavy phrase takes about 95% of its class,
    // the light ones still come up.
    QVERIFY(hits[0] > byClass[0] * 9 / 10);
    for (int i = 1; i < 6; ++i)
        QVERIFY(hits[size_t(i)] > 0);
}

void TestPhraseBook::drawAndMatch()
{
    PhraseBook book;
    book.phrases = { { "aaan", 1, gong + yi, 2 } };
    book.drawer = PhraseDrawer(book.phrases);
    RandomSource random([] { return 7u; });
    std::array<tavphrase, 5> phraseSlots;
    QCOMPARE(MatchPhrase(phraseSlots, ""), 0); // empty slots never match
    DrawPhraseSlot(book, random, phraseSlots[3]);
    QCOMPARE(phraseSlots[3].code, std::string("AAAN"));
    QCOMPARE(phraseSlots[3].text, gong + yi);
    QCOMPARE(phraseSlots[3].hintStep, std::uint16_t(1));
    DrawPhraseSlot(book, random, phraseSlots[4]);
    QCOMPARE(MatchPhrase(phraseSlots, "AAAN"), 3); // the leftmost wins
    QCOMPARE(MatchPhrase(phraseSlots, "aaan"), 0);
    QCOMPARE(MatchPhrase(phraseSlots, "AAA"), 0);
}

void TestPhraseBook::hints()
{
    tavphrase two { "AAAN", gong + yi, 2, 1 };
    QCOMPARE(PhraseHint(two), "AAAN  " + gong + "AA + " + yi + "AN");
    tavphrase three { "ATLG", "\xb9\xb2\xba\xcd" + guo, 3, 1 };
    QCOMPARE(PhraseHint(three), "ATLG  \xb9\xb2" + std::string("A + \xba\xcdT + ") + guo + "LG");
    tavphrase seven { "KWWL", zhong + hua + ren + min + "\xb9\xb2\xba\xcd" + guo, 7, 1 };
    QCOMPARE(PhraseHint(seven), "KWWL  " + zhong + "K + " + hua + "W + " + ren + "W + \xa1\xad + " + guo + "L");
    tavphrase broken { "AAAN", gong, 2, 1 };
    QCOMPARE(PhraseHint(broken), std::string("AAAN"));
}

void TestPhraseBook::slotText()
{
    int perLine = 0;
    QCOMPARE(PhraseSlotText(gong + yi, perLine), gong + yi);
    QCOMPARE(perLine, 2);
    QCOMPARE(PhraseSlotText(gong + yi + guo, perLine), gong + yi + guo);
    QCOMPARE(perLine, 3);
    QCOMPARE(PhraseSlotText(gong + yi + zhong + guo, perLine), gong + yi + "\n" + zhong + guo);
    QCOMPARE(perLine, 2);
    const std::string seven = zhong + hua + ren + min + gong + yi + guo;
    QCOMPARE(PhraseSlotText(seven, perLine), zhong + hua + ren + min + "\n" + gong + yi + guo);
    QCOMPARE(perLine, 4);
}

QTEST_APPLESS_MAIN(TestPhraseBook)
#include "tst_phrasebook.moc"
