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
    QTest::addColumn<QString>("prefix");
    const char* prefixes[10] = { "大写字母练习：速度：", "小写字母练习：速度：", "数字练习：速度：", "拼音练习：速度：",
        "字根练习：速度：", "一级简码练习：速度：", "二级简码练习：速度：", "五笔汉字练习：速度：", "拼音跟打：速度：",
        "五笔跟打：速度：" };
    for (int mode = 0; mode < 10; ++mode) {
        QTest::addRow("mode %d at End", mode) << mode << false << QString::fromUtf8(prefixes[mode]);
        QTest::addRow("mode %d at time-up", mode)
            << mode << true << QString::fromUtf8(mode == 3 ? "拼音测试：速度：" : prefixes[mode]);
    }
}

void TestResults::resultLine()
{
    QFETCH(int, mode);
    QFETCH(bool, timeUp);
    QFETCH(QString, prefix);
    QCOMPARE(QString::fromStdString(ResultLine(mode, timeUp, 70, 120)), prefix + QStringLiteral("35字/分,总数：70个字。"));
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
