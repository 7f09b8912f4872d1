#pragma once

#include <array>
#include <cstdint>
#include <string>

// The record kept for each display slot. Strings are GBK bytes. The fields the judge
// compares (code, pinyin, codes) are held trimmed and upper-cased; text is kept raw.
struct tavcharset {
    std::array<std::string, 5> codes; // 1..4; element 0 unused
    std::string text;
    std::uint16_t hintStep = 0;
    std::int32_t pictureNo = 0;
};

struct tavcharset1 {
    std::string code;
    std::string text;
};

struct tavcharset2 {
    std::string code;
    std::string text;
    std::int32_t pictureNo = 0;
};

struct tavcharsetzg {
    std::string code;
    std::string text;
};

struct tavcharsetpy {
    std::string pinyin;
    std::string text;
};

// Four slots numbered 1..4 from the left; element 0 is never used.
template <typename T> using SlotTable = std::array<T, 5>;

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
// The phrase drill, chosen from the further-practice menu rather than the mode group.
constexpr int Phrases = 10;

constexpr bool IsSingleKey(int mode) { return mode >= 0 && mode <= 2; }
constexpr bool IsInputBox(int mode) { return (mode >= 3 && mode <= 9) || mode == Phrases; }
}

// Seconds of each test time, in the order the time group lists them.
constexpr std::array<int, 8> TestTimeSeconds = { 60, 300, 600, 1800, 3600, 7200, 10800, 18000 };
