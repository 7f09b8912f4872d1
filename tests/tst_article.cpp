// SPDX-License-Identifier: GPL-3.0-or-later
// The follow-typing core: the Wubi judge and its measures on a worked text, the input-method
// comparison, the shortest split, and the checks a loaded text passes.
#include "session/Article.h"
#include "session/ArticleTexts.h"
#include "tests/TestSupport.h"

#include <QtTest>

namespace {

std::string GbkOf(char32_t cp)
{
    const char32_t one[1] = { cp };
    return Platform::ToGbk(QString::fromUcs4(one, 1));
}

std::u32string U32(const char* utf8) { return QString::fromUtf8(utf8).toStdU32String(); }

// A small lexicon with codes as the real tables give them.
Lexicon WorkedLexicon()
{
    Lexicon lex;
    const std::pair<const char*, const char*> pairs[] = {
        { "a", "工" },
        { "aaaa", "工" },
        { "anb", "艺" },
        { "aaan", "工艺" },
        { "k", "中" },
        { "khk", "中" },
        { "l", "国" },
        { "lgyi", "国" },
        { "khlg", "中国" },
        { "w", "人" },
        { "wwww", "人" },
        { "n", "民" },
        { "nav", "民" },
        { "wwna", "人民" },
        { "vb", "好" },
        { "vbg", "好" },
    };
    for (const auto& [code, text] : pairs)
        lex.Add(code, Gbk(text));
    return lex;
}

// Types keys one by one at the given time.
void Keys(WubiFollow& judge, const char* keys, std::int64_t ms, std::vector<WubiFollow::Outcome>* outcomes = nullptr)
{
    for (const char* k = keys; *k; ++k) {
        const auto outcome = judge.Key(*k, ms);
        if (outcomes)
            outcomes->push_back(outcome);
    }
}

}

class TestArticle : public QObject {
    Q_OBJECT
private slots:
    void textKinds();
    void wubiWorkedText();
    void wubiBoxRules();
    void shortestSplit_data();
    void shortestSplit();
    void hintsAtPosition();
    void imeWrongAndCorrected();
    void imeBlanksAndOverrun();
    void measuresBeforeAnyKey();
    void encodings_data();
    void encodings();
    void utf8Decoding();
    void articleFile();
    void articleFileDamaged_data();
    void articleFileDamaged();
    void practiceTexts();
};

void TestArticle::textKinds()
{
    const Lexicon lex = WorkedLexicon();
    // 喆 is GBK but not GB2312; 丐 is GB2312 but absent from this lexicon; Ａ is a full-width Latin letter.
    const ArticleText t = BuildArticle("t", U32("工，a1喆丐Ａ\r\n国"), GbkOf, lex);
    using K = ArticleChar::Kind;
    const K kinds[] = { K::Typed, K::Passed, K::Passed, K::Passed, K::Rare, K::NoCode, K::Passed, K::Passed, K::Typed };
    QCOMPARE(t.chars.size(), std::size(kinds)); // the \r is dropped
    for (std::size_t i = 0; i < std::size(kinds); ++i)
        QCOMPARE(int(t.chars[i].kind), int(kinds[i]));
    QCOMPARE(t.chars[0].gbk, Gbk("工"));
    QVERIFY(t.chars[4].gbk.empty());
    QCOMPARE(t.TypedCount(), std::size_t(2));
    QCOMPARE(t.Uncoded(), (std::vector<char32_t> { U'喆', U'丐' }));
}

