// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cstring>

#include "app/InputBox.h"

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAsTheWindowOpens_data();
    void controlsAsTheWindowOpens();
    void windowProperties();
    void radioGroupsListTheirItemsInOrder();
    void fontsArePixelSizedSongFaces();
    void hintCodesClearThePicture();
    void timersAndMenu();
    void tabOrder();
    void missingPlainTableEndsTheProgram_data();
    void missingPlainTableEndsTheProgram();
    void missingEncipheredTableIsReportedAndTheProgramRunsOn();
    void closingFreesTheTables();
    void inputBoxRefusesTheInputMethod();
};

void TestMainWindow::controlsAsTheWindowOpens_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addRow("Label1") << "Label1" << QRect(23, 157, 200, 200) << "练" << true;
    QTest::addRow("Label2") << "Label2" << QRect(258, 153, 200, 200) << "练" << true;
    QTest::addRow("Label3") << "Label3" << QRect(503, 153, 200, 200) << "练" << true;
    QTest::addRow("Label4") << "Label4" << QRect(741, 155, 200, 200) << "练" << true;
    QTest::addRow("RadioGroup1") << "RadioGroup1" << QRect(8, 4, 241, 121) << "打字类型：" << true;
    QTest::addRow("RadioGroup2") << "RadioGroup2" << QRect(262, 4, 187, 121) << "测试时间：" << true;
    QTest::addRow("CheckBox1") << "CheckBox1" << QRect(464, 8, 105, 17) << "关闭背景音乐" << true;
    QTest::addRow("CheckBox2") << "CheckBox2" << QRect(464, 32, 107, 17) << "关闭打中音效" << true;
    QTest::addRow("Image1") << "Image1" << QRect(96, 457, 225, 41) << "" << true;
    QTest::addRow("Button1") << "Button1" << QRect(324, 468, 69, 29) << "开始" << true;
    QTest::addRow("Edit1") << "Edit1" << QRect(411, 463, 121, 43) << "" << true;
    QTest::addRow("Button2") << "Button2" << QRect(551, 468, 69, 29) << "结束" << false;
    QTest::addRow("Button6") << "Button6" << QRect(635, 468, 66, 28) << "全屏" << true;
    QTest::addRow("Button4") << "Button4" << QRect(718, 468, 66, 29) << "退出" << true;
    QTest::addRow("Button5") << "Button5" << QRect(800, 468, 66, 29) << "帮助" << true;
}

void TestMainWindow::controlsAsTheWindowOpens()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    WindowFixture f;
    QWidget* w = f.form->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isEnabled(), enabled);
    QVERIFY(w->isVisible());
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        text = g->title();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        text = e->text();
    QCOMPARE(text, caption);
}

void TestMainWindow::windowProperties()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillado  2019.11.16版"));
    QCOMPARE(form.size(), QSize(961, 521));
    QCOMPARE(form.minimumSize(), QSize(961, 521));
    QVERIFY(form.KeyPreview);
    QCOMPARE(Form1, &form);
    for (QLabel* l : { form.Label5, form.Label6, form.Label7, form.Label8 })
        QVERIFY(l->text().isEmpty());
    QVERIFY(!form.Label8->isVisible());
    QVERIFY(!form.Label8->isEnabled());
    QCOMPARE(form.Label5->pos(), QPoint(7, 467));
    QCOMPARE(form.Label6->pos(), QPoint(596, 8));
    QCOMPARE(form.Label7->pos(), QPoint(787, 42));
    QCOMPARE(form.Label8->pos(), QPoint(136, 472));
    QVERIFY(form.Image1->pixmap().isNull());
    QCOMPARE(form.ItemIndex(form.RadioGroup1), -1);
    QCOMPARE(form.ItemIndex(form.RadioGroup2), -1);
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.CheckBox2->isChecked());
    QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TestMainWindow::radioGroupsListTheirItemsInOrder()
{
    WindowFixture f;
    const QStringList modes = { "英文(大)", "英文(小)", "数字练习", "拼音练习", "字根练习", "一级简码", "二级简码",
        "五笔练习", "拼音跟打", "五笔跟打" };
    const QStringList times = { "1分钟", "5分钟", "10分钟", "30分钟", "1小时", "2小时", "3小时", "5小时" };
    for (int i = 0; i < modes.size(); ++i)
        QCOMPARE(f.form->ItemCaption(f.form->RadioGroup1, i), modes[i]);
    for (int i = 0; i < times.size(); ++i)
        QCOMPARE(f.form->ItemCaption(f.form->RadioGroup2, i), times[i]);
    // Two columns, filled top to bottom.
    auto pos = [&](QGroupBox* g, int i) {
        return g->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly).at(i)->pos();
    };
    QVERIFY(pos(f.form->RadioGroup1, 4).x() == pos(f.form->RadioGroup1, 0).x());
    QVERIFY(pos(f.form->RadioGroup1, 5).x() > pos(f.form->RadioGroup1, 4).x());
    QVERIFY(pos(f.form->RadioGroup1, 5).y() == pos(f.form->RadioGroup1, 0).y());
    f.form->SetItemIndex(f.form->RadioGroup1, 7);
    QCOMPARE(f.form->ItemIndex(f.form->RadioGroup1), 7);
    // Every mode and every test time lies inside its group's frame, below the title line the
    // frame starts at.
    for (QGroupBox* g : { f.form->RadioGroup1, f.form->RadioGroup2 }) {
        const int frameTop = QFontMetrics(g->font()).height() + 3;
        for (QRadioButton* b : g->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            QVERIFY2(b->y() >= frameTop, qPrintable(b->text()));
            QVERIFY2(b->geometry().bottom() < g->height() - 1, qPrintable(b->text()));
        }
    }
}

