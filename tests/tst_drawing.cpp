// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/Records.h"
#include "session/Drawing.h"
#include "tests/CoreTestSupport.h"

#include <gtest/gtest.h>

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

struct GeneratorStepRow {
    std::string tag;
    uint clock;
    uint n;
    uint seed;
    uint index;
};

std::vector<GeneratorStepRow> generatorStepRows()
{
    std::vector<GeneratorStepRow> rows;
    // seed = clock * 134775813 + 1 (mod 2^32); index = seed * n div 2^32, worked by hand.
    rows.push_back({ "100 of 26", 100u, 26u, 592679413u, 3u });
    rows.push_back({ "100 of 10", 100u, 10u, 592679413u, 1u });
    rows.push_back({ "100 of 2436", 100u, 2436u, 592679413u, 336u });
    rows.push_back({ "0 of 26", 0u, 26u, 1u, 0u });
    rows.push_back({ "max of 26", 0xFFFFFFFFu, 26u, 4160191484u, 25u });
    rows.push_back({ "max of 2436", 0xFFFFFFFFu, 2436u, 4160191484u, 2359u });
    rows.push_back({ "123456789 of 10", 123456789u, 10u, 2335298922u, 5u });
    rows.push_back({ "any of 1", 123456789u, 1u, 2335298922u, 0u });
    return rows;
}

TEST(Drawing, generatorStep)
{
    for (const GeneratorStepRow& row : generatorStepRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const uint& clock = row.clock;
            const uint& n = row.n;
            const uint& seed = row.seed;
            const uint& index = row.index;
            RandomSource r = fixed(clock);
            ASSERT_EQ(uint(r.Index(n)), index);
            ASSERT_EQ(uint(r.seed), seed);
        }();
    }
}

TEST(Drawing, everyDrawReseeds)
{
    // With a clock that stands still, every draw gives the same index.
    RandomSource r = fixed(100);
    ASSERT_EQ(r.Index(26), 3u);
    ASSERT_EQ(r.Index(26), 3u);
    std::uint32_t t = 0;
    RandomSource moving([&t] { return t++; });
    moving.Index(26);
    ASSERT_EQ(moving.seed, 1u);
    moving.Index(26);
    ASSERT_EQ(moving.seed, 134775814u);
}

TEST(Drawing, startCharacters)
{
    const char* expected[3] = { "ABCD", "abcd", "1234" };
    for (int mode = 0; mode < 3; ++mode)
        for (int slot = 1; slot <= 4; ++slot) {
            ASSERT_EQ(StartCharacter(mode, slot), std::string(1, expected[mode][slot - 1]));
        }
}

struct ReplacementRow {
    std::string tag;
    int mode;
    uint clock;
    char typed;
    char expected;
};

std::vector<ReplacementRow> replacementRows()
{
    std::vector<ReplacementRow> rows;
    // Clock 0 draws index 0, clock 0xFFFFFFFF the last index (25 or 9), clock 100 index 3 / 1.
    rows.push_back({ "upper plain", 0, 100u, 'A', 'D' });
    rows.push_back({ "upper same gives next", 0, 100u, 'D', 'E' });
    rows.push_back({ "Z after Z is A", 0, 0xFFFFFFFFu, 'Z', 'A' });
    rows.push_back({ "lower plain", 1, 0u, 'b', 'a' });
    rows.push_back({ "z after z is a", 1, 0xFFFFFFFFu, 'z', 'a' });
    rows.push_back({ "digit plain", 2, 100u, '5', '1' });
    rows.push_back({ "9 after 9 is 1", 2, 0xFFFFFFFFu, '9', '1' });
    rows.push_back({ "0 from the draw", 2, 0u, '5', '0' });
    rows.push_back({ "0 after 0 is 1", 2, 0u, '0', '1' });
    return rows;
}

TEST(Drawing, replacement)
{
    for (const ReplacementRow& row : replacementRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& mode = row.mode;
            const uint& clock = row.clock;
            const char& typed = row.typed;
            const char& expected = row.expected;
            RandomSource r = fixed(clock);
            ASSERT_EQ(ReplacementCharacter(mode, typed, r), expected);
        }();
    }
}

