// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Article.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace {

// Longer phrases than this are not looked for (the longest common ones have seven characters).
constexpr std::size_t maxPhrase = 8;

bool ByteIn(char c, int low, int high)
{
    const int v = static_cast<unsigned char>(c);
    return v >= low && v <= high;
}

bool IsGb2312Pair(const std::string& gbk)
{
    return gbk.size() == 2 && ByteIn(gbk[0], 0xA1, 0xF7) && ByteIn(gbk[1], 0xA1, 0xFE);
}

}

bool IsBlank(char32_t cp)
{
    return cp == U' ' || cp == U'\t' || cp == U'\n' || cp == U'\r' || cp == U'\f' || cp == U'\v' || cp == 0x3000
        || cp == 0xA0 || cp == 0xFEFF;
}

std::size_t ArticleText::TypedCount() const
{
    return std::size_t(std::count_if(
        chars.begin(), chars.end(), [](const ArticleChar& c) { return c.kind == ArticleChar::Kind::Typed; }));
}

std::vector<char32_t> ArticleText::Uncoded() const
{
    std::vector<char32_t> out;
    for (const ArticleChar& c : chars)
        if ((c.kind == ArticleChar::Kind::Rare || c.kind == ArticleChar::Kind::NoCode)
            && std::find(out.begin(), out.end(), c.cp) == out.end())
            out.push_back(c.cp);
    return out;
}

ArticleText BuildArticle(std::string title, std::u32string_view text, const Gb2312Of& gb2312, const Lexicon& lexicon)
{
    ArticleText article;
    article.title = std::move(title);
    article.chars.reserve(text.size());
    // A long text repeats a few thousand characters: each is looked up once, and found again
    // by a plain index for the Basic Multilingual Plane, where nearly all of them lie.
    std::vector<ArticleChar> kinds;
    std::vector<std::uint32_t> bmp(0x10000, 0); // 1 + index into kinds; 0 for not seen
    std::unordered_map<char32_t, std::uint32_t> beyond;
    for (char32_t cp : text) {
        if (cp == U'\r')
            continue; // line ends count once, whatever system wrote them
        const std::uint32_t known = cp < 0x10000 ? bmp[cp] : (beyond.count(cp) ? beyond[cp] : 0);
        if (known != 0) {
            article.chars.push_back(kinds[known - 1]);
            continue;
        }
        ArticleChar c;
        c.cp = cp;
        if (cp < 0x80) {
            c.gbk.assign(1, char(cp));
            c.kind = ArticleChar::Kind::Passed;
        } else {
            c.gbk = gb2312(cp);
            if (!IsGb2312Pair(c.gbk)) {
                c.gbk.clear();
                c.kind = IsBlank(cp) ? ArticleChar::Kind::Passed : ArticleChar::Kind::Rare;
            } else if (static_cast<unsigned char>(c.gbk[0]) < 0xB0) {
                // Rows A1-A9 hold punctuation, digits, Latin, kana and symbols: no Wubi code.
                c.kind = ArticleChar::Kind::Passed;
            } else {
                c.kind = lexicon.CodesForText(c.gbk).empty() ? ArticleChar::Kind::NoCode : ArticleChar::Kind::Typed;
            }
        }
        kinds.push_back(c);
        (cp < 0x10000 ? bmp[cp] : beyond[cp]) = std::uint32_t(kinds.size());
        article.chars.push_back(std::move(c));
    }
    return article;
}

// ---------------------------------------------------------------- shortest split

std::vector<Segment> ShortestSegmentation(
    const ArticleText& text, const Lexicon& lexicon, std::size_t begin, std::size_t end)
{
    std::vector<Segment> out;
    end = std::min(end, text.chars.size());
    std::size_t i = begin;
    while (i < end) {
        if (text.chars[i].kind != ArticleChar::Kind::Typed) {
            ++i;
            continue;
        }
        std::size_t runEnd = i;
        while (runEnd < end && text.chars[runEnd].kind == ArticleChar::Kind::Typed)
            ++runEnd;
        // best[j]: fewest keys for the run's characters from j on; choice[j]: the first segment.
        const std::size_t n = runEnd - i;
        std::vector<int> best(n + 1, std::numeric_limits<int>::max());
        std::vector<Segment> choice(n);
        best[n] = 0;
        for (std::size_t j = n; j-- > 0;) {
            std::string piece;
            for (std::size_t len = 1; len <= maxPhrase && j + len <= n; ++len) {
                piece += text.chars[i + j + len - 1].gbk;
                const std::vector<std::string> codes = lexicon.CodesForText(piece);
                if (codes.empty() || best[j + len] == std::numeric_limits<int>::max())
                    continue;
                const int keys = CodeKeys(codes.front().size()) + best[j + len];
                // Ties go to the longer piece: fewer submissions for the same keys.
                if (keys <= best[j]) {
                    best[j] = keys;
                    choice[j] = Segment { i + j, len, codes.front() };
                }
            }
        }
        for (std::size_t j = 0; j < n; j += choice[j].count)
            out.push_back(choice[j]);
        i = runEnd;
    }
    return out;
}

