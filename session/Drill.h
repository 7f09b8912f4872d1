// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Tables.h"
#include "session/Drawing.h"
#include "session/Tally.h"

#include <cstdint>
#include <vector>

// How an item has gone for the learner over all sessions of one mode.
struct ItemHistory {
    ItemKey item;
    std::int64_t hits = 0;
    std::int64_t totalMs = 0; // summed stand times of the hits
    std::int64_t misses = 0; // attributed misses only
};

// A miss costs as much as this long a stand: a learner who types an item wrongly twice and
// then finds it was as slow as one who searched the keyboard for six seconds.
constexpr std::int64_t MissPenaltyMs = 3000;

// Average milliseconds per hit with the misses added as penalties; higher is weaker. An item
// missed but never hit is as weak as its misses make it.
double Weakness(const ItemHistory& history);

// The n weakest of `histories`, weakest first; ties keep their given order.
std::vector<ItemHistory> Weakest(std::vector<ItemHistory> histories, size_t n);

// The table a mode draws from; null for the single-key modes.
const Table* TableOfMode(int mode, const DataTables& tables);

// Record numbers of the mode's table that hold one of `items` (by text and code).
std::vector<std::uint32_t> RecordsOf(int mode, const DataTables& tables, const std::vector<ItemKey>& items);

// The weak-items drill: half of the draws come from the weakest records, the other half are
// ordinary draws. Off (or with no weak record known) it is never consulted, so drawing stays
// exactly as it is.
class WeakDrill {
public:
    static constexpr size_t WeakestCount = 50;

    void Set(int mode, std::vector<std::uint32_t> records);
    void Clear() { m_records.clear(), m_mode = Mode::None; }
    bool ActiveFor(int mode) const { return Mode::IsInputBox(mode) && mode == m_mode && !m_records.empty(); }
    const std::vector<std::uint32_t>& records() const { return m_records; }

    // A record number below `count`: half the time an ordinary index, half the time one of
    // the weak records.
    std::uint32_t Index(RandomSource& random, std::uint32_t count) const;

private:
    int m_mode = Mode::None;
    std::vector<std::uint32_t> m_records;
};
