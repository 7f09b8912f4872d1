// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "session/SlotBank.h"

#include <gtest/gtest.h>

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

}

class SlotBankTest : public ::testing::Test {
protected:
    DataTables m_tables = twoOfEach();
    std::uint32_t m_clock = 0;
    RandomSource m_random { [this] { return m_clock; } };
};

struct FillShowsTheModesItemsRow {
    std::string tag;
    int mode;
    std::vector<std::string> shown;
};

std::vector<FillShowsTheModesItemsRow> fillShowsTheModesItemsRows()
{
    std::vector<FillShowsTheModesItemsRow> rows;
    const auto four = [](const std::string& s) { return std::vector<std::string>(4, s); };
    rows.push_back({ "upper", 0, std::vector<std::string> { "A", "B", "C", "D" } });
    rows.push_back({ "lower", 1, std::vector<std::string> { "a", "b", "c", "d" } });
    rows.push_back({ "digits", 2, std::vector<std::string> { "1", "2", "3", "4" } });
    rows.push_back({ "pinyin", 3, four(zhuang) });
    rows.push_back({ "roots", 4, four(wang) });
    rows.push_back({ "level 1", 5, four(yi) });
    rows.push_back({ "level 2", 6, four(yu) });
    rows.push_back({ "wubi", 7, four(jing) });
    rows.push_back({ "pinyin follow", 8, four(zhuang) });
    rows.push_back({ "wubi follow", 9, four(jing) });
    return rows;
}

TEST_F(SlotBankTest, fillShowsTheModesItems)
{
    for (const FillShowsTheModesItemsRow& row : fillShowsTheModesItemsRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& mode = row.mode;
            const std::vector<std::string>& shown = row.shown;
            SlotBank bank(m_tables, m_random);
            m_clock = 0; // every draw picks record 0
            bank.Fill(mode);
            for (int k = 1; k <= 4; ++k) {
                ASSERT_EQ(bank.ShownText(mode, k), shown[k - 1]);
            }
        }();
    }
}

TEST_F(SlotBankTest, fillIsAllOrNothing)
{
    DataTables tables = twoOfEach();
    // The second level-2 record's picture field is no number.
    setTable(tables.wb2, yu + "gf       2  " + tian + "gd    x1    ", 2);
    int draws = 0;
    RandomSource random([&] { return ++draws == 3 ? clockFor(2, 1) : 0u; });
    SlotBank bank(tables, random);
    bank.wb2Slots[1] = { "GS", "old", 7 };
    ASSERT_THROW(bank.Fill(Mode::Level2), AppError);
    ASSERT_EQ(draws, 3); // slots 1 and 2 were drawn, slot 3 failed
    ASSERT_EQ(bank.wb2Slots[1].code, std::string("GS"));
    ASSERT_EQ(bank.wb2Slots[1].pictureNo, 7);
    ASSERT_EQ(bank.wb2Slots[2].text, std::string());
    ASSERT_EQ(bank.wb2Slots[3].text, std::string());
}

TEST_F(SlotBankTest, emptyTableNamesItsFile)
{
    DataTables tables = twoOfEach();
    setTable(tables.py, "", 0);
    setTable(tables.wbzg, "     ", 0); // only the filler record
    SlotBank bank(tables, m_random);
    ASSERT_STREQ(bank.EmptyTableFile(Mode::Pinyin), "py.dat");
    ASSERT_STREQ(bank.EmptyTableFile(Mode::PinyinFollow), "py.dat");
    ASSERT_STREQ(bank.EmptyTableFile(Mode::Roots), "wbzg.dat");
    ASSERT_EQ(bank.EmptyTableFile(Mode::WubiChars), nullptr);
    ASSERT_EQ(bank.EmptyTableFile(Mode::Digits), nullptr);
    ASSERT_THROW(bank.Fill(Mode::Pinyin), AppError);
}

