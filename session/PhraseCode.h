// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Wubi 86 phrase rules: how a phrase's four-letter code is formed from the full codes of
// its characters. Two characters give the first two letters of each; three give the first
// letter of the first and second and the first two of the third; four or more give the first
// letter of the first three and of the last.

// How many letters each of `characters` characters gives (0 for the middle ones of a long
// phrase); empty for fewer than two characters.
std::vector<int> PhraseCodeShares(int characters);

// The phrase code formed from the characters' full codes, in order; nothing when there are
// fewer than two characters or a full code is too short for its share.
std::optional<std::string> FormPhraseCode(const std::vector<std::string>& fullCodes);

// The letters of `code` that each of `characters` characters gives, in order (empty strings
// for the middle ones of a long phrase); empty when the code is not four letters long or the
// phrase has fewer than two characters.
std::vector<std::string> SplitPhraseCode(std::string_view code, int characters);