void TestArticle::wubiWorkedText()
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("worked", U32("工艺，中国喆人民好。"), GbkOf, lex);
    WubiFollow judge(t, lex);
    using O = WubiFollow::Outcome;
    std::vector<O> outcomes;

    Keys(judge, "aaan", 0, &outcomes); // a phrase code: both characters at once
    QCOMPARE(outcomes, (std::vector<O> { O::None, O::None, O::None, O::Entered }));
    QCOMPARE(judge.Position(), std::size_t(3)); // the comma is passed over
    QCOMPARE(judge.ShortestKeysPerCharacterSoFar(), 2.0); // 工艺 aaan: 4 keys for 2
    Keys(judge, "khk ", 2000); // a character's full code, with the space
    QCOMPARE(judge.Position(), std::size_t(4));
    Keys(judge, "lgyi", 4000); // the rare character after it is passed over
    QCOMPARE(judge.Position(), std::size_t(6));
    outcomes.clear();
    Keys(judge, "wwnb", 6000, &outcomes); // a wrong code enters nothing
    QCOMPARE(outcomes.back(), O::Wrong);
    QCOMPARE(judge.Position(), std::size_t(6));
    QVERIFY(judge.Box().empty());
    Keys(judge, "wwn\bna", 9000); // Backspace takes a letter back
    QCOMPARE(judge.Position(), std::size_t(8));
    Keys(judge, "vbg ", 15000);
    QVERIFY(judge.Finished()); // the full stop is passed over as well
    QCOMPARE(judge.Key('a', 16000), O::None);

    // Worked by hand: 7 characters typed (工艺 中 国 人民 好), 4+4+4+4+6+4 = 26 keys,
    // 15 s from the first key to the last.
    const ArticleMeasures m = judge.Measures(99999);
    QCOMPARE(m.characters, 7);
    QCOMPARE(m.keys, 26);
    QCOMPARE(m.errors, 1);
    QCOMPARE(m.corrections, 1);
    QCOMPARE(m.milliseconds, std::int64_t(15000));
    QCOMPARE(m.Speed(), 28.0); // 7 characters in a quarter of a minute
    QCOMPARE(m.KeysPerSecond(), 26.0 / 15.0); // 1.73
    QCOMPARE(m.KeysPerCharacter(), 26.0 / 7.0); // 3.71
    // Best split: 工艺 aaan (4) + 中国 khlg (4) + 人民 wwna (4) + 好 vb␣ (3) = 15 keys for 7.
    QCOMPARE(judge.ShortestKeysPerCharacter(), 15.0 / 7.0);
    QCOMPARE(judge.ShortestKeysPerCharacterSoFar(), 15.0 / 7.0);

    const std::vector<LongerCode> longer = judge.LongerCodes();
    QCOMPARE(longer.size(), std::size_t(2));
    QCOMPARE(longer[0].text, Gbk("中国"));
    QCOMPARE(longer[0].used, std::string("khk+lgyi"));
    QCOMPARE(longer[0].shortest, std::string("khlg"));
    QCOMPARE(longer[1].text, Gbk("好"));
    QCOMPARE(longer[1].used, std::string("vbg"));
    QCOMPARE(longer[1].shortest, std::string("vb"));
    QCOMPARE(t.Uncoded(), std::vector<char32_t> { U'喆' });
}

void TestArticle::wubiBoxRules()
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", U32("中国"), GbkOf, lex);
    WubiFollow judge(t, lex);
    // Space on an empty box and Backspace on an empty box are keys that do nothing.
    QCOMPARE(judge.Key(' ', 0), WubiFollow::Outcome::None);
    QCOMPARE(judge.Key('\b', 0), WubiFollow::Outcome::None);
    // Digits and punctuation are not keys of a code.
    QCOMPARE(judge.Key('1', 0), WubiFollow::Outcome::None);
    QCOMPARE(judge.Key('K', 0), WubiFollow::Outcome::None); // upper case folds
    QCOMPARE(judge.Box(), std::string("k"));
    QCOMPARE(judge.Key(' ', 0), WubiFollow::Outcome::Entered); // a level-1 short code
    // A character's code that types a later character of the text is still wrong here.
    QCOMPARE(judge.Key('k', 0), WubiFollow::Outcome::None);
    QCOMPARE(judge.Key(' ', 0), WubiFollow::Outcome::Wrong);
    const ArticleMeasures m = judge.Measures(0);
    QCOMPARE(m.keys, 6); // the digit is no key of a code
    QCOMPARE(m.corrections, 0);
    QCOMPARE(m.errors, 1);
}