// A four-letter code on the hint line ends before the split picture beside it begins, so
// no letter of the code is hidden under the picture; a short code keeps the full size.
void TestMainWindow::hintCodesClearThePicture()
{
    WindowFixture f;
    TForm1& form = *f.form;
    form.SetItemIndex(form.RadioGroup1, Mode::WubiChars);
    for (const char* code : { "G", "XCAG", "WWWW", "MMMM" }) {
        tavcharset& slot = form.bank.wbSlots[1];
        slot.codes = { "", code, code, code, code };
        slot.hintStep = 1;
        slot.pictureNo = 0;
        form.Edit1KeyDown(112); // F1
        QCOMPARE(form.Label5->text(), QString::fromLatin1(code));
        const QRect text(form.Label5->pos(),
            QSize(QFontMetrics(form.Label5->font()).horizontalAdvance(form.Label5->text()), form.Label5->height()));
        QVERIFY2(
            text.right() < form.Image1->x(), qPrintable(QStringLiteral("%1 ends at %2").arg(code).arg(text.right())));
        QCOMPARE(form.Label5->height(), 35);
        if (std::strlen(code) == 1)
            QCOMPARE(form.Label5->font().pixelSize(), 35);
    }
}

void TestMainWindow::fontsArePixelSizedSongFaces()
{
    WindowFixture f;
    struct Expect {
        QWidget* w;
        int pixels;
        bool bold;
    };
    TForm1& form = *f.form;
    const Expect expected[] = { { form.Label1, 200, false }, { form.Label4, 200, false },
        { form.RadioGroup1, 17, false }, { form.CheckBox1, 14, false }, { form.Label6, 17, false },
        { form.Label5, 35, true }, { form.Label8, 35, true }, { form.Edit1, 35, true }, { form.Button1, 17, true },
        { form.Button6, 17, true }, { &form, 14, false } };
    for (const Expect& e : expected) {
        QCOMPARE(e.w->font().pixelSize(), e.pixels);
        QCOMPARE(e.w->font().bold(), e.bold);
        QVERIFY(e.w->font().families().contains(QStringLiteral("AR PL UMing CN")));
        QCOMPARE(e.w->font().families().first(), QStringLiteral("SimSun"));
    }
}

