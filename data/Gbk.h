// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// GBK (code page 936), the encoding of every text in the data tables, converted with the
// core's own table, the same on every platform: Qt's GBK codec exists only where Qt was built
// with ICU, and iconv only where there is a C library that has it.
//
// The table holds the 21791 two-byte characters of glibc's CP936, ASCII, and 0x80 for the euro
// sign; the user-defined areas, which map to private-use code points, are not characters here.
namespace gbk {

// The GBK bytes of one code point: a value below 0x100 is one byte, otherwise two (lead byte
// high); -1 when GBK has no code for it.
int Encode(char32_t codePoint);

// The code point of a two-byte code, or 0 when the pair is no GBK character.
char32_t DecodePair(unsigned char lead, unsigned char trail);

// Bytes that are no GBK character, and characters GBK cannot hold, either make the whole
// conversion fail or are replaced: by U+FFFD when decoding, by '?' when encoding.
enum class OnError { Fail, Replace };

std::optional<std::u16string> ToUtf16(std::string_view gbk, OnError onError = OnError::Fail);
std::optional<std::string> FromUtf16(std::u16string_view text, OnError onError = OnError::Fail);

// The generators read and write UTF-8; these fail on bytes that are not valid UTF-8 or GBK.
std::optional<std::string> ToUtf8(std::string_view gbk);
std::optional<std::string> FromUtf8(std::string_view utf8);

}
