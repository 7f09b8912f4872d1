// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase drill end to end on the real main window: chosen from the further-practice menu,
// typed through the window's key handlers, hinted, shown in both faces, ended.

#include "tests/TestSupport.h"

#include "app/InputBox.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

class TestPhraseDrill : public QObject {
    Q_OBJECT
private slots:
    void buttonAndMenu();
    void drillRunsFromTheMenu();
    void typedCodesHitAndMiss();
    void hintsShowTheLettersOfEachCharacter();
    void phrasesFitTheirSlots_data();
    void phrasesFitTheirSlots();
    void fullScreenFace();
    void endRestoresTheSlots();
    void choosingAModeLeavesTheDrill();
    void damagedPhraseTable_data();
    void damagedPhraseTable();
    void menuIsClosedDuringASession();
};

namespace {

// Puts a known phrase into a slot and its label, whatever the draw gave.
void setPhrase(WindowFixture& f, int k, const std::string& code, const std::string& utf8)
{
    auto& s = f.form->bank.phraseSlots[size_t(k)];
    s.code = code;
    s.text = Gbk(utf8);
    s.characters = int(QString::fromStdString(utf8).size());
    s.hintStep = 1;
    f.form->SlotLabel(k)->setText(QString::fromStdString(utf8));
}

void chooseDrill(WindowFixture& f, int time = 0)
{
    f.form->SetItemIndex(f.form->RadioGroup2, time);
    f.form->N7->trigger();
}

const QStringList smallPhrases { "中国", "工艺", "共和国", "操作系统", "中华人民共和国" };

}

void TestPhraseDrill::buttonAndMenu()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.Button7->objectName(), QStringLiteral("Button7"));
    QCOMPARE(form.Button7->geometry(), QRect(880, 468, 66, 29));
    QCOMPARE(form.Button7->text(), QStringLiteral("进阶"));
    QCOMPARE(form.Button7->font(), form.Button5->font());
    QCOMPARE(form.PopupMenu2->objectName(), QStringLiteral("PopupMenu2"));
    QCOMPARE(form.PopupMenu2->actions().value(0)->text(), QStringLiteral("词组练习"));
    // The help button and its menu are where they were.
    QCOMPARE(form.Button5->geometry(), QRect(800, 468, 66, 29));
    form.Button7Click();
    QTRY_VERIFY(form.PopupMenu2->isVisible());
    QVERIFY(form.N7->isEnabled());
    form.PopupMenu2->hide();
    QVERIFY(f.messages.messages.isEmpty());
}

void TestPhraseDrill::drillRunsFromTheMenu()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(form.CurrentMode(), Mode::Phrases);
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QVERIFY(form.Button2->isEnabled());
    QCOMPARE(form.Label6->text(), QStringLiteral("词组练习"));
    QVERIFY(form.RadioGroup1->isHidden());
    QVERIFY(form.Edit1->hasFocus());
    for (int k = 1; k <= 4; ++k) {
        const QString shown = form.SlotLabel(k)->text().remove(QLatin1Char('\n'));
        QVERIFY2(smallPhrases.contains(shown), qPrintable(shown));
        QCOMPARE(Platform::FromGbk(form.bank.phraseSlots[size_t(k)].text), shown);
    }
    QVERIFY(f.music->calls.contains("open " + f.dir.path() + "Test0.mp3"));
}

