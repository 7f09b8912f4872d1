// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/PhraseBook.h"

#include "session/Drawing.h"
#include "session/PhraseCode.h"

#include <algorithm>
#include <cmath>

void FillLexicon(
    const std::vector<CharacterCode>& characters, const std::vector<PhraseRecord>& phrases, Lexicon& lexicon)
{
    struct Pair {
        std::uint32_t weight;
        int table;
        std::size_t index;
    };
    std::vector<Pair> pairs;
    pairs.reserve(characters.size() + phrases.size());
    for (std::size_t i = 0; i < characters.size(); ++i)
        pairs.push_back({ characters[i].weight, 0, i });
    for (std::size_t i = 0; i < phrases.size(); ++i)
        pairs.push_back({ phrases[i].weight, 1, i });
    std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.weight > b.weight; });
    for (const Pair& p : pairs) {
        if (p.table == 0)
            lexicon.Add(characters[p.index].code, characters[p.index].character);
        else
            lexicon.Add(phrases[p.index].code, phrases[p.index].text);
    }
}

PhraseDrawer::PhraseDrawer(const std::vector<PhraseRecord>& phrases)
    : m_classes(3)
{
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        LengthClass& c = m_classes[std::size_t(std::clamp(phrases[i].characters, 2, 4) - 2)];
        // At least 1, so a phrase of weight 0 can still come up.
        const auto weight = std::uint32_t(std::lround(std::sqrt(double(phrases[i].weight)))) + 1;
        c.records.push_back(i);
        c.cumulative.push_back((c.cumulative.empty() ? 0 : c.cumulative.back()) + weight);
    }
    m_total = std::uint32_t(phrases.size());
}

std::size_t PhraseDrawer::Draw(RandomSource& random) const
{
    std::uint32_t r = random.Index(m_total);
    const LengthClass* chosen = nullptr;
    for (const LengthClass& c : m_classes) {
        if (r < c.records.size()) {
            chosen = &c;
            break;
        }
        r -= std::uint32_t(c.records.size());
    }
    const std::uint32_t at = random.Index(chosen->cumulative.back());
    const auto it = std::upper_bound(chosen->cumulative.begin(), chosen->cumulative.end(), at);
    return chosen->records[std::size_t(it - chosen->cumulative.begin())];
}

std::vector<AppError> LoadPhraseBook(const std::filesystem::path& dir, PhraseBook& book)
{
    std::vector<AppError> errors;
    std::vector<CharacterCode> characters;
    std::vector<PhraseRecord> phrases;
    try {
        characters = LoadCharacterCodeTable(dir / CharacterCodeFileName);
    } catch (const AppError& e) {
        errors.push_back(e);
    }
    try {
        phrases = LoadPhraseTable(dir / PhraseFileName);
    } catch (const AppError& e) {
        errors.push_back(e);
    }
    Lexicon lexicon;
    FillLexicon(characters, phrases, lexicon);
    book.lexicon = std::move(lexicon);
    book.drawer = PhraseDrawer(phrases);
    book.phrases = std::move(phrases);
    return errors;
}

void DrawPhraseSlot(const PhraseBook& book, RandomSource& random, tavphrase& slot)
{
    if (book.drawer.Empty())
        throw AppError("There are no phrases to draw: the phrase table was not loaded.");
    const PhraseRecord& record = book.phrases[book.drawer.Draw(random)];
    slot.code = CleanField(record.code);
    slot.text = record.text;
    slot.characters = record.characters;
    slot.hintStep = 1;
}

int MatchPhrase(const std::array<tavphrase, 5>& slots, const std::string& attempt)
{
    for (int k = 1; k <= 4; ++k)
        if (!slots[std::size_t(k)].code.empty() && slots[std::size_t(k)].code == attempt)
            return k;
    return 0;
}

std::string PhraseHint(const tavphrase& slot)
{
    const std::vector<std::string> parts = SplitPhraseCode(slot.code, slot.characters);
    if (parts.empty() || slot.text.size() != std::size_t(slot.characters) * 2)
        return slot.code;
    std::string hint = slot.code + "  ";
    bool skipped = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        // The middle characters of a long phrase give no letter: one ellipsis stands for them.
        if (parts[i].empty()) {
            if (!skipped)
                hint += " + \xA1\xAD";
            skipped = true;
            continue;
        }
        if (i > 0)
            hint += " + ";
        hint += slot.text.substr(i * 2, 2) + parts[i];
    }
    return hint;
}

std::string PhraseSlotText(const std::string& gbkText, int& perLine)
{
    const int characters = int(gbkText.size() / 2);
    if (characters <= 3) {
        perLine = std::max(characters, 1);
        return gbkText;
    }
    perLine = (characters + 1) / 2;
    return gbkText.substr(0, std::size_t(perLine) * 2) + "\n" + gbkText.substr(std::size_t(perLine) * 2);
}
