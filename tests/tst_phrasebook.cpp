// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/PhraseTables.h"
#include "session/Drawing.h"
#include "session/PhraseBook.h"
#include "session/PhraseCode.h"

#include "tests/CoreTestSupport.h"

#include <gtest/gtest.h>

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

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
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

struct PhraseRulesRow {
    std::string tag;
    std::vector<std::string> fullCodes;
    std::string code;
    std::vector<std::string> parts;
};

std::vector<PhraseRulesRow> phraseRulesRows()
{
    std::vector<PhraseRulesRow> rows;
    rows.push_back(
        { "工艺", std::vector<std::string> { "aaaa", "anb" }, "aaan", std::vector<std::string> { "aa", "an" } });
    rows.push_back({ "共和国", std::vector<std::string> { "awu", "tkg", "lgyi" }, "atlg",
        std::vector<std::string> { "a", "t", "lg" } });
    rows.push_back({ "操作系统", std::vector<std::string> { "rkks", "wthf", "txiu", "xycq" }, "rwtx",
        std::vector<std::string> { "r", "w", "t", "x" } });
    rows.push_back({ "中华人民共和国", std::vector<std::string> { "khk", "wxfj", "w", "nav", "awu", "tkg", "lgyi" },
        "kwwl", std::vector<std::string> { "k", "w", "w", "", "", "", "l" } });
    rows.push_back({ "one character", std::vector<std::string> { "aaaa" }, "", std::vector<std::string> {} });
    rows.push_back({ "full code too short", std::vector<std::string> { "a", "anb" }, "", std::vector<std::string> {} });
    return rows;
}

TEST(PhraseBook, phraseRules)
{
    for (const PhraseRulesRow& row : phraseRulesRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::vector<std::string>& fullCodes = row.fullCodes;
            const std::string& code = row.code;
            const std::vector<std::string>& parts = row.parts;
            std::vector<std::string> codes;
            for (const std::string& c : fullCodes)
                codes.push_back(c);
            ASSERT_EQ(FormPhraseCode(codes).value_or(""), code);
            if (code.empty())
                return;
            Texts expected;
            for (const std::string& p : parts)
                expected.push_back(p);
            ASSERT_EQ(SplitPhraseCode(code, int(codes.size())), expected);
            ASSERT_TRUE(SplitPhraseCode("aaa", 2).empty());
        }();
    }
}

TEST(PhraseBook, recordsRoundTrip)
{
    const PhraseRecord phrase { "kwwl", 67000000, zhong + hua + ren + min + "\xb9\xb2\xba\xcd" + guo, 7 };
    const std::string bytes = PhraseRecordBytes(phrase);
    ASSERT_EQ(bytes.size(), size_t(PhraseRecordSize));
    ASSERT_EQ(bytes, std::string("kwwl67000000  ") + phrase.text + "    ");
    const auto back = ParsePhraseTable(bytes + PhraseRecordBytes({ "aaan", 0, gong + yi, 2 }), "wbcz.dat");
    ASSERT_EQ(back.size(), size_t(2));
    ASSERT_EQ(back[0].text, phrase.text);
    ASSERT_EQ(back[0].characters, 7);
    ASSERT_EQ(back[0].weight, 67000000u);
    ASSERT_EQ(back[1].code, std::string("aaan"));

    const CharacterCode code { "a", 4294967295u, gong };
    ASSERT_EQ(CharacterCodeRecordBytes(code), std::string("a   4294967295") + gong);
    const auto codes = ParseCharacterCodeTable(CharacterCodeRecordBytes(code), "wbzd.dat");
    ASSERT_EQ(codes.size(), size_t(1));
    ASSERT_EQ(codes[0].weight, 4294967295u);
}

struct DamagedTablesRow {
    std::string tag;
    bool phrases;
    std::string bytes;
    std::string message;
};

