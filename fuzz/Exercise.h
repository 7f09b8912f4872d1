// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the fuzzers and the randomized fault test do with arbitrary bytes: take them as the
// content of each data table (under any key), load them the way start-up does, draw every
// kind of slot from the result, judge attempts, and decode them as a picture. Expected
// refusals (AppError) are part of the game; a broken promise throws Exercise::Broken, which
// the fuzzer lets escape (a crash report) and the test turns into a failure.

#include "data/AppError.h"
#include "data/Tables.h"
#include "data/Unitcomm.h"
#include "presentation/GifDecode.h"
#include "session/Drawing.h"
#include "session/Judge.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Exercise {

struct Broken : std::logic_error {
    using std::logic_error::logic_error;
};

inline void Expect(bool condition, const char* what)
{
    if (!condition)
        throw Broken(what);
}

// Hands out the input piece by piece; past its end every read gives zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint32_t Word()
    {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | Byte();
        return w;
    }
    std::string_view Bytes(std::size_t n)
    {
        n = std::min(n, m_size - m_pos);
        const std::string_view out(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return out;
    }
    std::string_view Rest() { return Bytes(m_size - m_pos); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Reference reading of a picture field: optional sign, decimal digits, 32-bit range, after
// trimming bytes 0-32 at both ends.
inline bool ReferenceNumber(std::string_view bytes, std::int32_t& value)
{
    std::size_t b = 0, e = bytes.size();
    while (b < e && static_cast<unsigned char>(bytes[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(bytes[e - 1]) <= 32)
        --e;
    bytes = bytes.substr(b, e - b);
    bool negative = false;
    if (!bytes.empty() && (bytes[0] == '+' || bytes[0] == '-')) {
        negative = bytes[0] == '-';
        bytes.remove_prefix(1);
    }
    if (bytes.empty())
        return false;
    long double v = 0;
    for (char c : bytes) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > 1e12L)
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

inline void PictureNumber(std::string_view bytes)
{
    std::int32_t expected = 0;
    const bool valid = ReferenceNumber(bytes, expected);
    try {
        const std::int32_t got = ParsePictureNumber(bytes);
        Expect(valid, "ParsePictureNumber accepted a field that is no 32-bit integer");
        Expect(got == expected, "ParsePictureNumber misread a field");
    } catch (const AppError&) {
        Expect(!valid, "ParsePictureNumber refused a valid field");
    }
}

inline bool Clean(const std::string& field)
{
    if (!field.empty()
        && (static_cast<unsigned char>(field.front()) <= 32 || static_cast<unsigned char>(field.back()) <= 32))
        return false;
    for (char c : field)
        if (c >= 'a' && c <= 'z')
            return false;
    return true;
}

// The record the next draw must pick, given the clock reading it will use.
inline std::uint32_t ExpectedIndex(std::uint32_t clock, int count)
{
    const std::uint32_t seed = clock * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t(seed) * std::uint32_t(count)) >> 32);
}

// Draws `draws` times from `table` as table `kind`, with clock readings from `in`.
inline void Draws(const Table& table, TableKind kind, Input& in, int draws)
{
    std::uint32_t clock = 0;
    RandomSource random([&clock] { return clock; });
    const std::string_view text = table.text();
    Expect(text.size() < table.buffer.size() || table.buffer.empty(), "table text runs past its buffer");
    const int size = FormatOf(kind).recordSize;
    for (int i = 0; i < draws; ++i) {
        clock = in.Word();
        const std::uint32_t r = table.count >= 1 ? ExpectedIndex(clock, table.count) : 0;
        auto field = [&](int from, int to) { return RecordField(text, size, r, from, to); };
        try {
            switch (kind) {
            case TableKind::Py: {
                tavcharsetpy s;
                DrawSlot(table, random, s);
                Expect(s.pinyin == CleanField(field(1, 8)) && s.text == field(13, 14), "pinyin draw");
                Expect(Clean(s.pinyin) && s.pinyin.size() <= 8 && s.text.size() <= 2, "pinyin fields");
                break;
            }
            case TableKind::Wbzg: {
                tavcharsetzg s;
                DrawSlot(table, random, s);
                Expect(s.text == field(1, 2) && s.code == CleanField(field(3, 3)), "root draw");
                break;
            }
            case TableKind::Wb1: {
                tavcharset1 s;
                DrawSlot(table, random, s);
                Expect(s.text == field(1, 2) && s.code == CleanField(field(3, 3)), "level-1 draw");
                break;
            }
            case TableKind::Wb2: {
                tavcharset2 s;
                DrawSlot(table, random, s);
                std::int32_t n = 0;
                Expect(ReferenceNumber(field(9, 12), n) && n == s.pictureNo, "level-2 picture number");
                Expect(s.text == field(1, 2) && s.code == CleanField(field(3, 4)), "level-2 draw");
                break;
            }
            case TableKind::Wb: {
                tavcharset s;
                DrawSlot(table, random, s);
                Expect(s.pictureNo == std::int32_t(r) + 1 && s.hintStep == 1, "character picture number");
                for (int k = 1; k <= 4; ++k)
                    Expect(s.codes[std::size_t(k)] == CleanField(field(4 * k - 3, 4 * k))
                            && s.codes[std::size_t(k)].size() <= 4,
                        "character codes");
                Expect(s.text == field(25, 26), "character text");
                std::string hint;
                for (int k = 0; k < 5; ++k)
                    NextWubiHint(s, hint);
                break;
            }
            }
            Expect(table.count >= 1, "a draw from an empty table succeeded");
        } catch (const AppError&) {
            // Refused: an empty table, or a level-2 record whose picture field is no number.
            std::int32_t n = 0;
            Expect(table.count < 1 || (kind == TableKind::Wb2 && !ReferenceNumber(field(9, 12), n)),
                "a draw was refused without reason");
        }
    }
}

// Attempts formed from arbitrary box texts and keys, judged against freshly drawn slots.
inline void Attempts(const DataTables& tables, Input& in)
{
    for (int i = 0; i < 4; ++i) {
        const int mode = 3 + in.Byte() % 7;
        const std::size_t length = in.Byte() % 12;
        const std::string box(in.Bytes(length));
        char key = static_cast<char>(in.Byte());
        if (!KeptByFilter(key))
            key = 0;
        const AttemptForm form = FormAttempt(mode, box, int(box.size()), key);
        if (!form.made)
            continue;
        Expect(Clean(form.attempt), "attempt not trimmed and upper-cased");
        std::uint32_t clock = in.Word();
        RandomSource random([&clock] { return clock++; });
        try {
            SlotTable<tavcharsetpy> py;
            SlotTable<tavcharsetzg> zg;
            SlotTable<tavcharset1> w1;
            SlotTable<tavcharset2> w2;
            SlotTable<tavcharset> wb;
            for (std::size_t k = 1; k <= 4; ++k) {
                if (tables.py.count > 0)
                    DrawSlot(tables.py, random, py[k]);
                if (tables.wbzg.count > 0)
                    DrawSlot(tables.wbzg, random, zg[k]);
                if (tables.wb1.count > 0)
                    DrawSlot(tables.wb1, random, w1[k]);
                if (tables.wb.count > 0)
                    DrawSlot(tables.wb, random, wb[k]);
                if (tables.wb2.count > 0)
                    DrawSlot(tables.wb2, random, w2[k]);
            }
            for (int k : { MatchAttempt(py, form.attempt), MatchAttempt(zg, form.attempt),
                     MatchAttempt(w1, form.attempt), MatchAttempt(w2, form.attempt), MatchAttempt(wb, form.attempt) })
                Expect(k >= 0 && k <= 4, "match outside the four slots");
        } catch (const AppError&) {
            // A level-2 record with a damaged picture field; the others were drawn.
        }
    }
}

inline std::size_t PlainSize(std::size_t fileSize) { return (fileSize + 7) / 8 * 8; }

// One table from arbitrary bytes: [kind][key, 16 bytes][draw clocks ...][content].
// Content length comes from a two-byte prefix so that clocks and content both vary.
inline void OneTable(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const auto kind = static_cast<TableKind>(in.Byte() % 5);
    const TableFormat& format = FormatOf(kind);
    std::uint32_t key[4];
    for (auto& k : key)
        k = in.Word();
    if (key[0] == 0 && key[1] == 0)
        std::memcpy(key, dataKey, sizeof key); // the program's own key now and then
    const std::size_t length = std::size_t(in.Byte()) << 8 | in.Byte();
    const std::string content(in.Bytes(length));

    Table table;
    if (format.enciphered) {
        DecipherIntoTable(content, format.recordSize, format.countAdjust, key, table);
        Expect(table.buffer.size() == PlainSize(content.size()) + 1, "deciphered buffer size");
        Expect(table.count == int(PlainSize(content.size()) / std::size_t(format.recordSize)) + format.countAdjust,
            "deciphered record count");
        // Enciphering the plain content again gives back the file, padded with zeros.
        std::string again(table.buffer.data(), table.buffer.size() - 1);
        for (std::size_t p = 0; p < again.size(); p += 8)
            EncipherBytes(reinterpret_cast<unsigned char*>(again.data() + p), key);
        std::string padded = content;
        padded.resize(again.size(), '\0');
        Expect(again == padded, "decipher is not the inverse of encipher");
    } else {
        table.buffer.assign(content.begin(), content.end());
        table.buffer.push_back('\0');
        table.count = int(content.size() / std::size_t(format.recordSize));
    }
    Expect(table.buffer.back() == '\0', "buffer without its closing zero");
    Draws(table, kind, in, 8);
    PictureNumber(in.Bytes(in.Byte() % 16));
    DataTables tables;
    tables.of(kind) = table;
    Attempts(tables, in);
}

inline void WriteFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// The five files of a program directory from arbitrary bytes, loaded as start-up does.
// Each file: [present?][length, 2 bytes][content]; a wb.dat present is enciphered under
// the program's key when the flag byte says so, so that drawable content is reached too.
inline void Directory(const std::filesystem::path& dir, const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    std::string contents[5];
    bool present[5] = {};
    const TableKind order[5] = { TableKind::Wb1, TableKind::Wb2, TableKind::Wb, TableKind::Wbzg, TableKind::Py };
    for (int i = 0; i < 5; ++i) {
        const std::uint8_t flags = in.Byte();
        present[i] = (flags & 0x80) == 0;
        const std::size_t length = std::size_t(in.Byte()) << 8 | in.Byte();
        contents[i] = std::string(in.Bytes(length));
        const TableFormat& format = FormatOf(order[i]);
        if (format.enciphered && (flags & 1)) {
            contents[i].resize(PlainSize(contents[i].size()), ' ');
            for (std::size_t p = 0; p < contents[i].size(); p += 8)
                EncipherBytes(reinterpret_cast<unsigned char*>(contents[i].data() + p), dataKey);
        }
        const std::filesystem::path file = dir / format.fileName;
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        if (present[i])
            WriteFile(file, contents[i]);
    }

    DataTables tables;
    LoadOutcome outcome = LoadOutcome::Loaded;
    int failedAt = 5;
    try {
        outcome = LoadDataTables(dir, tables);
    } catch (const AppError& e) {
        failedAt = 0;
        while (failedAt < 5 && present[failedAt])
            ++failedAt;
        Expect(failedAt >= 2 && failedAt < 5, "an error for a table that is there");
        Expect(std::string(e.what()).find(FormatOf(order[failedAt]).fileName) != std::string::npos,
            "the error does not name the missing file");
    }
    if (!present[0] || !present[1]) {
        Expect(outcome == LoadOutcome::PlainTableMissing, "a missing plain table was not noticed");
        Expect(!tables.wb.allocated() && !tables.wbzg.allocated() && !tables.py.allocated(),
            "tables loaded after a missing plain table");
        return;
    }
    for (int i = 0; i < 5; ++i) {
        const TableFormat& format = FormatOf(order[i]);
        const Table& table = tables.of(order[i]);
        if (i >= failedAt) {
            Expect(!table.allocated() && table.count == 0, "a table after the failing one was loaded");
            continue;
        }
        const std::size_t plain = format.enciphered ? PlainSize(contents[i].size()) : contents[i].size();
        Expect(table.count == int(plain / std::size_t(format.recordSize)) + format.countAdjust, "loaded record count");
        Expect(table.buffer.size() == plain + 1 && table.buffer.back() == '\0', "loaded buffer size");
        Draws(table, order[i], in, 3);
    }
    Expect(tables.wb1Size == int(contents[0].size()) && tables.wb2Size == int(contents[1].size()), "plain sizes");
    Attempts(tables, in);
    tables.freeAll();
    Expect(!tables.wb.allocated() && !tables.py.allocated(), "tables not freed");
}

// A picture from arbitrary bytes: decoded, or refused with the decoder's reason.
inline void Picture(const std::uint8_t* data, std::size_t size)
{
    try {
        const GifPicture picture = DecodeGif(data, size, "MywbGIF0");
        Expect(picture.width > 0 && picture.height > 0, "a decoded picture without size");
        Expect(picture.pixels.size() == std::size_t(picture.width) * std::size_t(picture.height),
            "a decoded picture of the wrong size");
    } catch (const AppError& e) {
        Expect(std::string(e.what()).rfind("MywbGIF0: ", 0) == 0, "a picture error that does not name the picture");
    }
}

} // namespace Exercise
