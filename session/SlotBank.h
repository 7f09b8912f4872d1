// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Tables.h"
#include "session/Drawing.h"
#include "session/Drill.h"
#include "session/PhraseBook.h"
#include "session/SlotRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

// What one judged key or attempt did: the slot it hit, or a miss.
struct Judgement {
    int slot = 0; // 1-4 for a hit, 0 for a miss
    std::string item; // a hit: the text the hit slot showed (GBK), before its refill

    bool hit() const { return slot != 0; }
};

// How to type one slot, as the hint line and its neighbours show it.
struct SlotHint {
    bool showsLine = false; // false: the hint line keeps what it shows
    std::string line; // GBK
    std::optional<std::string> character; // pinyin follow-typing: the target's character
    std::optional<std::int32_t> picture; // the decomposition picture to show
    bool clearsPicture = false; // no picture belongs to the hint: the one shown goes
    std::optional<std::string> phrase; // the phrase drill: each character with its letters (GBK)
};

// The slot tables and everything the modes do with them: fill at Start, refill after a
// hit, judge, shown text and hints. The window asks the bank and shows the answers; the
// mode table (Modes.h) says which slot table a mode uses, and this is the one place that
// turns a mode into a table.
class SlotBank {
public:
    SlotBank(const DataTables& tables, RandomSource& random);

    SlotTable<std::string> keySlots;
    SlotTable<tavcharsetpy> pySlots;
    SlotTable<tavcharsetzg> wbzgSlots;
    SlotTable<tavcharset1> wb1Slots;
    SlotTable<tavcharset2> wb2Slots;
    SlotTable<tavcharset> wbSlots;
    SlotTable<tavphrase> phraseSlots;

    // The book the phrase drill draws from; without one (or with an empty one) the drill
    // cannot start.
    void SetPhraseBook(const PhraseBook* book) { m_phrases = book; }

    // The file of the mode's data table when that table holds no record to draw (nullptr
    // when the mode can start).
    const char* EmptyTableFile(int mode) const;

    // All four slots of the mode, for Start: each drawn in turn from 1 to 4, all kept or,
    // when a draw fails (AppError), none.
    void Fill(int mode);

    // A new item for slot k after a hit. `typed` is the key that hit it (single-key modes,
    // whose new character never repeats it); the input-box modes draw from their table.
    void Refill(int mode, int k, char typed = 0);

    // The text slot k shows (GBK): a letter or digit, a root, a character, or a phrase laid
    // out in lines for the square slot.
    std::string ShownText(int mode, int k) const;

    // A single-key mode's key, already folded to the mode's case.
    Judgement JudgeKey(int mode, char key) const;
    // An input-box mode's attempt (trimmed, upper case). `target` is the pinyin the hint line
    // shows, upper case: pinyin follow-typing hits only that. An empty attempt never hits.
    Judgement JudgeAttempt(int mode, const std::string& attempt, const std::string& target) const;

    // The item slot k holds, as the learner's record names it.
    ItemKey Item(int mode, int k) const;

    // The weak-items drill the input-box modes' draws consult; off, they are the plain draw.
    WeakDrill drill;

    // F1-F4 on slot k. In the Wubi character modes each press steps on to the next code.
    SlotHint Hint(int mode, int k);
    // What the follow-typing modes show while slot k is the next to type (nothing in the
    // other modes). Never steps a hint on.
    SlotHint Guide(int mode, int k) const;

private:
    template <typename R, typename Bank, typename F> static R Visit(Bank& bank, int mode, F&& f);
    template <typename R> void draw(int mode, const Table& table, R& slot);
    void drawPhrase(tavphrase& slot);
    SlotHint phraseHint(tavphrase& slot);
    int pictureOfCharacter(const std::string& gbk);

    const DataTables& m_tables;
    RandomSource& m_random;
    const PhraseBook* m_phrases = nullptr;
    std::unordered_map<std::string, int> m_pictureOf; // built at the first phrase hint
};
