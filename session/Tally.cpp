// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Tally.h"

#include <algorithm>

ItemKey ItemOf(const std::string& keySlot) { return { keySlot, keySlot, 0 }; }
ItemKey ItemOf(const tavcharsetpy& slot) { return { slot.text, slot.pinyin, 0 }; }
ItemKey ItemOf(const tavcharsetzg& slot) { return { slot.text, slot.code, 0 }; }
ItemKey ItemOf(const tavcharset1& slot) { return { slot.text, slot.code, 0 }; }
ItemKey ItemOf(const tavcharset2& slot) { return { slot.text, slot.code, slot.pictureNo }; }
ItemKey ItemOf(const tavcharset& slot) { return { slot.text, slot.codes[1], slot.pictureNo }; }

void SessionTally::Begin(int mode, std::int64_t nowMs)
{
    *this = SessionTally();
    m_active = true;
    m_mode = mode;
    m_placedAt.fill(nowMs);
}

std::int64_t SessionTally::activeMs(std::int64_t nowMs) const
{
    const std::int64_t paused = m_pausedMs + (m_pausedAt >= 0 ? nowMs - m_pausedAt : 0);
    return nowMs - paused;
}

void SessionTally::Pause(std::int64_t nowMs)
{
    if (m_active && m_pausedAt < 0)
        m_pausedAt = nowMs;
}

void SessionTally::Resume(std::int64_t nowMs)
{
    if (m_active && m_pausedAt >= 0) {
        m_pausedMs += nowMs - m_pausedAt;
        m_pausedAt = -1;
    }
}

void SessionTally::Hit(int slot, const ItemKey& item, std::int64_t nowMs)
{
    if (!m_active || slot < 1 || slot > 4)
        return;
    const size_t k = size_t(slot);
    // Placement times are kept on the running clock, so a pause inside an item's stand
    // does not count towards it.
    const std::int64_t now = activeMs(nowMs);
    ItemOutcome outcome { item, std::max<std::int64_t>(0, now - m_placedAt[k]), attributes() ? 0 : -1 };
    Pending& pending = m_pending[k];
    if (pending.misses > 0) {
        if (pending.item == item)
            outcome.misses = pending.misses;
        else
            m_outcomes.push_back({ pending.item, -1, pending.misses });
        pending = Pending();
    }
    m_outcomes.push_back(std::move(outcome));
    m_placedAt[k] = now;
    ++m_hits;
}

void SessionTally::Miss()
{
    if (m_active)
        ++m_misses;
}

void SessionTally::MissOn(int slot, const ItemKey& item)
{
    if (!m_active)
        return;
    ++m_misses;
    if (slot < 1 || slot > 4 || !attributes())
        return;
    Pending& pending = m_pending[size_t(slot)];
    if (pending.misses > 0 && !(pending.item == item))
        m_outcomes.push_back({ pending.item, -1, pending.misses });
    if (!(pending.item == item) || pending.misses == 0)
        pending = Pending { item, 0 };
    ++pending.misses;
}

std::vector<ItemOutcome> SessionTally::Finish()
{
    for (size_t k = 1; k <= 4; ++k)
        if (m_pending[k].misses > 0)
            m_outcomes.push_back({ m_pending[k].item, -1, m_pending[k].misses });
    m_active = false;
    m_pending = {};
    return std::move(m_outcomes);
}

double Accuracy(std::int64_t hits, std::int64_t misses)
{
    if (hits + misses <= 0)
        return -1.0;
    return double(hits) / double(hits + misses);
}
