// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SlotBank.h"

#include "data/Records.h"
#include "session/Judge.h"

#include <type_traits>

namespace {
// The data table each record type is drawn from. The single-key slots have none: their
// characters are made on the spot.
template <typename R> struct Source;
template <> struct Source<tavcharsetpy> {
    static constexpr TableKind table = TableKind::Py;
};
template <> struct Source<tavcharsetzg> {
    static constexpr TableKind table = TableKind::Wbzg;
};
template <> struct Source<tavcharset1> {
    static constexpr TableKind table = TableKind::Wb1;
};
template <> struct Source<tavcharset2> {
    static constexpr TableKind table = TableKind::Wb2;
};
template <> struct Source<tavcharset> {
    static constexpr TableKind table = TableKind::Wb;
};

template <typename Slots> using RecordOf = std::remove_cvref_t<decltype(std::declval<Slots>()[1])>;
template <typename Slots> constexpr bool isKeySlots = std::is_same_v<RecordOf<Slots>, std::string>;
template <typename Slots> constexpr bool isPhraseSlots = std::is_same_v<RecordOf<Slots>, tavphrase>;

std::string shown(const std::string& key) { return key; }
template <typename R> std::string shown(const R& record) { return record.text; }
std::string shown(const tavphrase& phrase)
{
    int perLine = 1;
    return PhraseSlotText(phrase.text, perLine);
}

// A phrase is known to the record by its text and its code.
ItemKey ItemOf(const tavphrase& phrase) { return { phrase.text, phrase.code, 0 }; }
int MatchAttempt(const SlotTable<tavphrase>& slots, const std::string& attempt) { return MatchPhrase(slots, attempt); }

SlotHint lineHint(std::string line, std::optional<std::int32_t> picture = {})
{
    SlotHint hint;
    hint.showsLine = true;
    hint.line = std::move(line);
    hint.picture = picture;
    return hint;
}

// The hint a slot starts with: its pinyin in lower case, its code, or its first Wubi code.
SlotHint firstHint(const std::string&) { return {}; }
SlotHint firstHint(const tavcharsetpy& s) { return lineHint(AsciiLower(s.pinyin)); }
SlotHint firstHint(const tavcharsetzg& s) { return lineHint(s.code); }
SlotHint firstHint(const tavcharset1& s) { return lineHint(s.code); }
SlotHint firstHint(const tavcharset2& s) { return lineHint(s.code, s.pictureNo); }
SlotHint firstHint(const tavcharset& s) { return lineHint(s.codes[1], s.pictureNo); }
SlotHint firstHint(const tavphrase&) { return {}; } // no phrase is followed

// A hint key's answer: a Wubi character's codes one after the other, the rest as above.
template <typename R> SlotHint steppedHint(R& s) { return firstHint(s); }
SlotHint steppedHint(tavcharset& s)
{
    SlotHint hint;
    hint.showsLine = NextWubiHint(s, hint.line);
    hint.picture = s.pictureNo;
    return hint;
}

constexpr bool validSlot(int k) { return k >= 1 && k <= 4; }
}

SlotBank::SlotBank(const DataTables& tables, RandomSource& random)
    : m_tables(tables)
    , m_random(random)
{
}

template <typename R, typename Bank, typename F> R SlotBank::Visit(Bank& bank, int mode, F&& f)
{
    switch (ModeOf(mode).slotKind) {
    case SlotKind::Key:
        return f(bank.keySlots);
    case SlotKind::Pinyin:
        return f(bank.pySlots);
    case SlotKind::Root:
        return f(bank.wbzgSlots);
    case SlotKind::Level1:
        return f(bank.wb1Slots);
    case SlotKind::Level2:
        return f(bank.wb2Slots);
    case SlotKind::Wubi:
        return f(bank.wbSlots);
    case SlotKind::Phrase:
        return f(bank.phraseSlots);
    case SlotKind::None:
        break;
    }
    return R();
}

const char* SlotBank::EmptyTableFile(int mode) const
{
    return Visit<const char*>(*this, mode, [&](const auto& slots) -> const char* {
        using Slots = decltype(slots);
        if constexpr (isKeySlots<Slots>) {
            return nullptr;
        } else if constexpr (isPhraseSlots<Slots>) {
            return m_phrases && !m_phrases->phrases.empty() ? nullptr : PhraseFileName;
        } else {
            constexpr TableKind kind = Source<RecordOf<Slots>>::table;
            return m_tables.of(kind).count >= 1 ? nullptr : FormatOf(kind).fileName;
        }
    });
}

void SlotBank::Fill(int mode)
{
    Visit<void>(*this, mode, [&](auto& slots) {
        using Slots = decltype(slots);
        // A damaged record must leave the slots as they were, not half refilled.
        auto drawn = slots;
        for (int k = 1; k <= 4; ++k) {
            if constexpr (isKeySlots<Slots>)
                drawn[size_t(k)] = StartCharacter(mode, k);
            else if constexpr (isPhraseSlots<Slots>)
                drawPhrase(drawn[size_t(k)]);
            else
                draw(mode, m_tables.of(Source<RecordOf<Slots>>::table), drawn[size_t(k)]);
        }
        slots = std::move(drawn);
    });
}

