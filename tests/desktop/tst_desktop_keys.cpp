// SPDX-License-Identifier: GPL-3.0-or-later
// Typing on a real X server: keys come through XTest, with the focus where a learner's
// clicks leave it, and the count is read from the real window.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"
#include "platform/PaintSettle.h"
#include "session/Judge.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

class TestDesktopKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void oneKeyJudgedOnce_data();
    void oneKeyJudgedOnce();
    void randomDigitsNeverScoreMoreThanKeys();
    void fourLetterCodeHitsOneOfTwoEqualSlots();
    void drawingsSettleOutsideTheKeysPath_data();
    void drawingsSettleOutsideTheKeysPath();

private:
    // Shows the window and waits until the window manager has made it the active one.
    bool showActive(WindowFixture& f);
    XInput x;
    KeyArrivals arrivals;
};

bool TestDesktopKeys::showActive(WindowFixture& f)
{
    f.form->activateWindow();
    return QTest::qWaitForWindowActive(f.form.get());
}

void TestDesktopKeys::initTestCase()
{
    // Proves the set-up, so a broken desktop fails here rather than passing below.
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QVERIFY2(desktopHas("wm"), "run through tests/desktop/with-desktop");
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
}

void TestDesktopKeys::oneKeyJudgedOnce_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<char>("item");
    QTest::addColumn<char>("typed");
    QTest::addColumn<QString>("focus");
    const struct {
        int mode;
        char item, typed;
        const char* name;
    } keys[] = {
        { Mode::UpperLetters, 'B', 'b', "英文(大)" },
        { Mode::LowerLetters, 'b', 'B', "英文(小)" },
        { Mode::Digits, '2', '2', "数字练习" },
    };
    for (const auto& k : keys)
        for (const char* focus : { "Button1", "Edit1", "radio", "none" })
            QTest::addRow("%s, focus %s", k.name, focus) << k.mode << k.item << k.typed << focus;
}

// Two slots show the same item and the learner presses its key once: one hit, one sound,
// the leftmost slot refilled.
void TestDesktopKeys::oneKeyJudgedOnce()
{
    QFETCH(int, mode);
    QFETCH(char, item);
    QFETCH(char, typed);
    QFETCH(QString, focus);
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(showActive(f));
    form.SetItemIndex(form.RadioGroup1, mode);
    form.SetItemIndex(form.RadioGroup2, 0);
    // 开始 clicked with the mouse, as a learner starts: the button keeps the focus.
    x.click(form.Button1);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QCOMPARE(form.focusWidget(), form.Button1);

    QWidget* target = form.Button1;
    if (focus == "Edit1") {
        x.click(form.Edit1);
        target = form.Edit1;
    } else if (focus == "radio") {
        // Between sessions the radio buttons show; 全屏 switches the judge on there too.
        x.click(form.Button2);
        QTRY_COMPARE(form.Button1->text(), QStringLiteral("开始"));
        form.KeyPreview = true;
        target = form.RadioGroup1->findChildren<QRadioButton*>().at(mode);
        x.click(target);
    } else if (focus == "none") {
        form.focusWidget()->clearFocus();
        target = nullptr;
    }
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QVERIFY(form.isActiveWindow());

    const std::string same(1, item);
    form.bank.keySlots[1] = same;
    form.bank.keySlots[2] = same;
    const int soundsBefore = int(f.hitSounds.size());
    const int hitsBefore = form.keyHitCount;
    QVERIFY2(typeAndWait(x, arrivals, typed), "the key never reached the program");
    QCOMPARE(form.keyHitCount - hitsBefore, 1);
    QCOMPARE(int(f.hitSounds.size()) - soundsBefore, 1);
    QVERIFY(form.bank.keySlots[1] != same);
    QCOMPARE(form.bank.keySlots[2], same);
    QVERIFY(form.Timer3->isActive());
    QVERIFY(!form.Timer4->isActive());
}