void TestMainWindow::timersAndMenu()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.Timer1->interval(), 1000);
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Timer2->interval(), 1000);
    QVERIFY(form.Timer2->isActive());
    for (QTimer* t : { form.Timer3, form.Timer4, form.Timer5, form.Timer6 }) {
        QCOMPARE(t->interval(), 500);
        QVERIFY(!t->isActive());
    }
    QCOMPARE(form.Timer1->timerType(), Qt::PreciseTimer);
    QStringList names, captions;
    for (QAction* a : form.PopupMenu1->actions())
        names << a->objectName(), captions << a->text();
    // The specified entries in their order, then the learning record's window last.
    QCOMPARE(names, QStringList({ "N1", "N2", "N3", "N4", "N861", "N5", "N6" }));
    QCOMPARE(captions,
        QStringList({ "软件更新", "关于软件说明", "标准键盘键位图", "数字键盘指法图", "五笔字根图86版", "五笔字型简述",
            "练习记录" }));
}

void TestMainWindow::tabOrder()
{
    WindowFixture f;
    TForm1& form = *f.form;
    const QList<QWidget*> order = { form.Button1, form.Button2, form.Edit1 };
    QCOMPARE(form.Button1->nextInFocusChain(), form.Button2);
    QCOMPARE(form.Button2->nextInFocusChain(), form.Edit1);
    QWidget* w = form.Edit1->nextInFocusChain();
    QCOMPARE(w->parentWidget(), form.RadioGroup1);
    QCOMPARE(form.CheckBox1->nextInFocusChain(), form.CheckBox2);
    QCOMPARE(form.Button4->nextInFocusChain(), form.Button5);
    QCOMPARE(form.Button5->nextInFocusChain(), form.Button6);
    QCOMPARE(form.Button6->nextInFocusChain(), form.CheckBox1);
}

void TestMainWindow::missingPlainTableEndsTheProgram_data()
{
    QTest::addColumn<QString>("file");
    QTest::addRow("wb1.dat") << "wb1.dat";
    QTest::addRow("wb2.dat") << "wb2.dat";
}

void TestMainWindow::missingPlainTableEndsTheProgram()
{
    QFETCH(QString, file);
    WindowFixture f;
    f.dir.remove(file);
    f.music->calls.clear();
    f.messages.clear();
    TForm1& form = f.create(false);
    QCOMPARE(f.messages.messages.size(), 1);
    QCOMPARE(f.messages.messages[0].text, QStringLiteral("打开字库失败！"));
    QCOMPARE(f.messages.messages[0].title, QStringLiteral("失败"));
    QCOMPARE(f.messages.messages[0].icon, Platform::MessageIcon::None);
    QVERIFY(form.terminateRequested());
    QVERIFY(!form.tables.wb.allocated()); // nothing after the failing file is opened
    if (file == "wb1.dat")
        QVERIFY(!form.tables.wb2.allocated());
    QVERIFY(f.music->calls.isEmpty()); // no music
    QCOMPARE(form.sound.playMp3Flag, 0); // no setting read
}

void TestMainWindow::missingEncipheredTableIsReportedAndTheProgramRunsOn()
{
    WindowFixture f;
    f.dir.remove("wbzg.dat");
    f.messages.clear();
    TForm1& form = f.create();
    QCOMPARE(f.messages.messages.size(), 1);
    const QString text = f.messages.messages[0].text;
    QVERIFY2(text.contains(f.dir.path() + "wbzg.dat"), qPrintable(text));
    QVERIFY2(text.contains(QString::fromLocal8Bit(strerror(ENOENT))), qPrintable(text));
    QVERIFY(!form.terminateRequested());
    QCOMPARE(form.tables.wb.count, 4);
    QCOMPARE(form.tables.wbzg.count, 0);
    QCOMPARE(form.tables.py.count, 0);
    QVERIFY(!form.tables.py.allocated());
    QVERIFY(form.isVisible());
    // The switches are read all the same, so the boxes say what is heard.
    QCOMPARE(form.sound.playMp3Flag, 1);
    QCOMPARE(form.sound.playWavFlag, 1);
}

void TestMainWindow::closingFreesTheTables()
{
    WindowFixture f;
    QVERIFY(f.form->tables.wb.allocated());
    f.form->Button4Click();
    QVERIFY(!f.form->isVisible());
    QVERIFY(!f.form->tables.wb.allocated());
    QVERIFY(!f.form->tables.py.allocated());
}

void TestMainWindow::inputBoxRefusesTheInputMethod()
{
    WindowFixture f;
    QCOMPARE(f.form->Edit1->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中"));
    QCoreApplication::sendEvent(f.form->Edit1, &commit);
    QVERIFY(f.form->Edit1->text().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
