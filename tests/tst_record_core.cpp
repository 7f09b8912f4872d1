// SPDX-License-Identifier: GPL-3.0-or-later
// The record's counting and the weak-items drill, without a window.
#include "TestSupport.h"
#include "session/Drill.h"
#include "session/Tally.h"

#include <QTest>
#include <cmath>
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

class TstRecordCore : public QObject {
    Q_OBJECT
private slots:
    void itemTimesLeaveOutPauses()
    {
        SessionTally tally;
        tally.Begin(Mode::WubiChars, 1000);
        tally.Hit(2, item("A", "AA"), 1800); // 800 ms after Start
        tally.Pause(2000);
        tally.Resume(12000); // ten paused seconds count for no item
        tally.Hit(2, item("B", "BB"), 12500); // placed at 1800, 200 + 500 running
        tally.Hit(1, item("C", "CC"), 13000); // standing since Start: 12000 - 10000 paused
        const auto out = tally.Finish();
        QCOMPARE(out.size(), size_t(3));
        QCOMPARE(out[0].shownMs, 800);
        QCOMPARE(out[1].shownMs, 700);
        QCOMPARE(out[2].shownMs, 2000);
        QCOMPARE(tally.hits(), 3);
        QVERIFY(!tally.Active());
    }

    void missesCountedButAttributedOnlyToAKnownTarget()
    {
        SessionTally drill;
        drill.Begin(Mode::WubiChars, 0);
        drill.Miss();
        drill.Miss();
        drill.MissOn(1, item("A", "AA")); // not a follow mode: counted, never attributed
        drill.Hit(1, item("A", "AA"), 100);
        auto out = drill.Finish();
        QCOMPARE(drill.misses(), 3);
        QCOMPARE(out.size(), size_t(1));
        QCOMPARE(out[0].misses, -1);

        SessionTally follow;
        follow.Begin(Mode::PinyinFollow, 0);
        follow.MissOn(1, item("男", "NAN"));
        follow.MissOn(1, item("男", "NAN"));
        follow.Hit(1, item("男", "NAN"), 400);
        follow.Hit(2, item("女", "NV"), 500);
        follow.MissOn(3, item("庄", "ZHUANG")); // never hit before the end
        follow.Miss(); // no target known at all
        out = follow.Finish();
        QCOMPARE(follow.misses(), 4);
        QCOMPARE(out.size(), size_t(3));
        QCOMPARE(out[0].item.text, std::string("男"));
        QCOMPARE(out[0].misses, 2);
        QCOMPARE(out[1].misses, 0);
        QCOMPARE(out[2].item.text, std::string("庄"));
        QCOMPARE(out[2].shownMs, -1);
        QCOMPARE(out[2].misses, 1);
    }

    void nothingCountedOutsideASession()
    {
        SessionTally tally;
        tally.Miss();
        tally.Hit(1, item("A", "A"), 10);
        QCOMPARE(tally.hits(), 0);
        QCOMPARE(tally.misses(), 0);
        QVERIFY(tally.Finish().empty());
    }

    void accuracy_data()
    {
        QTest::addColumn<qint64>("hits");
        QTest::addColumn<qint64>("misses");
        QTest::addColumn<double>("expected");
        QTest::newRow("all hit") << qint64(70) << qint64(0) << 1.0;
        QTest::newRow("one in four missed") << qint64(3) << qint64(1) << 0.75;
        QTest::newRow("only misses") << qint64(0) << qint64(5) << 0.0;
        QTest::newRow("nothing tried") << qint64(0) << qint64(0) << -1.0;
    }
    void accuracy()
    {
        QFETCH(qint64, hits);
        QFETCH(qint64, misses);
        QFETCH(double, expected);
        QCOMPARE(Accuracy(hits, misses), expected);
    }

    void singleKeyMissesAreLettersAndDigits()
    {
        for (char c : std::string("AZaz09"))
            QVERIFY(IsLetterOrDigit(c));
        for (char c : std::string(" \b\r,-"))
            QVERIFY(!IsLetterOrDigit(c));
    }

