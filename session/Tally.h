// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/SlotRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What identifies a practice item in the learner's record: its shown text and the code
// (or pinyin) that types it, both GBK bytes as the slot holds them. For characters the
// picture number comes along so the record can show the split.
struct ItemKey {
    std::string text;
    std::string code;
    std::int32_t pictureNo = 0;

    bool operator==(const ItemKey& other) const { return text == other.text && code == other.code; }
};

ItemKey ItemOf(const std::string& keySlot);
ItemKey ItemOf(const tavcharsetpy& slot);
ItemKey ItemOf(const tavcharsetzg& slot);
ItemKey ItemOf(const tavcharset1& slot);
ItemKey ItemOf(const tavcharset2& slot);
ItemKey ItemOf(const tavcharset& slot);

// One item as the session saw it. A time is only known for an item that was hit; misses are
// only known where the learner's target is known (pinyin follow-typing), -1 otherwise.
struct ItemOutcome {
    ItemKey item;
    std::int64_t shownMs = -1; // how long it stood in its slot until hit; -1 never hit
    std::int32_t misses = -1; // -1: the input did not say which item a miss was meant for
};

// Counts a session's hits and misses silently and times each item in its slot. Times run
// on the caller's millisecond clock; paused stretches are left out, as the session clock
// leaves them out.
class SessionTally {
public:
    void Begin(int mode, std::int64_t nowMs);
    bool Active() const { return m_active; }
    int mode() const { return m_mode; }

    void Pause(std::int64_t nowMs);
    void Resume(std::int64_t nowMs);

    // `item` stood in `slot` and was hit; the slot's next item starts its time now.
    void Hit(int slot, const ItemKey& item, std::int64_t nowMs);
    // An attempt that hit nothing, meant for no known item.
    void Miss();
    // An attempt that hit nothing while `item` in `slot` was the known target.
    void MissOn(int slot, const ItemKey& item);

    // Ends the session: the outcomes in the order they happened, with targets missed but
    // never hit last. The tally is inactive afterwards.
    std::vector<ItemOutcome> Finish();

    std::int64_t hits() const { return m_hits; }
    std::int64_t misses() const { return m_misses; }

private:
    std::int64_t activeMs(std::int64_t nowMs) const;
    bool attributes() const { return ModeOf(m_mode).follow == Follow::Target; }

    struct Pending {
        ItemKey item;
        std::int32_t misses = 0;
    };
    bool m_active = false;
    int m_mode = Mode::None;
    std::int64_t m_pausedMs = 0; // paused time so far
    std::int64_t m_pausedAt = -1; // -1 while running
    std::array<std::int64_t, 5> m_placedAt {};
    std::array<Pending, 5> m_pending {};
    std::int64_t m_hits = 0;
    std::int64_t m_misses = 0;
    std::vector<ItemOutcome> m_outcomes;
};

// Hits / (hits + misses); negative when nothing was attempted.
double Accuracy(std::int64_t hits, std::int64_t misses);

// A character key that counts as a miss in the single-key modes when it hits nothing.
constexpr bool IsLetterOrDigit(char key)
{
    return (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') || (key >= '0' && key <= '9');
}
