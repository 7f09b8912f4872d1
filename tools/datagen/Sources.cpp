// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/datagen/Sources.h"

#include "data/AppError.h"
#include "tools/datagen/Gbk.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace datagen {
namespace {

    bool allOf(std::string_view s, bool (*pred)(char)) { return !s.empty() && std::all_of(s.begin(), s.end(), pred); }

    bool isLower(char c) { return c >= 'a' && c <= 'z'; }
    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // A dictionary weight: digits, with an optional decimal fraction (one wildcard row has one).
    bool isWeight(std::string_view s)
    {
        const size_t dot = s.find('.');
        if (dot == std::string_view::npos)
            return allOf(s, isDigit);
        return allOf(s.substr(0, dot), isDigit) && allOf(s.substr(dot + 1), isDigit);
    }

    bool isSingleCharacter(const std::string& s) { return Utf8Length(s) == 1; }

}

void ForEachSourceLine(std::istream& in, const std::string& name, DataHeader header,
    const std::function<std::string(const std::string& line, int number)>& row)
{
    const bool headerEnded = ForEachDataLine(in, header, [&](const std::string& line, int number) {
        if (Utf8Length(line) < 0)
            throw AppError(name + ":" + std::to_string(number) + ": the line is not valid UTF-8");
        const std::string reason = row(line, number);
        if (!reason.empty())
            throw AppError(name + ":" + std::to_string(number) + ": " + reason);
    });
    if (in.bad())
        throw AppError(name + ": the file could not be read");
    if (!headerEnded)
        throw AppError(name + ": no \"...\" line ends the dictionary's header");
}

std::int64_t PinyinSource::Frequency(const std::string& character) const
{
    const auto it = readings.find(character);
    if (it == readings.end())
        return 0;
    std::int64_t sum = 0;
    for (const Reading& r : it->second)
        sum += r.weight;
    return sum;
}

std::int64_t TextFrequency::Of(const std::string& character) const
{
    const auto it = characters.find(character);
    return it == characters.end() ? 0 : it->second;
}

int StandardList::Level(const std::string& character) const
{
    const auto it = numbers.find(character);
    if (it == numbers.end())
        return 0;
    return it->second <= 3500 ? 1 : it->second <= 6500 ? 2 : 3;
}

bool RootChartRow::HasFlag(std::string_view flag) const
{
    // Flags are single capitals, except L5 which carries its digit.
    for (size_t i = 0; i < flags.size();) {
        const size_t length = i + 1 < flags.size() && isDigit(flags[i + 1]) ? 2 : 1;
        if (flags.compare(i, length, flag) == 0)
            return true;
        i += length;
    }
    return false;
}

WubiSource ParseWubiSource(std::istream& in, const std::string& name)
{
    WubiSource source;
    ForEachSourceLine(in, name, DataHeader::Yaml, [&](const std::string& line, int) -> std::string {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 2 || f.size() > 4)
            return "expected text, code, and optionally weight and stem, separated by tabs";
        if (f[0].empty())
            return "the text is empty";
        if (f[1].size() > 4 || !allOf(f[1], isLower))
            return "the code \"" + f[1] + "\" is not one to four letters a-z";
        if (f.size() >= 3 && !isWeight(f[2]))
            return "the weight \"" + f[2] + "\" is not a number";
        if (f.size() == 4 && !allOf(f[3], isLower))
            return "the stem \"" + f[3] + "\" is not letters a-z";
        if (f[1].front() == 'z' || !isSingleCharacter(f[0]))
            return {};
        std::vector<std::string>& codes = source.codes[f[0]];
        if (std::find(codes.begin(), codes.end(), f[1]) == codes.end())
            codes.push_back(f[1]);
        return {};
    });
    return source;
}

