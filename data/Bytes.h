// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Byte-string helpers for GBK text. Only ASCII bytes are ever changed: the bytes of a
// double-byte character are at or above 0x80, so no helper here can split or alter one.

// Bytes 0-32: the blanks and control characters the tables pad their fields with.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

constexpr std::string_view TrimControls(std::string_view bytes)
{
    while (!bytes.empty() && IsBlankOrControl(bytes.front()))
        bytes.remove_prefix(1);
    while (!bytes.empty() && IsBlankOrControl(bytes.back()))
        bytes.remove_suffix(1);
    return bytes;
}

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

inline std::string AsciiLower(std::string text)
{
    for (char& c : text)
        c = AsciiLower(c);
    return text;
}

// A code or pinyin as the judge compares it: trimmed of blanks and control bytes, upper case.
inline std::string CleanField(std::string_view bytes) { return AsciiUpper(std::string(TrimControls(bytes))); }