void TestPhraseDrill::typedCodesHitAndMiss()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    setPhrase(f, 1, "AAAN", "工艺");
    setPhrase(f, 2, "KHLG", "中国");
    setPhrase(f, 3, "KHLG", "中国");
    setPhrase(f, 4, "KWWL", "中华人民共和国");
    f.hitSounds.clear();

    // A wrong four-letter code is taken back at its fourth letter and counts nothing; as in
    // the character drill, that letter then stands in the box.
    f.type("aaaa");
    QCOMPARE(form.Edit1->text(), QStringLiteral("a"));
    f.type("\b");
    QCOMPARE(form.inputHitCount, 0);
    QVERIFY(f.hitSounds.isEmpty());

    // The fourth letter submits: the leftmost slot with the code is hit, flashes, is redrawn.
    f.type("khl");
    QCOMPARE(form.Edit1->text(), QStringLiteral("khl"));
    f.type("g");
    QCOMPARE(form.Edit1->text(), QString());
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(f.hitSounds.size(), 1);
    QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(form.Label2->text(), QStringLiteral("中国")); // still the phrase just typed
    QCOMPARE(form.Label3->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    form.Timer4Timer();
    QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(form.Label2->text().remove(QLatin1Char('\n')), Platform::FromGbk(form.bank.phraseSlots[2].text));

    // Upper-case typing and a long phrase's code.
    f.type("KWWL");
    QCOMPARE(form.inputHitCount, 2);
    // A space before four letters submits what is there: no phrase code is that short.
    f.type("aa ");
    QCOMPARE(form.inputHitCount, 2);
    QCOMPARE(form.Edit1->text(), QStringLiteral(" "));

    f.tick(30);
    form.Button2Click();
    QCOMPARE(form.Label6->text(), QStringLiteral("词组练习：速度：4词/分,总数：2个词组。"));
    // The two wrong codes count against the accuracy, as a wrong character's code does.
    QCOMPARE(form.Label6->toolTip(), QStringLiteral("正确率：50.0%（打对2，打错2）"));
}

void TestPhraseDrill::hintsShowTheLettersOfEachCharacter()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    setPhrase(f, 1, "AAAN", "工艺");
    setPhrase(f, 2, "KHLG", "中国");
    setPhrase(f, 3, "KWWL", "中华人民共和国");
    setPhrase(f, 4, "ATLG", "共和国");

    QTest::keyClick(form.Edit1, Qt::Key_F1);
    QCOMPARE(form.Label5->text(), QStringLiteral("AAAN"));
    QCOMPARE(form.Label9->text(), QStringLiteral("AAAN  工AA + 艺AN"));
    QVERIFY(form.Label9->isVisible());
    // The hint lies between the slots and the bottom row, clear of both.
    QVERIFY(form.Label9->y() >= form.Label1->y() + form.Label1->height());
    QVERIFY(form.Label9->y() + form.Label9->height() <= form.Image1->y());
    QVERIFY(form.Label9->x() >= 0 && form.Label9->x() + form.Label9->width() <= form.width());
    // Neither character has a picture in the test tables.
    QVERIFY(form.Image1->pixmap().isNull());

    // 国 is record 4 of the character table: picture 4, at every press, as 中 has none.
    QTest::keyClick(form.Edit1, Qt::Key_F2);
    QCOMPARE(form.Label9->text(), QStringLiteral("KHLG  中KH + 国LG"));
    QCOMPARE(form.Label5->text(), QStringLiteral("KHLG"));
    if (!form.Image1->pixmap().isNull()) { // pictures are part of the build
        const QImage first = form.Image1->pixmap().toImage();
        QTest::keyClick(form.Edit1, Qt::Key_F2);
        QCOMPARE(form.Image1->pixmap().toImage(), first);
    }
    QVERIFY(f.messages.messages.isEmpty());

    QTest::keyClick(form.Edit1, Qt::Key_F3);
    QCOMPARE(form.Label9->text(), QStringLiteral("KWWL  中K + 华W + 人W + … + 国L"));
    QTest::keyClick(form.Edit1, Qt::Key_F4);
    QCOMPARE(form.Label9->text(), QStringLiteral("ATLG  共A + 和T + 国LG"));
    // Hints count nothing and leave the box alone.
    QCOMPARE(form.inputHitCount, 0);
    QCOMPARE(form.Edit1->text(), QString());
}

void TestPhraseDrill::phrasesFitTheirSlots_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("window") << false;
    QTest::newRow("full screen") << true;
}

