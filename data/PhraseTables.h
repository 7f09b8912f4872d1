// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The two code tables beside the program that go beyond single characters: the phrase
// table and the table of every GB2312 character's codes. Both are plain runs of fixed-size
// records of GBK text, blank-padded, most frequent first, like the other practice tables.
//
// Phrase table (32 bytes):        Character code table (16 bytes):
//   0  4  phrase code, a-y          0  4  a code of one to four letters a-y
//   4 10  weight, decimal digits    4 10  weight, decimal digits
//  14 16  the phrase, 2-8 chars    14  2  the character
//  30  2  not used (blanks)
inline constexpr const char* PhraseFileName = "wbcz.dat";
inline constexpr const char* CharacterCodeFileName = "wbzd.dat";
inline constexpr int PhraseRecordSize = 32;
inline constexpr int CharacterCodeRecordSize = 16;
inline constexpr int MaxPhraseCharacters = 8;

struct PhraseRecord {
    std::string code; // four letters a-y, lower case
    std::uint32_t weight = 0;
    std::string text; // GBK, two to eight GB2312 characters
    int characters = 0;
};

struct CharacterCode {
    std::string code; // one to four letters a-y, lower case
    std::uint32_t weight = 0;
    std::string character; // GBK, one GB2312 character
};

// The record bytes of one entry; the entry must fit its fields.
std::string PhraseRecordBytes(const PhraseRecord& record);
std::string CharacterCodeRecordBytes(const CharacterCode& entry);

// Whole tables from a file's bytes. `name` is what messages call the file. Throws AppError
// naming it when the file is empty, cut short inside a record, or a record is damaged: the
// table is taken whole or not at all.
std::vector<PhraseRecord> ParsePhraseTable(std::string_view bytes, const std::string& name);
std::vector<CharacterCode> ParseCharacterCodeTable(std::string_view bytes, const std::string& name);

// Reads and parses the file; throws AppError naming its path when it cannot be opened.
std::vector<PhraseRecord> LoadPhraseTable(const std::filesystem::path& file);
std::vector<CharacterCode> LoadCharacterCodeTable(const std::filesystem::path& file);

// True for the GBK bytes of one or more GB2312 characters (two bytes each) and nothing else.
bool IsGb2312Text(std::string_view gbk);
