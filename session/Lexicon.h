// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Which Wubi codes type which texts. Texts are GBK byte strings (one character or a phrase);
// codes are lower-case letters a–y, one to four of them.
class Lexicon {
public:
    // Adds one (code, text) pair; pairs added earlier rank first (the data files add the most
    // frequent first). A pair added twice is kept once.
    void Add(std::string code, std::string text);
    // Every text this code types, in rank order; empty when none.
    const std::vector<std::string>& TextsForCode(std::string_view code) const;
    // Every code of this text, shortest first, equal lengths in the order added; empty when none.
    std::vector<std::string> CodesForText(std::string_view text) const;
    bool Empty() const;
    std::size_t Size() const; // number of pairs

private:
    // Heterogeneous lookup, so a string_view query never builds a std::string.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view> {}(s); }
    };
    using Index = std::unordered_map<std::string, std::vector<std::string>, Hash, std::equal_to<>>;
    Index textsByCode_;
    Index codesByText_;
    std::size_t size_ = 0;
};
