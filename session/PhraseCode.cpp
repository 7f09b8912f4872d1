// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/PhraseCode.h"

std::vector<int> PhraseCodeShares(int characters)
{
    if (characters < 2)
        return {};
    if (characters == 2)
        return { 2, 2 };
    if (characters == 3)
        return { 1, 1, 2 };
    std::vector<int> shares(size_t(characters), 0);
    shares[0] = shares[1] = shares[2] = 1;
    shares.back() = 1;
    return shares;
}

std::optional<std::string> FormPhraseCode(const std::vector<std::string>& fullCodes)
{
    const std::vector<int> shares = PhraseCodeShares(int(fullCodes.size()));
    if (shares.empty())
        return std::nullopt;
    std::string code;
    for (size_t i = 0; i < shares.size(); ++i) {
        if (fullCodes[i].size() < size_t(shares[i]))
            return std::nullopt;
        code += fullCodes[i].substr(0, size_t(shares[i]));
    }
    return code;
}

std::vector<std::string> SplitPhraseCode(std::string_view code, int characters)
{
    const std::vector<int> shares = PhraseCodeShares(characters);
    if (shares.empty() || code.size() != 4)
        return {};
    std::vector<std::string> parts;
    size_t at = 0;
    for (int share : shares) {
        parts.emplace_back(code.substr(at, size_t(share)));
        at += size_t(share);
    }
    return parts;
}
