// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Results.h"

#include <QtTest>

class TestResults : public QObject {
    Q_OBJECT
private slots:
    void speed_data();
    void speed();
    void resultLine_data();
    void resultLine();
    void clock_data();
    void clock();
};

void TestResults::speed_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("speed");
    QTest::addRow("2.5 to even") << 5 << 120 << 2;
    QTest::addRow("3.5 to even") << 7 << 120 << 4;
    QTest::addRow("1.5 to even") << 1 << 40 << 2;
    QTest::addRow("35 exactly") << 70 << 120 << 35;
    QTest::addRow("rounds up") << 2 << 70 << 2; // 1.714
    QTest::addRow("rounds down") << 1 << 70 << 1; // 0.857
    QTest::addRow("below half") << 1 << 121 << 0;
    QTest::addRow("nothing typed") << 0 << 60 << 0;
    QTest::addRow("five hours") << 54000 << 18000 << 180;
    QTest::addRow("ended before the first tick") << 3 << 0 << 0;
}

void TestResults::speed()
{
    QFETCH(int, count);
    QFETCH(int, seconds);
    QFETCH(int, speed);
    QCOMPARE(SpeedPerMinute(count, seconds), std::int64_t(speed));
}

void TestResults::resultLine_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("timeUp");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("line");
    QTest::addRow("upper, End") << 0 << false << 70 << 120 << "大写字母练习：速度：35字/分,总数：70个字。";
    QTest::addRow("lower, time-up") << 1 << true << 60 << 60 << "小写字母练习：速度：60字/分,总数：60个字。";
    QTest::addRow("digits, End") << 2 << false << 5 << 120 << "数字练习：速度：2字/分,总数：5个字。";
    QTest::addRow("pinyin, End") << 3 << false << 7 << 120 << "拼音练习：速度：4字/分,总数：7个字。";
    QTest::addRow("pinyin, time-up says test") << 3 << true << 7 << 120 << "拼音测试：速度：4字/分,总数：7个字。";
    QTest::addRow("roots, time-up") << 4 << true << 1 << 40 << "字根练习：速度：2字/分,总数：1个字。";
    QTest::addRow("level 1, End") << 5 << false << 0 << 60 << "一级简码练习：速度：0字/分,总数：0个字。";
    QTest::addRow("level 2, time-up") << 6 << true << 300 << 300 << "二级简码练习：速度：60字/分,总数：300个字。";
    QTest::addRow("wubi, End") << 7 << false << 70 << 120 << "五笔汉字练习：速度：35字/分,总数：70个字。";
    QTest::addRow("wubi, time-up") << 7 << true << 70 << 120 << "五笔汉字练习：速度：35字/分,总数：70个字。";
    QTest::addRow("pinyin follow, time-up") << 8 << true << 54000 << 18000 << "拼音跟打：速度：180字/分,总数：54000个字。";
    QTest::addRow("wubi follow, before the first tick") << 9 << false << 3 << 0 << "五笔跟打：速度：0字/分,总数：3个字。";
    QTest::addRow("phrases, End") << 10 << false << 24 << 120 << "词组练习：速度：12词/分,总数：24个词组。";
    QTest::addRow("phrases, time-up") << 10 << true << 5 << 60 << "词组练习：速度：5词/分,总数：5个词组。";
}

void TestResults::resultLine()
{
    QFETCH(int, mode);
    QFETCH(bool, timeUp);
    QFETCH(int, count);
    QFETCH(int, seconds);
    QFETCH(QString, line);
    QCOMPARE(QString::fromStdString(ResultLine(mode, timeUp, count, seconds)), line);
}

void TestResults::clock_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addRow("9 s") << 9 << "0:0:9";
    QTest::addRow("1 min") << 60 << "0:1:0";
    QTest::addRow("1:2:3") << 3723 << "1:2:3";
    QTest::addRow("5 h") << 18000 << "5:0:0";
}

void TestResults::clock()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ClockText(seconds)), text);
}

QTEST_GUILESS_MAIN(TestResults)
#include "tst_results.moc"
