// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "app/InputBox.h"

class TestFaces : public QObject {
    Q_OBJECT
private slots:
    void fullScreenAndBack();
    void sessionRunsOnAcrossTheSwitch();
    void keyboardReturnsToThePractice();
    void otherCommandsKeepTheFace();
};

void TestFaces::fullScreenAndBack()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.screen()->geometry().size(), QSize(1920, 1080));
    form.Button6Click();
    // The switch travels as a posted command: nothing moves until it is delivered.
    QCOMPARE(form.Button6->text(), QStringLiteral("窗口"));
    QCOMPARE(form.Label1->pos(), QPoint(23, 157));
    QCoreApplication::processEvents();
    QCOMPARE(form.geometry(), QRect(0, 0, 1920, 1080));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    const QPoint slotPositions[4] = { { 60, 338 }, { 524, 338 }, { 988, 338 }, { 1452, 338 } };
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(form.SlotLabel(k)->pos(), slotPositions[k - 1]);
        QCOMPARE(form.SlotLabel(k)->font().pixelSize(), 404);
    }
    QCOMPARE(form.Label5->pos(), QPoint(486, 1020));
    QCOMPARE(form.Image1->pos(), QPoint(575, 1017));
    QCOMPARE(form.Button1->pos(), QPoint(803, 1028));
    QCOMPARE(form.Edit1->pos(), QPoint(890, 1023));
    QCOMPARE(form.Button6->pos(), QPoint(1114, 1029));
    QCOMPARE(form.Label8->pos(), QPoint(615, 1020));
    QCOMPARE(form.Label7->x(), 1746);
    QCOMPARE(form.Label6->x(), 1555);
    QCOMPARE(form.Label7->y(), 42);
    QVERIFY(form.isVisible());

    form.Button6Click();
    QCOMPARE(form.Button6->text(), QStringLiteral("全屏"));
    QCoreApplication::processEvents();
    QCOMPARE(form.size(), QSize(961, 521));
    QVERIFY(!(form.windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(form.geometry().center(), form.screen()->availableGeometry().center());
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(form.SlotLabel(k)->y(), 153);
        QCOMPARE(form.SlotLabel(k)->font().pixelSize(), 200);
        QCOMPARE(form.SlotLabel(k)->size(), QSize(200, 200));
    }
    QCOMPARE(form.Label4->x(), 741);
    QCOMPARE(form.Label5->pos(), QPoint(7, 475));
    QCOMPARE(form.Button1->pos(), QPoint(324, 471));
    QCOMPARE(form.Label7->pos(), QPoint(787, 42));
    QVERIFY(form.isVisible());
}

void TestFaces::sessionRunsOnAcrossTheSwitch()
{
    WindowFixture f;
    TForm1& form = *f.form;
    f.start(Mode::UpperLetters);
    f.tick(3);
    QTest::keyClicks(form.Edit1, "A");
    form.Button6Click();
    QCoreApplication::processEvents();
    QVERIFY(form.Timer1->isActive());
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QCOMPARE(form.keyHitCount, 1);
    QCOMPARE(form.elapsedSeconds, 3);
    QCOMPARE(form.Label7->text(), QStringLiteral("0:0:3"));
    QTest::keyClicks(form.Edit1, "B");
    QCOMPARE(form.keyHitCount, 2);
    form.Button6Click();
    QCoreApplication::processEvents();
    QVERIFY(form.Timer1->isActive());
    QTest::keyClicks(form.Edit1, "C");
    QCOMPARE(form.keyHitCount, 3);
}

void TestFaces::keyboardReturnsToThePractice()
{
    WindowFixture f;
    TForm1& form = *f.form;
    f.start(Mode::Pinyin);
    form.Button4->setFocus();
    form.Button6Click();
    QCOMPARE(QApplication::focusWidget(), form.Edit1);
    QCoreApplication::processEvents();
    form.Button2Click();
    form.SetItemIndex(form.RadioGroup1, Mode::Digits);
    QVERIFY(!form.KeyPreview);
    form.Button4->setFocus();
    form.Button6Click();
    QVERIFY(form.KeyPreview); // also outside a session
    QCOMPARE(form.focusWidget(), form.Button4);
    QCoreApplication::processEvents();
}

void TestFaces::otherCommandsKeepTheFace()
{
    WindowFixture f;
    TForm1& form = *f.form;
    form.HandleSysCommand(0xF032); // a maximise with other bits: default processing only
    QCOMPARE(form.Label1->pos(), QPoint(23, 157));
    QCOMPARE(form.Button6->text(), QStringLiteral("全屏"));
    form.HandleSysCommand(TForm1::SC_MAXIMIZE);
    QCOMPARE(form.Label1->pos(), QPoint(60, 338));
    QCOMPARE(form.Button6->text(), QStringLiteral("窗口"));
    form.HandleSysCommand(TForm1::SC_RESTORE);
    QCOMPARE(form.Label1->pos(), QPoint(23, 153));
    QCOMPARE(form.Button6->text(), QStringLiteral("全屏"));
}

int main(int argc, char* argv[])
{
    // A 1920 x 1080 screen for the full-screen face.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"screens":[{"name":"screen","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    QApplication app(argc, argv);
    TestFaces test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faces.moc"
