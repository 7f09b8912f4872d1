// SPDX-License-Identifier: GPL-3.0-or-later
// Readable under any desktop theme: run once under the default light palette and once under
// qt6ct's dark scheme, the items, the hint line and the input box are measured on the
// screen as the X server shows them.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"
#include "session/Judge.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestDesktopTheme : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void itemsHintAndBoxReadable_data();
    void itemsHintAndBoxReadable();

private:
    XInput x;
    KeyArrivals arrivals;
};

void TestDesktopTheme::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
    // The desktop's palette is the one this run was prepared with.
    const int lightness = QGuiApplication::palette().color(QPalette::Window).lightness();
    if (desktopHas("dark"))
        QVERIFY2(lightness < 100, "the dark theme did not take effect");
    else
        QVERIFY2(lightness > 150, "the desktop palette is not light");
}

void TestDesktopTheme::itemsHintAndBoxReadable_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("英文(小)") << int(Mode::LowerLetters);
    QTest::newRow("五笔练习") << int(Mode::WubiChars);
}

void TestDesktopTheme::itemsHintAndBoxReadable()
{
    QFETCH(int, mode);
    WindowFixture f;
    TForm1& form = *f.form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SetItemIndex(form.RadioGroup1, mode);
    form.SetItemIndex(form.RadioGroup2, 0);
    x.click(form.Button1);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    if (mode == Mode::WubiChars) {
        x.click(form.Edit1);
        f.setWubi(1, { "XSXY", "", "", "" }, "练");
        // A hit, so slot 1 is painted again after its flash; a hint; two letters in the box.
        for (char c : std::string("xsxy"))
            QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
        QCOMPARE(form.inputHitCount, 1);
        QVERIFY(typeKeysymAndWait(x, arrivals, "F2"));
        QVERIFY(!form.Label5->text().isEmpty());
        QVERIFY(typeAndWait(x, arrivals, 'w') && typeAndWait(x, arrivals, 'q'));
        QCOMPARE(form.Edit1->text(), QStringLiteral("wq"));
    } else {
        x.click(form.Edit1);
        const char item = form.bank.keySlots[1][0];
        QVERIFY2(typeAndWait(x, arrivals, item), "the key never reached the program");
        QCOMPARE(form.keyHitCount, 1);
    }
    // The hit slot has flashed and shows its new item again.
    QTRY_VERIFY_WITH_TIMEOUT(!form.Timer3->isActive(), 3000);
    QTest::qWait(100);

    const QImage shot = grabFromScreen(&form);
    if (const QString dir = qEnvironmentVariable("QUILLADO_SCREENSHOTS"); !dir.isEmpty())
        shot.save(
            QDir(dir).filePath(QStringLiteral("theme-%1-%2.png").arg(desktopHas("dark") ? "dark" : "light").arg(mode)));
    auto contrastOf = [&](const QWidget* w) { return inkContrast(shot.copy(w->geometry())); };
    for (int k = 1; k <= 4; ++k) {
        const double c = contrastOf(form.SlotLabel(k));
        QVERIFY2(c >= 4.5, qPrintable(QStringLiteral("slot %1: contrast %2").arg(k).arg(c)));
    }
    if (mode == Mode::WubiChars) {
        QVERIFY2(contrastOf(form.Label5) >= 4.5, qPrintable(QString::number(contrastOf(form.Label5))));
        // Inside the box's frame: its text against its own background.
        const QRect box = form.Edit1->geometry().adjusted(4, 4, -4, -4);
        const double c = inkContrast(shot.copy(box));
        QVERIFY2(c >= 4.5, qPrintable(QStringLiteral("input box: contrast %1").arg(c)));
    }
}

QTEST_MAIN(TestDesktopTheme)
#include "tst_desktop_theme.moc"
