// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Lexicon.h"

#include <gtest/gtest.h>

using Texts = std::vector<std::string>;

// GBK bytes of the characters used below.
static const std::string gong = "\xb9\xa4"; // 工
static const std::string yi = "\xd2\xd5"; // 艺
static const std::string gongyi = gong + yi; // 工艺
static const std::string ge = "\xb8\xf6"; // 个, a rival text under the same code

TEST(Lexicon, emptyLexicon)
{
    const Lexicon lexicon;
    ASSERT_TRUE(lexicon.Empty());
    ASSERT_EQ(lexicon.Size(), std::size_t(0));
    ASSERT_TRUE(lexicon.TextsForCode("a").empty());
    ASSERT_TRUE(lexicon.CodesForText(gong).empty());
    ASSERT_TRUE(lexicon.TextsForCode("").empty());
}

TEST(Lexicon, textsKeepRankOrder)
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    lexicon.Add("aaan", ge);
    lexicon.Add("aaan", gong);
    ASSERT_EQ(lexicon.TextsForCode("aaan"), (Texts { gongyi, ge, gong }));
    ASSERT_TRUE(!lexicon.Empty());
    ASSERT_EQ(lexicon.Size(), std::size_t(3));
}

TEST(Lexicon, codesShortestFirstThenOrderAdded)
{
    Lexicon lexicon;
    // 工's full code first, as the data files add it, then its short codes.
    lexicon.Add("aaaa", gong);
    lexicon.Add("aaa", gong);
    lexicon.Add("a", gong);
    lexicon.Add("aa", gong);
    lexicon.Add("aab", gong); // a second three-letter code stays after the first
    ASSERT_EQ(lexicon.CodesForText(gong), (Texts { "a", "aa", "aaa", "aab", "aaaa" }));
    ASSERT_EQ(lexicon.TextsForCode("a"), (Texts { gong }));
}

TEST(Lexicon, duplicatePairKeptOnce)
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    lexicon.Add("anan", yi);
    lexicon.Add("aaan", gongyi);
    ASSERT_EQ(lexicon.Size(), std::size_t(2));
    ASSERT_EQ(lexicon.TextsForCode("aaan"), (Texts { gongyi }));
    ASSERT_EQ(lexicon.CodesForText(gongyi), (Texts { "aaan" }));
}

TEST(Lexicon, sameTextUnderSeveralCodesIsSeveralPairs)
{
    Lexicon lexicon;
    // rime lists 跟踪 under khkh and kvkp: both type it.
    const std::string genzong = "\xb8\xfa\xd7\xd9";
    lexicon.Add("khkh", genzong);
    lexicon.Add("kvkp", genzong);
    ASSERT_EQ(lexicon.Size(), std::size_t(2));
    ASSERT_EQ(lexicon.CodesForText(genzong), (Texts { "khkh", "kvkp" }));
    ASSERT_EQ(lexicon.TextsForCode("kvkp"), (Texts { genzong }));
}

TEST(Lexicon, lookupsAreExact)
{
    Lexicon lexicon;
    lexicon.Add("aaan", gongyi);
    // No prefix or substring matches: a learner's partial code types nothing yet.
    ASSERT_TRUE(lexicon.TextsForCode("aaa").empty());
    ASSERT_TRUE(lexicon.TextsForCode("aaanx").empty());
    ASSERT_TRUE(lexicon.CodesForText(gong).empty());
    ASSERT_TRUE(lexicon.TextsForCode("AAAN").empty());
}
