// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/Layout.h"

#include <QtTest>
#include <map>

namespace {
std::map<std::string, std::pair<int, int>> byName(const FaceLayout& l)
{
    std::map<std::string, std::pair<int, int>> m;
    for (const auto& p : l.placements)
        m[std::string(ControlName(p.control))] = { p.left, p.top };
    return m;
}

// Heights of the bottom row before any picture was shown.
BottomRowHeights initialHeights()
{
    BottomRowHeights h;
    h.label5 = 35;
    h.image1 = 41;
    h.button1 = 29;
    h.edit1 = 43;
    h.button2 = 29;
    h.button4 = 29;
    h.button5 = 29;
    h.button6 = 28;
    h.label8 = 35;
    return h;
}
}

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void cellFontGap_data();
    void cellFontGap();
    void worked1920x1080_data();
    void worked1920x1080();
    void narrowScreenGivesNegativeOffset();
    void windowFace_data();
    void windowFace();
    void everyControlPlacedOnce();
};

void TestLayout::cellFontGap_data()
{
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("g");
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("d");
    QTest::addRow("1024x768") << 1024 << 768 << 215 << 161 << 32 << QList<int> { 32, 279, 526, 773 } << 276 << 31;
    QTest::addRow("1366x768") << 1366 << 768 << 287 << 215 << 43 << QList<int> { 43, 373, 703, 1033 } << 240 << 202;
    QTest::addRow("960 wide") << 960 << 600 << 202 << 152 << 30 << QList<int> { 30, 262, 494, 726 } << 199 << 0;
    QTest::addRow("979 wide, 154.5 to even") << 979 << 600 << 206 << 154 << 30 << QList<int> { 30, 266, 502, 738 } << 197
                                             << 9;
    QTest::addRow("1920x1080") << 1920 << 1080 << 404 << 303 << 60 << QList<int> { 60, 524, 988, 1452 } << 338 << 479;
}

void TestLayout::cellFontGap()
{
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(int, w);
    QFETCH(int, s);
    QFETCH(int, g);
    QFETCH(QList<int>, lefts);
    QFETCH(int, top);
    QFETCH(int, d);
    const FaceLayout l = FullScreenFaceLayout(W, H, initialHeights());
    QCOMPARE(l.cellWidth, w);
    QCOMPARE(l.slotFontPoints, s);
    QCOMPARE(l.gap, g);
    QCOMPARE(l.offset, d);
    auto m = byName(l);
    for (int k = 0; k < 4; ++k) {
        const auto name = "Label" + std::to_string(k + 1);
        QCOMPARE(m[name].first, lefts[k]);
        QCOMPARE(m[name].second, top);
    }
}

void TestLayout::worked1920x1080_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addRow("Label5") << "Label5" << 486 << 1020;
    QTest::addRow("Image1") << "Image1" << 575 << 1017;
    QTest::addRow("Button1") << "Button1" << 803 << 1028;
    QTest::addRow("Edit1") << "Edit1" << 890 << 1023;
    QTest::addRow("Button2") << "Button2" << 1030 << 1028;
    QTest::addRow("Button6") << "Button6" << 1114 << 1029;
    QTest::addRow("Button4") << "Button4" << 1197 << 1028;
    QTest::addRow("Button5") << "Button5" << 1279 << 1028;
    QTest::addRow("Label8") << "Label8" << 615 << 1020;
    QTest::addRow("Label7") << "Label7" << 1746 << -1;
    QTest::addRow("Label6") << "Label6" << 1555 << -1;
}

void TestLayout::worked1920x1080()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, top);
    auto m = byName(FullScreenFaceLayout(1920, 1080, initialHeights()));
    QCOMPARE(m[name.toStdString()].first, left);
    QCOMPARE(m[name.toStdString()].second, top);
}

void TestLayout::narrowScreenGivesNegativeOffset()
{
    const FaceLayout l = FullScreenFaceLayout(800, 600, initialHeights());
    QCOMPARE(l.offset, -80);
    QCOMPARE(byName(l)["Label5"].first, -73);
}

void TestLayout::windowFace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addRow("Label1") << "Label1" << 23 << 153;
    QTest::addRow("Label2") << "Label2" << 258 << 153;
    QTest::addRow("Label3") << "Label3" << 503 << 153;
    QTest::addRow("Label4") << "Label4" << 741 << 153;
    QTest::addRow("Label5") << "Label5" << 7 << 475;
    QTest::addRow("Image1") << "Image1" << 96 << 457;
    QTest::addRow("Button1") << "Button1" << 324 << 471;
    QTest::addRow("Edit1") << "Edit1" << 411 << 463;
    QTest::addRow("Button2") << "Button2" << 551 << 468;
    QTest::addRow("Button6") << "Button6" << 635 << 468;
    QTest::addRow("Button4") << "Button4" << 718 << 468;
    QTest::addRow("Button5") << "Button5" << 800 << 468;
    QTest::addRow("Label7") << "Label7" << 787 << -1;
    QTest::addRow("Label6") << "Label6" << 596 << -1;
    QTest::addRow("Label8") << "Label8" << 136 << 472;
}

void TestLayout::windowFace()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, top);
    const FaceLayout l = WindowFaceLayout();
    QCOMPARE(l.slotFontPoints, 150);
    auto m = byName(l);
    QCOMPARE(m[name.toStdString()].first, left);
    QCOMPARE(m[name.toStdString()].second, top);
}

// A control left out of a face would stay where the other face put it.
void TestLayout::everyControlPlacedOnce()
{
    for (const FaceLayout& l : { WindowFaceLayout(), FullScreenFaceLayout(1920, 1080, initialHeights()) }) {
        std::map<std::string, int> seen;
        for (const auto& p : l.placements)
            ++seen[std::string(ControlName(p.control))];
        QCOMPARE(int(seen.size()), int(FaceControl::Count));
        for (const auto& [name, times] : seen)
            QVERIFY2(times == 1, name.c_str());
    }
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
