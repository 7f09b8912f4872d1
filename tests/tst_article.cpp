// SPDX-License-Identifier: GPL-3.0-or-later
// The follow-typing core: the Wubi judge and its measures on a worked text, the input-method
// comparison, the shortest split, and the checks a loaded text passes.
#include "data/AppError.h"
#include "data/Gbk.h"
#include "session/Article.h"
#include "session/ArticleTexts.h"
#include "tests/CoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

// One character's GBK bytes; '?' where GBK has none, as at the window's boundary.
std::string GbkOf(char32_t cp)
{
    const int code = gbk::Encode(cp);
    if (code < 0)
        return "?";
    if (code < 0x100)
        return std::string(1, char(code));
    return { char(code >> 8), char(code & 0xFF) };
}

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

TEST(Article, textKinds)
{
    const Lexicon lex = WorkedLexicon();
    // 喆 is GBK but not GB2312; 丐 is GB2312 but absent from this lexicon; Ａ is a full-width Latin letter.
    const ArticleText t = BuildArticle("t", Utf32("工，a1喆丐Ａ\r\n国"), GbkOf, lex);
    using K = ArticleChar::Kind;
    const K kinds[] = { K::Typed, K::Passed, K::Passed, K::Passed, K::Rare, K::NoCode, K::Passed, K::Passed, K::Typed };
    ASSERT_EQ(t.chars.size(), std::size(kinds)); // the \r is dropped
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        ASSERT_EQ(int(t.chars[i].kind), int(kinds[i]));
    }
    ASSERT_EQ(t.chars[0].gbk, Gbk("工"));
    ASSERT_TRUE(t.chars[4].gbk.empty());
    ASSERT_EQ(t.TypedCount(), std::size_t(2));
    ASSERT_EQ(t.Uncoded(), (std::vector<char32_t> { U'喆', U'丐' }));
}

TEST(Article, wubiWorkedText)
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("worked", Utf32("工艺，中国喆人民好。"), GbkOf, lex);
    WubiFollow judge(t, lex);
    using O = WubiFollow::Outcome;
    std::vector<O> outcomes;

    Keys(judge, "aaan", 0, &outcomes); // a phrase code: both characters at once
    ASSERT_EQ(outcomes, (std::vector<O> { O::None, O::None, O::None, O::Entered }));
    ASSERT_EQ(judge.Position(), std::size_t(3)); // the comma is passed over
    ASSERT_EQ(judge.ShortestKeysPerCharacterSoFar(), 2.0); // 工艺 aaan: 4 keys for 2
    Keys(judge, "khk ", 2000); // a character's full code, with the space
    ASSERT_EQ(judge.Position(), std::size_t(4));
    Keys(judge, "lgyi", 4000); // the rare character after it is passed over
    ASSERT_EQ(judge.Position(), std::size_t(6));
    outcomes.clear();
    Keys(judge, "wwnb", 6000, &outcomes); // a wrong code enters nothing
    ASSERT_EQ(outcomes.back(), O::Wrong);
    ASSERT_EQ(judge.Position(), std::size_t(6));
    ASSERT_TRUE(judge.Box().empty());
    Keys(judge, "wwn\bna", 9000); // Backspace takes a letter back
    ASSERT_EQ(judge.Position(), std::size_t(8));
    Keys(judge, "vbg ", 15000);
    ASSERT_TRUE(judge.Finished()); // the full stop is passed over as well
    ASSERT_EQ(judge.Key('a', 16000), O::None);

    // Worked by hand: 7 characters typed (工艺 中 国 人民 好), 4+4+4+4+6+4 = 26 keys,
    // 15 s from the first key to the last.
    const ArticleMeasures m = judge.Measures(99999);
    ASSERT_EQ(m.characters, 7);
    ASSERT_EQ(m.keys, 26);
    ASSERT_EQ(m.errors, 1);
    ASSERT_EQ(m.corrections, 1);
    ASSERT_EQ(m.milliseconds, std::int64_t(15000));
    ASSERT_EQ(m.Speed(), 28.0); // 7 characters in a quarter of a minute
    ASSERT_EQ(m.KeysPerSecond(), 26.0 / 15.0); // 1.73
    ASSERT_EQ(m.KeysPerCharacter(), 26.0 / 7.0); // 3.71
    // Best split: 工艺 aaan (4) + 中国 khlg (4) + 人民 wwna (4) + 好 vb␣ (3) = 15 keys for 7.
    ASSERT_EQ(judge.ShortestKeysPerCharacter(), 15.0 / 7.0);
    ASSERT_EQ(judge.ShortestKeysPerCharacterSoFar(), 15.0 / 7.0);

    const std::vector<LongerCode> longer = judge.LongerCodes();
    ASSERT_EQ(longer.size(), std::size_t(2));
    ASSERT_EQ(longer[0].text, Gbk("中国"));
    ASSERT_EQ(longer[0].used, std::string("khk+lgyi"));
    ASSERT_EQ(longer[0].shortest, std::string("khlg"));
    ASSERT_EQ(longer[1].text, Gbk("好"));
    ASSERT_EQ(longer[1].used, std::string("vbg"));
    ASSERT_EQ(longer[1].shortest, std::string("vb"));
    ASSERT_EQ(t.Uncoded(), std::vector<char32_t> { U'喆' });
}

