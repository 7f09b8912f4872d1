// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Judge.h"
#include "session/Modes.h"

#include <gtest/gtest.h>

#include <string>

TEST(Judge, filter)
{
    // The keys the box keeps, written out: Backspace, space and the 52 letters. Every other
    // byte is dropped: the neighbours of the letters, digits, Enter, Escape, Tab, and the lead
    // and trail bytes of a GBK character (练 is C1 B7) among them.
    const std::string kept = "\b ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    ASSERT_EQ(kept.size(), 54u);
    for (int c = 0; c < 256; ++c) {
        const bool expected = kept.find(char(c)) != std::string::npos;
        EXPECT_EQ(KeptByFilter(char(c)), expected) << "byte " << c;
    }
    for (char dropped : { '@', '[', '`', '{', '0', '9', '\r', '\x1b', '\t', '\0', '\x7f', '\xc1', '\xb7', '\xff' }) {
        EXPECT_FALSE(KeptByFilter(dropped)) << "byte " << int(static_cast<unsigned char>(dropped));
    }
}

TEST(Judge, attempts)
{
    using Box = AttemptForm::Box;
    struct Row {
        const char* name;
        int mode;
        std::string box;
        char key;
        bool made;
        std::string attempt;
        Box boxAfter;
    };
    const Row rows[] = {
        { "pinyin space", Mode::Pinyin, "nan", ' ', true, "NAN", Box::Emptied },
        { "pinyin letter", Mode::Pinyin, "na", 'n', false, "", Box::Unchanged },
        { "pinyin 4 letters no auto", Mode::Pinyin, "zhu", 'a', false, "", Box::Unchanged },
        { "space on empty box", Mode::Level1, "", ' ', true, "", Box::Emptied },
        { "space on blank box", Mode::Level2, "  ", ' ', true, "", Box::Emptied },
        { "root every key", Mode::Roots, "xyz", 'g', true, "G", Box::SetToKey },
        { "root space", Mode::Roots, "", ' ', true, "", Box::SetToKey },
        { "root backspace", Mode::Roots, "g", '\b', true, "", Box::SetToKey },
        { "root discarded", Mode::Roots, "g", '\0', false, "", Box::Unchanged },
        { "wubi fourth letter", Mode::WubiChars, "xca", 'g', true, "XCAG", Box::Emptied },
        { "wubi third letter", Mode::WubiChars, "xc", 'a', false, "", Box::Unchanged },
        { "wubi backspace at three", Mode::WubiFollow, "lgy", '\b', true, "LGY", Box::Emptied },
        { "wubi discarded at three", Mode::WubiChars, "lgy", '\0', true, "LGY", Box::Emptied },
        { "leading blank counts", Mode::WubiChars, " xc", 'a', true, "XCA", Box::Emptied },
        { "wubi space", Mode::WubiFollow, "x", ' ', true, "X", Box::Emptied },
        { "wubi backspace at two", Mode::WubiChars, "xc", '\b', false, "", Box::Unchanged },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const AttemptForm f = FormAttempt(r.mode, r.box, int(r.box.size()), r.key);
        EXPECT_EQ(f.made, r.made);
        EXPECT_EQ(f.attempt, r.attempt);
        EXPECT_EQ(f.box, r.boxAfter);
    }
}

TEST(Judge, leftmostSlotWins)
{
    SlotTable<tavcharsetpy> py;
    py[2].pinyin = "NAN";
    py[4].pinyin = "NAN";
    EXPECT_EQ(MatchAttempt(py, "NAN"), 2);
    EXPECT_EQ(MatchAttempt(py, "NV"), 0);
    SlotTable<std::string> keys = { "", "A", "B", "A", "C" };
    EXPECT_EQ(MatchKey(keys, 'A'), 1);
    EXPECT_EQ(MatchKey(keys, 'a'), 0);
}

TEST(Judge, codesTriedInOrderBeforeNextSlot)
{
    SlotTable<tavcharset> wb;
    wb[2].codes = { "", "GGGG", "G", "", "XCAG" };
    wb[3].codes = { "", "XCAG", "X", "", "" };
    EXPECT_EQ(MatchAttempt(wb, "XCAG"), 2);
    EXPECT_EQ(MatchAttempt(wb, "X"), 3);
}

TEST(Judge, emptyCodesNeverMatch)
{
    // An empty attempt (a space on an empty box) must never hit a slot, though every slot
    // below has empty fields that an equality test alone would match.
    SlotTable<tavcharset> wb;
    wb[2].codes = { "", "", "", "X", "" };
    EXPECT_EQ(MatchAttempt(wb, ""), 0);
    EXPECT_EQ(MatchAttempt(wb, "A"), 0);
    EXPECT_EQ(MatchAttempt(wb, "X"), 2);
    EXPECT_EQ(MatchAttempt(SlotTable<tavcharsetpy> {}, ""), 0);
    EXPECT_EQ(MatchAttempt(SlotTable<tavcharsetzg> {}, ""), 0);
    EXPECT_EQ(MatchAttempt(SlotTable<tavcharset1> {}, ""), 0);
    EXPECT_EQ(MatchAttempt(SlotTable<tavcharset2> {}, ""), 0);
    EXPECT_EQ(MatchAttempt(SlotTable<tavcharset> {}, ""), 0);
}

TEST(Judge, hintCycle)
{
    tavcharset s;
    s.codes = { "", "XCAG", "X", "XC", "XCA" };
    s.hintStep = 1;
    for (const char* expected : { "XCAG", "X", "XC", "XCA", "XCAG" }) {
        std::string hint;
        ASSERT_TRUE(NextWubiHint(s, hint));
        EXPECT_EQ(hint, expected);
    }
    EXPECT_EQ(s.hintStep, 2);
}

TEST(Judge, hintStepOutOfRange)
{
    tavcharset zeroed;
    std::string hint = "unchanged";
    EXPECT_FALSE(NextWubiHint(zeroed, hint));
    EXPECT_EQ(hint, "unchanged");
    EXPECT_EQ(zeroed.hintStep, 1);
    zeroed.hintStep = 65535;
    EXPECT_FALSE(NextWubiHint(zeroed, hint));
    EXPECT_EQ(zeroed.hintStep, 1);
}

TEST(Judge, caseFolding)
{
    EXPECT_EQ(FoldKey(Mode::UpperLetters, 'a'), 'A');
    EXPECT_EQ(FoldKey(Mode::UpperLetters, '1'), '1');
    EXPECT_EQ(FoldKey(Mode::LowerLetters, 'Q'), 'q');
    EXPECT_EQ(FoldKey(Mode::Digits, 'a'), 'a');
    EXPECT_EQ(AsciiLower("ZHUANG"), "zhuang");
    EXPECT_EQ(AsciiLower("\xC1\xB7Z"), "\xC1\xB7z");
}
