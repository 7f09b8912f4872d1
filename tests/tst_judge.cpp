// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Judge.h"

#include <QtTest>

class TestJudge : public QObject {
    Q_OBJECT
private slots:
    void filter();
    void attempts_data();
    void attempts();
    void leftmostSlotWins();
    void codesTriedInOrderBeforeNextSlot();
    void emptyCodesNeverMatch();
    void hintCycle();
    void hintStepOutOfRange();
    void caseFolding();
};

void TestJudge::filter()
{
    for (char kept : { '\b', ' ', 'A', 'M', 'Z', 'a', 'm', 'z' })
        QVERIFY2(KeptByFilter(kept), qPrintable(QString::number(uchar(kept))));
    // The neighbours of the letters, digits, Enter, Escape, Tab, and the lead and trail
    // bytes of a GBK character (练 is C1 B7).
    for (char dropped : { '@', '[', '`', '{', '0', '9', '\r', '\x1b', '\t', '\0', '\x7f', '\xc1', '\xb7', '\xff' })
        QVERIFY2(!KeptByFilter(dropped), qPrintable(QString::number(uchar(dropped))));
    int keptBytes = 0;
    for (int c = 0; c < 256; ++c)
        keptBytes += KeptByFilter(char(c));
    QCOMPARE(keptBytes, 54); // 52 letters, Backspace and space
}

using Box = AttemptForm::Box;
Q_DECLARE_METATYPE(AttemptForm::Box)

void TestJudge::attempts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<char>("key");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QByteArray>("attempt");
    QTest::addColumn<AttemptForm::Box>("boxAfter");
    QTest::addRow("pinyin space") << 3 << QByteArray("nan") << ' ' << true << QByteArray("NAN") << Box::Emptied;
    QTest::addRow("pinyin letter") << 3 << QByteArray("na") << 'n' << false << QByteArray() << Box::Unchanged;
    QTest::addRow("pinyin 4 letters no auto") << 3 << QByteArray("zhu") << 'a' << false << QByteArray() << Box::Unchanged;
    QTest::addRow("space on empty box") << 5 << QByteArray("") << ' ' << true << QByteArray() << Box::Emptied;
    QTest::addRow("space on blank box") << 6 << QByteArray("  ") << ' ' << true << QByteArray() << Box::Emptied;
    QTest::addRow("root every key") << 4 << QByteArray("xyz") << 'g' << true << QByteArray("G") << Box::SetToKey;
    QTest::addRow("root space") << 4 << QByteArray("") << ' ' << true << QByteArray() << Box::SetToKey;
    QTest::addRow("root backspace") << 4 << QByteArray("g") << '\b' << true << QByteArray() << Box::SetToKey;
    QTest::addRow("root discarded") << 4 << QByteArray("g") << '\0' << false << QByteArray() << Box::Unchanged;
    QTest::addRow("wubi fourth letter") << 7 << QByteArray("xca") << 'g' << true << QByteArray("XCAG") << Box::Emptied;
    QTest::addRow("wubi third letter") << 7 << QByteArray("xc") << 'a' << false << QByteArray() << Box::Unchanged;
    QTest::addRow("wubi backspace at three") << 9 << QByteArray("lgy") << '\b' << true << QByteArray("LGY") << Box::Emptied;
    QTest::addRow("wubi discarded at three") << 7 << QByteArray("lgy") << '\0' << true << QByteArray("LGY") << Box::Emptied;
    QTest::addRow("leading blank counts") << 7 << QByteArray(" xc") << 'a' << true << QByteArray("XCA") << Box::Emptied;
    QTest::addRow("wubi space") << 9 << QByteArray("x") << ' ' << true << QByteArray("X") << Box::Emptied;
    QTest::addRow("wubi backspace at two") << 7 << QByteArray("xc") << '\b' << false << QByteArray() << Box::Unchanged;
}

void TestJudge::attempts()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, box);
    QFETCH(char, key);
    QFETCH(bool, made);
    QFETCH(QByteArray, attempt);
    QFETCH(AttemptForm::Box, boxAfter);
    const AttemptForm f = FormAttempt(mode, box.toStdString(), int(box.size()), key);
    QCOMPARE(f.made, made);
    QCOMPARE(QByteArray::fromStdString(f.attempt), attempt);
    QCOMPARE(f.box, boxAfter);
}

void TestJudge::leftmostSlotWins()
{
    SlotTable<tavcharsetpy> py;
    py[2].pinyin = "NAN";
    py[4].pinyin = "NAN";
    QCOMPARE(MatchAttempt(py, "NAN"), 2);
    QCOMPARE(MatchAttempt(py, "NV"), 0);
    SlotTable<std::string> keys = { "", "A", "B", "A", "C" };
    QCOMPARE(MatchKey(keys, 'A'), 1);
    QCOMPARE(MatchKey(keys, 'a'), 0);
}

void TestJudge::codesTriedInOrderBeforeNextSlot()
{
    SlotTable<tavcharset> wb;
    wb[2].codes = { "", "GGGG", "G", "", "XCAG" };
    wb[3].codes = { "", "XCAG", "X", "", "" };
    QCOMPARE(MatchAttempt(wb, "XCAG"), 2);
    QCOMPARE(MatchAttempt(wb, "X"), 3);
}

void TestJudge::emptyCodesNeverMatch()
{
    SlotTable<tavcharset> wb;
    wb[2].codes = { "", "", "", "X", "" };
    QCOMPARE(MatchAttempt(wb, ""), 0);
    QCOMPARE(MatchAttempt(wb, "A"), 0);
    QCOMPARE(MatchAttempt(wb, "X"), 2);
    SlotTable<tavcharsetpy> py;
    QCOMPARE(MatchAttempt(py, ""), 0);
}

void TestJudge::hintCycle()
{
    tavcharset s;
    s.codes = { "", "XCAG", "X", "XC", "XCA" };
    s.hintStep = 1;
    const char* expected[] = { "XCAG", "X", "XC", "XCA", "XCAG" };
    for (const char* e : expected) {
        std::string hint;
        QVERIFY(NextWubiHint(s, hint));
        QCOMPARE(hint, std::string(e));
    }
    QCOMPARE(s.hintStep, std::uint16_t(2));
}

void TestJudge::hintStepOutOfRange()
{
    tavcharset zeroed;
    std::string hint = "unchanged";
    QVERIFY(!NextWubiHint(zeroed, hint));
    QCOMPARE(hint, std::string("unchanged"));
    QCOMPARE(zeroed.hintStep, std::uint16_t(1));
    zeroed.hintStep = 65535;
    QVERIFY(!NextWubiHint(zeroed, hint));
    QCOMPARE(zeroed.hintStep, std::uint16_t(1));
}

void TestJudge::caseFolding()
{
    QCOMPARE(FoldKey(0, 'a'), 'A');
    QCOMPARE(FoldKey(0, '1'), '1');
    QCOMPARE(FoldKey(1, 'Q'), 'q');
    QCOMPARE(FoldKey(2, 'a'), 'a');
    QCOMPARE(AsciiLower("ZHUANG"), std::string("zhuang"));
    QCOMPARE(AsciiLower("\xC1\xB7Z"), std::string("\xC1\xB7z"));
}

QTEST_GUILESS_MAIN(TestJudge)
#include "tst_judge.moc"