TEST(Article, wubiBoxRules)
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", Utf32("中国"), GbkOf, lex);
    WubiFollow judge(t, lex);
    // Space on an empty box and Backspace on an empty box are keys that do nothing.
    ASSERT_EQ(judge.Key(' ', 0), WubiFollow::Outcome::None);
    ASSERT_EQ(judge.Key('\b', 0), WubiFollow::Outcome::None);
    // Digits and punctuation are not keys of a code.
    ASSERT_EQ(judge.Key('1', 0), WubiFollow::Outcome::None);
    ASSERT_EQ(judge.Key('K', 0), WubiFollow::Outcome::None); // upper case folds
    ASSERT_EQ(judge.Box(), std::string("k"));
    ASSERT_EQ(judge.Key(' ', 0), WubiFollow::Outcome::Entered); // a level-1 short code
    // A character's code that types a later character of the text is still wrong here.
    ASSERT_EQ(judge.Key('k', 0), WubiFollow::Outcome::None);
    ASSERT_EQ(judge.Key(' ', 0), WubiFollow::Outcome::Wrong);
    const ArticleMeasures m = judge.Measures(0);
    ASSERT_EQ(m.keys, 6); // the digit is no key of a code
    ASSERT_EQ(m.corrections, 0);
    ASSERT_EQ(m.errors, 1);
}

struct ShortestSplitRow {
    std::string tag;
    std::string text;
    int keys;
    std::vector<std::string> codes;
};

std::vector<ShortestSplitRow> shortestSplitRows()
{
    std::vector<ShortestSplitRow> rows;
    rows.push_back({ "phrase beats characters", "工艺", 4, std::vector<std::string> { "aaan" } });
    rows.push_back({ "short codes tie the phrase", "中国", 4, std::vector<std::string> { "khlg" } });
    rows.push_back({ "blank breaks the phrase", "中 国", 4, std::vector<std::string> { "k", "l" } });
    rows.push_back({ "phrase then short code", "人民好", 7, std::vector<std::string> { "wwna", "vb" } });
    rows.push_back({ "nothing typable", "，喆", 0, std::vector<std::string> {} });
    return rows;
}

TEST(Article, shortestSplit)
{
    for (const ShortestSplitRow& row : shortestSplitRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& text = row.text;
            const int& keys = row.keys;
            const std::vector<std::string>& codes = row.codes;
            const Lexicon lex = WorkedLexicon();
            const ArticleText t = BuildArticle("t", Utf32(text.c_str()), GbkOf, lex);
            const auto segments = ShortestSegmentation(t, lex, 0, t.chars.size());
            ASSERT_EQ(SegmentationKeys(segments), keys);
            std::vector<std::string> got;
            for (const Segment& s : segments)
                got.push_back(s.code);
            ASSERT_EQ(got, codes);
        }();
    }
}

