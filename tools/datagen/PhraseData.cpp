// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/datagen/PhraseData.h"

#include "data/AppError.h"
#include "session/PhraseCode.h"
#include "tools/datagen/Gbk.h"
#include "tools/datagen/Sources.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace datagen {
namespace {

    bool isCode(const std::string& s)
    {
        return !s.empty() && s.size() <= 4
            && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    }

    // The characters of UTF-8 text, each as its own string.
    std::vector<std::string> characters(const std::string& utf8)
    {
        std::vector<std::string> out;
        for (size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            out.push_back(utf8.substr(i, length));
            i += length;
        }
        return out;
    }

    // Latin letters and digits are single bytes of GB2312's encoding; everything else must be
    // one of its two-byte characters.
    bool inGb2312(const std::string& gbk)
    {
        for (size_t i = 0; i < gbk.size();) {
            const auto c = static_cast<unsigned char>(gbk[i]);
            if (c < 0x80) {
                ++i;
                continue;
            }
            if (i + 1 >= gbk.size() || !IsGb2312Text(gbk.substr(i, 2)))
                return false;
            i += 2;
        }
        return true;
    }

    std::string gbk(const std::string& utf8)
    {
        const std::optional<std::string> bytes = Utf8ToGbk(utf8);
        if (!bytes)
            throw AppError("\"" + utf8 + "\" has no GBK code");
        return *bytes;
    }

    template <typename Row>
    std::vector<Row> forEachLine(std::istream& in, const std::string& name, DataHeader header,
        const std::function<std::string(const std::string&, int, std::vector<Row>&)>& row)
    {
        std::vector<Row> rows;
        ForEachSourceLine(
            in, name, header, [&](const std::string& line, int number) { return row(line, number, rows); });
        return rows;
    }

}

std::vector<RimeRow> ParseRimeRows(std::istream& in, const std::string& name)
{
    return forEachLine<RimeRow>(
        in, name, DataHeader::Yaml, [](const std::string& line, int number, std::vector<RimeRow>& rows) -> std::string {
            const std::vector<std::string> f = SplitTabs(line);
            if (f.size() < 2 || f.size() > 4)
                return "expected text, code, and optionally weight and stem, separated by tabs";
            if (f[0].empty())
                return "the text is empty";
            if (!isCode(f[1]))
                return "the code \"" + f[1] + "\" is not one to four letters a-z";
            if (f[1].front() == 'z')
                return {};
            double weight = 0;
            if (f.size() >= 3) {
                size_t used = 0;
                try {
                    weight = std::stod(f[2], &used);
                } catch (const std::exception&) {
                    used = 0;
                }
                if (used != f[2].size() || f[2].empty() || !(f[2][0] >= '0' && f[2][0] <= '9') || weight > 4294967295.0)
                    return "the weight \"" + f[2] + "\" is not a number up to 4294967295";
            }
            rows.push_back({ f[0], f[1], std::uint32_t(std::llround(weight)), number });
            return {};
        });
}

std::vector<RimeRow> ReadRimeRows(const std::filesystem::path& file) { return ReadSourceFile(file, &ParseRimeRows); }

std::vector<ReviewedDisagreement> ParseReviewedDisagreements(std::istream& in, const std::string& name)
{
    std::set<std::string> seen;
    return forEachLine<ReviewedDisagreement>(in, name, DataHeader::None,
        [&](const std::string& line, int number, std::vector<ReviewedDisagreement>& rows) -> std::string {
            const std::vector<std::string> f = SplitTabs(line);
            if (f.size() != 3 || f[2].empty())
                return "expected phrase, formed code and why, separated by tabs";
            if (Utf8Length(f[0]) < 2)
                return "\"" + f[0] + "\" is not a phrase";
            if (f[1] != "-" && (f[1].size() != 4 || !isCode(f[1])))
                return "the formed code \"" + f[1] + "\" is neither four letters nor -";
            if (!seen.insert(f[0]).second)
                return "\"" + f[0] + "\" is listed twice";
            rows.push_back({ f[0], f[1], f[2], number });
            return {};
        });
}

std::vector<ReviewedDisagreement> ReadReviewedDisagreements(const std::filesystem::path& file)
{
    return ReadSourceFile(file, &ParseReviewedDisagreements);
}

std::map<std::string, std::string> FullCodes(const std::vector<RimeRow>& rows)
{
    std::map<std::string, std::string> full;
    for (const RimeRow& row : rows) {
        if (Utf8Length(row.text) != 1)
            continue;
        std::string& code = full[row.text];
        if (row.code.size() > code.size())
            code = row.code;
    }
    return full;
}

std::vector<std::string> Gb2312Characters()
{
    std::vector<std::string> out;
    for (int hi = 0xB0; hi <= 0xF7; ++hi)
        for (int lo = 0xA1; lo <= 0xFE; ++lo)
            if (hi != 0xD7 || lo <= 0xF9)
                out.push_back(std::string { static_cast<char>(hi), static_cast<char>(lo) });
    return out;
}

