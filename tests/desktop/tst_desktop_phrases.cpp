// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase drill on a real X server: chosen with the mouse from the 进阶 menu, typed and
// hinted with keys through XTest.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

class TestDesktopPhrases : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void drillChosenTypedAndHinted();

private:
    XInput x;
    KeyArrivals arrivals;
};

void TestDesktopPhrases::initTestCase()
{
    // Proves the set-up, so a broken desktop fails here rather than passing below.
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QVERIFY2(desktopHas("wm"), "run through tests/desktop/with-desktop");
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
}

void TestDesktopPhrases::drillChosenTypedAndHinted()
{
    WindowFixture f;
    TForm1& form = *f.form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));

    // A test time, then 进阶 and its menu's 词组练习, all with the mouse.
    x.click(form.RadioGroup2->findChildren<QRadioButton*>().at(0));
    QTRY_COMPARE(form.ItemIndex(form.RadioGroup2), 0);
    x.click(form.Button7);
    QTRY_VERIFY(form.PopupMenu2->isVisible());
    const QRect entry = form.PopupMenu2->actionGeometry(form.N7);
    x.click(form.PopupMenu2->mapToGlobal(entry.center()));
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QCOMPARE(form.Label6->text(), QStringLiteral("词组练习"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit1));

    for (int k = 1; k <= 4; ++k) {
        auto& slot = form.bank.phraseSlots[size_t(k)];
        slot = { k == 3 ? "KHLG" : "AAAN", Gbk(k == 3 ? "中国" : "工艺"), 2, 1 };
        form.SlotLabel(k)->setText(QString::fromStdString(k == 3 ? "中国" : "工艺"));
    }
    for (char c : std::string("khlg"))
        QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(f.hitSounds.size(), 1);
    QVERIFY(form.Edit1->text().isEmpty());
    QVERIFY(form.Timer5->isActive());

    QVERIFY2(typeKeysymAndWait(x, arrivals, "F1"), "F1 never reached the program");
    QCOMPARE(form.Label5->text(), QStringLiteral("AAAN"));
    QCOMPARE(form.Label9->text(), QStringLiteral("AAAN  工AA + 艺AN"));
    QVERIFY(form.Label9->isVisible());
    // The hint is on the screen, readable against the window.
    QVERIFY(inkContrast(grabFromScreen(form.Label9)) > 4.5);

    x.click(form.Button2);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("开始"));
    QVERIFY(form.Label6->text().startsWith(QStringLiteral("词组练习：速度：")));
}

QTEST_MAIN(TestDesktopPhrases)
#include "tst_desktop_phrases.moc"
