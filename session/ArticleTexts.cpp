// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ArticleTexts.h"

#include "data/AppError.h"
#include "session/Drawing.h"

namespace {

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

std::string Lower(std::string code)
{
    for (char& c : code)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return code;
}

bool IsCode(const std::string& code)
{
    if (code.empty() || code.size() > 4)
        return false;
    for (char c : code)
        if (c < 'a' || c > 'y')
            return false;
    return true;
}

}

bool LooksBinary(std::string_view bytes)
{
    for (char ch : bytes) {
        const unsigned c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F)
            return true;
    }
    return false;
}

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned c = Byte(s, i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF)
            n = 1, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3, cp = c & 0x07;
        else
            return false;
        if (i + n >= s.size())
            return false;
        for (std::size_t k = 1; k <= n; ++k) {
            const unsigned t = Byte(s, i + k);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

bool IsValidGbk(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned c = Byte(s, i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c == 0x80 || c == 0xFF || i + 1 >= s.size())
            return false;
        const unsigned t = Byte(s, i + 1);
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return false;
        i += 2;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return TextEncoding::Utf8;
    if (IsValidGbk(bytes))
        return TextEncoding::Gbk;
    return TextEncoding::Neither;
}

std::u32string DecodeUtf8(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < s.size()) {
        const unsigned c = Byte(s, i);
        std::size_t n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = n == 0 ? c : n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k <= n && i + k < s.size(); ++k)
            cp = (cp << 6) | (Byte(s, i + k) & 0x3F);
        out.push_back(cp);
        i += n + 1;
    }
    return out;
}

std::vector<BuiltinArticle> ParseArticleFile(std::string_view gbk)
{
    std::vector<BuiltinArticle> out;
    std::size_t start = 0;
    int lineNo = 0;
    while (start < gbk.size()) {
        std::size_t end = gbk.find('\n', start);
        if (end == std::string_view::npos)
            end = gbk.size();
        const std::string_view line = gbk.substr(start, end - start);
        ++lineNo;
        start = end + 1;
        if (!line.empty() && line[0] == '#') {
            const std::size_t tab = line.find('\t');
            if (tab == std::string_view::npos || tab == 1)
                throw AppError("line " + std::to_string(lineNo) + " names no title and author");
            out.push_back(
                BuiltinArticle { std::string(line.substr(1, tab - 1)), std::string(line.substr(tab + 1)), {} });
        } else if (out.empty()) {
            if (!line.empty())
                throw AppError("line " + std::to_string(lineNo) + " stands before the first title");
        } else {
            std::string& text = out.back().text;
            if (!text.empty())
                text += '\n';
            text += line;
        }
    }
    for (BuiltinArticle& a : out) {
        while (!a.text.empty() && a.text.back() == '\n')
            a.text.pop_back();
        if (a.text.empty())
            throw AppError("the text \"" + a.title + "\" is empty", AppError::Encoding::Gbk);
    }
    return out;
}

std::string WriteArticleFile(const std::vector<BuiltinArticle>& articles)
{
    std::string out;
    for (const BuiltinArticle& a : articles)
        out += '#' + a.title + '\t' + a.author + '\n' + a.text + "\n\n";
    return out;
}

void LexiconFromTables(const DataTables& tables, Lexicon& lexicon, std::unordered_map<std::string, int>& pictures)
{
    // Short codes first: they rank before the full codes of the same letters.
    const std::string_view wb1 = tables.wb1.text();
    for (int r = 0; r < tables.wb1.count; ++r) {
        const std::string text = RecordField(wb1, 5, std::uint32_t(r), 1, 2);
        const std::string code = Lower(CleanField(RecordField(wb1, 5, std::uint32_t(r), 3, 3)));
        if (text.size() == 2 && IsCode(code))
            lexicon.Add(code, text);
    }
    const std::string_view wb2 = tables.wb2.text();
    for (int r = 0; r < tables.wb2.count; ++r) {
        const std::string text = RecordField(wb2, 14, std::uint32_t(r), 1, 2);
        const std::string code = Lower(CleanField(RecordField(wb2, 14, std::uint32_t(r), 3, 4)));
        if (text.size() != 2 || !IsCode(code))
            continue;
        lexicon.Add(code, text);
        try {
            pictures.emplace(text, ParsePictureNumber(RecordField(wb2, 14, std::uint32_t(r), 9, 12)));
        } catch (const AppError&) {
            // A damaged picture field costs the picture only, never the code.
        }
    }
    const std::string_view wb = tables.wb.text();
    for (int r = 0; r < tables.wb.count; ++r) {
        const std::string text = RecordField(wb, 28, std::uint32_t(r), 25, 26);
        if (text.size() != 2)
            continue;
        for (int i = 1; i <= 4; ++i) {
            const std::string code = Lower(CleanField(RecordField(wb, 28, std::uint32_t(r), 4 * i - 3, 4 * i)));
            if (IsCode(code))
                lexicon.Add(code, text);
        }
        pictures[text] = r + 1;
    }
}

std::vector<std::string> PracticeTexts(const std::vector<std::string>& items, std::size_t perText)
{
    std::vector<std::string> out;
    if (perText == 0)
        return out;
    for (std::size_t i = 0; i < items.size(); i += perText) {
        std::string text;
        for (std::size_t k = i; k < items.size() && k < i + perText; ++k) {
            if (k > i)
                text += (k - i) % 10 == 0 ? '\n' : ' ';
            text += items[k];
        }
        out.push_back(std::move(text));
    }
    return out;
}