PhraseData ChoosePhrases(
    const std::vector<RimeRow>& rows, const std::vector<ReviewedDisagreement>& reviewed, PhraseCounts counts)
{
    PhraseData data;
    const std::map<std::string, std::string> full = FullCodes(rows);

    // Phrases with every code rime lists for them, their heaviest row and their first line.
    struct Phrase {
        std::string text;
        std::vector<std::string> codes;
        std::uint32_t weight = 0;
        int line = 0;
        std::vector<std::string> characters;
    };
    std::map<std::string, size_t> indexOf;
    std::vector<Phrase> phrases;
    for (const RimeRow& row : rows) {
        if (Utf8Length(row.text) < 2)
            continue;
        auto [it, added] = indexOf.emplace(row.text, phrases.size());
        if (added)
            phrases.push_back({ row.text, {}, 0, row.line, characters(row.text) });
        Phrase& p = phrases[it->second];
        if (std::find(p.codes.begin(), p.codes.end(), row.code) == p.codes.end())
            p.codes.push_back(row.code);
        p.weight = std::max(p.weight, row.weight);
    }
    std::erase_if(phrases, [](const Phrase& p) {
        const std::optional<std::string> bytes = Utf8ToGbk(p.text);
        return !bytes || !inGb2312(*bytes);
    });
    std::stable_sort(phrases.begin(), phrases.end(),
        [](const Phrase& a, const Phrase& b) { return a.weight != b.weight ? a.weight > b.weight : a.line < b.line; });

    std::vector<PhraseRecord> byClass[3];
    const size_t wanted[3] = { size_t(counts.two), size_t(counts.three), size_t(counts.longer) };
    for (const Phrase& p : phrases) {
        const size_t c = std::min<size_t>(p.characters.size(), 4) - 2;
        if (byClass[c].size() >= wanted[c])
            continue;
        if (p.characters.size() > size_t(MaxPhraseCharacters)) {
            data.tooLong.push_back(p.text);
            continue;
        }
        std::vector<std::string> fullCodes;
        for (const std::string& ch : p.characters) {
            const auto it = full.find(ch);
            if (it != full.end())
                fullCodes.push_back(it->second);
        }
        const std::optional<std::string> formed
            = fullCodes.size() == p.characters.size() ? FormPhraseCode(fullCodes) : std::nullopt;
        if (!formed || std::find(p.codes.begin(), p.codes.end(), *formed) == p.codes.end()) {
            data.disagreements.push_back({ p.text, formed.value_or("-"), p.codes });
            continue;
        }
        byClass[c].push_back({ *formed, p.weight, gbk(p.text), int(p.characters.size()) });
    }
    for (auto& records : byClass)
        data.phrases.insert(data.phrases.end(), records.begin(), records.end());

    // Every disagreement must be the reviewed one, and every reviewed one must still disagree.
    std::string unreviewed;
    for (const PhraseDisagreement& d : data.disagreements) {
        const auto it
            = std::find_if(reviewed.begin(), reviewed.end(), [&](const auto& r) { return r.phrase == d.phrase; });
        if (it == reviewed.end() || it->formed != d.formed) {
            std::string listed;
            for (const std::string& code : d.rimeCodes)
                listed += (listed.empty() ? "" : " ") + code;
            unreviewed += "\n  " + d.phrase + "\tformed " + d.formed + ", rime lists " + listed;
        }
    }
    for (const ReviewedDisagreement& r : reviewed) {
        const auto it = std::find_if(
            data.disagreements.begin(), data.disagreements.end(), [&](const auto& d) { return d.phrase == r.phrase; });
        if (it == data.disagreements.end())
            unreviewed
                += "\n  " + r.phrase + "\tis reviewed (line " + std::to_string(r.line) + ") but agrees or is not taken";
    }
    if (data.disagreements.size() > size_t(MaxDisagreements))
        throw AppError(std::to_string(data.disagreements.size()) + " phrases disagree with the phrase rules, more than "
            + std::to_string(MaxDisagreements) + ": a full code or a rule is wrong" + unreviewed);
    if (!unreviewed.empty())
        throw AppError("phrase codes differ from the reviewed list:" + unreviewed);

    return data;
}

PhraseData BuildPhraseData(
    const std::vector<RimeRow>& rows, const std::vector<ReviewedDisagreement>& reviewed, PhraseCounts counts)
{
    PhraseData data = ChoosePhrases(rows, reviewed, counts);
    // Every GB2312 character with every code rime lists for it, the heaviest pair first.
    std::map<std::string, std::vector<const RimeRow*>> rowsOf;
    for (const RimeRow& row : rows)
        if (Utf8Length(row.text) == 1)
            rowsOf[row.text].push_back(&row);
    for (const std::string& character : Gb2312Characters()) {
        const std::optional<std::string> utf8 = GbkToUtf8(character);
        const auto it = utf8 ? rowsOf.find(*utf8) : rowsOf.end();
        if (it == rowsOf.end())
            throw AppError("the GB2312 character \"" + utf8.value_or("?") + "\" has no Wubi code");
        std::vector<CharacterCode> codes;
        for (const RimeRow* row : it->second) {
            const auto same
                = std::find_if(codes.begin(), codes.end(), [&](const auto& c) { return c.code == row->code; });
            if (same == codes.end())
                codes.push_back({ row->code, row->weight, character });
            else
                same->weight = std::max(same->weight, row->weight);
        }
        data.characters.insert(data.characters.end(), codes.begin(), codes.end());
    }
    std::stable_sort(data.characters.begin(), data.characters.end(),
        [](const CharacterCode& a, const CharacterCode& b) { return a.weight > b.weight; });
    return data;
}

std::string PlainPhraseTable(const PhraseData& data)
{
    std::string out;
    for (const PhraseRecord& record : data.phrases)
        out += PhraseRecordBytes(record);
    return out;
}

std::string PlainCharacterCodeTable(const PhraseData& data)
{
    std::string out;
    for (const CharacterCode& entry : data.characters)
        out += CharacterCodeRecordBytes(entry);
    return out;
}

}
