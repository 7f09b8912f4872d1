// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Drill.h"

#include "data/AppError.h"

#include <algorithm>
#include <unordered_map>

double Weakness(const ItemHistory& history)
{
    const double penalty = double(history.misses) * double(MissPenaltyMs);
    return (double(history.totalMs) + penalty) / double(std::max<std::int64_t>(history.hits, 1));
}

std::vector<ItemHistory> Weakest(std::vector<ItemHistory> histories, size_t n)
{
    std::stable_sort(histories.begin(), histories.end(),
        [](const ItemHistory& a, const ItemHistory& b) { return Weakness(a) > Weakness(b); });
    if (histories.size() > n)
        histories.resize(n);
    return histories;
}

const Table* TableOfMode(int mode, const DataTables& tables)
{
    switch (ModeOf(mode).slotKind) {
    case SlotKind::Pinyin:
        return &tables.py;
    case SlotKind::Root:
        return &tables.wbzg;
    case SlotKind::Level1:
        return &tables.wb1;
    case SlotKind::Level2:
        return &tables.wb2;
    case SlotKind::Wubi:
        return &tables.wb;
    default:
        return nullptr;
    }
}

namespace {
template <typename Slot> std::vector<std::uint32_t> findRecords(const Table& table, const std::vector<ItemKey>& items)
{
    std::unordered_map<std::string, std::vector<const ItemKey*>> byText;
    for (const ItemKey& item : items)
        byText[item.text].push_back(&item);
    std::vector<std::uint32_t> found;
    Slot slot;
    for (int r = 0; r < table.count; ++r) {
        try {
            FillSlot(table, std::uint32_t(r), slot);
        } catch (const AppError&) {
            continue; // a damaged record is never drilled; the ordinary draw reports it
        }
        const auto it = byText.find(slot.text);
        if (it == byText.end())
            continue;
        const ItemKey key = ItemOf(slot);
        if (std::any_of(it->second.begin(), it->second.end(), [&](const ItemKey* k) { return *k == key; }))
            found.push_back(std::uint32_t(r));
    }
    return found;
}
}

std::vector<std::uint32_t> RecordsOf(int mode, const DataTables& tables, const std::vector<ItemKey>& items)
{
    const Table* table = TableOfMode(mode, tables);
    if (!table || items.empty())
        return {};
    switch (ModeOf(mode).slotKind) {
    case SlotKind::Pinyin:
        return findRecords<tavcharsetpy>(*table, items);
    case SlotKind::Root:
        return findRecords<tavcharsetzg>(*table, items);
    case SlotKind::Level1:
        return findRecords<tavcharset1>(*table, items);
    case SlotKind::Level2:
        return findRecords<tavcharset2>(*table, items);
    default:
        return findRecords<tavcharset>(*table, items);
    }
}

void WeakDrill::Set(int mode, std::vector<std::uint32_t> records)
{
    m_mode = mode;
    m_records = std::move(records);
}

std::uint32_t WeakDrill::Index(RandomSource& random, std::uint32_t count) const
{
    // One draw decides both halves: the generator reseeds from the clock at every draw, so
    // a coin and a second draw taken a moment apart would be tied to each other.
    const std::uint32_t r = random.Index(2 * count);
    if (r < count)
        return r;
    const std::uint64_t pick = std::uint64_t(r - count) * m_records.size() / count;
    const std::uint32_t weak = m_records[size_t(pick)];
    return weak < count ? weak : r - count;
}