void TestPhraseDrill::phrasesFitTheirSlots()
{
    QFETCH(bool, fullScreen);
    WindowFixture f;
    TForm1& form = *f.form;
    if (fullScreen) {
        form.Button6Click();
        QCoreApplication::processEvents();
    }
    chooseDrill(f);
    const char* phrases[] = { "中国", "共和国", "操作系统", "中华人民共和国" };
    const char* codes[] = { "KHLG", "ATLG", "RWTX", "KWWL" };
    for (int k = 1; k <= 4; ++k) {
        f.form->bank.phraseSlots[size_t(k)]
            = { codes[k - 1], Gbk(phrases[k - 1]), int(QString(phrases[k - 1]).size()), 1 };
        form.EffectTimer(k)->start();
        QMetaObject::invokeMethod(form.EffectTimer(k), "timeout");
    }
    const int cell = form.Label1->height();
    QCOMPARE(cell, fullScreen ? 404 : 200);
    int sizes[5] = {};
    for (int k = 1; k <= 4; ++k) {
        QLabel* slot = form.SlotLabel(k);
        const QStringList lines = slot->text().split(QLatin1Char('\n'));
        const QFontMetrics metrics(slot->font());
        sizes[k] = slot->font().pixelSize();
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= slot->width(), qPrintable(line));
        QVERIFY(metrics.height() * lines.size() <= slot->height());
        QCOMPARE(slot->text().remove(QLatin1Char('\n')), QString::fromUtf8(phrases[k - 1]));
        // Still large: at least a fifth of the slot for the longest phrase.
        QVERIFY2(sizes[k] >= cell / 5, qPrintable(QString::number(sizes[k])));
    }
    QCOMPARE(form.Label4->text(), QStringLiteral("中华人民\n共和国"));
    QCOMPARE(form.Label3->text(), QStringLiteral("操作\n系统"));
    QVERIFY(sizes[1] >= sizes[2]);
    QVERIFY(sizes[2] >= sizes[4]);
    QVERIFY(sizes[1] >= cell * 4 / 10);
}

void TestPhraseDrill::fullScreenFace()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    setPhrase(f, 1, "KHLG", "中国");
    QMetaObject::invokeMethod(form.Timer3, "timeout");
    const int windowSize = form.Label1->font().pixelSize();
    QTest::keyClick(form.Edit1, Qt::Key_F1);
    form.Button6Click();
    QCoreApplication::processEvents();
    QCOMPARE(form.geometry(), QRect(0, 0, 1920, 1080));
    // Button7 keeps its place beside 帮助: d + 880, at 帮助's top.
    QCOMPARE(form.Button7->pos(), QPoint(479 + 880, form.Button5->y()));
    QCOMPARE(form.Button5->pos(), QPoint(1279, 1028));
    // The phrase grows with its slot, and the hint follows the slots down.
    QVERIFY(form.Label1->font().pixelSize() > windowSize * 3 / 2);
    QCOMPARE(form.Label1->text(), QStringLiteral("中国"));
    QVERIFY(form.Label9->y() >= form.Label1->y() + form.Label1->height());
    QVERIFY(form.Label9->y() + form.Label9->height() <= form.Image1->y());
    // Typing goes on in the new face.
    f.type("khlg");
    QCOMPARE(form.inputHitCount, 1);

    form.Button6Click();
    QCoreApplication::processEvents();
    QCOMPARE(form.Button7->pos(), QPoint(880, 468));
    QCOMPARE(form.Label1->font().pixelSize(), windowSize);
}