int SegmentationKeys(const std::vector<Segment>& segments)
{
    int keys = 0;
    for (const Segment& s : segments)
        keys += CodeKeys(s.code.size());
    return keys;
}

// ---------------------------------------------------------------- measures

double ArticleMeasures::Speed() const { return milliseconds > 0 ? characters * 60000.0 / double(milliseconds) : 0.0; }

double ArticleMeasures::KeysPerSecond() const { return milliseconds > 0 ? keys * 1000.0 / double(milliseconds) : 0.0; }

double ArticleMeasures::KeysPerCharacter() const { return characters > 0 ? double(keys) / characters : 0.0; }

// ---------------------------------------------------------------- the Wubi way

WubiFollow::WubiFollow(const ArticleText& text, const Lexicon& lexicon)
    : m_text(&text)
    , m_lexicon(&lexicon)
{
    SkipPassed();
}

void WubiFollow::SkipPassed()
{
    while (m_position < m_text->chars.size() && m_text->chars[m_position].kind != ArticleChar::Kind::Typed)
        ++m_position;
}

WubiFollow::Outcome WubiFollow::Key(char key, std::int64_t ms)
{
    if (Finished())
        return Outcome::None;
    if (key >= 'A' && key <= 'Z')
        key = char(key - 'A' + 'a');
    const bool letter = key >= 'a' && key <= 'z';
    if (!letter && key != ' ' && key != '\b')
        return Outcome::None;
    if (m_firstKeyMs < 0)
        m_firstKeyMs = ms;
    m_lastKeyMs = ms;
    ++m_counts.keys;
    if (key == '\b') {
        if (!m_box.empty()) {
            m_box.pop_back();
            ++m_counts.corrections;
        }
        return Outcome::None;
    }
    if (key == ' ')
        return m_box.empty() ? Outcome::None : Submit();
    m_box.push_back(key);
    return m_box.size() == 4 ? Submit() : Outcome::None;
}

WubiFollow::Outcome WubiFollow::Submit()
{
    std::string code;
    code.swap(m_box);
    std::size_t bestCount = 0;
    for (const std::string& candidate : m_lexicon->TextsForCode(code)) {
        // The candidate must stand at the position, character by character, all typed ones.
        std::size_t count = 0;
        std::size_t offset = 0;
        std::size_t at = m_position;
        while (offset < candidate.size() && at < m_text->chars.size()) {
            const ArticleChar& c = m_text->chars[at];
            if (c.kind != ArticleChar::Kind::Typed || candidate.compare(offset, c.gbk.size(), c.gbk) != 0)
                break;
            offset += c.gbk.size();
            ++at;
            ++count;
        }
        if (offset == candidate.size() && count > bestCount)
            bestCount = count;
    }
    if (bestCount == 0) {
        ++m_counts.errors;
        return Outcome::Wrong;
    }
    m_entries.push_back(Entry { m_position, bestCount, code });
    m_position += bestCount;
    m_counts.characters += int(bestCount);
    SkipPassed();
    return Outcome::Entered;
}

ArticleMeasures WubiFollow::Measures(std::int64_t nowMs) const
{
    ArticleMeasures m = m_counts;
    if (m_firstKeyMs >= 0)
        m.milliseconds = (Finished() ? m_lastKeyMs : std::max(nowMs, m_lastKeyMs)) - m_firstKeyMs;
    return m;
}

double WubiFollow::ShortestKeysPerCharacter() const
{
    const std::size_t typed = m_text->TypedCount();
    if (typed == 0)
        return 0.0;
    return double(SegmentationKeys(ShortestSegmentation(*m_text, *m_lexicon, 0, m_text->chars.size()))) / double(typed);
}

