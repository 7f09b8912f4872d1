// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Lexicon.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Follow-typing a text: the text split into characters, the two ways of typing it (Wubi codes
// judged by the program, or the learner's own input method with its committed text compared)
// and the measures typists read.

// One character of the text.
struct ArticleChar {
    enum class Kind {
        Typed, // a GB2312 character with a Wubi code: typed in both ways
        Passed, // punctuation, Latin letters, digits, blanks: passed over in the Wubi way
        NoCode, // a GB2312 character the lexicon has no code for: passed over and listed
        Rare, // a character outside GB2312: passed over in the Wubi way and listed
    };
    char32_t cp = 0;
    std::string gbk; // its GB2312 bytes (one byte for ASCII); empty outside GB2312
    Kind kind = Kind::Passed;
};

// GB2312 bytes of a code point, empty when it has none; supplied by the caller so the core
// needs no conversion tables of its own.
using Gb2312Of = std::function<std::string(char32_t)>;

struct ArticleText {
    std::string title;
    std::vector<ArticleChar> chars;

    // Characters the Wubi way asks to be typed.
    std::size_t TypedCount() const;
    // The distinct characters passed over for want of a code, in order of first appearance.
    std::vector<char32_t> Uncoded() const;
};

ArticleText BuildArticle(std::string title, std::u32string_view text, const Gb2312Of& gb2312, const Lexicon& lexicon);

// True for the blanks and line breaks the input-method way passes over.
bool IsBlank(char32_t cp);

// Keys a code takes: its letters, and a space to submit it when it is shorter than four.
constexpr int CodeKeys(std::size_t codeLength) { return int(codeLength) + (codeLength < 4 ? 1 : 0); }

// The fewest keys for each run of typed characters, using short and phrase codes wherever
// they exist: one segment per character or phrase of the best split.
struct Segment {
    std::size_t begin = 0; // index into ArticleText::chars
    std::size_t count = 0; // characters
    std::string code; // the shortest code of these characters together
};
std::vector<Segment> ShortestSegmentation(
    const ArticleText& text, const Lexicon& lexicon, std::size_t begin, std::size_t end);
int SegmentationKeys(const std::vector<Segment>& segments);

// Counts of one session. Time runs from the first key to the last key.
struct ArticleMeasures {
    std::int64_t milliseconds = 0;
    int characters = 0; // characters entered correctly (passed-over ones not counted)
    int keys = 0; // every key pressed while typing
    int errors = 0; // wrong codes (Wubi way) or wrong characters committed (input-method way)
    int corrections = 0; // Backspace presses that took something back

    double Speed() const; // 速度: characters per minute
    double KeysPerSecond() const; // 击键
    double KeysPerCharacter() const; // 码长
};

// A place where the learner used more keys than needed, and the shorter way.
struct LongerCode {
    std::string text; // GBK: the character or phrase
    std::string used; // the codes typed for it, joined by '+'
    std::string shortest; // the shortest code of the whole text
};

// The Wubi way. Keys: letters collect a code in the box; four letters submit it, a space submits
// a shorter one; Backspace takes back a letter of the box. A submitted code enters the longest
// text it types that stands at the current position (a phrase or one character); a code that
// enters nothing counts an error.
class WubiFollow {
public:
    struct Entry {
        std::size_t begin = 0;
        std::size_t count = 0;
        std::string code;
    };
    enum class Outcome { None, Entered, Wrong };

    WubiFollow(const ArticleText& text, const Lexicon& lexicon);

    Outcome Key(char key, std::int64_t ms);
    std::size_t Position() const { return m_position; }
    const std::string& Box() const { return m_box; }
    bool Finished() const { return m_position >= m_text->chars.size(); }
    const std::vector<Entry>& Entries() const { return m_entries; }
    ArticleMeasures Measures(std::int64_t nowMs) const;

    // 码长 of the best split of the whole text.
    double ShortestKeysPerCharacter() const;
    // 码长 of the best split of the part typed so far (the whole text's once it is typed).
    // Cheap enough for every key: finished runs of characters are split once and remembered.
    double ShortestKeysPerCharacterSoFar() const;
    // Where the entered part used more keys than the best split.
    std::vector<LongerCode> LongerCodes() const;
    // What F1 shows: the phrases that start at the position (longest first), then the character
    // itself, each with its codes, shortest first.
    struct Hint {
        std::string text; // GBK
        std::vector<std::string> codes;
    };
    std::vector<Hint> HintsAtPosition() const;

private:
    Outcome Submit();
    void SkipPassed();

    const ArticleText* m_text;
    const Lexicon* m_lexicon;
    std::size_t m_position = 0;
    std::string m_box;
    std::vector<Entry> m_entries;
    ArticleMeasures m_counts;
    std::int64_t m_firstKeyMs = -1;
    std::int64_t m_lastKeyMs = -1;
    mutable std::size_t m_bestUpTo = 0; // the runs before this index are split
    mutable int m_bestKeys = 0; // and take this many keys at best
};

// The input-method way: committed text is compared character by character with the text's
// non-blank characters; Backspace takes back the last committed character.
class ImeFollow {
public:
    explicit ImeFollow(const ArticleText& text);

    // A key pressed in the box (counted for 击键 and 码长, whatever the input method made of it).
    void Key(std::int64_t ms);
    void Commit(std::u32string_view committed, std::int64_t ms);
    void Backspace(std::int64_t ms);

    // Characters to be typed, as indices into ArticleText::chars.
    const std::vector<std::size_t>& Targets() const { return m_targets; }
    // How many of them have been committed, and whether one is wrong.
    std::size_t Typed() const { return m_typed.size(); }
    bool WrongAt(std::size_t target) const { return target < m_typed.size() && m_typed[target] != Expected(target); }
    int StandingWrong() const { return m_wrongStanding; }
    bool Finished() const { return m_typed.size() == m_targets.size() && m_wrongStanding == 0; }
    ArticleMeasures Measures(std::int64_t nowMs) const;

private:
    char32_t Expected(std::size_t target) const { return m_text->chars[m_targets[target]].cp; }
    void Touch(std::int64_t ms);

    const ArticleText* m_text;
    std::vector<std::size_t> m_targets;
    std::u32string m_typed;
    int m_wrongStanding = 0;
    ArticleMeasures m_counts;
    std::int64_t m_firstKeyMs = -1;
    std::int64_t m_lastKeyMs = -1;
};