TEST(Article, hintsAtPosition)
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", Utf32("人民好"), GbkOf, lex);
    WubiFollow judge(t, lex);
    const auto hints = judge.HintsAtPosition();
    ASSERT_EQ(hints.size(), std::size_t(2));
    ASSERT_EQ(hints[0].text, Gbk("人民"));
    ASSERT_EQ(hints[0].codes, std::vector<std::string> { "wwna" });
    ASSERT_EQ(hints[1].text, Gbk("人"));
    ASSERT_EQ(hints[1].codes, (std::vector<std::string> { "w", "wwww" }));
}

TEST(Article, imeWrongAndCorrected)
{
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("春晓", Utf32("春眠不觉晓，\n处处闻啼鸟。"), GbkOf, lex);
    ImeFollow ime(t);
    ASSERT_EQ(ime.Targets().size(), std::size_t(12)); // the line break is passed over
    ime.Key(0);
    ime.Commit(Utf32("春眠"), 1000);
    ime.Commit(Utf32("不决"), 3000);
    ASSERT_TRUE(ime.WrongAt(3));
    ASSERT_TRUE(!ime.WrongAt(2));
    ASSERT_EQ(ime.StandingWrong(), 1);
    ime.Backspace(4000);
    ASSERT_EQ(ime.StandingWrong(), 0);
    ime.Commit(Utf32("觉晓，处处闻提鸟。"), 8000);
    ASSERT_EQ(ime.Typed(), std::size_t(12));
    ASSERT_TRUE(ime.WrongAt(9));
    ASSERT_TRUE(!ime.Finished()); // a wrong character still stands
    ime.Backspace(9000);
    ime.Backspace(9500);
    ime.Backspace(10000);
    ASSERT_EQ(ime.Typed(), std::size_t(9));
    for (int i = 0; i < 39; ++i)
        ime.Key(11000);
    ime.Commit(Utf32("啼鸟。"), 12000);
    ASSERT_TRUE(ime.Finished());
    ime.Key(30000); // after the end keys are no longer counted
    const ArticleMeasures m = ime.Measures(99999);
    ASSERT_EQ(m.characters, 12);
    ASSERT_EQ(m.errors, 2); // 决 and 提
    ASSERT_EQ(m.corrections, 4); // every Backspace that took a character back
    ASSERT_EQ(m.keys, 40);
    ASSERT_EQ(m.milliseconds, std::int64_t(12000));
    ASSERT_EQ(m.Speed(), 60.0);
    ASSERT_EQ(m.KeysPerCharacter(), 40.0 / 12.0);
}

TEST(Article, imeBlanksAndOverrun)
{
    const Lexicon lex;
    const ArticleText t = BuildArticle("t", Utf32("天 地"), GbkOf, lex);
    ImeFollow ime(t);
    ime.Commit(Utf32(" 天\u3000"), 0);
    ASSERT_EQ(ime.Typed(), std::size_t(1));
    ime.Commit(Utf32("地人"), 500); // past the end: nothing more is taken
    ASSERT_EQ(ime.Typed(), std::size_t(2));
    ASSERT_TRUE(ime.Finished());
    ASSERT_EQ(ime.Measures(0).errors, 0);
    ImeFollow empty(t);
    empty.Backspace(0); // nothing to take back: no correction
    ASSERT_EQ(empty.Measures(0).corrections, 0);
}

TEST(Article, measuresBeforeAnyKey)
{
    const ArticleMeasures m;
    ASSERT_EQ(m.Speed(), 0.0);
    ASSERT_EQ(m.KeysPerSecond(), 0.0);
    ASSERT_EQ(m.KeysPerCharacter(), 0.0);
    const Lexicon lex = WorkedLexicon();
    const ArticleText t = BuildArticle("t", Utf32("工"), GbkOf, lex);
    WubiFollow judge(t, lex);
    ASSERT_EQ(judge.Measures(5000).milliseconds, std::int64_t(0));
    judge.Key('a', 1000);
    ASSERT_EQ(judge.Measures(5000).milliseconds, std::int64_t(4000)); // live: up to now
}