PinyinSource ParsePinyinSource(std::istream& in, const std::string& name)
{
    PinyinSource source;
    ForEachSourceLine(in, name, DataHeader::Yaml, [&](const std::string& line, int) -> std::string {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 2 || f.size() > 3)
            return "expected text, reading and optionally weight, separated by tabs";
        if (f[0].empty())
            return "the text is empty";
        const std::string& pinyin = f[1];
        const bool syllables = !pinyin.empty() && pinyin.front() != ' ' && pinyin.back() != ' '
            && pinyin.find("  ") == std::string::npos
            && std::all_of(pinyin.begin(), pinyin.end(), [](char c) { return isLower(c) || c == ' '; });
        if (!syllables)
            return "the reading \"" + pinyin + "\" is not syllables of letters a-z";
        if (f.size() == 3 && !allOf(f[2], isDigit))
            return "the weight \"" + f[2] + "\" is not a whole number";
        if (f.size() == 3 && f[2].size() > 15)
            return "the weight \"" + f[2] + "\" is too large";
        if (!isSingleCharacter(f[0]))
            return {};
        if (pinyin.find(' ') != std::string::npos)
            return "a single character has the reading \"" + pinyin + "\" of several syllables";
        source.readings[f[0]].push_back({ pinyin, f.size() == 3 ? std::stoll(f[2]) : 0 });
        return {};
    });
    return source;
}

std::vector<RootChartRow> ParseRootChart(std::istream& in, const std::string& name)
{
    std::vector<RootChartRow> rows;
    std::set<std::string> seen;
    bool header = false;
    ForEachSourceLine(in, name, DataHeader::None, [&](const std::string& line, int number) -> std::string {
        std::vector<std::string> f = SplitTabs(line);
        if (!header) {
            header = true;
            if (f.size() >= 5 && f[0] == "key" && f[1] == "root" && f[2] == "strokes" && f[3] == "flags"
                && f[4] == "note")
                return {};
            return "expected the header line key, root, strokes, flags, note";
        }
        if (f.size() < 3 || f.size() > 5)
            return "expected key, root, strokes, and optionally flags and note, separated by tabs";
        f.resize(5);
        RootChartRow row { 0, f[1], f[2], f[3], f[4], number };
        if (f[0].size() != 1 || !isLower(f[0][0]) || f[0][0] == 'z')
            return "the key \"" + f[0] + "\" is not one of the letters a-y";
        row.key = f[0][0];
        const bool described = row.root.size() > 2 && row.root.front() == '[' && row.root.back() == ']';
        if (!described && !isSingleCharacter(row.root))
            return "the root \"" + row.root + "\" is neither one character nor a [description]";
        if (!seen.insert(row.root).second)
            return "the root \"" + row.root + "\" is listed twice";
        for (size_t start = 0;;) {
            const size_t slash = row.strokes.find('/', start);
            const std::string alternative
                = row.strokes.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
            const bool strokes = !alternative.empty() && alternative.front() != '|' && alternative.back() != '|'
                && std::count(alternative.begin(), alternative.end(), '|') <= 1
                && std::all_of(
                    alternative.begin(), alternative.end(), [](char c) { return (c >= '1' && c <= '5') || c == '|'; });
            if (!strokes)
                return "the strokes \"" + row.strokes + "\" are not stroke classes 1-5";
            if (slash == std::string::npos)
                break;
            start = slash + 1;
        }
        for (size_t i = 0; i < row.flags.size(); ++i) {
            const char c = row.flags[i];
            if (c == 'L' && i + 1 < row.flags.size() && row.flags[i + 1] == '5')
                ++i;
            else if (c != 'K' && c != 'C' && c != 'P' && c != 'W')
                return "unknown flags \"" + row.flags + "\" (K, C, P, W, L5)";
        }
        rows.push_back(std::move(row));
        return {};
    });
    if (!header)
        throw AppError(name + ": the root chart is empty");
    return rows;
}