void TestDesktopKeys::randomDigitsNeverScoreMoreThanKeys()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(showActive(f));
    form.SetItemIndex(form.RadioGroup1, Mode::Digits);
    form.SetItemIndex(form.RadioGroup2, 0);
    x.click(form.Button1);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QRandomGenerator random(20261208);
    const int keys = 50;
    int expected = 0;
    for (int i = 0; i < keys; ++i) {
        const char digit = char('0' + random.bounded(10));
        for (int k = 1; k <= 4; ++k)
            if (form.bank.keySlots[size_t(k)] == std::string(1, digit)) {
                ++expected;
                break;
            }
        QVERIFY2(typeAndWait(x, arrivals, digit), "a key never reached the program");
    }
    QVERIFY(expected > 0);
    QCOMPARE(form.keyHitCount, expected);
    QVERIFY(form.keyHitCount <= keys);
    QCOMPARE(int(f.hitSounds.size()), expected);
}

void TestDesktopKeys::fourLetterCodeHitsOneOfTwoEqualSlots()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(showActive(f));
    form.SetItemIndex(form.RadioGroup1, Mode::WubiChars);
    form.SetItemIndex(form.RadioGroup2, 0);
    x.click(form.Button1);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit1));
    f.setWubi(1, { "XSXY", "", "", "" }, "练");
    f.setWubi(2, { "XSXY", "", "", "" }, "练");
    for (char c : std::string("xsxy"))
        QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(f.hitSounds.size(), 1);
    QVERIFY(form.Edit1->text().isEmpty());
    QCOMPARE(form.bank.wbSlots[2].codes[1], std::string("XSXY"));
    QVERIFY(form.Timer3->isActive());
    QVERIFY(!form.Timer4->isActive());
}

void TestDesktopKeys::drawingsSettleOutsideTheKeysPath_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("window face") << false;
    QTest::newRow("full-screen face") << true;
}

// After each drawing the window repaints one pixel of its own background in idle time, so
// the X server's read of the drawing is settled before the next key. The pixel must lie
// outside every control (a key repaints controls only), and settling must never feed itself.
void TestDesktopKeys::drawingsSettleOutsideTheKeysPath()
{
    QFETCH(bool, fullScreen);
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(showActive(f));
    PaintSettle* settle = nullptr;
    for (QObject* child : form.children())
        if (auto* s = dynamic_cast<PaintSettle*>(child))
            settle = s;
    QVERIFY2(settle, "the window settles no drawings");
    if (fullScreen) {
        form.HandleSysCommand(TForm1::SC_MAXIMIZE);
        QTRY_COMPARE(form.size(), form.screen()->size());
        QVERIFY(showActive(f));
    }
    const QPoint pixel = settle->Pixel();
    QVERIFY(form.rect().contains(pixel));
    QCOMPARE(form.childAt(pixel), nullptr);

    form.SetItemIndex(form.RadioGroup1, Mode::UpperLetters);
    form.SetItemIndex(form.RadioGroup2, 0);
    form.Button1Click();
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QTest::qWait(100);
    const int settledBefore = settle->Settled();
    const char key = char(std::tolower(static_cast<unsigned char>(form.bank.keySlots[1][0])));
    QVERIFY2(typeAndWait(x, arrivals, key), "the key never reached the program");
    QVERIFY(form.keyHitCount >= 1);
    // The red flash drawn on the screen, then settled.
    const auto redPixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
            }
        return n;
    };
    QVERIFY(form.Timer3->isActive());
    QVERIFY(redPixels(grabFromScreen(form.Label1)) > 100);
    QTRY_VERIFY(settle->Settled() > settledBefore);
    // Idle for 1.2 s: only the caret's blinks and the clock draw (a handful); settling must
    // never feed itself, which would repaint the pixel on every turn of the event loop.
    const int idleBefore = settle->Settled();
    QTest::qWait(1200);
    const int idleSettles = settle->Settled() - idleBefore;
    QVERIFY2(idleSettles <= 12, qPrintable(QStringLiteral("%1 settles in 1.2 s idle").arg(idleSettles)));
}

QTEST_MAIN(TestDesktopKeys)
#include "tst_desktop_keys.moc"
