// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Lexicon.h"

#include <algorithm>

void Lexicon::Add(std::string code, std::string text)
{
    auto& texts = textsByCode_[code];
    // A code types a handful of texts at most, so a linear look is cheaper than a second index.
    if (std::find(texts.begin(), texts.end(), text) != texts.end())
        return;
    texts.push_back(text);
    codesByText_[std::move(text)].push_back(std::move(code));
    ++size_;
}

const std::vector<std::string>& Lexicon::TextsForCode(std::string_view code) const
{
    static const std::vector<std::string> none;
    const auto it = textsByCode_.find(code);
    return it == textsByCode_.end() ? none : it->second;
}

std::vector<std::string> Lexicon::CodesForText(std::string_view text) const
{
    const auto it = codesByText_.find(text);
    if (it == codesByText_.end())
        return {};
    std::vector<std::string> codes = it->second;
    std::stable_sort(
        codes.begin(), codes.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    return codes;
}

bool Lexicon::Empty() const { return size_ == 0; }

std::size_t Lexicon::Size() const { return size_; }
