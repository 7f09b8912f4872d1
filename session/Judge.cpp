// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Judge.h"

#include "session/Drawing.h"

bool KeptByFilter(char key)
{
    return key == 8 || key == 32 || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
}

AttemptForm FormAttempt(int mode, std::string_view boxText, int boxLength, char key)
{
    AttemptForm form;
    const Submit submit = ModeOf(mode).submit;
    if (submit == Submit::EveryKey) {
        if (key == 0)
            return form;
        form.made = true;
        form.box = AttemptForm::Box::SetToKey;
        form.attempt = CleanField(std::string_view(&key, 1));
        return form;
    }
    if (key == ' ') {
        form.made = true;
        form.box = AttemptForm::Box::Emptied;
        form.attempt = CleanField(boxText);
        return form;
    }
    // A four-letter Wubi code submits itself: the fourth key completes it, whatever it is.
    if (submit == Submit::SpaceOrFourthKey && boxLength == 3) {
        std::string text(boxText);
        if (key != 0)
            text.push_back(key);
        form.made = true;
        form.box = AttemptForm::Box::Emptied;
        form.attempt = CleanField(text);
    }
    return form;
}

namespace {
template <typename T, typename F> int leftmost(const SlotTable<T>& slots, F matches)
{
    for (int k = 1; k <= 4; ++k)
        if (matches(slots[size_t(k)]))
            return k;
    return 0;
}
}

int MatchAttempt(const SlotTable<tavcharsetpy>& slots, const std::string& attempt)
{
    if (attempt.empty())
        return 0;
    return leftmost(slots, [&](const tavcharsetpy& s) { return s.pinyin == attempt; });
}

int MatchAttempt(const SlotTable<tavcharsetzg>& slots, const std::string& attempt)
{
    if (attempt.empty())
        return 0;
    return leftmost(slots, [&](const tavcharsetzg& s) { return s.code == attempt; });
}

int MatchAttempt(const SlotTable<tavcharset1>& slots, const std::string& attempt)
{
    if (attempt.empty())
        return 0;
    return leftmost(slots, [&](const tavcharset1& s) { return s.code == attempt; });
}

int MatchAttempt(const SlotTable<tavcharset2>& slots, const std::string& attempt)
{
    if (attempt.empty())
        return 0;
    return leftmost(slots, [&](const tavcharset2& s) { return s.code == attempt; });
}

int MatchAttempt(const SlotTable<tavcharset>& slots, const std::string& attempt)
{
    if (attempt.empty())
        return 0;
    return leftmost(slots, [&](const tavcharset& s) {
        for (int i = 1; i <= 4; ++i)
            if (s.codes[size_t(i)] == attempt)
                return true;
        return false;
    });
}

int MatchKey(const SlotTable<std::string>& slots, char key)
{
    return leftmost(slots, [&](const std::string& s) { return s.size() == 1 && s[0] == key; });
}

char FoldKey(int mode, char key)
{
    if (mode == Mode::UpperLetters)
        return AsciiUpper(key);
    if (mode == Mode::LowerLetters)
        return AsciiLower(key);
    return key;
}

bool NextWubiHint(tavcharset& slot, std::string& hint)
{
    const bool shown = slot.hintStep >= 1 && slot.hintStep <= 4;
    if (shown)
        hint = slot.codes[slot.hintStep];
    slot.hintStep = slot.hintStep < 4 ? static_cast<std::uint16_t>(slot.hintStep + 1) : std::uint16_t(1);
    return shown;
}