TEST_F(SlotBankTest, attemptsHitTheLeftmostSlot)
{
    SlotBank bank(m_tables, m_random);
    bank.wbSlots[2].codes = { "", "XCAG", "X", "", "" };
    bank.wbSlots[2].text = jing;
    bank.wbSlots[3].codes = { "", "LGYI", "L", "LGY", "X" };
    bank.wbSlots[3].text = guo;
    const Judgement fourth = bank.JudgeAttempt(Mode::WubiChars, "X", "");
    ASSERT_EQ(fourth.slot, 2);
    ASSERT_EQ(fourth.item, jing);
    ASSERT_EQ(bank.JudgeAttempt(Mode::WubiFollow, "LGY", "").slot, 3); // any slot, whatever the guide
    ASSERT_EQ(bank.JudgeAttempt(Mode::WubiChars, "XC", "").hit(), false);
    ASSERT_EQ(bank.JudgeAttempt(Mode::WubiChars, "XC", "").item, std::string());
    // Another mode's table is not looked at.
    ASSERT_EQ(bank.JudgeAttempt(Mode::Level1, "X", "").hit(), false);
}

TEST_F(SlotBankTest, emptyAttemptNeverHits)
{
    SlotBank bank(m_tables, m_random); // every code field empty
    for (int mode = 0; mode < Mode::Count; ++mode) {
        ASSERT_TRUE(!bank.JudgeAttempt(mode, "", "").hit()) << std::to_string(mode);
    }
}

TEST_F(SlotBankTest, pinyinFollowHitsOnlyTheTarget)
{
    SlotBank bank(m_tables, m_random);
    bank.pySlots = { tavcharsetpy {}, { "NAN", nanChar }, { "NV", nvChar }, { "NAN", nanChar }, { "LE", "" } };
    ASSERT_EQ(bank.JudgeAttempt(Mode::PinyinFollow, "NV", "NAN").hit(), false);
    ASSERT_EQ(bank.JudgeAttempt(Mode::PinyinFollow, "NAN", "NAN").slot, 1);
    ASSERT_EQ(bank.JudgeAttempt(Mode::PinyinFollow, "NV", "NV").slot, 2);
    ASSERT_EQ(bank.JudgeAttempt(Mode::Pinyin, "NV", "NAN").slot, 2); // the drill has no target
}

TEST_F(SlotBankTest, keysHitSingleKeySlots)
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::UpperLetters);
    const Judgement c = bank.JudgeKey(Mode::UpperLetters, 'C');
    ASSERT_EQ(c.slot, 3);
    ASSERT_EQ(c.item, std::string("C"));
    ASSERT_EQ(bank.JudgeKey(Mode::UpperLetters, 'c').hit(), false); // folding is the caller's
    ASSERT_EQ(bank.JudgeKey(Mode::UpperLetters, 'E').hit(), false);
    ASSERT_EQ(bank.JudgeKey(Mode::Pinyin, 'C').hit(), false);
}

TEST_F(SlotBankTest, refillDrawsAnew)
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::Digits);
    m_clock = clockFor(10, 9);
    bank.Refill(Mode::Digits, 3, '9'); // 9 drawn for a typed 9 gives 1
    ASSERT_EQ(bank.keySlots[3], std::string("1"));
    bank.Refill(Mode::Digits, 4, '4');
    ASSERT_EQ(bank.keySlots[4], std::string("9"));

    m_clock = 0;
    bank.Fill(Mode::WubiChars);
    bank.Hint(Mode::WubiChars, 2); // steps slot 2 on
    m_clock = clockFor(2, 1);
    bank.Refill(Mode::WubiChars, 2);
    ASSERT_EQ(bank.ShownText(Mode::WubiChars, 2), guo);
    ASSERT_EQ(bank.wbSlots[2].pictureNo, 2);
    ASSERT_EQ(bank.wbSlots[2].hintStep, std::uint16_t(1));
    ASSERT_EQ(bank.wbSlots[2].codes[4], std::string());
    ASSERT_EQ(bank.ShownText(Mode::WubiChars, 1), jing); // the others stay
}

struct HintsRow {
    std::string tag;
    int mode;
    bool showsLine;
    std::string line;
    std::string character; // empty: none
    int picture; // -1: none
};

