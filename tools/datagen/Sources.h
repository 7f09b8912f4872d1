// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/AppError.h"
#include "tools/common/DataLines.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <istream>
#include <map>
#include <string>
#include <vector>

// Readers for the packaged dictionaries and the project's own data files. Every reader
// rejects a line it cannot understand with an AppError naming the file and the line, so a
// damaged source never turns into a quietly wrong table. Text stays UTF-8 here.
namespace datagen {

// wubi86.dict.yaml (rime-data-wubi): one row per code of a word.
struct WubiSource {
    // The codes of every single character, in the order the dictionary lists them, without
    // repeats; codes on the wildcard key z are left out.
    std::map<std::string, std::vector<std::string>> codes;
};

// pinyin_simp.dict.yaml (rime-data-pinyin-simp): one row per reading of a word, with a weight.
struct Reading {
    std::string pinyin;
    std::int64_t weight = 0;
};
struct PinyinSource {
    // The readings of every single character, in the order the dictionary lists them.
    std::map<std::string, std::vector<Reading>> readings;

    // The character's weight summed over its readings; 0 for a character not listed.
    std::int64_t Frequency(const std::string& character) const;
};

// dict.txt of jieba (Debian python3-jieba): one word a line with how often it occurred in the
// segmented corpus. A character occurs in text as often as the words that hold it, so its
// count is the sum of the counts of those words, once per place it takes in each.
struct TextFrequency {
    std::map<std::string, std::int64_t> characters;

    // 0 for a character that occurs in no word.
    std::int64_t Of(const std::string& character) const;
};

// Unihan's kTGH field (Debian unicode-data): the character's number in the 2013 general
// standard list of Chinese characters, which puts numbers 1-3500 in level 1, 3501-6500 in
// level 2 and the rest in level 3.
struct StandardList {
    std::map<std::string, int> numbers;

    // 1, 2 or 3; 0 for a character the list does not hold.
    int Level(const std::string& character) const;
};

// tools/data/wubi86-roots.tsv: the Wubi 86 root chart.
struct RootChartRow {
    char key = 0;
    std::string root; // one character, or a description in [brackets]
    std::string strokes;
    std::string flags;
    std::string note;
    int line = 0;

    bool HasFlag(std::string_view flag) const;
    bool IsDescription() const { return !root.empty() && root.front() == '['; }
};

// tools/data/pinyin-overrides.tsv: character -> reading.
using PinyinOverrides = std::map<std::string, std::string>;

// Calls `row` for each line that carries data, with its number from 1; throws with the
// name and number when `row` reports a reason or the line is not UTF-8. `name` is what error
// messages call the input (normally its path).
void ForEachSourceLine(std::istream& in, const std::string& name, DataHeader header,
    const std::function<std::string(const std::string& line, int number)>& row);

// Opens `file` and hands it to `parse` under its path, or names the file it cannot open.
template <typename Result>
Result ReadSourceFile(const std::filesystem::path& file, Result (*parse)(std::istream&, const std::string&))
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw AppError("Cannot open file \"" + file.string() + "\".");
    return parse(in, file.string());
}

WubiSource ParseWubiSource(std::istream& in, const std::string& name);
PinyinSource ParsePinyinSource(std::istream& in, const std::string& name);
std::vector<RootChartRow> ParseRootChart(std::istream& in, const std::string& name);
PinyinOverrides ParsePinyinOverrides(std::istream& in, const std::string& name);
TextFrequency ParseTextFrequency(std::istream& in, const std::string& name);
StandardList ParseStandardList(std::istream& in, const std::string& name);

WubiSource ReadWubiSource(const std::filesystem::path& file);
PinyinSource ReadPinyinSource(const std::filesystem::path& file);
std::vector<RootChartRow> ReadRootChart(const std::filesystem::path& file);
PinyinOverrides ReadPinyinOverrides(const std::filesystem::path& file);
TextFrequency ReadTextFrequency(const std::filesystem::path& file);
StandardList ReadStandardList(const std::filesystem::path& file);

// The key letters in the order of the five zones (G F D S A, H J K L M, T R E W Q,
// Y U I O P, N B V C X): the order of the printed chart and of the short-code tables.
inline constexpr std::string_view ZoneOrder = "gfdsahjklmtrewqyuiopnbvcx";

}
