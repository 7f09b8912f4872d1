// SPDX-License-Identifier: GPL-3.0-or-later
// A learner's Chinese input method stays on while practising: the input box still receives
// the raw letters of a code, while an ordinary line edit in the same run composes Chinese.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"
#include "session/Judge.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
bool hasChinese(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}
}

class TestDesktopIm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void inputBoxGetsRawLettersWhileTheInputMethodComposes();

private:
    // Types "ni" and a space into a plain line edit until the input method composes it.
    bool plainLineEditComposes(int timeoutMs);
    XInput x;
    KeyArrivals arrivals;
};

void TestDesktopIm::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QVERIFY2(desktopHas("im"), "run through tests/desktop/with-desktop --im");
    QCOMPARE(qEnvironmentVariable("QT_IM_MODULE"), QStringLiteral("fcitx"));
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
}

bool TestDesktopIm::plainLineEditComposes(int timeoutMs)
{
    QLineEdit plain;
    plain.setWindowTitle(QStringLiteral("plain"));
    plain.resize(300, 40);
    plain.show();
    plain.activateWindow();
    if (!QTest::qWaitForWindowActive(&plain))
        return false;
    plain.setFocus();
    QElapsedTimer clock;
    clock.start();
    // The input method connects to the program a moment after its window shows.
    while (clock.elapsed() < timeoutMs) {
        plain.clear();
        for (char c : std::string("ni "))
            x.type(c);
        if (QTest::qWaitFor([&] { return hasChinese(plain.text()); }, 1000))
            return true;
    }
    return false;
}

void TestDesktopIm::inputBoxGetsRawLettersWhileTheInputMethodComposes()
{
    QVERIFY2(plainLineEditComposes(20000), "the input method never composed in a plain line edit");
    WindowFixture f;
    TForm1& form = *f.form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.SetItemIndex(form.RadioGroup1, Mode::WubiChars);
    form.SetItemIndex(form.RadioGroup2, 0);
    x.click(form.Button1);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QTRY_VERIFY(form.Edit1->hasFocus());
    f.setWubi(1, { "WQ", "", "", "" }, "你");
    for (char c : std::string("wq"))
        QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
    QCOMPARE(form.Edit1->text(), QStringLiteral("wq"));
    QVERIFY(typeAndWait(x, arrivals, ' '));
    QCOMPARE(form.inputHitCount, 1);
    QVERIFY(form.Edit1->text().isEmpty());
    // Still on for everything else.
    QVERIFY2(plainLineEditComposes(5000), "the input method was switched off");
}

QTEST_MAIN(TestDesktopIm)
#include "tst_desktop_im.moc"
