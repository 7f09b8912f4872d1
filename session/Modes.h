// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// The practice modes, in the order the mode group lists them.
namespace Mode {
constexpr int None = -1;
constexpr int UpperLetters = 0;
constexpr int LowerLetters = 1;
constexpr int Digits = 2;
constexpr int Pinyin = 3;
constexpr int Roots = 4;
constexpr int Level1 = 5;
constexpr int Level2 = 6;
constexpr int WubiChars = 7;
constexpr int PinyinFollow = 8;
constexpr int WubiFollow = 9;
constexpr int Count = 10;
// The phrase drill, chosen from the further-practice menu rather than the mode group: its
// row follows the group's rows.
constexpr int Phrases = 10;
}

// Which slot table a mode's items live in; each table has its own record type.
enum class SlotKind { None, Key, Pinyin, Root, Level1, Level2, Wubi, Phrase };

// When the input box turns what it holds into an attempt.
enum class Submit {
    None, // single-key modes: every key is judged on its own, outside the box
    EveryKey, // the key itself is the attempt
    Space, // the box's text, at a space
    SpaceOrFourthKey // as Space, and a four-letter code submits itself at its fourth key
};

// What the follow-typing modes show beside the slots.
enum class Follow {
    None,
    Target, // the next slot's pinyin and character; only that slot can be hit
    Guide, // the next slot's first code and picture; any slot can still be hit
};

// Everything that differs from one mode to the next, so that the window and the session
// code ask this table instead of testing mode numbers.
struct ModeInfo {
    SlotKind slotKind = SlotKind::None;
    Submit submit = Submit::None;
    Follow follow = Follow::None;
    bool hitSound = false;
    bool boxKeepsKeyOnHit = false; // the root drill leaves the typed key in the box
    const char* resultPrefix = ""; // UTF-8, before the speed in the result line
    const char* timeUpPrefix = ""; // the same when the test time ran out
    const char* speedUnit = "字"; // what the speed counts per minute
    const char* countUnit = "个字"; // what the total counts
};

namespace ModeTable {
// clang-format off
constexpr std::array<ModeInfo, Mode::Count> modes { {
    { SlotKind::Key,    Submit::None,             Follow::None,   true,  false, "大写字母练习：速度：", "大写字母练习：速度：" },
    { SlotKind::Key,    Submit::None,             Follow::None,   true,  false, "小写字母练习：速度：", "小写字母练习：速度：" },
    { SlotKind::Key,    Submit::None,             Follow::None,   true,  false, "数字练习：速度：",     "数字练习：速度：" },
    { SlotKind::Pinyin, Submit::Space,            Follow::None,   true,  false, "拼音练习：速度：",     "拼音测试：速度：" },
    { SlotKind::Root,   Submit::EveryKey,         Follow::None,   true,  true,  "字根练习：速度：",     "字根练习：速度：" },
    { SlotKind::Level1, Submit::Space,            Follow::None,   true,  false, "一级简码练习：速度：", "一级简码练习：速度：" },
    { SlotKind::Level2, Submit::Space,            Follow::None,   false, false, "二级简码练习：速度：", "二级简码练习：速度：" },
    { SlotKind::Wubi,   Submit::SpaceOrFourthKey, Follow::None,   true,  false, "五笔汉字练习：速度：", "五笔汉字练习：速度：" },
    { SlotKind::Pinyin, Submit::Space,            Follow::Target, true,  false, "拼音跟打：速度：",     "拼音跟打：速度：" },
    { SlotKind::Wubi,   Submit::SpaceOrFourthKey, Follow::Guide,  true,  false, "五笔跟打：速度：",     "五笔跟打：速度：" },
} };
constexpr ModeInfo phrases
    { SlotKind::Phrase, Submit::SpaceOrFourthKey, Follow::None,   true,  false, "词组练习：速度：",     "词组练习：速度：", "词", "个词组" };
// clang-format on
constexpr ModeInfo none {};
}

// The row of a mode; a mode outside the table (none selected) gets an empty row.
constexpr const ModeInfo& ModeOf(int mode)
{
    if (mode == Mode::Phrases)
        return ModeTable::phrases;
    return mode >= 0 && mode < Mode::Count ? ModeTable::modes[static_cast<std::size_t>(mode)] : ModeTable::none;
}

namespace Mode {
// Judged by the window's key handler, one key at a time, counted in keyHitCount.
constexpr bool IsSingleKey(int mode) { return ModeOf(mode).slotKind == SlotKind::Key; }
// Typed into the input box, judged by its handler, counted in inputHitCount.
constexpr bool IsInputBox(int mode) { return ModeOf(mode).submit != Submit::None; }
}

// Seconds of each test time, in the order the time group lists them.
constexpr std::array<int, 8> TestTimeSeconds = { 60, 300, 600, 1800, 3600, 7200, 10800, 18000 };