    void weakestRanksTimeAndMisses()
    {
        // 3 hits in 3 s: 1000 ms each. 2 hits in 5 s: 2500. 4 hits, 2 s and 2 misses:
        // (2000 + 6000) / 4 = 2000. Missed twice, never hit: 6000.
        std::vector<ItemHistory> h = {
            { item("a", "A"), 3, 3000, 0 },
            { item("b", "B"), 2, 5000, 0 },
            { item("c", "C"), 4, 2000, 2 },
            { item("d", "D"), 0, 0, 2 },
        };
        QCOMPARE(Weakness(h[2]), 2000.0);
        const auto weakest = Weakest(h, 3);
        QCOMPARE(weakest.size(), size_t(3));
        QCOMPARE(weakest[0].item.text, std::string("d"));
        QCOMPARE(weakest[1].item.text, std::string("b"));
        QCOMPARE(weakest[2].item.text, std::string("c"));
    }

    void recordsOfFindsItemsByTextAndCode()
    {
        TestProgramDir dir;
        DataTables tables;
        LoadDataTables(std::filesystem::path(dir.path().toStdU16String()), tables);
        // 经 is record 2 of the character table, 国 record 3; 国 with a wrong code is not 国.
        const auto wb = RecordsOf(Mode::WubiChars, tables,
            { item(Gbk("国").c_str(), "LGYI"), item(Gbk("经").c_str(), "XCAG"), item(Gbk("一").c_str(), "XXXX") });
        QCOMPARE(wb, (std::vector<std::uint32_t> { 2, 3 }));
        const auto py = RecordsOf(Mode::PinyinFollow, tables, { item(Gbk("庄").c_str(), "ZHUANG") });
        QCOMPARE(py, (std::vector<std::uint32_t> { 2 }));
        QVERIFY(RecordsOf(Mode::Digits, tables, { item("1", "1") }).empty());
    }

    // Off, the drill is never consulted: the same clock gives the very same items as the
    // plain draw, and their spread over the table stays even.
    void drillOffLeavesTheDrawAsItIs()
    {
        TestProgramDir dir(PinyinForty());
        DataTables tables;
        LoadDataTables(std::filesystem::path(dir.path().toStdU16String()), tables);
        WeakDrill drill;
        drill.Set(Mode::Pinyin, { 0, 1, 2 });
        drill.Clear();
        QVERIFY(!drill.ActiveFor(Mode::Pinyin));

        std::uint32_t clock = 12345;
        RandomSource random([&] { return clock += 0x9E3779B9u; });
        std::map<std::string, int> seen;
        const int draws = 40000;
        for (int i = 0; i < draws; ++i) {
            tavcharsetpy slot;
            DrawSlot(tables.py, random, slot);
            ++seen[slot.pinyin];
        }
        QCOMPARE(int(seen.size()), 40);
        // Chi-square over 40 cells, 39 degrees of freedom: 72 is beyond the 0.999 quantile.
        double chi = 0;
        for (const auto& [pinyin, n] : seen)
            chi += std::pow(n - draws / 40.0, 2) / (draws / 40.0);
        QVERIFY2(chi < 72.0, qPrintable(QString::number(chi)));
    }

    void drillOnFavoursTheWeakest()
    {
        std::uint32_t clock = 777;
        RandomSource random([&] { return clock += 0x9E3779B9u; });
        WeakDrill drill;
        drill.Set(Mode::Pinyin, { 5, 17, 33 });
        QVERIFY(drill.ActiveFor(Mode::Pinyin));
        QVERIFY(!drill.ActiveFor(Mode::PinyinFollow)); // the weak items of another mode
        const int draws = 40000;
        int weak = 0;
        std::set<std::uint32_t> all;
        for (int i = 0; i < draws; ++i) {
            const std::uint32_t r = drill.Index(random, 40);
            QVERIFY(r < 40);
            all.insert(r);
            weak += (r == 5 || r == 17 || r == 33);
        }
        // Half from the three weak records plus their share of the plain half: 0.5 + 0.5 * 3/40.
        const double share = double(weak) / draws;
        QVERIFY2(std::abs(share - 0.5375) < 0.02, qPrintable(QString::number(share)));
        QCOMPARE(all.size(), size_t(40)); // every item still comes up
    }

    void drillNeverLeavesTheTable()
    {
        RandomSource random([] { return 1u; });
        WeakDrill drill;
        drill.Set(Mode::WubiChars, { 99 }); // from a longer table of an older data set
        for (int i = 0; i < 50; ++i)
            QVERIFY(drill.Index(random, 4) < 4);
    }
};

QTEST_GUILESS_MAIN(TstRecordCore)
#include "tst_record_core.moc"
