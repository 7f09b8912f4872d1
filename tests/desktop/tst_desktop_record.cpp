// SPDX-License-Identifier: GPL-3.0-or-later
// A session typed through the X server, as a learner types it, ends up in the record with
// the hits and misses the keys made.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"
#include "record/RecordStore.h"
#include "session/Judge.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestDesktopRecord : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void typedSessionIsRecorded_data();
    void typedSessionIsRecorded();

private:
    XInput x;
    KeyArrivals arrivals;
};

void TestDesktopRecord::initTestCase()
{
    // Proves the set-up, so a broken desktop fails here rather than passing below.
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QVERIFY2(desktopHas("wm"), "run through tests/desktop/with-desktop");
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
}

void TestDesktopRecord::typedSessionIsRecorded_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("英文(大)") << Mode::UpperLetters;
    QTest::newRow("五笔练习") << Mode::WubiChars;
}

void TestDesktopRecord::typedSessionIsRecorded()
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

    std::string hit, miss;
    if (mode == Mode::UpperLetters) {
        hit = AsciiLower(form.bank.keySlots[1]); // typed in lower case, judged as the capital shown
        miss = "7";
    } else {
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Edit1));
        f.setWubi(1, { "XSXY", "", "", "" }, "练", 2000);
        hit = "xsxy";
        miss = "zzz "; // a space submits three letters that type nothing
    }
    for (char c : miss)
        QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
    if (mode == Mode::WubiChars)
        QVERIFY2(typeKeysymAndWait(x, arrivals, "BackSpace"), "a key never reached the program"); // the blank left
    for (char c : hit)
        QVERIFY2(typeAndWait(x, arrivals, c), "a key never reached the program");
    QCOMPARE(Mode::IsSingleKey(mode) ? form.keyHitCount : form.inputHitCount, 1);
    x.click(form.Button2);
    QTRY_COMPARE(form.Button1->text(), QStringLiteral("开始"));

    Record::Store store({ f.recordPath() });
    const auto rows = store.Sessions(mode);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].hits, 1);
    QCOMPARE(rows[0].misses, 1);
    QCOMPARE(rows[0].accuracy(), 0.5);
    QVERIFY(f.messages.texts().isEmpty());
    if (mode == Mode::WubiChars) {
        const auto slow = store.Slowest(mode, 1);
        QCOMPARE(slow.at(0).text, QStringLiteral("练"));
        QCOMPARE(slow.at(0).code, QStringLiteral("XSXY"));
        QCOMPARE(slow.at(0).pictureNo, 2000);
    }
}

QTEST_MAIN(TestDesktopRecord)
#include "tst_desktop_record.moc"