std::vector<HintsRow> hintsRows()
{
    std::vector<HintsRow> rows;
    rows.push_back({ "upper", 0, false, std::string(), std::string(), -1 });
    rows.push_back({ "digits", 2, false, std::string(), std::string(), -1 });
    rows.push_back({ "pinyin in lower case", 3, true, std::string("zhuang"), std::string(), -1 });
    rows.push_back({ "roots", 4, true, std::string("G"), std::string(), -1 });
    rows.push_back({ "level 1", 5, true, std::string("G"), std::string(), -1 });
    rows.push_back({ "level 2 with picture", 6, true, std::string("GF"), std::string(), 2 });
    rows.push_back({ "wubi first code", 7, true, std::string("XCAG"), std::string(), 1 });
    rows.push_back({ "pinyin follow with character", 8, true, std::string("zhuang"), zhuang, -1 });
    rows.push_back({ "wubi follow", 9, true, std::string("XCAG"), std::string(), 1 });
    return rows;
}

TEST_F(SlotBankTest, hints)
{
    for (const HintsRow& row : hintsRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& mode = row.mode;
            const bool& showsLine = row.showsLine;
            const std::string& line = row.line;
            const std::string& character = row.character;
            const int& picture = row.picture;
            SlotBank bank(m_tables, m_random);
            m_clock = 0;
            bank.Fill(mode);
            const SlotHint hint = bank.Hint(mode, 4);
            ASSERT_EQ(hint.showsLine, showsLine);
            ASSERT_EQ(hint.line, line);
            ASSERT_EQ(hint.character.value_or(""), character);
            ASSERT_EQ(hint.picture.value_or(-1), picture);
        }();
    }
}

TEST_F(SlotBankTest, wubiHintStepsGuideDoesNot)
{
    SlotBank bank(m_tables, m_random);
    m_clock = 0;
    bank.Fill(Mode::WubiFollow);
    for (const char* code : { "XCAG", "X", "XC", "XCA", "XCAG" }) {
        ASSERT_EQ(bank.Hint(Mode::WubiFollow, 2).line, std::string(code));
    }
    ASSERT_EQ(bank.Hint(Mode::WubiFollow, 1).line, std::string("XCAG")); // each slot cycles on its own
    ASSERT_EQ(bank.wbSlots[2].hintStep, std::uint16_t(2));

    const SlotHint guide = bank.Guide(Mode::WubiFollow, 2);
    ASSERT_EQ(guide.line, std::string("XCAG"));
    ASSERT_EQ(guide.picture, std::optional<std::int32_t>(1));
    ASSERT_EQ(bank.wbSlots[2].hintStep, std::uint16_t(2));

    // Only the follow-typing modes guide.
    ASSERT_TRUE(!bank.Guide(Mode::WubiChars, 2).showsLine);
    bank.Fill(Mode::PinyinFollow);
    const SlotHint target = bank.Guide(Mode::PinyinFollow, 3);
    ASSERT_EQ(target.line, std::string("zhuang"));
    ASSERT_EQ(target.character.value_or(""), zhuang);
    ASSERT_TRUE(!bank.Guide(Mode::Pinyin, 3).showsLine);
}

TEST_F(SlotBankTest, zeroedSlotsHint)
{
    SlotBank bank(m_tables, m_random);
    const SlotHint wubi = bank.Hint(Mode::WubiChars, 1);
    ASSERT_TRUE(!wubi.showsLine); // step 0 shows nothing
    ASSERT_EQ(wubi.picture, std::optional<std::int32_t>(0));
    ASSERT_EQ(bank.wbSlots[1].hintStep, std::uint16_t(1));
    const SlotHint level2 = bank.Hint(Mode::Level2, 1);
    ASSERT_TRUE(level2.showsLine); // an empty hint line
    ASSERT_EQ(level2.line, std::string());
    ASSERT_EQ(level2.picture, std::optional<std::int32_t>(0));
}