PinyinOverrides ParsePinyinOverrides(std::istream& in, const std::string& name)
{
    PinyinOverrides overrides;
    ForEachSourceLine(in, name, DataHeader::None, [&](const std::string& line, int) -> std::string {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 2 || f.size() > 3)
            return "expected character, reading and optionally a note, separated by tabs";
        if (!isSingleCharacter(f[0]))
            return "\"" + f[0] + "\" is not one character";
        if (f[1].size() > 6 || !allOf(f[1], isLower))
            return "the reading \"" + f[1] + "\" is not one syllable of letters a-z";
        if (!overrides.emplace(f[0], f[1]).second)
            return "\"" + f[0] + "\" is listed twice";
        return {};
    });
    return overrides;
}

TextFrequency ParseTextFrequency(std::istream& in, const std::string& name)
{
    TextFrequency frequency;
    ForEachSourceLine(in, name, DataHeader::None, [&](const std::string& line, int) -> std::string {
        // Words hold no blank; the part of speech after the count may be missing.
        const size_t first = line.find(' ');
        if (first == std::string::npos || first == 0)
            return "expected a word, a count and a part of speech, separated by blanks";
        const size_t second = line.find(' ', first + 1);
        const std::string count
            = line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        if (!allOf(count, isDigit) || count.size() > 12)
            return "the count \"" + count + "\" is not a whole number";
        const std::int64_t n = std::stoll(count);
        const std::string_view word(line.data(), first);
        for (size_t i = 0; i < word.size();) {
            const auto lead = static_cast<unsigned char>(word[i]);
            const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if (length > 1)
                frequency.characters[std::string(word.substr(i, length))] += n;
            i += length;
        }
        return {};
    });
    return frequency;
}

StandardList ParseStandardList(std::istream& in, const std::string& name)
{
    StandardList list;
    ForEachSourceLine(in, name, DataHeader::None, [&](const std::string& line, int) -> std::string {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() != 3 || f[0].size() < 6 || f[0].compare(0, 2, "U+") != 0)
            return "expected a code point, a field name and a value, separated by tabs";
        if (f[1] != "kTGH")
            return {};
        // One value per edition; only the 2013 list exists so far.
        if (f[2].compare(0, 5, "2013:") != 0 || f[2].size() > 9 || !allOf(f[2].substr(5), isDigit))
            return "the kTGH value \"" + f[2] + "\" is not 2013:number";
        const std::string hex = f[0].substr(2);
        if (hex.size() > 6 || !std::all_of(hex.begin(), hex.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c));
            }))
            return "the code point \"" + f[0] + "\" is not U+ and hexadecimal digits";
        const auto cp = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
        std::string utf8;
        if (cp < 0x10000) {
            utf8 = { char(0xE0 | cp >> 12), char(0x80 | (cp >> 6 & 0x3F)), char(0x80 | (cp & 0x3F)) };
        } else {
            utf8 = { char(0xF0 | cp >> 18), char(0x80 | (cp >> 12 & 0x3F)), char(0x80 | (cp >> 6 & 0x3F)),
                char(0x80 | (cp & 0x3F)) };
        }
        if (cp < 0x800 || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return "the code point \"" + f[0] + "\" is no Chinese character";
        list.numbers[utf8] = std::stoi(f[2].substr(5));
        return {};
    });
    return list;
}

WubiSource ReadWubiSource(const std::filesystem::path& file) { return ReadSourceFile(file, &ParseWubiSource); }
PinyinSource ReadPinyinSource(const std::filesystem::path& file) { return ReadSourceFile(file, &ParsePinyinSource); }
std::vector<RootChartRow> ReadRootChart(const std::filesystem::path& file)
{
    return ReadSourceFile(file, &ParseRootChart);
}
PinyinOverrides ReadPinyinOverrides(const std::filesystem::path& file)
{
    return ReadSourceFile(file, &ParsePinyinOverrides);
}
TextFrequency ReadTextFrequency(const std::filesystem::path& file) { return ReadSourceFile(file, &ParseTextFrequency); }
StandardList ReadStandardList(const std::filesystem::path& file) { return ReadSourceFile(file, &ParseStandardList); }

}