void TestPhraseDrill::endRestoresTheSlots()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    QTest::keyClick(form.Edit1, Qt::Key_F1);
    form.Button2Click();
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(form.SlotLabel(k)->text(), QStringLiteral("完"));
        QCOMPARE(form.SlotLabel(k)->font().pixelSize(), 200);
        QCOMPARE(form.SlotLabel(k)->alignment(), Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop);
    }
    QVERIFY(form.Label9->isHidden());
    QVERIFY(form.RadioGroup1->isVisible());
    // Start again repeats the drill.
    form.Button1Click();
    QCOMPARE(form.Label6->text(), QStringLiteral("词组练习"));
    form.Button2Click();
    // A character mode next shows characters at the full slot size.
    f.start(Mode::WubiChars);
    QCOMPARE(form.CurrentMode(), Mode::WubiChars);
    QCOMPARE(form.Label1->font().pixelSize(), 200);
    QCOMPARE(form.Label1->alignment(), Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop);
}

void TestPhraseDrill::choosingAModeLeavesTheDrill()
{
    WindowFixture f;
    TForm1& form = *f.form;
    chooseDrill(f);
    form.Button2Click();
    QCOMPARE(form.CurrentMode(), Mode::Phrases);
    QCOMPARE(form.ItemIndex(form.RadioGroup1), -1);
    QTest::mouseClick(form.RadioGroup1->findChildren<QRadioButton*>().at(7), Qt::LeftButton);
    QCOMPARE(form.CurrentMode(), Mode::WubiChars);
    QVERIFY(!form.phraseDrillChosen);
}

void TestPhraseDrill::damagedPhraseTable_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "wbcz.dat" << QByteArray("-") << "Cannot open file \"%1wbcz.dat\".";
    QTest::newRow("empty") << "wbcz.dat" << QByteArray() << "The code table \"%1wbcz.dat\" is empty.";
    QTest::newRow("cut short") << "wbcz.dat" << QByteArray(40, 'a') << "The code table \"%1wbcz.dat\" is cut short";
    QTest::newRow("damaged") << "wbcz.dat" << QByteArray(32, 'a')
                             << "The code table \"%1wbcz.dat\" is damaged: record 1 has no weight.";
    QTest::newRow("codes missing") << "wbzd.dat" << QByteArray("-") << "Cannot open file \"%1wbzd.dat\".";
}

void TestPhraseDrill::damagedPhraseTable()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    WindowFixture f;
    if (bytes == "-")
        f.dir.remove(file);
    else
        f.dir.writeFile(file, bytes.toStdString());
    f.messages.clear();
    f.create();
    // One clear report at start-up naming the file; the program runs on.
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(f.messages.texts().at(0).startsWith(message.arg(f.dir.path())), qPrintable(f.messages.texts().at(0)));
    TForm1& form = *f.form;
    QVERIFY(!form.terminateRequested());
    // The other practice is unaffected.
    f.messages.clear();
    f.start(Mode::WubiChars);
    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    form.Button2Click();
    // The drill refuses to start without phrases, and says which file it lacks.
    form.SetItemIndex(form.RadioGroup1, -1);
    chooseDrill(f);
    if (file == QLatin1String("wbcz.dat")) {
        QCOMPARE(f.messages.texts(), QStringList { "练习数据“wbcz.dat”没有可用的内容，无法开始这项练习。" });
        QCOMPARE(form.Button1->text(), QStringLiteral("开始"));
    } else {
        QVERIFY(f.messages.messages.isEmpty());
        QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    }
}

void TestPhraseDrill::menuIsClosedDuringASession()
{
    WindowFixture f;
    TForm1& form = *f.form;
    f.start(Mode::WubiChars);
    form.Button7Click();
    QVERIFY(!form.N7->isEnabled());
    form.PopupMenu2->hide();
    // Even if triggered, the running session stays as it is.
    form.N7Click();
    QCOMPARE(form.CurrentMode(), Mode::WubiChars);
    QCOMPARE(form.Label6->text(), QStringLiteral("五笔练习"));
    form.Button2Click();
    form.Button7Click();
    QVERIFY(form.N7->isEnabled());
    form.PopupMenu2->hide();
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
    TestPhraseDrill test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_phrasedrill.moc"