std::vector<DamagedTablesRow> damagedTablesRows()
{
    std::vector<DamagedTablesRow> rows;
    const auto good = phraseRecord("aaan", "80700000", gong + yi);
    rows.push_back({ "empty", true, std::string(), "The code table \"t\" is empty." });
    rows.push_back({ "cut short", true, good + good.substr(0, 20),
        "The code table \"t\" is cut short: 52 bytes are no whole number of 32-byte records." });
    rows.push_back({ "upper-case code", true, good + phraseRecord("AAAN", "1", gong + yi),
        "The code table \"t\" is damaged: record 2 has no four-letter code." });
    rows.push_back({ "short phrase code", true, phraseRecord("aan", "1", gong + yi),
        "The code table \"t\" is damaged: record 1 has no four-letter code." });
    rows.push_back({ "z in code", true, phraseRecord("aazn", "1", gong + yi),
        "The code table \"t\" is damaged: record 1 has no four-letter code." });
    rows.push_back({ "weight not digits", true, phraseRecord("aaan", "8x", gong + yi),
        "The code table \"t\" is damaged: record 1 has no weight." });
    rows.push_back({ "weight too large", true, phraseRecord("aaan", "4294967296", gong + yi),
        "The code table \"t\" is damaged: record 1 has no weight." });
    rows.push_back({ "one character", true, phraseRecord("aaan", "1", gong),
        "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters." });
    rows.push_back({ "zero byte in text", true, std::string(phraseRecord("aaan", "1", gong + std::string(2, '\0'))),
        "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters." });
    rows.push_back({ "GBK outside GB2312", true, phraseRecord("aaan", "1", gong + "\x81\x40"),
        "The code table \"t\" is damaged: record 1 holds no phrase of GB2312 characters." });
    rows.push_back({ "code with a gap", false, codeRecord("a a", "1", gong),
        "The code table \"t\" is damaged: record 1 has no code of one to four letters." });
    rows.push_back({ "no character", false, codeRecord("a", "1", "  "),
        "The code table \"t\" is damaged: record 1 holds no GB2312 character." });
    rows.push_back({ "code table cut short", false, codeRecord("a", "1", gong).substr(0, 15),
        "The code table \"t\" is cut short: 15 bytes are no whole number of "
        "16-byte records." });
    return rows;
}

TEST(PhraseBook, damagedTables)
{
    for (const DamagedTablesRow& row : damagedTablesRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const bool& phrases = row.phrases;
            const std::string& bytes = row.bytes;
            const std::string& message = row.message;
            const std::string text = bytes;
            const std::string error = errorOf([&] {
                if (phrases)
                    ParsePhraseTable(text, "t");
                else
                    ParseCharacterCodeTable(text, "t");
            });
            ASSERT_EQ(error, message);
        }();
    }
}

TEST(PhraseBook, lexiconRanksByWeightAcrossTables)
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
    ASSERT_EQ(lexicon.Size(), size_t(6));
    ASSERT_EQ(lexicon.TextsForCode("aaan"), (Texts { gong + yi, yi, zhong, hua + ren }));
    ASSERT_EQ(lexicon.CodesForText(gong), (Texts { "a", "aaaa" }));
}

TEST(PhraseBook, oneBadTableLeavesTheOther)
{
    TemporaryDir dir;
    writeFile((dir.path() / "wbzd.dat"), codeRecord("aaaa", "9", gong) + codeRecord("a", "8", gong));
    writeFile((dir.path() / "wbcz.dat"), phraseRecord("aaan", "1", gong + yi) + "cut");
    PhraseBook book;
    const auto errors = LoadPhraseBook(dir.path(), book);
    ASSERT_EQ(errors.size(), size_t(1));
    ASSERT_TRUE(std::string(errors[0].what()).find("wbcz.dat\" is cut short") != std::string::npos) << errors[0].what();
    ASSERT_TRUE(book.phrases.empty());
    ASSERT_TRUE(book.drawer.Empty());
    ASSERT_EQ(book.lexicon.CodesForText(gong), (Texts { "a", "aaaa" }));

    // And the other way round: the phrases load when the character table is damaged.
    writeFile((dir.path() / "wbzd.dat"), codeRecord("aaaa", "9", "ab"));
    writeFile((dir.path() / "wbcz.dat"), phraseRecord("aaan", "1", gong + yi));
    PhraseBook second;
    const auto errors2 = LoadPhraseBook(dir.path(), second);
    ASSERT_EQ(errors2.size(), size_t(1));
    ASSERT_TRUE(std::string(errors2[0].what()).find("wbzd.dat\" is damaged: record 1") != std::string::npos);
    ASSERT_EQ(second.phrases.size(), size_t(1));
    ASSERT_EQ(second.lexicon.TextsForCode("aaan"), (Texts { gong + yi }));
}