void TestArticle::shortestSplit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("phrase beats characters") << "工艺" << 4 << QStringList { "aaan" };
    QTest::newRow("short codes tie the phrase") << "中国" << 4 << QStringList { "khlg" };
    QTest::newRow("blank breaks the phrase") << "中 国" << 4 << QStringList { "k", "l" };
    QTest::newRow("phrase then short code") << "人民好" << 7 << QStringList { "wwna", "vb" };
    QTest::newRow("nothing typable") << "，喆" << 0 << QStringList {};
}

void TestArticle::shortestSplit()
{
    QFETCH(QString, text);
    QFETCH(int, keys);
    QFETCH(QStringList, codes);
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", text.toStdU32String(), GbkOf, lex);
    const auto segments = ShortestSegmentation(t, lex, 0, t.chars.size());
    QCOMPARE(SegmentationKeys(segments), keys);
    QStringList got;
    for (const Segment& s : segments)
        got << QString::fromStdString(s.code);
    QCOMPARE(got, codes);
}

void TestArticle::hintsAtPosition()
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", U32("人民好"), GbkOf, lex);
    WubiFollow judge(t, lex);
    const auto hints = judge.HintsAtPosition();
    QCOMPARE(hints.size(), std::size_t(2));
    QCOMPARE(hints[0].text, Gbk("人民"));
    QCOMPARE(hints[0].codes, std::vector<std::string> { "wwna" });
    QCOMPARE(hints[1].text, Gbk("人"));
    QCOMPARE(hints[1].codes, (std::vector<std::string> { "w", "wwww" }));
}

void TestArticle::imeWrongAndCorrected()
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("春晓", U32("春眠不觉晓，\n处处闻啼鸟。"), GbkOf, lex);
    ImeFollow ime(t);
    QCOMPARE(ime.Targets().size(), std::size_t(12)); // the line break is passed over
    ime.Key(0);
    ime.Commit(U32("春眠"), 1000);
    ime.Commit(U32("不决"), 3000);
    QVERIFY(ime.WrongAt(3));
    QVERIFY(!ime.WrongAt(2));
    QCOMPARE(ime.StandingWrong(), 1);
    ime.Backspace(4000);
    QCOMPARE(ime.StandingWrong(), 0);
    ime.Commit(U32("觉晓，处处闻提鸟。"), 8000);
    QCOMPARE(ime.Typed(), std::size_t(12));
    QVERIFY(ime.WrongAt(9));
    QVERIFY(!ime.Finished()); // a wrong character still stands
    ime.Backspace(9000);
    ime.Backspace(9500);
    ime.Backspace(10000);
    QCOMPARE(ime.Typed(), std::size_t(9));
    for (int i = 0; i < 39; ++i)
        ime.Key(11000);
    ime.Commit(U32("啼鸟。"), 12000);
    QVERIFY(ime.Finished());
    ime.Key(30000); // after the end keys are no longer counted
    const ArticleMeasures m = ime.Measures(99999);
    QCOMPARE(m.characters, 12);
    QCOMPARE(m.errors, 2); // 决 and 提
    QCOMPARE(m.corrections, 4); // every Backspace that took a character back
    QCOMPARE(m.keys, 40);
    QCOMPARE(m.milliseconds, std::int64_t(12000));
    QCOMPARE(m.Speed(), 60.0);
    QCOMPARE(m.KeysPerCharacter(), 40.0 / 12.0);
}

void TestArticle::imeBlanksAndOverrun()
{
    const Lexicon lex;
    const ArticleText t = BuildArticle("t", U32("天 地"), GbkOf, lex);
    ImeFollow ime(t);
    ime.Commit(U32(" 天\u3000"), 0);
    QCOMPARE(ime.Typed(), std::size_t(1));
    ime.Commit(U32("地人"), 500); // past the end: nothing more is taken
    QCOMPARE(ime.Typed(), std::size_t(2));
    QVERIFY(ime.Finished());
    QCOMPARE(ime.Measures(0).errors, 0);
    ImeFollow empty(t);
    empty.Backspace(0); // nothing to take back: no correction
    QCOMPARE(empty.Measures(0).corrections, 0);
}

