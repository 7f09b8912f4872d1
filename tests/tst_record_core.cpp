// SPDX-License-Identifier: GPL-3.0-or-later
// The record's counting and the weak-items drill, without a window.
#include "session/Drill.h"
#include "session/Tally.h"
#include "tests/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>

namespace {
ItemKey item(const char* text, const char* code, int picture = 0) { return { text, code, picture }; }

// Forty pinyin records with distinct characters, enough for a distribution to show.
TestTables PinyinForty()
{
    static const char* const chars[] = { "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "百", "千", "万",
        "上", "下", "左", "右", "大", "小", "中", "天", "地", "人", "山", "水", "火", "木", "金", "土", "日", "月",
        "年", "东", "西", "南", "北", "春", "夏", "秋", "冬" };
    TestTables t = TestTables::Small();
    t.py.clear();
    for (int i = 0; i < 40; ++i)
        t.py.push_back({ chars[i], "p" + std::to_string(i) });
    return t;
}
}

TEST(RecordCore, itemTimesLeaveOutPauses)
{
    SessionTally tally;
    tally.Begin(Mode::WubiChars, 1000);
    tally.Hit(2, item("A", "AA"), 1800); // 800 ms after Start
    tally.Pause(2000);
    tally.Resume(12000); // ten paused seconds count for no item
    tally.Hit(2, item("B", "BB"), 12500); // placed at 1800, 200 + 500 running
    tally.Hit(1, item("C", "CC"), 13000); // standing since Start: 12000 - 10000 paused
    const auto out = tally.Finish();
    ASSERT_EQ(out.size(), size_t(3));
    ASSERT_EQ(out[0].shownMs, 800);
    ASSERT_EQ(out[1].shownMs, 700);
    ASSERT_EQ(out[2].shownMs, 2000);
    ASSERT_EQ(tally.hits(), 3);
    ASSERT_TRUE(!tally.Active());
}

TEST(RecordCore, missesCountedButAttributedOnlyToAKnownTarget)
{
    SessionTally drill;
    drill.Begin(Mode::WubiChars, 0);
    drill.Miss();
    drill.Miss();
    drill.MissOn(1, item("A", "AA")); // not a follow mode: counted, never attributed
    drill.Hit(1, item("A", "AA"), 100);
    auto out = drill.Finish();
    ASSERT_EQ(drill.misses(), 3);
    ASSERT_EQ(out.size(), size_t(1));
    ASSERT_EQ(out[0].misses, -1);

    SessionTally follow;
    follow.Begin(Mode::PinyinFollow, 0);
    follow.MissOn(1, item("男", "NAN"));
    follow.MissOn(1, item("男", "NAN"));
    follow.Hit(1, item("男", "NAN"), 400);
    follow.Hit(2, item("女", "NV"), 500);
    follow.MissOn(3, item("庄", "ZHUANG")); // never hit before the end
    follow.Miss(); // no target known at all
    out = follow.Finish();
    ASSERT_EQ(follow.misses(), 4);
    ASSERT_EQ(out.size(), size_t(3));
    ASSERT_EQ(out[0].item.text, std::string("男"));
    ASSERT_EQ(out[0].misses, 2);
    ASSERT_EQ(out[1].misses, 0);
    ASSERT_EQ(out[2].item.text, std::string("庄"));
    ASSERT_EQ(out[2].shownMs, -1);
    ASSERT_EQ(out[2].misses, 1);
}

TEST(RecordCore, nothingCountedOutsideASession)
{
    SessionTally tally;
    tally.Miss();
    tally.Hit(1, item("A", "A"), 10);
    ASSERT_EQ(tally.hits(), 0);
    ASSERT_EQ(tally.misses(), 0);
    ASSERT_TRUE(tally.Finish().empty());
}

TEST(RecordCore, accuracy)
{
    const struct {
        const char* tag;
        std::int64_t hits;
        std::int64_t misses;
        double expected;
    } rows[] = {
        { "all hit", 70, 0, 1.0 },
        { "one in four missed", 3, 1, 0.75 },
        { "only misses", 0, 5, 0.0 },
        { "nothing tried", 0, 0, -1.0 },
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Accuracy(row.hits, row.misses), row.expected) << row.tag;
    }
}

TEST(RecordCore, singleKeyMissesAreLettersAndDigits)
{
    for (char c : std::string("AZaz09")) {
        ASSERT_TRUE(IsLetterOrDigit(c));
    }
    for (char c : std::string(" \b\r,-")) {
        ASSERT_TRUE(!IsLetterOrDigit(c));
    }
}

