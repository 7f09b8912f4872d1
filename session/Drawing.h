// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Bytes.h"
#include "data/Tables.h"
#include "session/SlotRecords.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The program's one random generator. Every draw reseeds it from a fast-moving clock first,
// so the clock is injectable to make draws repeatable in tests.
class RandomSource {
public:
    using Clock = std::function<std::uint32_t()>;

    explicit RandomSource(Clock clock = {});

    // Reseed, one linear congruential step, then the high half of seed * n.
    std::uint32_t Index(std::uint32_t n);

    std::uint32_t seed = 0;

    static std::uint32_t HighResolutionClock();

private:
    Clock m_clock;
};

// Bytes from..to (counted from 1) of record r of a table whose text is `text`; a field that
// reaches past the end of the text is cut there.
std::string RecordField(std::string_view text, int recordSize, std::uint32_t r, int from, int to);

// The fixed characters slots 1-4 start with in modes 0-2.
std::string StartCharacter(int mode, int slot);

// A new character for a single-key slot just hit with `typed`; never equal to `typed`.
char ReplacementCharacter(int mode, char typed, RandomSource& random);

// Draw one slot from its table. Each throws AppError when the table has no record to draw.
void DrawSlot(const Table& table, RandomSource& random, tavcharsetpy& slot);
void DrawSlot(const Table& table, RandomSource& random, tavcharsetzg& slot);
void DrawSlot(const Table& table, RandomSource& random, tavcharset1& slot);
// Throws "'%s' is not a valid integer value" (GBK) after text and code were already set.
void DrawSlot(const Table& table, RandomSource& random, tavcharset2& slot);
void DrawSlot(const Table& table, RandomSource& random, tavcharset& slot);

// Fill a slot from record r of its table, as a draw that gave r does (the same throw in
// the level-2 table). Lets a caller choose the record itself.
void FillSlot(const Table& table, std::uint32_t r, tavcharsetpy& slot);
void FillSlot(const Table& table, std::uint32_t r, tavcharsetzg& slot);
void FillSlot(const Table& table, std::uint32_t r, tavcharset1& slot);
void FillSlot(const Table& table, std::uint32_t r, tavcharset2& slot);
void FillSlot(const Table& table, std::uint32_t r, tavcharset& slot);

// Reads a decimal integer the way the level-2 table's picture field is read.
std::int32_t ParsePictureNumber(std::string_view bytes);
