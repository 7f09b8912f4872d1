// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PhraseTables.h"

#include "data/AppError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string utf8Path(const std::filesystem::path& file)
{
    const std::u8string s = file.u8string();
    return std::string(s.begin(), s.end());
}

std::string padded(std::string_view field, size_t width)
{
    return std::string(field) + std::string(width - field.size(), ' ');
}

// A field's value and its blank padding: the value may not hold a blank, and nothing but
// blanks may follow it.
std::string_view unpadded(std::string_view field)
{
    const size_t end = field.find(' ');
    return end == std::string_view::npos ? field : field.substr(0, end);
}
bool onlyBlanksAfter(std::string_view field, size_t length)
{
    return std::all_of(field.begin() + std::ptrdiff_t(length), field.end(), [](char c) { return c == ' '; });
}

bool isCode(std::string_view code, size_t minLength)
{
    return code.size() >= minLength && code.size() <= 4
        && std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'y'; });
}

bool parseWeight(std::string_view field, std::uint32_t& weight)
{
    if (field.empty() || field.size() > 10)
        return false;
    std::uint64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + std::uint64_t(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return false;
    weight = std::uint32_t(value);
    return true;
}

std::string weightField(std::uint32_t weight) { return padded(std::to_string(weight), 10); }

// Splits a file into records; throws when it has none or ends inside one.
template <typename Parse> auto parseRecords(std::string_view bytes, const std::string& name, int size, Parse parse)
{
    using Record = decltype(parse(std::string_view()));
    if (bytes.empty())
        throw AppError("The code table \"" + name + "\" is empty.");
    if (bytes.size() % size_t(size) != 0)
        throw AppError("The code table \"" + name + "\" is cut short: " + std::to_string(bytes.size())
            + " bytes are no whole number of " + std::to_string(size) + "-byte records.");
    std::vector<Record> records;
    records.reserve(bytes.size() / size_t(size));
    for (size_t at = 0; at < bytes.size(); at += size_t(size)) {
        try {
            records.push_back(parse(bytes.substr(at, size_t(size))));
        } catch (const std::invalid_argument& reason) {
            throw AppError("The code table \"" + name + "\" is damaged: record " + std::to_string(at / size_t(size) + 1)
                + " " + reason.what() + ".");
        }
    }
    return records;
}

std::string readWhole(const std::filesystem::path& file)
{
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        throw AppError("Cannot open file \"" + utf8Path(file) + "\". " + (err ? std::strerror(err) : ""));
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        throw AppError("Cannot read file \"" + utf8Path(file) + "\".");
    return std::move(content).str();
}

}

bool IsGb2312Text(std::string_view gbk)
{
    if (gbk.empty() || gbk.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < gbk.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(gbk[i]);
        const auto lo = static_cast<unsigned char>(gbk[i + 1]);
        if (hi < 0xA1 || hi > 0xF7 || lo < 0xA1 || lo > 0xFE)
            return false;
    }
    return true;
}

std::string PhraseRecordBytes(const PhraseRecord& record)
{
    return padded(record.code, 4) + weightField(record.weight) + padded(record.text, 16) + "  ";
}

std::string CharacterCodeRecordBytes(const CharacterCode& entry)
{
    return padded(entry.code, 4) + weightField(entry.weight) + entry.character;
}

std::vector<PhraseRecord> ParsePhraseTable(std::string_view bytes, const std::string& name)
{
    return parseRecords(bytes, name, PhraseRecordSize, [](std::string_view r) {
        PhraseRecord record;
        record.code = std::string(r.substr(0, 4));
        if (!isCode(record.code, 4))
            throw std::invalid_argument("has no four-letter code");
        const std::string_view weight = unpadded(r.substr(4, 10));
        if (!parseWeight(weight, record.weight) || !onlyBlanksAfter(r.substr(4, 10), weight.size()))
            throw std::invalid_argument("has no weight");
        const std::string_view text = unpadded(r.substr(14, 16));
        if (!IsGb2312Text(text) || text.size() < 4 || !onlyBlanksAfter(r.substr(14, 16), text.size()))
            throw std::invalid_argument("holds no phrase of GB2312 characters");
        if (r.substr(30, 2) != "  ")
            throw std::invalid_argument("ends in bytes other than blanks");
        record.text = std::string(text);
        record.characters = int(text.size() / 2);
        return record;
    });
}

std::vector<CharacterCode> ParseCharacterCodeTable(std::string_view bytes, const std::string& name)
{
    return parseRecords(bytes, name, CharacterCodeRecordSize, [](std::string_view r) {
        CharacterCode entry;
        const std::string_view code = unpadded(r.substr(0, 4));
        if (!isCode(code, 1) || !onlyBlanksAfter(r.substr(0, 4), code.size()))
            throw std::invalid_argument("has no code of one to four letters");
        entry.code = std::string(code);
        const std::string_view weight = unpadded(r.substr(4, 10));
        if (!parseWeight(weight, entry.weight) || !onlyBlanksAfter(r.substr(4, 10), weight.size()))
            throw std::invalid_argument("has no weight");
        entry.character = std::string(r.substr(14, 2));
        if (!IsGb2312Text(entry.character))
            throw std::invalid_argument("holds no GB2312 character");
        return entry;
    });
}

std::vector<PhraseRecord> LoadPhraseTable(const std::filesystem::path& file)
{
    return ParsePhraseTable(readWhole(file), utf8Path(file));
}

std::vector<CharacterCode> LoadCharacterCodeTable(const std::filesystem::path& file)
{
    return ParseCharacterCodeTable(readWhole(file), utf8Path(file));
}