TEST_F(SlotBankTest, noModeDoesNothing)
{
    SlotBank bank(m_tables, m_random);
    bank.Fill(Mode::None);
    bank.Refill(Mode::None, 1);
    bank.Refill(Mode::Pinyin, 0);
    bank.Refill(Mode::Pinyin, 5);
    ASSERT_EQ(bank.ShownText(Mode::None, 1), std::string());
    ASSERT_EQ(bank.ShownText(Mode::Pinyin, 1), std::string());
    ASSERT_TRUE(!bank.Hint(Mode::None, 1).showsLine);
    ASSERT_TRUE(!bank.JudgeKey(Mode::None, 'A').hit());
    ASSERT_EQ(bank.EmptyTableFile(Mode::None), nullptr);
}

// The phrase drill starts only with phrases to draw, and a failed fill keeps what was there.
TEST_F(SlotBankTest, phrasesNeedTheirBook)
{
    SlotBank bank(m_tables, m_random);
    ASSERT_EQ(std::string(bank.EmptyTableFile(Mode::Phrases)), "wbcz.dat");
    ASSERT_THROW(bank.Fill(Mode::Phrases), AppError);
    PhraseBook empty;
    bank.SetPhraseBook(&empty);
    ASSERT_EQ(std::string(bank.EmptyTableFile(Mode::Phrases)), "wbcz.dat");
    ASSERT_THROW(bank.Fill(Mode::Phrases), AppError);
    ASSERT_TRUE(bank.phraseSlots[1].text.empty());
}

// 经国 is typed XCLG: 经 (xcag) gives XC, 国 (lgyi) LG; both have pictures (records 1 and 2 of
// the character table). 男女 has none.
TEST_F(SlotBankTest, phrasesHitShowAndHint)
{
    PhraseBook book;
    book.phrases = { { "xclg", 10, jing + guo, 2 } };
    book.drawer = PhraseDrawer(book.phrases);
    SlotBank bank(m_tables, m_random);
    bank.SetPhraseBook(&book);
    ASSERT_EQ(bank.EmptyTableFile(Mode::Phrases), nullptr);
    bank.Fill(Mode::Phrases);
    for (int k = 1; k <= 4; ++k) {
        ASSERT_EQ(bank.ShownText(Mode::Phrases, k), jing + guo);
    }
    ASSERT_EQ(bank.JudgeAttempt(Mode::Phrases, "XCLG", "").slot, 1);
    ASSERT_EQ(bank.JudgeAttempt(Mode::Phrases, "XCL", "").slot, 0);
    ASSERT_EQ(bank.JudgeAttempt(Mode::Phrases, "", "").slot, 0);
    ASSERT_EQ(bank.Item(Mode::Phrases, 2).text, jing + guo);
    ASSERT_EQ(bank.Item(Mode::Phrases, 2).code, std::string("XCLG"));

    // Each press shows the next character's picture, round the phrase; the line keeps the code.
    for (int expected : { 1, 2, 1 }) {
        const SlotHint hint = bank.Hint(Mode::Phrases, 3);
        ASSERT_TRUE(hint.showsLine);
        ASSERT_EQ(hint.line, std::string("XCLG"));
        ASSERT_EQ(hint.phrase.value(), "XCLG  " + jing + "XC + " + guo + "LG");
        ASSERT_EQ(hint.picture.value(), expected);
    }
    // The follow-typing guide has nothing to say about phrases.
    ASSERT_TRUE(!bank.Guide(Mode::Phrases, 1).showsLine);

    bank.phraseSlots[4] = { "NNVV", nanChar + nvChar, 2, 1 };
    const SlotHint bare = bank.Hint(Mode::Phrases, 4);
    ASSERT_TRUE(!bare.picture);
    ASSERT_TRUE(bare.clearsPicture);

    // A longer phrase lays out in two lines for the square slot.
    bank.phraseSlots[2] = { "XCLG", jing + guo + jing + guo, 4, 1 };
    ASSERT_EQ(bank.ShownText(Mode::Phrases, 2), jing + guo + "\n" + jing + guo);
}