void SlotBank::Refill(int mode, int k, char typed)
{
    if (!validSlot(k))
        return;
    Visit<void>(*this, mode, [&](auto& slots) {
        using Slots = decltype(slots);
        if constexpr (isKeySlots<Slots>)
            slots[size_t(k)] = std::string(1, ReplacementCharacter(mode, typed, m_random));
        else if constexpr (isPhraseSlots<Slots>)
            drawPhrase(slots[size_t(k)]);
        else
            draw(mode, m_tables.of(Source<RecordOf<Slots>>::table), slots[size_t(k)]);
    });
}

void SlotBank::drawPhrase(tavphrase& slot)
{
    if (!m_phrases)
        throw AppError(std::string("No phrases to draw: ") + PhraseFileName + " is not loaded");
    DrawPhraseSlot(*m_phrases, m_random, slot);
}

template <typename R> void SlotBank::draw(int mode, const Table& table, R& slot)
{
    if (drill.ActiveFor(mode) && table.count >= 1)
        FillSlot(table, drill.Index(m_random, std::uint32_t(table.count)), slot);
    else
        DrawSlot(table, m_random, slot);
}

ItemKey SlotBank::Item(int mode, int k) const
{
    if (!validSlot(k))
        return {};
    return Visit<ItemKey>(*this, mode, [&](const auto& slots) { return ItemOf(slots[size_t(k)]); });
}

std::string SlotBank::ShownText(int mode, int k) const
{
    if (!validSlot(k))
        return {};
    return Visit<std::string>(*this, mode, [&](const auto& slots) { return shown(slots[size_t(k)]); });
}

Judgement SlotBank::JudgeKey(int mode, char key) const
{
    if (ModeOf(mode).slotKind != SlotKind::Key)
        return {};
    const int k = MatchKey(keySlots, key);
    return k ? Judgement { k, ShownText(mode, k) } : Judgement {};
}

Judgement SlotBank::JudgeAttempt(int mode, const std::string& attempt, const std::string& target) const
{
    if (ModeOf(mode).follow == Follow::Target && attempt != target)
        return {};
    const int k = Visit<int>(*this, mode, [&](const auto& slots) {
        if constexpr (isKeySlots<decltype(slots)>)
            return 0;
        else
            return MatchAttempt(slots, attempt);
    });
    return k ? Judgement { k, ShownText(mode, k) } : Judgement {};
}

SlotHint SlotBank::Hint(int mode, int k)
{
    if (!validSlot(k))
        return {};
    SlotHint hint = Visit<SlotHint>(*this, mode, [&](auto& slots) {
        if constexpr (isPhraseSlots<decltype(slots)>)
            return phraseHint(slots[size_t(k)]);
        else
            return steppedHint(slots[size_t(k)]);
    });
    if (ModeOf(mode).follow == Follow::Target)
        hint.character = ShownText(mode, k);
    return hint;
}

SlotHint SlotBank::Guide(int mode, int k) const
{
    if (!validSlot(k) || ModeOf(mode).follow == Follow::None)
        return {};
    SlotHint hint = Visit<SlotHint>(*this, mode, [&](const auto& slots) { return firstHint(slots[size_t(k)]); });
    if (ModeOf(mode).follow == Follow::Target)
        hint.character = ShownText(mode, k);
    return hint;
}

// The phrase's code on the hint line, each character with its letters beside it, and the
// picture of one of its characters: each press the next that has one, round the phrase.
SlotHint SlotBank::phraseHint(tavphrase& slot)
{
    if (slot.text.empty())
        return {};
    SlotHint hint = lineHint(slot.code);
    hint.phrase = PhraseHint(slot);
    const int n = slot.characters;
    for (int step = 0; step < n; ++step) {
        const int i = (int(slot.hintStep) - 1 + step) % n;
        const int picture = pictureOfCharacter(slot.text.substr(size_t(i) * 2, 2));
        if (picture > 0) {
            slot.hintStep = std::uint16_t((i + 1) % n + 1);
            hint.picture = picture;
            return hint;
        }
    }
    hint.clearsPicture = true;
    return hint;
}

int SlotBank::pictureOfCharacter(const std::string& gbk)
{
    if (m_pictureOf.empty()) {
        // The character table's record r has picture r + 1; the level-2 table names the
        // pictures of the characters outside it.
        const std::string_view wb = m_tables.wb.text();
        for (int r = 0; r < m_tables.wb.count; ++r)
            m_pictureOf.emplace(ReadField(wb, WbLayout::size, std::uint32_t(r), WbLayout::text), r + 1);
        tavcharset2 level2;
        for (int r = 0; r < m_tables.wb2.count; ++r) {
            try {
                FillSlot(m_tables.wb2, std::uint32_t(r), level2);
                m_pictureOf.emplace(level2.text, level2.pictureNo);
            } catch (const AppError&) {
                // A damaged record only loses its picture here.
            }
        }
    }
    const auto it = m_pictureOf.find(gbk);
    return it == m_pictureOf.end() ? 0 : it->second;
}
