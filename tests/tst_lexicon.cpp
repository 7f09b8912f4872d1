// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Lexicon.h"

#include <QtTest>

using Texts = std::vector<std::string>;

class TestLexicon : public QObject {
    Q_OBJECT
private slots:
    void emptyLexicon();
    void textsKeepRankOrder();
    void codesShortestFirstThenOrderAdded();
    void duplicatePairKeptOnce();
    void sameTextUnderSeveralCodesIsSeveralPairs();
    void lookupsAreExact();
};

// GBK bytes of the characters used below.
static const std::string gong = "\xb9\xa4"; // 工
static const std::string yi = "\xd2\xd5"; // 艺
static const std::string gongyi = gong + yi; // 工艺
static const std::string ge = "\xb8\xf6"; // 个, a rival text under the same code

void TestLexicon::emptyLexicon()
{
    const Lexicon lexicon;
    QVERIFY(lexicon.Empty());
    QCOMPARE(lexicon.Size(), std::size_t(0));
    QVERIFY(lexicon.TextsForCode("a").empty());
    QVERIFY(lexicon.CodesForText(gong).empty());
    QVERIFY(lexicon.TextsForCode("").empty());
}

void TestLexicon::textsKeepRankOrder()
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    lexicon.Add("aaan", ge);
    lexicon.Add("aaan", gong);
    QCOMPARE(lexicon.TextsForCode("aaan"), (Texts { gongyi, ge, gong }));
    QVERIFY(!lexicon.Empty());
    QCOMPARE(lexicon.Size(), std::size_t(3));
}

void TestLexicon::codesShortestFirstThenOrderAdded()
{
    Lexicon lexicon;
    // 工's full code first, as the data files add it, then its short codes.
    lexicon.Add("aaaa", gong);
    lexicon.Add("aaa", gong);
    lexicon.Add("a", gong);
    lexicon.Add("aa", gong);
    lexicon.Add("aab", gong); // a second three-letter code stays after the first
    QCOMPARE(lexicon.CodesForText(gong), (Texts { "a", "aa", "aaa", "aab", "aaaa" }));
    QCOMPARE(lexicon.TextsForCode("a"), (Texts { gong }));
}

void TestLexicon::duplicatePairKeptOnce()
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    lexicon.Add("anan", yi);
    lexicon.Add("aaan", gongyi);
    QCOMPARE(lexicon.Size(), std::size_t(2));
    QCOMPARE(lexicon.TextsForCode("aaan"), (Texts { gongyi }));
    QCOMPARE(lexicon.CodesForText(gongyi), (Texts { "aaan" }));
}

void TestLexicon::sameTextUnderSeveralCodesIsSeveralPairs()
{
    Lexicon lexicon;
    // rime lists 跟踪 under khkh and kvkp: both type it.
    const std::string genzong = "\xb8\xfa\xd7\xd9";
    lexicon.Add("khkh", genzong);
    lexicon.Add("kvkp", genzong);
    QCOMPARE(lexicon.Size(), std::size_t(2));
    QCOMPARE(lexicon.CodesForText(genzong), (Texts { "khkh", "kvkp" }));
    QCOMPARE(lexicon.TextsForCode("kvkp"), (Texts { genzong }));
}

void TestLexicon::lookupsAreExact()
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    // No prefix or substring matches: a learner's partial code types nothing yet.
    QVERIFY(lexicon.TextsForCode("aaa").empty());
    QVERIFY(lexicon.TextsForCode("aaanx").empty());
    QVERIFY(lexicon.CodesForText(gong).empty());
    QVERIFY(lexicon.TextsForCode("AAAN").empty());
}

QTEST_APPLESS_MAIN(TestLexicon)
#include "tst_lexicon.moc"
