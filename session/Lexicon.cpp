// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Lexicon.h"

#include <algorithm>

void Lexicon::Add(std::string code, std::string text)
{
    auto& texts = m_byCode[code];
    if (std::find(texts.begin(), texts.end(), text) != texts.end())
        return;
    texts.push_back(text);
    m_byText[std::move(text)].push_back(std::move(code));
    ++m_size;
}

const std::vector<std::string>& Lexicon::TextsForCode(std::string_view code) const
{
    static const std::vector<std::string> none;
    const auto it = m_byCode.find(std::string(code));
    return it == m_byCode.end() ? none : it->second;
}

std::vector<std::string> Lexicon::CodesForText(std::string_view text) const
{
    const auto it = m_byText.find(std::string(text));
    if (it == m_byText.end())
        return {};
    std::vector<std::string> codes = it->second;
    std::stable_sort(codes.begin(), codes.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
    return codes;
}

bool Lexicon::Empty() const { return m_size == 0; }
std::size_t Lexicon::Size() const { return m_size; }