void TestArticle::measuresBeforeAnyKey()
{
    const ArticleMeasures m;
    QCOMPARE(m.Speed(), 0.0);
    QCOMPARE(m.KeysPerSecond(), 0.0);
    QCOMPARE(m.KeysPerCharacter(), 0.0);
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", U32("工"), GbkOf, lex);
    WubiFollow judge(t, lex);
    QCOMPARE(judge.Measures(5000).milliseconds, std::int64_t(0));
    judge.Key('a', 1000);
    QCOMPARE(judge.Measures(5000).milliseconds, std::int64_t(4000)); // live: up to now
}

void TestArticle::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("binary");
    QTest::newRow("ascii") << QByteArray("abc\r\n") << int(TextEncoding::Utf8) << false;
    QTest::newRow("utf-8") << QByteArray("春眠") << int(TextEncoding::Utf8) << false;
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF春") << int(TextEncoding::Utf8) << false;
    QTest::newRow("gbk") << QByteArray("\xB4\xBA\xC3\xDF") << int(TextEncoding::Gbk) << false;
    QTest::newRow("gbk cut") << QByteArray("\xB4\xBA\xC3") << int(TextEncoding::Neither) << false;
    QTest::newRow("neither") << QByteArray("\x80\x80\xFF") << int(TextEncoding::Neither) << false;
    QTest::newRow("overlong utf-8 reads as gbk") << QByteArray("\xC0\xAF") << int(TextEncoding::Gbk) << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << int(TextEncoding::Neither) << false;
    QTest::newRow("nul") << QByteArray("ab\0cd", 5) << int(TextEncoding::Utf8) << true;
    QTest::newRow("escape") << QByteArray("a\x1b[0m") << int(TextEncoding::Utf8) << true;
}

void TestArticle::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(bool, binary);
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    QCOMPARE(int(DetectEncoding(view)), encoding);
    QCOMPARE(LooksBinary(view), binary);
}

void TestArticle::utf8Decoding()
{
    QCOMPARE(DecodeUtf8("\xEF\xBB\xBF"
                        "a春𠀀"),
        U32("a春𠀀"));
    QCOMPARE(DecodeUtf8(""), std::u32string());
}

void TestArticle::articleFile()
{
    const std::vector<BuiltinArticle> in {
        { Gbk("静夜思"), Gbk("李白"), Gbk("床前明月光，\n疑是地上霜。") },
        { Gbk("谚语"), "", Gbk("一寸光阴一寸金。") },
    };
    const std::string file = WriteArticleFile(in);
    const std::vector<BuiltinArticle> out = ParseArticleFile(file);
    QCOMPARE(out.size(), std::size_t(2));
    QCOMPARE(out[0].title, in[0].title);
    QCOMPARE(out[0].author, in[0].author);
    QCOMPARE(out[0].text, in[0].text);
    QCOMPARE(out[1].author, std::string());
    QCOMPARE(out[1].text, in[1].text);
}

void TestArticle::articleFileDamaged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("text before a title") << QByteArray("abc\n#t\ta\nx\n");
    QTest::newRow("title without author field") << QByteArray("#title\nx\n");
    QTest::newRow("empty title") << QByteArray("#\tauthor\nx\n");
    QTest::newRow("empty text") << QByteArray("#t\ta\n\n#u\tb\nx\n");
}

void TestArticle::articleFileDamaged()
{
    QFETCH(QByteArray, file);
    QVERIFY_THROWS_EXCEPTION(AppError, ParseArticleFile(file.toStdString()));
}

void TestArticle::practiceTexts()
{
    const std::vector<std::string> items { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l" };
    const auto texts = PracticeTexts(items, 11);
    QCOMPARE(texts.size(), std::size_t(2));
    QCOMPARE(texts[0], std::string("a b c d e f g h i j\nk"));
    QCOMPARE(texts[1], std::string("l"));
}

QTEST_GUILESS_MAIN(TestArticle)
#include "tst_article.moc"
