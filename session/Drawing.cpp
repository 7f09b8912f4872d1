// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Drawing.h"

#include "data/AppError.h"
#include "data/Records.h"

#include <chrono>
#include <limits>

RandomSource::RandomSource(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(&RandomSource::HighResolutionClock))
{
}

std::uint32_t RandomSource::HighResolutionClock()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}

std::uint32_t RandomSource::Index(std::uint32_t n)
{
    seed = m_clock();
    seed = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t(seed) * n) >> 32);
}

std::string RecordField(std::string_view text, int recordSize, std::uint32_t r, int from, int to)
{
    return ReadField(text, recordSize, r, Field { from - 1, to - from + 1, FieldUse::Raw });
}

std::string StartCharacter(int mode, int slot)
{
    const char base = mode == Mode::UpperLetters ? 'A' : mode == Mode::LowerLetters ? 'a' : '1';
    return std::string(1, static_cast<char>(base + slot - 1));
}

char ReplacementCharacter(int mode, char typed, RandomSource& random)
{
    const bool digits = mode == Mode::Digits;
    const char first = mode == Mode::UpperLetters ? 'A' : mode == Mode::LowerLetters ? 'a' : '0';
    const char last = mode == Mode::UpperLetters ? 'Z' : mode == Mode::LowerLetters ? 'z' : '9';
    const char candidate = static_cast<char>(first + random.Index(digits ? 10 : 26));
    if (candidate != typed)
        return candidate;
    if (candidate == last)
        return digits ? '1' : first; // 0 only ever comes from the draw itself
    return static_cast<char>(candidate + 1);
}

namespace {
std::uint32_t drawRecord(const Table& table, RandomSource& random, TableKind kind)
{
    if (table.count < 1)
        throw AppError(std::string("The practice table ") + FormatOf(kind).fileName + " holds no record to draw.");
    return random.Index(static_cast<std::uint32_t>(table.count));
}
}

std::int32_t ParsePictureNumber(std::string_view bytes)
{
    const std::string trimmed(TrimControls(bytes));
    auto fail = [&]() -> std::int32_t {
        throw AppError("'" + trimmed + "' is not a valid integer value", AppError::Encoding::Gbk);
    };
    size_t i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+'))
        negative = trimmed[i++] == '-';
    if (i == trimmed.size())
        return fail();
    std::int64_t value = 0;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9')
            return fail();
        value = value * 10 + (trimmed[i] - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        return fail();
    return static_cast<std::int32_t>(value);
}

void DrawSlot(const Table& table, RandomSource& random, tavcharsetpy& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Py), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharsetpy& slot)
{
    const std::string_view text = table.text();
    slot.pinyin = ReadField(text, PyLayout::size, r, PyLayout::pinyin);
    slot.text = ReadField(text, PyLayout::size, r, PyLayout::text);
}

void DrawSlot(const Table& table, RandomSource& random, tavcharsetzg& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wbzg), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharsetzg& slot)
{
    const std::string_view text = table.text();
    slot.text = ReadField(text, WbzgLayout::size, r, WbzgLayout::text);
    slot.code = ReadField(text, WbzgLayout::size, r, WbzgLayout::code);
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset1& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb1), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset1& slot)
{
    const std::string_view text = table.text();
    slot.text = ReadField(text, Wb1Layout::size, r, Wb1Layout::text);
    slot.code = ReadField(text, Wb1Layout::size, r, Wb1Layout::code);
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset2& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb2), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset2& slot)
{
    const std::string_view text = table.text();
    slot.text = ReadField(text, Wb2Layout::size, r, Wb2Layout::text);
    slot.code = ReadField(text, Wb2Layout::size, r, Wb2Layout::code);
    slot.pictureNo = ParsePictureNumber(ReadField(text, Wb2Layout::size, r, Wb2Layout::picture));
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset& slot)
{
    const std::string_view text = table.text();
    for (size_t i = 0; i < WbLayout::codes.size(); ++i)
        slot.codes[i + 1] = ReadField(text, WbLayout::size, r, WbLayout::codes[i]);
    slot.text = ReadField(text, WbLayout::size, r, WbLayout::text);
    slot.pictureNo = static_cast<std::int32_t>(r + 1);
    slot.hintStep = 1;
}
