// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/textgen/FortuneTexts.h"

#include "tools/datagen/Gbk.h"

#include <optional>

namespace textgen {
namespace {

    // Removes ESC [ ... m colour codes.
    std::string StripColours(std::string_view line)
    {
        std::string out;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\x1b' && i + 1 < line.size() && line[i + 1] == '[') {
                const std::size_t m = line.find('m', i);
                if (m == std::string_view::npos)
                    break;
                i = m;
                continue;
            }
            out += line[i];
        }
        return out;
    }

    // Trims ASCII blanks and the ideographic space.
    std::string Trim(std::string s)
    {
        const std::string ideographic = "\xE3\x80\x80";
        bool changed = true;
        while (changed && !s.empty()) {
            changed = false;
            if (s.back() == ' ' || s.back() == '\t') {
                s.pop_back();
                changed = true;
            } else if (s.size() >= 3 && s.compare(s.size() - 3, 3, ideographic) == 0) {
                s.resize(s.size() - 3);
                changed = true;
            }
            if (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
                s.erase(0, 1);
                changed = true;
            } else if (s.compare(0, 3, ideographic) == 0) {
                s.erase(0, 3);
                changed = true;
            }
        }
        return s;
    }

    void EraseAll(std::string& s, std::string_view what)
    {
        for (std::size_t at; (at = s.find(what)) != std::string::npos;)
            s.erase(at, what.size());
    }

    void ReplaceAll(std::string& s, std::string_view what, std::string_view with)
    {
        for (std::size_t at = 0; (at = s.find(what, at)) != std::string::npos; at += with.size())
            s.replace(at, what.size(), with);
    }

    bool StartsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

    // GBK bytes of text that is wholly GB2312 (ASCII allowed only where `ascii`), else nothing.
    std::optional<std::string> Gb2312(const std::string& utf8, bool ascii)
    {
        std::optional<std::string> gbk = datagen::Utf8ToGbk(utf8);
        if (!gbk)
            return std::nullopt;
        for (std::size_t i = 0; i < gbk->size();) {
            const unsigned lead = static_cast<unsigned char>((*gbk)[i]);
            if (lead < 0x80) {
                if (!ascii && lead != '\n')
                    return std::nullopt;
                ++i;
                continue;
            }
            const unsigned trail = static_cast<unsigned char>((*gbk)[i + 1]);
            if (lead < 0xA1 || lead > 0xF7 || trail < 0xA1 || trail > 0xFE)
                return std::nullopt;
            i += 2;
        }
        return gbk;
    }

    int Characters(const std::string& utf8)
    {
        int n = 0;
        for (unsigned char c : utf8)
            if ((c & 0xC0) != 0x80 && c != '\n')
                ++n;
        return n;
    }

    std::string Join(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) {
            const std::string trimmed = Trim(line);
            if (trimmed.empty())
                continue;
            if (!text.empty())
                text += '\n';
            text += trimmed;
        }
        return text;
    }

    std::optional<BuiltinArticle> Make(std::string title, std::string author, const std::string& text)
    {
        const int count = Characters(text);
        if (count < MinCharacters || count > MaxCharacters || Characters(title) > MaxTitle || title.empty())
            return std::nullopt;
        const auto gbkTitle = Gb2312(title, true);
        const auto gbkAuthor = Gb2312(author, true);
        const auto gbkText = Gb2312(text, false);
        if (!gbkTitle || !gbkAuthor || !gbkText)
            return std::nullopt;
        return BuiltinArticle { *gbkTitle, *gbkAuthor, *gbkText };
    }

    void Poems(const Source& source, std::vector<BuiltinArticle>& out)
    {
        for (const auto& entry : FortuneEntries(source.utf8)) {
            std::string title, author;
            std::vector<std::string> lines;
            for (const std::string& raw : entry) {
                std::string line = Trim(raw);
                if (title.empty() && (StartsWith(line, "《") || StartsWith(line, "题目"))) {
                    for (const char* prefix : { "题目:", "题目：" })
                        if (StartsWith(line, prefix))
                            line.erase(0, std::string_view(prefix).size());
                    EraseAll(line, "《");
                    EraseAll(line, "》");
                    // The katakana middle dot is not in GB2312; its own middle dot is.
                    ReplaceAll(line, "・", "·");
                    title = Trim(line);
                } else if (author.empty() && (StartsWith(line, "作者:") || StartsWith(line, "作者："))) {
                    line.erase(0, StartsWith(line, "作者:") ? 7 : 9);
                    for (const char* open : { "（", "(" })
                        if (const std::size_t at = line.find(open); at != std::string::npos)
                            line.resize(at);
                    author = Trim(line);
                } else {
                    lines.push_back(line);
                }
            }
            if (auto article = Make(title, author, Join(lines)))
                out.push_back(std::move(*article));
        }
    }

    void Proverbs(const Source& source, std::vector<BuiltinArticle>& out)
    {
        // Short sayings are gathered, in the file's order, into passages of at least the
        // least length; a saying that is not GB2312 is left out on its own.
        std::string passage;
        int number = 0;
        auto flush = [&] {
            if (auto article = Make("谚语 " + std::to_string(number + 1), "", passage)) {
                out.push_back(std::move(*article));
                ++number;
            }
            passage.clear();
        };
        for (const auto& entry : FortuneEntries(source.utf8)) {
            if (entry.empty() || Trim(entry.back()) != "--《谚语》")
                continue;
            const std::string saying = Join(std::vector<std::string>(entry.begin(), entry.end() - 1));
            if (saying.empty() || !Gb2312(saying, false))
                continue;
            if (!passage.empty() && Characters(passage) + Characters(saying) > 2 * MinCharacters + 20)
                flush();
            passage += (passage.empty() ? "" : "\n") + saying;
        }
        if (Characters(passage) >= MinCharacters)
            flush();
    }

}

std::vector<std::vector<std::string>> FortuneEntries(std::string_view utf8)
{
    std::vector<std::vector<std::string>> entries(1);
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string line = StripColours(utf8.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "%") {
            entries.emplace_back();
            continue;
        }
        entries.back().push_back(std::move(line));
    }
    std::erase_if(entries, [](const auto& e) { return e.empty(); });
    return entries;
}

std::vector<BuiltinArticle> ExtractTexts(const std::vector<Source>& sources)
{
    std::vector<BuiltinArticle> out;
    for (const Source& source : sources) {
        if (source.kind == Source::Kind::Poems)
            Poems(source, out);
        else
            Proverbs(source, out);
    }
    return out;
}

}
