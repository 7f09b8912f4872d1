// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/datagen/PracticeData.h"

#include "data/AppError.h"
#include "data/Unitcomm.h"
#include "tools/datagen/Gbk.h"

#include <algorithm>
#include <map>
#include <set>

namespace datagen {
namespace {

    constexpr size_t Wb1Size = 5, WbzgSize = 5;

    std::string gbkOf(const std::string& utf8)
    {
        std::optional<std::string> gbk = Utf8ToGbk(utf8);
        if (!gbk || gbk->size() != 2)
            throw AppError("\"" + utf8 + "\" has no two-byte GBK code");
        return *gbk;
    }

    size_t zoneIndex(char key) { return ZoneOrder.find(key); }

    bool zoneLess(const std::string& a, const std::string& b)
    {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i])
                return zoneIndex(a[i]) < zoneIndex(b[i]);
        return a.size() < b.size();
    }

    // Left-aligned in `width` bytes, blank-padded.
    std::string padded(const std::string& text, size_t width)
    {
        std::string out = text;
        out.resize(width, ' ');
        return out;
    }

    struct Ranked {
        std::string character; // UTF-8
        std::string gbk;
        std::int64_t frequency;
    };

    // Most frequent first; ties by GBK code so the order never depends on anything else.
    bool rankLess(const Ranked& a, const Ranked& b)
    {
        if (a.frequency != b.frequency)
            return a.frequency > b.frequency;
        return a.gbk < b.gbk;
    }

    // The full code (the only longest), then the shorter codes from the shortest.
    std::vector<std::string> recordCodes(const std::string& character, std::vector<std::string> codes)
    {
        std::sort(
            codes.begin(), codes.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
        for (size_t i = 1; i < codes.size(); ++i)
            if (codes[i].size() == codes[i - 1].size())
                throw AppError("\"" + character + "\" has two codes of " + std::to_string(codes[i].size())
                    + " letters (" + codes[i - 1] + ", " + codes[i] + "); the character table has room for one");
        if (codes.size() > 4)
            throw AppError("\"" + character + "\" has more than four codes");
        std::rotate(codes.rbegin(), codes.rbegin() + 1, codes.rend());
        return codes;
    }

    std::string readingOf(const std::string& character, const PinyinSource& pinyin, const PinyinOverrides& overrides)
    {
        const auto it = pinyin.readings.find(character);
        if (it == pinyin.readings.end() || it->second.empty())
            throw AppError("\"" + character + "\" has no reading in the pinyin dictionary");
        const std::vector<Reading>& readings = it->second;
        std::string reading;
        if (const auto o = overrides.find(character); o != overrides.end()) {
            reading = o->second;
            const bool known
                = std::any_of(readings.begin(), readings.end(), [&](const Reading& r) { return r.pinyin == reading; });
            if (!known)
                throw AppError("the reading override " + reading + " for \"" + character
                    + "\" is not one of its readings in the pinyin dictionary");
        } else {
            const auto best = std::max_element(readings.begin(), readings.end(),
                [](const Reading& a, const Reading& b) { return a.weight < b.weight; });
            const auto ties = std::count_if(
                readings.begin(), readings.end(), [&](const Reading& r) { return r.weight == best->weight; });
            if (ties > 1)
                throw AppError(
                    "\"" + character + "\" has several readings of the same weight; settle it in the pinyin overrides");
            reading = best->pinyin;
        }
        // The dictionary writes ü as v except in lue and nue; on the keyboard it is always v.
        if (reading == "lue" || reading == "nue")
            reading[1] = 'v';
        if (reading.size() > 8)
            throw AppError("the reading " + reading + " of \"" + character + "\" is longer than its field");
        return reading;
    }

    // The longest code; of two equally long ones (a few rare characters) the one listed first.
    std::string fullCodeOf(const WubiSource& wubi, const std::string& character)
    {
        const std::vector<std::string>& codes = wubi.codes.at(character);
        return *std::max_element(
            codes.begin(), codes.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    }

}

std::vector<std::string> Gb2312Level1()
{
    std::vector<std::string> out;
    for (int hi = 0xB0; hi <= 0xD7; ++hi)
        for (int lo = 0xA1; lo <= (hi == 0xD7 ? 0xF9 : 0xFE); ++lo)
            out.push_back(std::string { static_cast<char>(hi), static_cast<char>(lo) });
    return out;
}

bool IsGb2312Level1(const std::string& gbk)
{
    return gbk.size() == 2 && gbk.compare("\xB0\xA1") >= 0 && gbk.compare("\xD7\xF9") <= 0;
}

PracticeData BuildPracticeData(const Sources& sources)
{
    const WubiSource& wubi = sources.wubi;
    const PinyinSource& pinyin = sources.pinyin;
    const std::vector<RootChartRow>& roots = sources.roots;
    const PinyinOverrides& overrides = sources.overrides;
    PracticeData data;

    // Level 1: the one-letter codes, one character for each key.
    std::map<std::string, std::string> byShortCode; // code -> character, for codes of one and two letters
    std::map<std::string, size_t> longest;
    for (const auto& [character, codes] : wubi.codes) {
        size_t most = 0;
        for (const std::string& code : codes)
            most = std::max(most, code.size());
        longest[character] = most;
    }
    for (const auto& [character, codes] : wubi.codes) {
        for (const std::string& code : codes) {
            // A two-letter code is a short code only when the character also has a longer one.
            if (code.size() == 1 || (code.size() == 2 && longest[character] > 2)) {
                const auto [it, fresh] = byShortCode.emplace(code, character);
                if (!fresh)
                    throw AppError(
                        "the short code " + code + " names both \"" + it->second + "\" and \"" + character + "\"");
            }
        }
    }
    std::set<std::string> level1;
    for (char key : ZoneOrder) {
        const auto it = byShortCode.find(std::string(1, key));
        if (it == byShortCode.end())
            throw AppError(std::string("no character has the level-1 code ") + key);
        data.wb1.push_back({ it->second, it->first, fullCodeOf(wubi, it->second), 0 });
        level1.insert(it->second);
    }

    // Level 2, in the order of the two-letter code's keys.
    std::vector<std::string> level2Codes;
    for (const auto& [code, character] : byShortCode)
        if (code.size() == 2)
            level2Codes.push_back(code);
    std::sort(level2Codes.begin(), level2Codes.end(), zoneLess);

    // The character table: the level-1 characters, then by how often they occur in text the
    // level-2 characters except the least frequent ones, and the most frequent common
    // characters (GB2312 level 1 and level 1 of the standard list). A level-2 short-code
    // character stands in the table even outside the standard list's level 1: its short code
    // is practised there.
    std::vector<Ranked> level2Ranked, othersRanked;
    std::set<std::string> level2Characters;
    for (const std::string& code : level2Codes) {
        const std::string& character = byShortCode[code];
        if (!level1.count(character) && level2Characters.insert(character).second)
            level2Ranked.push_back({ character, gbkOf(character), sources.text.Of(character) });
    }
    for (const auto& [character, codes] : wubi.codes) {
        if (Utf8Length(character) != 1 || level1.count(character) || level2Characters.count(character))
            continue;
        const std::optional<std::string> gbk = Utf8ToGbk(character);
        if (gbk && IsGb2312Level1(*gbk) && sources.standard.Level(character) == 1)
            othersRanked.push_back({ character, *gbk, sources.text.Of(character) });
    }
    std::sort(level2Ranked.begin(), level2Ranked.end(), rankLess);
    std::sort(othersRanked.begin(), othersRanked.end(), rankLess);
    if (level2Ranked.size() < size_t(Level2Outside))
        throw AppError("the dictionary has too few level-2 short codes");
    const size_t level2Inside = level2Ranked.size() - Level2Outside;
    const size_t othersInside = CharacterRecords - level1.size() - level2Inside;
    if (othersRanked.size() < othersInside)
        throw AppError("the dictionary has too few characters for the character table");
    for (size_t i = 0; i < level2Inside; ++i) {
        const Ranked& r = level2Ranked[i];
        if (!IsGb2312Level1(r.gbk) || sources.standard.Level(r.character) == 0)
            throw AppError("the level-2 character \"" + r.character
                + "\" is outside GB2312 level 1 or the standard list but among the most frequent");
    }
    for (const ShortCodeRecord& r : data.wb1)
        if (!IsGb2312Level1(gbkOf(r.character)) || sources.standard.Level(r.character) != 1)
            throw AppError("the level-1 character \"" + r.character + "\" is not a common character");

    std::vector<Ranked> chosen(level2Ranked.begin(), level2Ranked.begin() + std::ptrdiff_t(level2Inside));
    chosen.insert(chosen.end(), othersRanked.begin(), othersRanked.begin() + std::ptrdiff_t(othersInside));
    std::sort(chosen.begin(), chosen.end(), rankLess);
    for (const ShortCodeRecord& r : data.wb1)
        data.wb.push_back({ r.character, recordCodes(r.character, wubi.codes.at(r.character)) });
    for (const Ranked& r : chosen)
        data.wb.push_back({ r.character, recordCodes(r.character, wubi.codes.at(r.character)) });

    std::map<std::string, int> pictureOf;
    for (size_t r = 0; r < data.wb.size(); ++r)
        pictureOf[data.wb[r].character] = int(r) + 1;
    int nextOutside = FirstOutsidePicture;
    for (const std::string& code : level2Codes) {
        const std::string& character = byShortCode[code];
        const auto it = pictureOf.find(character);
        data.wb2.push_back(
            { character, code, fullCodeOf(wubi, character), it != pictureOf.end() ? it->second : nextOutside++ });
    }

    // Roots: those the chart gives as a GBK character.
    for (const RootChartRow& row : roots) {
        const std::optional<std::string> gbk = row.IsDescription() ? std::nullopt : Utf8ToGbk(row.root);
        if (gbk && gbk->size() == 2)
            data.wbzg.push_back({ row.root, row.key });
        else
            data.rootsLeftOut.push_back(row);
    }

    // Pinyin: every character of GB2312 level 1.
    for (const std::string& gbk : Gb2312Level1()) {
        const std::optional<std::string> character = GbkToUtf8(gbk);
        if (!character)
            throw AppError("GBK " + gbk + " cannot be converted");
        data.py.push_back({ *character, readingOf(*character, pinyin, overrides) });
    }
    for (const auto& [character, reading] : overrides) {
        const std::optional<std::string> gbk = Utf8ToGbk(character);
        if (!gbk || !IsGb2312Level1(*gbk))
            throw AppError("the reading override for \"" + character + "\" names a character outside GB2312 level 1");
    }
    return data;
}

std::string PlainWb1(const PracticeData& data)
{
    std::string out;
    for (const ShortCodeRecord& r : data.wb1)
        out += gbkOf(r.character) + padded(r.code, Wb1Size - 2);
    return out;
}

std::string PlainWb2(const PracticeData& data)
{
    std::string out;
    for (const ShortCodeRecord& r : data.wb2) {
        const std::string number = std::to_string(r.pictureNo);
        out += gbkOf(r.character) + padded(r.code, 6) + std::string(4 - number.size(), ' ') + number + "  ";
    }
    return out;
}

std::string PlainWb(const PracticeData& data)
{
    std::string out;
    for (const CharacterRecord& r : data.wb) {
        std::string codes;
        for (size_t i = 0; i < 4; ++i)
            codes += padded(i < r.codes.size() ? r.codes[i] : std::string(), 4);
        out += codes + std::string(8, ' ') + gbkOf(r.character) + "  ";
    }
    return out;
}

std::string PlainWbzg(const PracticeData& data)
{
    std::string out;
    for (const RootRecord& r : data.wbzg)
        out += gbkOf(r.root) + std::string(1, r.key) + "  ";
    // The loader counts one record less than the content holds, so one filler record closes
    // the table. The enciphered file must fill whole blocks without starting another record:
    // the content after the filler stays shorter than a record.
    out += std::string(WbzgSize, ' ');
    const size_t blocks = (out.size() + 7) / 8 * 8;
    if (blocks - out.size() >= WbzgSize)
        throw AppError("the root table cannot fill whole cipher blocks with " + std::to_string(data.wbzg.size())
            + " roots and one filler record; change the number of roots by one");
    out.resize(blocks, ' ');
    return out;
}

std::string PlainPy(const PracticeData& data)
{
    std::string out;
    for (const PinyinRecord& r : data.py)
        out += padded(r.pinyin, 8) + std::string(4, ' ') + gbkOf(r.character) + "  ";
    return out;
}

std::string EncipherContent(const std::string& plain)
{
    if (plain.size() % 8 != 0)
        throw AppError("enciphered content of " + std::to_string(plain.size()) + " bytes does not fill whole blocks");
    std::string out = plain;
    for (size_t p = 0; p < out.size(); p += 8)
        EncipherBytes(reinterpret_cast<unsigned char*>(out.data() + p), dataKey);
    return out;
}

std::string PictureList(const PracticeData& data)
{
    std::string out;
    for (size_t r = 0; r < data.wb.size(); ++r) {
        const CharacterRecord& c = data.wb[r];
        out += std::to_string(r + 1) + "\t" + c.character + "\t" + c.codes.front() + "\t" + c.codes.front() + "\n";
    }
    std::vector<const ShortCodeRecord*> outside;
    for (const ShortCodeRecord& r : data.wb2)
        if (r.pictureNo >= FirstOutsidePicture)
            outside.push_back(&r);
    std::sort(outside.begin(), outside.end(), [](auto a, auto b) { return a->pictureNo < b->pictureNo; });
    for (const ShortCodeRecord* r : outside)
        out += std::to_string(r->pictureNo) + "\t" + r->character + "\t" + r->fullCode + "\t" + r->code + "\n";
    return out;
}

}