TEST(RecordCore, weakestRanksTimeAndMisses)
{
    // 3 hits in 3 s: 1000 ms each. 2 hits in 5 s: 2500. 4 hits, 2 s and 2 misses:
    // (2000 + 6000) / 4 = 2000. Missed twice, never hit: 6000.
    std::vector<ItemHistory> h = {
        { item("a", "A"), 3, 3000, 0 },
        { item("b", "B"), 2, 5000, 0 },
        { item("c", "C"), 4, 2000, 2 },
        { item("d", "D"), 0, 0, 2 },
    };
    ASSERT_EQ(Weakness(h[2]), 2000.0);
    const auto weakest = Weakest(h, 3);
    ASSERT_EQ(weakest.size(), size_t(3));
    ASSERT_EQ(weakest[0].item.text, std::string("d"));
    ASSERT_EQ(weakest[1].item.text, std::string("b"));
    ASSERT_EQ(weakest[2].item.text, std::string("c"));
}

TEST(RecordCore, recordsOfFindsItemsByTextAndCode)
{
    TableDir dir;
    DataTables tables;
    LoadDataTables(dir.path(), tables);
    // 经 is record 2 of the character table, 国 record 3; 国 with a wrong code is not 国.
    const auto wb = RecordsOf(Mode::WubiChars, tables,
        { item(Gbk("国").c_str(), "LGYI"), item(Gbk("经").c_str(), "XCAG"), item(Gbk("一").c_str(), "XXXX") });
    ASSERT_EQ(wb, (std::vector<std::uint32_t> { 2, 3 }));
    const auto py = RecordsOf(Mode::PinyinFollow, tables, { item(Gbk("庄").c_str(), "ZHUANG") });
    ASSERT_EQ(py, (std::vector<std::uint32_t> { 2 }));
    ASSERT_TRUE(RecordsOf(Mode::Digits, tables, { item("1", "1") }).empty());
}

// Off, the drill is never consulted: the same clock gives the very same items as the
// plain draw, and their spread over the table stays even.
TEST(RecordCore, drillOffLeavesTheDrawAsItIs)
{
    TableDir dir(PinyinForty());
    DataTables tables;
    LoadDataTables(dir.path(), tables);
    WeakDrill drill;
    drill.Set(Mode::Pinyin, { 0, 1, 2 });
    drill.Clear();
    ASSERT_TRUE(!drill.ActiveFor(Mode::Pinyin));

    std::uint32_t clock = 12345;
    RandomSource random([&] { return clock += 0x9E3779B9u; });
    std::map<std::string, int> seen;
    const int draws = 40000;
    for (int i = 0; i < draws; ++i) {
        tavcharsetpy slot;
        DrawSlot(tables.py, random, slot);
        ++seen[slot.pinyin];
    }
    ASSERT_EQ(int(seen.size()), 40);
    // Chi-square over 40 cells, 39 degrees of freedom: 72 is beyond the 0.999 quantile.
    double chi = 0;
    for (const auto& [pinyin, n] : seen)
        chi += std::pow(n - draws / 40.0, 2) / (draws / 40.0);
    ASSERT_LT(chi, 72.0);
}

TEST(RecordCore, drillOnFavoursTheWeakest)
{
    std::uint32_t clock = 777;
    RandomSource random([&] { return clock += 0x9E3779B9u; });
    WeakDrill drill;
    drill.Set(Mode::Pinyin, { 5, 17, 33 });
    ASSERT_TRUE(drill.ActiveFor(Mode::Pinyin));
    ASSERT_TRUE(!drill.ActiveFor(Mode::PinyinFollow)); // the weak items of another mode
    const int draws = 40000;
    int weak = 0;
    std::set<std::uint32_t> all;
    for (int i = 0; i < draws; ++i) {
        const std::uint32_t r = drill.Index(random, 40);
        ASSERT_TRUE(r < 40);
        all.insert(r);
        weak += (r == 5 || r == 17 || r == 33);
    }
    // Half from the three weak records plus their share of the plain half: 0.5 + 0.5 * 3/40.
    const double share = double(weak) / draws;
    ASSERT_NEAR(share, 0.5375, 0.02);
    ASSERT_EQ(all.size(), size_t(40)); // every item still comes up
}

TEST(RecordCore, drillNeverLeavesTheTable)
{
    RandomSource random([] { return 1u; });
    WeakDrill drill;
    drill.Set(Mode::WubiChars, { 99 }); // from a longer table of an older data set
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(drill.Index(random, 4) < 4);
    }
}
