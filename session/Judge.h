// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Bytes.h"
#include "session/SlotRecords.h"

#include <string>
#include <string_view>

// Keys the input box keeps in modes 3-9: Backspace, space and the letters.
bool KeptByFilter(char key);

// What a key does to the attempt under way in the input box (modes 3-9), given the box's
// text (GBK bytes) and its length in characters, with the key already filtered (0 when
// the filter discarded it).
struct AttemptForm {
    enum class Box { Unchanged, Emptied, SetToKey };
    bool made = false; // an attempt is formed at this key
    std::string attempt; // trimmed and upper-cased; may be empty, and is then not compared
    Box box = Box::Unchanged;
};
AttemptForm FormAttempt(int mode, std::string_view boxText, int boxLength, char key);

// The slot (1-4) an attempt hits, the leftmost that matches; 0 for none. An empty attempt
// hits nothing, so an empty code field can never be matched.
int MatchAttempt(const SlotTable<tavcharsetpy>& slots, const std::string& attempt);
int MatchAttempt(const SlotTable<tavcharsetzg>& slots, const std::string& attempt);
int MatchAttempt(const SlotTable<tavcharset1>& slots, const std::string& attempt);
int MatchAttempt(const SlotTable<tavcharset2>& slots, const std::string& attempt);
int MatchAttempt(const SlotTable<tavcharset>& slots, const std::string& attempt);
int MatchKey(const SlotTable<std::string>& slots, char key);

// Case folding of a single-key mode: mode 0 upper-cases, mode 1 lower-cases, mode 2 keeps.
char FoldKey(int mode, char key);

// The hint a press of F1-F4 shows for a Wubi character slot, stepping hintStep on.
// Returns false when the step is out of range and the hint line stays as it is.
bool NextWubiHint(tavcharset& slot, std::string& hint);

// The slot to the right, slot 1 after slot 4.
constexpr int NextSlot(int slot) { return slot % 4 + 1; }
