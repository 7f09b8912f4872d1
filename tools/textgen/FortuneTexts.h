// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/ArticleTexts.h"

#include <string>
#include <string_view>
#include <vector>

// Follow-typing texts from fortune files (UTF-8, entries between lines holding '%', titles and
// authors set off by terminal colour codes): the poems with their title and author, and the
// proverbs gathered into passages. Only passages wholly in GB2312 (which holds simplified
// characters only) and of 50-600 characters are kept; titles of more than 20 characters are
// left out too, as they do not fit the face.
namespace textgen {

constexpr int MinCharacters = 50;
constexpr int MaxCharacters = 600;
constexpr int MaxTitle = 20;

struct Source {
    enum class Kind { Poems, Proverbs };
    std::string name; // for messages
    std::string utf8; // the whole file
    Kind kind;
};

// The texts, GBK, in the order the sources give them.
std::vector<BuiltinArticle> ExtractTexts(const std::vector<Source>& sources);

// Splits a fortune file into its entries' lines, colour codes removed.
std::vector<std::vector<std::string>> FortuneEntries(std::string_view utf8);

}