TEST(Drawing, replacementNeverRepeatsTheTypedCharacter)
{
    std::uint32_t t = 7;
    RandomSource r([&t] { return t += 2654435761u; });
    for (int i = 0; i < 3000; ++i) {
        for (int mode = 0; mode < 3; ++mode) {
            const char typed = mode == 0 ? char('A' + i % 26) : mode == 1 ? char('a' + i % 26) : char('0' + i % 10);
            const char c = ReplacementCharacter(mode, typed, r);
            ASSERT_TRUE(c != typed);
            if (mode == 0) {
                ASSERT_TRUE(c >= 'A' && c <= 'Z');
            } else if (mode == 1)
                ASSERT_TRUE(c >= 'a' && c <= 'z');
            else {
                ASSERT_TRUE(c >= '0' && c <= '9');
            }
        }
    }
}

struct CleanFieldRow {
    std::string tag;
    std::string raw;
    std::string clean;
};

std::vector<CleanFieldRow> cleanFieldRows()
{
    std::vector<CleanFieldRow> rows;
    rows.push_back({ "blanks", std::string("  ab "), std::string("AB") });
    rows.push_back({ "control bytes", std::string("\t\x01xc\r\n"), std::string("XC") });
    rows.push_back({ "inner blank kept", std::string(" a b "), std::string("A B") });
    rows.push_back({ "four blanks", std::string("    "), std::string("") });
    rows.push_back({ "GBK kept", std::string("\xd6\xd0z"), std::string("\xd6\xd0Z") });
    rows.push_back({ "upper stays", std::string("ZHUANG"), std::string("ZHUANG") });
    return rows;
}

TEST(Drawing, cleanField)
{
    for (const CleanFieldRow& row : cleanFieldRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& raw = row.raw;
            const std::string& clean = row.clean;
            ASSERT_EQ(std::string(CleanField(raw)), clean);
        }();
    }
}

TEST(Drawing, fieldsPastTheEndAreCut)
{
    const std::string text = "abcdefgh";
    ASSERT_EQ(RecordField(text, 5, 1, 1, 2), std::string("fg"));
    ASSERT_EQ(RecordField(text, 5, 1, 3, 5), std::string("h"));
    ASSERT_EQ(RecordField(text, 5, 1, 4, 5), std::string());
    ASSERT_EQ(RecordField(text, 5, 9, 1, 2), std::string());
}

TEST(Drawing, fieldUses)
{
    // Record 1 of a 14-byte table: a level-2 record whose picture field reads "  12".
    const std::string text = std::string(14, 'x') + "\xd3\xdagf      12  ";
    ASSERT_EQ(ReadField(text, 14, 1, { 0, 2, FieldUse::Raw }), std::string("\xd3\xda"));
    ASSERT_EQ(ReadField(text, 14, 1, { 2, 2, FieldUse::Cleaned }), std::string("GF"));
    ASSERT_EQ(ReadField(text, 14, 1, { 2, 2, FieldUse::Raw }), std::string("gf"));
    ASSERT_EQ(ReadField(text, 14, 1, { 8, 4, FieldUse::Trimmed }), std::string("12"));
    ASSERT_EQ(ReadField(text, 14, 1, { 8, 4, FieldUse::Raw }), std::string("  12"));
    // Cut at the end of the text, empty beyond it.
    ASSERT_EQ(ReadField(text, 14, 1, { 12, 4, FieldUse::Raw }), std::string("  "));
    ASSERT_EQ(ReadField(text, 14, 2, { 0, 2, FieldUse::Raw }), std::string());
    ASSERT_EQ(ReadField(text, 14, 0xFFFFFFFFu, { 0, 2, FieldUse::Raw }), std::string());
}

TEST(Drawing, pinyinSlot)
{
    Table t = plainTable(PlainPy({ { "男", "nan" }, { "庄", "ZHUANG" } }), 16);
    RandomSource r = fixed(0xFFFFFFFF);
    tavcharsetpy slot;
    DrawSlot(t, r, slot);
    ASSERT_EQ(slot.pinyin, std::string("ZHUANG"));
    ASSERT_EQ(slot.text, Gbk("庄"));
}

TEST(Drawing, rootSlotNeverDrawsTheFiller)
{
    const std::string content = PlainWbzg({ { "王", "g" }, { "土", "f" } }); // plus its filler record
    Table t = plainTable(content, 5, -1);
    ASSERT_EQ(t.count, 2);
    RandomSource last = fixed(0xFFFFFFFF);
    tavcharsetzg slot;
    DrawSlot(t, last, slot);
    ASSERT_EQ(slot.text, Gbk("土"));
    ASSERT_EQ(slot.code, std::string("F"));
}