double WubiFollow::ShortestKeysPerCharacterSoFar() const
{
    if (m_counts.characters == 0)
        return 0.0;
    std::size_t runStart = m_position;
    while (runStart > 0 && m_text->chars[runStart - 1].kind == ArticleChar::Kind::Typed)
        --runStart;
    if (runStart > m_bestUpTo) {
        m_bestKeys += SegmentationKeys(ShortestSegmentation(*m_text, *m_lexicon, m_bestUpTo, runStart));
        m_bestUpTo = runStart;
    }
    const int keys = m_bestKeys + SegmentationKeys(ShortestSegmentation(*m_text, *m_lexicon, m_bestUpTo, m_position));
    return double(keys) / double(m_counts.characters);
}

std::vector<LongerCode> WubiFollow::LongerCodes() const
{
    std::vector<LongerCode> out;
    const std::vector<Segment> best = ShortestSegmentation(*m_text, *m_lexicon, 0, m_position);
    std::size_t e = 0;
    for (const Segment& s : best) {
        while (e < m_entries.size() && m_entries[e].begin < s.begin)
            ++e;
        // The entries that cover exactly this segment; one crossing its edge is not comparable.
        int used = 0;
        std::string codes;
        std::size_t covered = 0;
        std::size_t k = e;
        while (k < m_entries.size() && m_entries[k].begin == s.begin + covered && covered < s.count) {
            used += CodeKeys(m_entries[k].code.size());
            codes += (codes.empty() ? "" : "+") + m_entries[k].code;
            covered += m_entries[k].count;
            ++k;
        }
        if (covered != s.count || used <= CodeKeys(s.code.size()))
            continue;
        std::string text;
        for (std::size_t i = s.begin; i < s.begin + s.count; ++i)
            text += m_text->chars[i].gbk;
        out.push_back(LongerCode { text, codes, s.code });
    }
    return out;
}

std::vector<WubiFollow::Hint> WubiFollow::HintsAtPosition() const
{
    std::vector<Hint> hints;
    std::string piece;
    for (std::size_t len = 1; len <= maxPhrase && m_position + len <= m_text->chars.size(); ++len) {
        const ArticleChar& c = m_text->chars[m_position + len - 1];
        if (c.kind != ArticleChar::Kind::Typed)
            break;
        piece += c.gbk;
        std::vector<std::string> codes = m_lexicon->CodesForText(piece);
        if (!codes.empty())
            hints.insert(hints.begin(), Hint { piece, std::move(codes) });
    }
    return hints;
}

// ---------------------------------------------------------------- the input-method way

ImeFollow::ImeFollow(const ArticleText& text)
    : m_text(&text)
{
    for (std::size_t i = 0; i < text.chars.size(); ++i)
        if (!IsBlank(text.chars[i].cp))
            m_targets.push_back(i);
}

void ImeFollow::Touch(std::int64_t ms)
{
    if (m_firstKeyMs < 0)
        m_firstKeyMs = ms;
    m_lastKeyMs = std::max(m_lastKeyMs, ms);
}

void ImeFollow::Key(std::int64_t ms)
{
    if (Finished())
        return;
    Touch(ms);
    ++m_counts.keys;
}

void ImeFollow::Commit(std::u32string_view committed, std::int64_t ms)
{
    Touch(ms);
    for (char32_t cp : committed) {
        // Blanks an input method commits are not part of what is compared.
        if (IsBlank(cp) || m_typed.size() >= m_targets.size())
            continue;
        m_typed.push_back(cp);
        if (cp != Expected(m_typed.size() - 1)) {
            ++m_counts.errors;
            ++m_wrongStanding;
        }
    }
}

void ImeFollow::Backspace(std::int64_t ms)
{
    Touch(ms);
    if (m_typed.empty())
        return;
    if (WrongAt(m_typed.size() - 1))
        --m_wrongStanding;
    m_typed.pop_back();
    ++m_counts.corrections;
}

ArticleMeasures ImeFollow::Measures(std::int64_t nowMs) const
{
    ArticleMeasures m = m_counts;
    m.characters = int(m_typed.size()) - m_wrongStanding;
    if (m_firstKeyMs >= 0)
        m.milliseconds = (Finished() ? m_lastKeyMs : std::max(nowMs, m_lastKeyMs)) - m_firstKeyMs;
    return m;
}