struct EncodingsRow {
    std::string tag;
    std::string bytes;
    int encoding;
    bool binary;
};

std::vector<EncodingsRow> encodingsRows()
{
    std::vector<EncodingsRow> rows;
    rows.push_back({ "ascii", std::string("abc\r\n"), int(TextEncoding::Utf8), false });
    rows.push_back({ "utf-8", std::string("春眠"), int(TextEncoding::Utf8), false });
    rows.push_back({ "utf-8 bom", std::string("\xEF\xBB\xBF春"), int(TextEncoding::Utf8), false });
    rows.push_back({ "gbk", std::string("\xB4\xBA\xC3\xDF"), int(TextEncoding::Gbk), false });
    rows.push_back({ "gbk cut", std::string("\xB4\xBA\xC3"), int(TextEncoding::Neither), false });
    rows.push_back({ "neither", std::string("\x80\x80\xFF"), int(TextEncoding::Neither), false });
    rows.push_back({ "overlong utf-8 reads as gbk", std::string("\xC0\xAF"), int(TextEncoding::Gbk), false });
    rows.push_back({ "surrogate", std::string("\xED\xA0\x80"), int(TextEncoding::Neither), false });
    rows.push_back({ "nul", std::string("ab\0cd", 5), int(TextEncoding::Utf8), true });
    rows.push_back({ "escape", std::string("a\x1b[0m"), int(TextEncoding::Utf8), true });
    return rows;
}

TEST(Article, encodings)
{
    for (const EncodingsRow& row : encodingsRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& bytes = row.bytes;
            const int& encoding = row.encoding;
            const bool& binary = row.binary;
            const std::string_view view(bytes.data(), std::size_t(bytes.size()));
            ASSERT_EQ(int(DetectEncoding(view)), encoding);
            ASSERT_EQ(LooksBinary(view), binary);
        }();
    }
}

TEST(Article, utf8Decoding)
{
    ASSERT_EQ(DecodeUtf8("\xEF\xBB\xBF"
                         "a春𠀀"),
        Utf32("a春𠀀"));
    ASSERT_EQ(DecodeUtf8(""), std::u32string());
}

TEST(Article, articleFile)
{
    const std::vector<BuiltinArticle> in {
        { Gbk("静夜思"), Gbk("李白"), Gbk("床前明月光，\n疑是地上霜。") },
        { Gbk("谚语"), "", Gbk("一寸光阴一寸金。") },
    };
    const std::string file = WriteArticleFile(in);
    const std::vector<BuiltinArticle> out = ParseArticleFile(file);
    ASSERT_EQ(out.size(), std::size_t(2));
    ASSERT_EQ(out[0].title, in[0].title);
    ASSERT_EQ(out[0].author, in[0].author);
    ASSERT_EQ(out[0].text, in[0].text);
    ASSERT_EQ(out[1].author, std::string());
    ASSERT_EQ(out[1].text, in[1].text);
}

struct ArticleFileDamagedRow {
    std::string tag;
    std::string file;
};

std::vector<ArticleFileDamagedRow> articleFileDamagedRows()
{
    std::vector<ArticleFileDamagedRow> rows;
    rows.push_back({ "text before a title", std::string("abc\n#t\ta\nx\n") });
    rows.push_back({ "title without author field", std::string("#title\nx\n") });
    rows.push_back({ "empty title", std::string("#\tauthor\nx\n") });
    rows.push_back({ "empty text", std::string("#t\ta\n\n#u\tb\nx\n") });
    return rows;
}

TEST(Article, articleFileDamaged)
{
    for (const ArticleFileDamagedRow& row : articleFileDamagedRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& file = row.file;
            ASSERT_THROW(ParseArticleFile(file), AppError);
        }();
    }
}

TEST(Article, practiceTexts)
{
    const std::vector<std::string> items { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l" };
    const auto texts = PracticeTexts(items, 11);
    ASSERT_EQ(texts.size(), std::size_t(2));
    ASSERT_EQ(texts[0], std::string("a b c d e f g h i j\nk"));
    ASSERT_EQ(texts[1], std::string("l"));
}
