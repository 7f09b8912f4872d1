// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/AppError.h"
#include "data/PhraseTables.h"
#include "session/Lexicon.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class RandomSource;

// Fills a lexicon from both code tables, the heavier pair first, so a code's texts come in
// the order an input method offers them. Equal weights keep the character before the phrase
// and each table's own order.
void FillLexicon(
    const std::vector<CharacterCode>& characters, const std::vector<PhraseRecord>& phrases, Lexicon& lexicon);

// Draws phrases for the drill. A phrase length class (two, three, four or more characters)
// comes up as often as its share of the table, so long phrases are not drowned by the many
// short ones; within a class a phrase comes up in proportion to the square root of its
// weight: frequent phrases more often, rare ones still now and then.
class PhraseDrawer {
public:
    explicit PhraseDrawer(const std::vector<PhraseRecord>& phrases = {});
    bool Empty() const { return m_total == 0; }
    // The index of the drawn phrase; the drawer must not be empty.
    std::size_t Draw(RandomSource& random) const;

private:
    struct LengthClass {
        std::vector<std::size_t> records;
        std::vector<std::uint32_t> cumulative; // running sums of the draw weights
    };
    std::vector<LengthClass> m_classes;
    std::uint32_t m_total = 0;
};

// Everything the phrase drill and the code judge read: the phrases in table order and one
// lexicon of every character's and phrase's codes.
struct PhraseBook {
    std::vector<PhraseRecord> phrases;
    Lexicon lexicon;
    PhraseDrawer drawer;
};

// Loads both tables from `dir`. A table that cannot be used leaves its part empty and its
// error in the result; the other table loads all the same.
std::vector<AppError> LoadPhraseBook(const std::filesystem::path& dir, PhraseBook& book);

// The slot record of the phrase drill.
struct tavphrase {
    std::string code; // trimmed and upper-cased, as the judge compares it
    std::string text; // GBK
    int characters = 0;
    std::uint16_t hintStep = 0; // which character's picture the next hint shows, from 1
};

// Draws one phrase into a slot. Throws AppError when the book holds no phrase.
void DrawPhraseSlot(const PhraseBook& book, RandomSource& random, tavphrase& slot);

// The leftmost slot (1-4) whose phrase code is the attempt; 0 for none.
int MatchPhrase(const std::array<tavphrase, 5>& slots, const std::string& attempt);

// The hint of a phrase: its code, then each character with the letters it gives, as in
// "AAAN  工AA + 艺AN" (GBK); an ellipsis stands for the middle characters of a long phrase,
// which give no letter.
std::string PhraseHint(const tavphrase& slot);

// The slot text of a phrase laid out for a square slot cell: one line for two or three
// characters, two lines of equal length for more; `perLine` receives the characters of the
// longest line, which sets the font size.
std::string PhraseSlotText(const std::string& gbkText, int& perLine);
