// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Modes.h"

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