TEST(PhraseBook, missingTablesNameTheirFiles)
{
    TemporaryDir dir;
    PhraseBook book;
    const auto errors = LoadPhraseBook(dir.path(), book);
    ASSERT_EQ(errors.size(), size_t(2));
    ASSERT_TRUE(std::string(errors[0].what()).starts_with("Cannot open file \"" + (dir.path() / "wbzd.dat").string()));
    ASSERT_TRUE(std::string(errors[1].what()).starts_with("Cannot open file \"" + (dir.path() / "wbcz.dat").string()));
    ASSERT_TRUE(book.lexicon.Empty());
    ASSERT_TRUE(book.drawer.Empty());
    tavphrase slot;
    RandomSource random;
    ASSERT_TRUE(!errorOf([&] { DrawPhraseSlot(book, random, slot); }).empty());
}

TEST(PhraseBook, drawerKeepsLengthSharesAndFavoursFrequent)
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
    ASSERT_TRUE(std::abs(byClass[0] - draws * 6 / 10) < draws / 20) << std::to_string(byClass[0]);
    ASSERT_TRUE(std::abs(byClass[1] - draws * 2 / 10) < draws / 20);
    ASSERT_TRUE(std::abs(byClass[2] - draws * 2 / 10) < draws / 20);
    // sqrt weights 1001 against five of 11: the heavy phrase takes about 95% of its class,
    // the light ones still come up.
    ASSERT_TRUE(hits[0] > byClass[0] * 9 / 10);
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(hits[size_t(i)] > 0);
    }
}

TEST(PhraseBook, drawAndMatch)
{
    PhraseBook book;
    book.phrases = { { "aaan", 1, gong + yi, 2 } };
    book.drawer = PhraseDrawer(book.phrases);
    RandomSource random([] { return 7u; });
    std::array<tavphrase, 5> phraseSlots;
    ASSERT_EQ(MatchPhrase(phraseSlots, ""), 0); // empty slots never match
    DrawPhraseSlot(book, random, phraseSlots[3]);
    ASSERT_EQ(phraseSlots[3].code, std::string("AAAN"));
    ASSERT_EQ(phraseSlots[3].text, gong + yi);
    ASSERT_EQ(phraseSlots[3].hintStep, std::uint16_t(1));
    DrawPhraseSlot(book, random, phraseSlots[4]);
    ASSERT_EQ(MatchPhrase(phraseSlots, "AAAN"), 3); // the leftmost wins
    ASSERT_EQ(MatchPhrase(phraseSlots, "aaan"), 0);
    ASSERT_EQ(MatchPhrase(phraseSlots, "AAA"), 0);
}

TEST(PhraseBook, hints)
{
    tavphrase two { "AAAN", gong + yi, 2, 1 };
    ASSERT_EQ(PhraseHint(two), "AAAN  " + gong + "AA + " + yi + "AN");
    tavphrase three { "ATLG", "\xb9\xb2\xba\xcd" + guo, 3, 1 };
    ASSERT_EQ(PhraseHint(three), "ATLG  \xb9\xb2" + std::string("A + \xba\xcdT + ") + guo + "LG");
    tavphrase seven { "KWWL", zhong + hua + ren + min + "\xb9\xb2\xba\xcd" + guo, 7, 1 };
    ASSERT_EQ(PhraseHint(seven), "KWWL  " + zhong + "K + " + hua + "W + " + ren + "W + \xa1\xad + " + guo + "L");
    tavphrase broken { "AAAN", gong, 2, 1 };
    ASSERT_EQ(PhraseHint(broken), std::string("AAAN"));
}

TEST(PhraseBook, slotText)
{
    int perLine = 0;
    ASSERT_EQ(PhraseSlotText(gong + yi, perLine), gong + yi);
    ASSERT_EQ(perLine, 2);
    ASSERT_EQ(PhraseSlotText(gong + yi + guo, perLine), gong + yi + guo);
    ASSERT_EQ(perLine, 3);
    ASSERT_EQ(PhraseSlotText(gong + yi + zhong + guo, perLine), gong + yi + "\n" + zhong + guo);
    ASSERT_EQ(perLine, 2);
    const std::string seven = zhong + hua + ren + min + gong + yi + guo;
    ASSERT_EQ(PhraseSlotText(seven, perLine), zhong + hua + ren + min + "\n" + gong + yi + guo);
    ASSERT_EQ(perLine, 4);
}