TEST(Drawing, level1Slot)
{
    Table t = plainTable(PlainWb1({ { "不", "i" } }), 5);
    RandomSource r = fixed(3);
    tavcharset1 slot;
    DrawSlot(t, r, slot);
    ASSERT_EQ(slot.code, std::string("I"));
    ASSERT_EQ(slot.text, Gbk("不"));
}

struct Level2PictureNumberRow {
    std::string tag;
    std::string field;
    int number;
};

std::vector<Level2PictureNumberRow> level2PictureNumberRows()
{
    std::vector<Level2PictureNumberRow> rows;
    rows.push_back({ "two blanks then 12", std::string("  12"), 12 });
    rows.push_back({ "right-aligned 3071", std::string("3071"), 3071 });
    rows.push_back({ "left-aligned", std::string("7   "), 7 });
    rows.push_back({ "signed", std::string(" -5 "), -5 });
    return rows;
}

TEST(Drawing, level2PictureNumber)
{
    for (const Level2PictureNumberRow& row : level2PictureNumberRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& field = row.field;
            const int& number = row.number;
            Table t = plainTable(PlainWb2({ { "五", "gg", field } }), 14);
            RandomSource r = fixed(1);
            tavcharset2 slot;
            DrawSlot(t, r, slot);
            ASSERT_EQ(slot.pictureNo, number);
            ASSERT_EQ(slot.code, std::string("GG"));
        }();
    }
}

TEST(Drawing, level2BadPictureKeepsOldNumber)
{
    Table t = plainTable(PlainWb2({ { "五", "gg", " 1x " } }), 14);
    RandomSource r = fixed(1);
    tavcharset2 slot;
    slot.pictureNo = 44;
    try {
        DrawSlot(t, r, slot);
        FAIL() << ("no error");
    } catch (const AppError& e) {
        ASSERT_EQ(std::string(e.what()), "'1x' is not a valid integer value");
        ASSERT_EQ(e.encoding(), AppError::Encoding::Gbk);
    }
    ASSERT_EQ(slot.text, Gbk("五"));
    ASSERT_EQ(slot.code, std::string("GG"));
    ASSERT_EQ(slot.pictureNo, 44);
}

TEST(Drawing, wubiSlot)
{
    Table t = plainTable(PlainWb({ { { "gggg", "g", "", "" }, "一" }, { { "xcag", "x", "xc", "xca" }, "经" } }), 28);
    RandomSource r = fixed(0xFFFFFFFF);
    tavcharset slot;
    slot.hintStep = 3;
    DrawSlot(t, r, slot);
    ASSERT_EQ(slot.codes[1], std::string("XCAG"));
    ASSERT_EQ(slot.codes[2], std::string("X"));
    ASSERT_EQ(slot.codes[3], std::string("XC"));
    ASSERT_EQ(slot.codes[4], std::string("XCA"));
    ASSERT_EQ(slot.text, Gbk("经"));
    ASSERT_EQ(slot.pictureNo, 2);
    ASSERT_EQ(slot.hintStep, std::uint16_t(1));
    RandomSource first = fixed(0);
    DrawSlot(t, first, slot);
    ASSERT_EQ(slot.pictureNo, 1);
}

TEST(Drawing, wubiBlankCodesAreEmpty)
{
    Table t = plainTable(PlainWb({ { { "gggg", "", "", "" }, "一" } }), 28);
    RandomSource r = fixed(0);
    tavcharset slot;
    DrawSlot(t, r, slot);
    ASSERT_TRUE(slot.codes[2].empty() && slot.codes[3].empty() && slot.codes[4].empty());
}

TEST(Drawing, emptyTableIsRefused)
{
    Table empty = plainTable("", 28);
    Table rootsOnlyFiller = plainTable("     ", 5, -1);
    RandomSource r = fixed(0);
    tavcharset wb;
    tavcharsetzg zg;
    ASSERT_THROW(DrawSlot(empty, r, wb), AppError);
    ASSERT_THROW(DrawSlot(rootsOnlyFiller, r, zg), AppError);
}

TEST(Drawing, zeroByteHidesLaterRecords)
{
    std::string content = PlainWb1({ { "一", "g" }, { "地", "f" } });
    content[5] = '\0';
    Table t = plainTable(content, 5);
    RandomSource last = fixed(0xFFFFFFFF);
    tavcharset1 slot;
    DrawSlot(t, last, slot);
    ASSERT_TRUE(slot.text.empty());
    ASSERT_TRUE(slot.code.empty());
}
