// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/PhraseTables.h"

#include <cstdint>
#include <filesystem>
#include <istream>
#include <map>
#include <string>
#include <vector>

// Chooses the phrase table and the character code table from rime's wubi86 dictionary and
// checks every phrase code against the phrase rules. Text is UTF-8 until the tables are
// encoded.
namespace datagen {

// One data row of wubi86.dict.yaml; rows on the wildcard key z are dropped when read.
struct RimeRow {
    std::string text;
    std::string code;
    std::uint32_t weight = 0;
    int line = 0;
};
std::vector<RimeRow> ParseRimeRows(std::istream& in, const std::string& name);
std::vector<RimeRow> ReadRimeRows(const std::filesystem::path& file);

// tools/data/phrase-disagreements.tsv: the phrases left out by review.
struct ReviewedDisagreement {
    std::string phrase;
    std::string formed; // "-" when a character has no full code
    std::string note;
    int line = 0;
};
std::vector<ReviewedDisagreement> ParseReviewedDisagreements(std::istream& in, const std::string& name);
std::vector<ReviewedDisagreement> ReadReviewedDisagreements(const std::filesystem::path& file);

// How many phrases of each length the table takes, most frequent first. The defaults cover
// about two thirds of the weight of GB2312 two-character phrases, seven tenths of the
// three-character and over half of the longer ones; past them the weights fall into words a
// learner meets rarely.
struct PhraseCounts {
    int two = 3000;
    int three = 600;
    int longer = 600;
};

// More disagreements than this means a full code or a rule is wrong, not a quirk of rime.
inline constexpr int MaxDisagreements = 5;

struct PhraseDisagreement {
    std::string phrase;
    std::string formed; // "-" when a character has no full code
    std::vector<std::string> rimeCodes;
};

struct PhraseData {
    std::vector<PhraseRecord> phrases; // GBK; two, then three, then longer, each most frequent first
    std::vector<CharacterCode> characters; // GBK; every GB2312 character's codes, heaviest first
    std::vector<PhraseDisagreement> disagreements;
    std::vector<std::string> tooLong; // frequent phrases longer than a record holds
};

// The full code of each single character: its longest code, the first of them in rime's order.
std::map<std::string, std::string> FullCodes(const std::vector<RimeRow>& rows);

// The phrases alone (no character table); throws as below.
PhraseData ChoosePhrases(
    const std::vector<RimeRow>& rows, const std::vector<ReviewedDisagreement>& reviewed, PhraseCounts counts = {});

// Throws AppError when the disagreements are not exactly the reviewed ones, or more than
// MaxDisagreements, or a GB2312 character has no code.
PhraseData BuildPhraseData(
    const std::vector<RimeRow>& rows, const std::vector<ReviewedDisagreement>& reviewed, PhraseCounts counts = {});

std::string PlainPhraseTable(const PhraseData& data);
std::string PlainCharacterCodeTable(const PhraseData& data);

// The 6763 characters of GB2312, in code order, as GBK byte pairs.
std::vector<std::string> Gb2312Characters();

}
