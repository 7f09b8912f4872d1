// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Tables.h"
#include "session/Lexicon.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where follow-typing texts come from: the built-in file, practice texts made of frequent
// characters or phrases, and the learner's own files, with the checks a loaded file passes.

// Larger files are refused before they are read: a follow-typing text of this size already
// takes years to type, and the whole text is laid out at once.
constexpr std::uint64_t MaxArticleMegabytes = 8;
constexpr std::uint64_t MaxArticleBytes = MaxArticleMegabytes * 1024 * 1024;

enum class TextEncoding { Utf8, Gbk, Neither };

// NUL bytes or other control characters than tab, line breaks and form feed: not a text.
bool LooksBinary(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
bool IsValidGbk(std::string_view bytes);
// UTF-8 first (pure ASCII is both), then GBK.
TextEncoding DetectEncoding(std::string_view bytes);
// The code points of valid UTF-8, without a leading byte-order mark.
std::u32string DecodeUtf8(std::string_view bytes);

// One text of the built-in set.
struct BuiltinArticle {
    std::string title; // GBK
    std::string author; // GBK
    std::string text; // GBK, lines separated by '\n'
};
// The built-in file: records each opened by a line "#title<TAB>author", followed by the text's
// lines. Throws AppError on a file that breaks this form.
std::vector<BuiltinArticle> ParseArticleFile(std::string_view gbk);
std::string WriteArticleFile(const std::vector<BuiltinArticle>& articles);

// Fills a lexicon from the practice tables (the characters' full and short codes) and notes
// each character's decomposition picture.
void LexiconFromTables(const DataTables& tables, Lexicon& lexicon, std::unordered_map<std::string, int>& pictures);

// Practice texts of about `perText` items each from items in frequency order (GBK characters
// or phrases), blank-separated, lines of ten items.
std::vector<std::string> PracticeTexts(const std::vector<std::string>& items, std::size_t perText);
