#include "session/Drawing.h"

#include "data/AppError.h"

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

std::string CleanField(std::string_view bytes)
{
    size_t b = 0, e = bytes.size();
    while (b < e && static_cast<unsigned char>(bytes[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(bytes[e - 1]) <= 32)
        --e;
    std::string out(bytes.substr(b, e - b));
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string RecordField(std::string_view text, int recordSize, std::uint32_t r, int from, int to)
{
    const std::uint64_t start = std::uint64_t(r) * std::uint64_t(recordSize) + std::uint64_t(from - 1);
    if (start >= text.size())
        return {};
    return std::string(text.substr(size_t(start), size_t(to - from + 1)));
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
    const std::string trimmed = [&] {
        size_t b = 0, e = bytes.size();
        while (b < e && static_cast<unsigned char>(bytes[b]) <= 32)
            ++b;
        while (e > b && static_cast<unsigned char>(bytes[e - 1]) <= 32)
            --e;
        return std::string(bytes.substr(b, e - b));
    }();
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
    slot.pinyin = CleanField(RecordField(text, 16, r, 1, 8));
    slot.text = RecordField(text, 16, r, 13, 14);
}

void DrawSlot(const Table& table, RandomSource& random, tavcharsetzg& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wbzg), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharsetzg& slot)
{
    const std::string_view text = table.text();
    slot.text = RecordField(text, 5, r, 1, 2);
    slot.code = CleanField(RecordField(text, 5, r, 3, 3));
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset1& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb1), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset1& slot)
{
    const std::string_view text = table.text();
    slot.text = RecordField(text, 5, r, 1, 2);
    slot.code = CleanField(RecordField(text, 5, r, 3, 3));
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset2& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb2), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset2& slot)
{
    const std::string_view text = table.text();
    slot.text = RecordField(text, 14, r, 1, 2);
    slot.code = CleanField(RecordField(text, 14, r, 3, 4));
    slot.pictureNo = ParsePictureNumber(RecordField(text, 14, r, 9, 12));
}

void DrawSlot(const Table& table, RandomSource& random, tavcharset& slot)
{
    FillSlot(table, drawRecord(table, random, TableKind::Wb), slot);
}

void FillSlot(const Table& table, std::uint32_t r, tavcharset& slot)
{
    const std::string_view text = table.text();
    for (int i = 1; i <= 4; ++i)
        slot.codes[size_t(i)] = CleanField(RecordField(text, 28, r, 4 * i - 3, 4 * i));
    slot.text = RecordField(text, 28, r, 25, 26);
    slot.pictureNo = static_cast<std::int32_t>(r + 1);
    slot.hintStep = 1;
}
