// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Bytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Where each field the program reads lies in a record of each table, and how its bytes are
// taken: the loader counts records by these sizes and the draw copies fields by these
// offsets, so a layout is changed here or nowhere. Bytes no field names are never read.
enum class FieldUse {
    Raw, // shown text, copied byte for byte
    Trimmed, // a number: blanks and control bytes dropped at both ends
    Cleaned, // a code or pinyin: trimmed and upper-cased, as the judge compares it
};

struct Field {
    int offset; // from the start of the record, counting from 0
    int width;
    FieldUse use;
};

// wb.dat: a character with up to four Wubi codes; its picture number is its position.
struct WbLayout {
    static constexpr int size = 28;
    static constexpr std::array<Field, 4> codes { { { 0, 4, FieldUse::Cleaned }, { 4, 4, FieldUse::Cleaned },
        { 8, 4, FieldUse::Cleaned }, { 12, 4, FieldUse::Cleaned } } };
    static constexpr Field text { 24, 2, FieldUse::Raw };
};

// wb1.dat: a character and its one-letter short code.
struct Wb1Layout {
    static constexpr int size = 5;
    static constexpr Field text { 0, 2, FieldUse::Raw };
    static constexpr Field code { 2, 1, FieldUse::Cleaned };
};

// wb2.dat: a character, its two-letter short code and its picture number in decimal.
struct Wb2Layout {
    static constexpr int size = 14;
    static constexpr Field text { 0, 2, FieldUse::Raw };
    static constexpr Field code { 2, 2, FieldUse::Cleaned };
    static constexpr Field picture { 8, 4, FieldUse::Trimmed };
};

// wbzg.dat: a root and the letter of its key.
struct WbzgLayout {
    static constexpr int size = 5;
    static constexpr Field text { 0, 2, FieldUse::Raw };
    static constexpr Field code { 2, 1, FieldUse::Cleaned };
};

// py.dat: a character's pinyin and the character.
struct PyLayout {
    static constexpr int size = 16;
    static constexpr Field pinyin { 0, 8, FieldUse::Cleaned };
    static constexpr Field text { 12, 2, FieldUse::Raw };
};

// Field f of record r of a table read as text. A field reaching past the end of the text
// is cut there; one starting beyond it is empty.
inline std::string ReadField(std::string_view text, int recordSize, std::uint32_t r, const Field& f)
{
    const std::uint64_t start = std::uint64_t(r) * std::uint64_t(recordSize) + std::uint64_t(f.offset);
    if (start >= text.size())
        return {};
    const std::string_view bytes = text.substr(std::size_t(start), std::size_t(f.width));
    switch (f.use) {
    case FieldUse::Trimmed:
        return std::string(TrimControls(bytes));
    case FieldUse::Cleaned:
        return CleanField(bytes);
    case FieldUse::Raw:
        break;
    }
    return std::string(bytes);
}
