// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

#include "session/Judge.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "app/InputBox.h"

namespace {
QString txt(const std::string& gbk) { return Platform::FromGbk(gbk); }

bool idle(const TForm1& form)
{
    return form.Button1->text() == "开始" && !form.Timer1->isActive() && !form.Button2->isEnabled()
        && !form.RadioGroup1->isHidden() && !form.RadioGroup2->isHidden() && !form.CheckBox1->isHidden()
        && !form.CheckBox2->isHidden();
}
}

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void startRefusesWithoutChoices();
    void startRefusesWithoutData();
    void startDamagedRecordLeavesSessionIdle();
    void startShowsTheSession_data();
    void startShowsTheSession();
    void oneMinuteEndsAtTheSixtiethTick();
    void pauseTimeIsNotCounted();
    void endBeforeTheFirstTickReportsZero();
    void timeUpUsesItsOwnPrefixInPinyin();
    void fiveHourSession();
    void realClockTicks();
    void musicFailureNeverStopsTheSession();
    void musicFollowsThePhases();

    void singleKeyHitsAndFolding();
    void singleKeyJudgedWhereverTheFocusIs();
    void singleKeyJudgedOnceWhereverTheFocusIs_data();
    void singleKeyJudgedOnceWhereverTheFocusIs();
    void digitsMode();
    void pinyinHitAndMiss();
    void rootsEveryKeyIsAnAttempt();
    void level1And2();
    void level2RefillWithDamagedPictureStopsTheHit();
    void wubiAutoSubmitAndLeftmost();
    void wubiBackspaceAndEnterSubmitThree();
    void wubiBlankLeftByAMissCounts();
    void filterDiscardsDigitsAndEnter();
    void pinyinFollowTarget();
    void wubiFollowGuide();
    void hitsAfterEndStillCount();

    void effectTurnsRedThenBlack();
    void secondHitDoesNotDelayTheEffect();
    void pendingEffectOverwritesFinished();
    void closeDuringSession();
};

void TestSession::startRefusesWithoutChoices()
{
    WindowFixture f;
    f.form->Button1Click();
    QCOMPARE(f.messages.texts(), QStringList { "请选择打字类型" });
    QCOMPARE(f.messages.messages[0].title, QStringLiteral("提示"));
    QCOMPARE(f.messages.messages[0].icon, Platform::MessageIcon::Information);
    f.messages.clear();
    f.form->SetItemIndex(f.form->RadioGroup1, 3);
    f.form->Button1Click();
    QCOMPARE(f.messages.texts(), QStringList { "请选择测试时间" });
    QVERIFY(idle(*f.form));
    QCOMPARE(f.form->Label1->text(), QStringLiteral("练"));
}

void TestSession::startRefusesWithoutData()
{
    WindowFixture f;
    f.dir.remove("py.dat");
    f.create();
    f.messages.clear();
    f.start(Mode::Pinyin);
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY(f.messages.messages[0].text.contains("py.dat"));
    QCOMPARE(f.messages.messages[0].title, QStringLiteral("提示"));
    QVERIFY(idle(*f.form));
    QCOMPARE(f.form->Label1->text(), QStringLiteral("练"));
    // Other modes still start.
    f.messages.clear();
    f.start(Mode::WubiChars);
    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
}

void TestSession::startDamagedRecordLeavesSessionIdle()
{
    TestTables t = TestTables::Small();
    for (auto& r : t.wb2)
        r.picture = "12ab";
    WindowFixture f(t);
    f.music->calls.clear();
    f.start(Mode::Level2);
    QCOMPARE(f.messages.texts(), QStringList { "'12ab' is not a valid integer value" });
    QVERIFY(idle(*f.form));
    QCOMPARE(f.form->Label1->text(), QStringLiteral("练"));
    QVERIFY(f.form->Label6->text().isEmpty());
    QVERIFY(f.music->calls.isEmpty());
}

void TestSession::startShowsTheSession_data()
{
    QTest::addColumn<int>("mode");
    for (int m = 0; m < 10; ++m)
        QTest::addRow("mode %d", m) << m;
}

void TestSession::startShowsTheSession()
{
    QFETCH(int, mode);
    WindowFixture f;
    f.start(mode, 1);
    TForm1& form = *f.form;
    // Only the guide picture of Wubi follow-typing may be missing, in a build without pictures.
    for (const auto& m : f.messages.messages)
        QVERIFY2(mode == Mode::WubiFollow && m.text.startsWith("Resource MywbGIF"), qPrintable(m.text));
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停"));
    QVERIFY(form.Button2->isEnabled());
    QVERIFY(form.Timer1->isActive());
    QVERIFY(form.RadioGroup1->isHidden() && form.RadioGroup2->isHidden());
    QVERIFY(form.CheckBox1->isHidden() && form.CheckBox2->isHidden());
    QCOMPARE(form.Label6->text(), form.ItemCaption(form.RadioGroup1, mode));
    QCOMPARE(form.testSeconds, 300);
    QCOMPARE(form.sessionMode, mode);
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(form.SlotLabel(k)->text(), form.SlotText(mode, k));
        QVERIFY(!form.SlotText(mode, k).isEmpty());
    }
    if (mode < 3) {
        const char* starts[] = { "ABCD", "abcd", "1234" };
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(form.SlotLabel(k)->text(), QString(QChar(starts[mode][k - 1])));
    }
    QCOMPARE(form.Label8->isVisible(), mode == Mode::PinyinFollow);
    if (mode == Mode::PinyinFollow) {
        QCOMPARE(form.Label5->text(), txt(AsciiLower(form.bank.pySlots[1].pinyin)));
        QCOMPARE(form.Label8->text(), txt(form.bank.pySlots[1].text));
        QVERIFY(form.Label8->isEnabled());
    } else if (mode == Mode::WubiFollow) {
        QCOMPARE(form.Label5->text(), txt(form.bank.wbSlots[1].codes[1]));
    } else {
        QVERIFY(form.Label5->text().isEmpty());
    }
    if (mode >= 3)
        QCOMPARE(QApplication::focusWidget(), form.Edit1);
}

void TestSession::oneMinuteEndsAtTheSixtiethTick()
{
    WindowFixture f;
    f.start(Mode::UpperLetters, 0);
    f.tick(59);
    QCOMPARE(f.form->Label7->text(), QStringLiteral("0:0:59"));
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
    f.tick();
    TForm1& form = *f.form;
    QCOMPARE(form.Label7->text(), QStringLiteral("0:1:0"));
    QVERIFY(idle(form));
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(form.SlotLabel(k)->text(), QStringLiteral("完"));
    QCOMPARE(form.Label6->text(), QStringLiteral("大写字母练习：速度：0字/分,总数：0个字。"));
    QVERIFY(!form.KeyPreview);
    QVERIFY(form.Edit1->isEnabled());
}

void TestSession::pauseTimeIsNotCounted()
{
    WindowFixture f;
    f.start(Mode::Pinyin, 0);
    f.setPinyin(1, "NAN", "男");
    f.tick(20);
    f.type("nan ");
    f.form->Button1Click(); // pause
    QCOMPARE(f.form->Button1->text(), QStringLiteral("继续"));
    QVERIFY(!f.form->Timer1->isActive());
    QVERIFY(!f.form->Edit1->isEnabled());
    QCOMPARE(f.music->calls.last(), QStringLiteral("pause"));
    f.form->Button1Click(); // continue
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
    QVERIFY(f.form->Timer1->isActive());
    QVERIFY(f.form->Edit1->isEnabled());
    QCOMPARE(f.music->calls.last(), QStringLiteral("resume"));
    f.tick(20);
    f.form->Button1Click(); // pause again, then end while paused
    f.form->Button2Click();
    QCOMPARE(f.form->Label6->text(), QStringLiteral("拼音练习：速度：2字/分,总数：1个字。")); // 1 in 40 s: 1.5 -> 2
    QCOMPARE(f.form->elapsedSeconds, 0);
    QVERIFY(idle(*f.form));
    QVERIFY(f.form->Edit1->isEnabled());
    QVERIFY(f.form->Edit1->text().isEmpty());
}

void TestSession::endBeforeTheFirstTickReportsZero()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    QTest::keyClicks(f.form->Edit1, "A");
    QCOMPARE(f.form->keyHitCount, 1);
    f.form->Button2Click();
    QCOMPARE(f.form->Label6->text(), QStringLiteral("大写字母练习：速度：0字/分,总数：1个字。"));
    QVERIFY(f.messages.messages.isEmpty());
}

void TestSession::timeUpUsesItsOwnPrefixInPinyin()
{
    WindowFixture f;
    f.start(Mode::Pinyin, 0);
    f.tick(60);
    QVERIFY(f.form->Label6->text().startsWith(QStringLiteral("拼音测试：速度：")));
    QCOMPARE(f.form->elapsedSeconds, 60);
    f.start(Mode::Pinyin, 0);
    f.form->Button2Click();
    QVERIFY(f.form->Label6->text().startsWith(QStringLiteral("拼音练习：速度：")));
}

void TestSession::fiveHourSession()
{
    WindowFixture f;
    f.start(Mode::WubiChars, 7);
    QCOMPARE(f.form->testSeconds, 18000);
    f.form->inputHitCount = 54000;
    f.tick(17999);
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
    f.tick();
    QCOMPARE(f.form->Label7->text(), QStringLiteral("5:0:0"));
    QCOMPARE(f.form->Label6->text(), QStringLiteral("五笔汉字练习：速度：180字/分,总数：54000个字。"));
    QVERIFY(idle(*f.form));
    QCOMPARE(f.form->elapsedSeconds, 18000);
}

void TestSession::realClockTicks()
{
    WindowFixture f;
    f.start(Mode::Digits, 0);
    // The clock is the window's own one-second timer: running, and its tick is the handler.
    QVERIFY(f.form->Timer1->isActive());
    QCOMPARE(f.form->Timer1->interval(), 1000);
    FireTimer(f.form->Timer1);
    QCOMPARE(f.form->Label7->text(), QStringLiteral("0:0:1"));
    QCOMPARE(f.form->elapsedSeconds, 1);
}

void TestSession::musicFailureNeverStopsTheSession()
{
    WindowFixture f;
    f.music->unopenable = { "Test0.mp3", "Test1.mp3" };
    f.messages.clear();
    f.start(Mode::WubiChars, 0);
    QCOMPARE(f.messages.messages.size(), 1);
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
    QVERIFY(f.form->Button2->isEnabled());
    f.tick(60);
    QVERIFY2(f.messages.messages.size() == 2, qPrintable(f.messages.texts().join(" | ")));
    QVERIFY(idle(*f.form));
    QCOMPARE(f.form->Label1->text(), QStringLiteral("完"));
    QVERIFY(!f.form->Timer1->isActive()); // time-up happened once, and the clock stopped
}

void TestSession::musicFollowsThePhases()
{
    WindowFixture f;
    const QString dir = f.dir.path();
    QCOMPARE(f.music->calls, QStringList({ "open " + dir + "Test1.mp3", "play" }));
    f.music->calls.clear();
    f.start(Mode::Roots, 0);
    QCOMPARE(f.music->calls, QStringList({ "stop", "open " + dir + "Test0.mp3", "play" }));
    f.music->calls.clear();
    f.form->Button1Click();
    f.form->Button1Click();
    QCOMPARE(f.music->calls, QStringList({ "pause", "resume" }));
    f.music->calls.clear();
    f.form->Button2Click();
    QCOMPARE(f.music->calls, QStringList({ "stop", "open " + dir + "Test1.mp3", "play" }));
    f.music->calls.clear();
    f.start(Mode::Roots, 0);
    f.tick(60);
    QCOMPARE(f.music->calls.mid(3), QStringList({ "stop", "open " + dir + "Test1.mp3", "play" }));
    // Music switched off: the phases leave the player alone (a stopped one stays stopped).
    f.form->CheckBox1->setChecked(true);
    f.form->sound.PlayMusic("Test1.mp3"); // silences what still plays
    f.music->calls.clear();
    f.start(Mode::Roots, 0);
    f.form->Button1Click();
    f.form->Button1Click();
    f.form->Button2Click();
    QVERIFY(f.music->calls.isEmpty());
}

void TestSession::singleKeyHitsAndFolding()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    f.form->Edit1->setFocus();
    QTest::keyClicks(f.form->Edit1, "a");
    TForm1& form = *f.form;
    QCOMPARE(form.keyHitCount, 1);
    QCOMPARE(form.Edit1->text(), QStringLiteral("A"));
    QVERIFY(form.bank.keySlots[1] != "A");
    QVERIFY(form.bank.keySlots[1].size() == 1 && form.bank.keySlots[1][0] >= 'A' && form.bank.keySlots[1][0] <= 'Z');
    QCOMPARE(form.Label1->text(), QStringLiteral("A")); // still the typed item, in red
    QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(form.Timer3->isActive());
    QCOMPARE(f.hitSounds.size(), 1);
    QTest::keyClicks(form.Edit1, "1z");
    QCOMPARE(form.keyHitCount, form.bank.keySlots[1] == "Z" ? 2 : 1); // digits never hit
    // Lower case mode folds the other way.
    form.Button2Click();
    f.start(Mode::LowerLetters);
    form.Edit1->clear();
    QTest::keyClicks(form.Edit1, "C");
    QCOMPARE(form.keyHitCount, 1);
    QCOMPARE(form.Edit1->text(), QStringLiteral("c"));
    QVERIFY(form.Timer5->isActive());
}

void TestSession::singleKeyJudgedWhereverTheFocusIs()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    f.form->Button2->setFocus();
    QTest::keyClicks(f.form->Button2, "b");
    QCOMPARE(f.form->keyHitCount, 1);
    QVERIFY(f.form->Timer4->isActive());
    QVERIFY(f.form->Edit1->text().isEmpty());
    f.form->Button2->clearFocus();
    QTest::keyClicks(f.form.get(), "c"); // no child holds the focus: the window's own handler alone
    QCOMPARE(f.form->keyHitCount, 2);
    QTest::keyClick(f.form->Edit1, Qt::Key_D, Qt::AltModifier); // an accelerator, not typing
    QCOMPARE(f.form->keyHitCount, 2);
    f.form->Button1Click(); // pause: no key is judged
    QTest::keyClicks(f.form->Button2, "c");
    QCOMPARE(f.form->keyHitCount, 2);
}

void TestSession::singleKeyJudgedOnceWhereverTheFocusIs_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("focus");
    const struct {
        int mode;
        const char *item, *typed, *name;
    } keys[] = {
        { Mode::UpperLetters, "B", "b", "upper, folded" },
        { Mode::UpperLetters, "B", "B", "upper" },
        { Mode::LowerLetters, "b", "B", "lower, folded" },
        { Mode::Digits, "2", "2", "digits" },
    };
    for (const auto& k : keys)
        for (const char* focus : { "Button1", "Edit1", "radio", "none" })
            QTest::addRow("%s, focus %s", k.name, focus) << k.mode << k.item << k.typed << focus;
}

// Two slots show the same item and one key is typed: the leftmost is hit, once. A key the
// focused control ignores travels on to the window, which must not judge it a second time.
void TestSession::singleKeyJudgedOnceWhereverTheFocusIs()
{
    QFETCH(int, mode);
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(QString, focus);
    WindowFixture f;
    TForm1& form = *f.form;
    f.start(mode);
    const std::string same = item.toStdString();
    form.bank.keySlots[1] = same;
    form.bank.keySlots[2] = same;
    QWidget* target = &form;
    if (focus == "radio") {
        // The radio buttons show between sessions; 全屏 switches the judge on there too.
        form.Button2Click();
        form.Button6Click();
        QVERIFY(form.KeyPreview);
        target = form.RadioGroup1->findChildren<QRadioButton*>().at(mode);
    } else if (focus != "none") {
        target = form.findChild<QWidget*>(focus);
    }
    if (target == &form) {
        if (QWidget* focused = form.focusWidget())
            focused->clearFocus();
        QCOMPARE(form.focusWidget(), nullptr);
    } else {
        target->setFocus();
        QCOMPARE(form.focusWidget(), target);
    }
    const int soundsBefore = int(f.hitSounds.size());
    QTest::keyClicks(target, typed);
    QCOMPARE(form.keyHitCount, 1);
    QCOMPARE(f.hitSounds.size() - soundsBefore, 1);
    QVERIFY(form.bank.keySlots[1] != same);
    QCOMPARE(form.bank.keySlots[2], same);
    QVERIFY(form.Timer3->isActive());
    QVERIFY(!form.Timer4->isActive());
}

void TestSession::digitsMode()
{
    WindowFixture f;
    f.start(Mode::Digits);
    f.form->bank.keySlots[3] = "9";
    QTest::keyClicks(f.form->Edit1, "a9");
    QCOMPARE(f.form->keyHitCount, 1);
    QVERIFY(f.form->bank.keySlots[3] != "9");
    QCOMPARE(f.form->Edit1->text(), QStringLiteral("9"));
}

void TestSession::pinyinHitAndMiss()
{
    WindowFixture f;
    f.start(Mode::Pinyin);
    TForm1& form = *f.form;
    f.setPinyin(1, "NV", "女");
    f.setPinyin(2, "NAN", "男");
    f.setPinyin(3, "NAN", "男");
    f.setPinyin(4, "LE", "了");
    f.type("NAn ");
    QCOMPARE(form.inputHitCount, 1);
    QVERIFY(form.Edit1->text().isEmpty());
    QCOMPARE(form.Label2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(form.Label3->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QVERIFY(form.Timer4->isActive() && !form.Timer5->isActive());
    f.type("lee ");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(form.Edit1->text(), QStringLiteral(" ")); // a missed space leaves its blank
    QCOMPARE(f.hitSounds.size(), 1);
}

void TestSession::rootsEveryKeyIsAnAttempt()
{
    WindowFixture f;
    f.start(Mode::Roots);
    TForm1& form = *f.form;
    for (int k = 1; k <= 4; ++k)
        form.bank.wbzgSlots[size_t(k)] = { "S", Gbk("木") };
    form.bank.wbzgSlots[3] = { "G", Gbk("王") };
    form.Edit1->setText("xy");
    f.type("g");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(form.Edit1->text(), QStringLiteral("g")); // set to the key, which was consumed
    QVERIFY(form.Timer5->isActive());
    f.type("q");
    QCOMPARE(form.Edit1->text(), QStringLiteral("qq")); // a miss: the key is typed as well
    f.type(" \b");
    QCOMPARE(form.inputHitCount, 1);
    // The last root record (the filler) is never drawn.
    for (int i = 0; i < 200; ++i) {
        form.bank.Refill(Mode::Roots, 1);
        QVERIFY(!form.bank.wbzgSlots[1].code.empty());
    }
}

void TestSession::level1And2()
{
    WindowFixture f;
    f.start(Mode::Level1);
    TForm1& form = *f.form;
    form.bank.wb1Slots[2] = { "G", Gbk("一") };
    f.type("g ");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(f.hitSounds.size(), 1);
    form.Button2Click();
    f.start(Mode::Level2);
    form.bank.wb2Slots[4] = { "GF", Gbk("于"), 2 };
    f.type("gF ");
    QCOMPARE(form.inputHitCount, 1);
    QVERIFY(form.Timer6->isActive());
    QCOMPARE(f.hitSounds.size(), 1); // silent in this mode
}

void TestSession::level2RefillWithDamagedPictureStopsTheHit()
{
    TestTables t = TestTables::Small();
    WindowFixture f(t);
    f.start(Mode::Level2);
    TForm1& form = *f.form;
    // Damage the table behind the running session.
    std::string content = PlainWb2({ { "五", "gg", "x1  " } });
    form.tables.wb2.buffer.assign(content.begin(), content.end());
    form.tables.wb2.buffer.push_back('\0');
    form.tables.wb2.count = 1;
    form.bank.wb2Slots[1] = { "GD", Gbk("天"), 3 };
    f.type("gd ");
    QCOMPARE(f.messages.texts(), QStringList { "'x1' is not a valid integer value" });
    QCOMPARE(form.inputHitCount, 0);
    QVERIFY(form.Edit1->text().isEmpty()); // the key was consumed, the box emptied
    QVERIFY(!form.Timer3->isActive());
    QCOMPARE(form.bank.wb2Slots[1].code, std::string("GG"));
    QCOMPARE(form.bank.wb2Slots[1].pictureNo, 3);
}

void TestSession::wubiAutoSubmitAndLeftmost()
{
    WindowFixture f;
    f.start(Mode::WubiChars);
    TForm1& form = *f.form;
    f.setWubi(1, { "GGGG", "G", "", "" }, "一");
    f.setWubi(2, { "XCAG", "X", "XC", "LGYI" }, "经");
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国");
    f.setWubi(4, { "GGLL", "GG", "", "" }, "五");
    f.type("lgy");
    QCOMPARE(form.inputHitCount, 0);
    f.type("i");
    QCOMPARE(form.inputHitCount, 1); // the fourth code of slot 2 comes first
    QVERIFY(form.Timer4->isActive() && !form.Timer5->isActive());
    QVERIFY(form.Edit1->text().isEmpty());
    f.setWubi(2, { "XCAG", "X", "XC", "XCA" }, "经"); // whatever the refill drew
    f.type("x");
    QCOMPARE(form.inputHitCount, 1); // shorter codes wait for the space
    f.type(" ");
    QCOMPARE(form.inputHitCount, 2);
    form.Edit1->clear();
    f.type("ggll");
    QVERIFY(form.Timer6->isActive());
}

void TestSession::wubiBackspaceAndEnterSubmitThree()
{
    WindowFixture f;
    f.start(Mode::WubiChars);
    TForm1& form = *f.form;
    for (int k = 1; k <= 4; ++k)
        f.setWubi(k, { "GGLL", "GG", "", "" }, "五");
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国");
    f.type("lgy\b");
    QCOMPARE(form.inputHitCount, 1);
    QVERIFY(form.Edit1->text().isEmpty());
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国");
    f.type("lgy\r");
    QCOMPARE(form.inputHitCount, 2);
    f.type("abc\b");
    QCOMPARE(form.inputHitCount, 2);
    QVERIFY(form.Edit1->text().isEmpty()); // a miss: simply emptied
    f.type("abcd");
    QCOMPARE(form.Edit1->text(), QStringLiteral("d"));
}

void TestSession::wubiBlankLeftByAMissCounts()
{
    WindowFixture f;
    f.start(Mode::WubiChars);
    TForm1& form = *f.form;
    for (int k = 1; k <= 4; ++k)
        f.setWubi(k, { "GGLL", "GG", "", "XCA" }, "五");
    f.type("q ");
    QCOMPARE(form.Edit1->text(), QStringLiteral(" "));
    f.type("xca"); // " xc" makes three characters: the third letter submits
    QCOMPARE(form.inputHitCount, 1);
}

void TestSession::filterDiscardsDigitsAndEnter()
{
    WindowFixture f;
    f.start(Mode::Pinyin);
    f.type("n1,.a\r");
    QCOMPARE(f.form->Edit1->text(), QStringLiteral("na"));
    QCOMPARE(f.form->inputHitCount, 0);
    QKeyEvent chinese(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("男"));
    QCoreApplication::sendEvent(f.form->Edit1, &chinese);
    QCOMPARE(f.form->Edit1->text(), QStringLiteral("na"));
}

void TestSession::pinyinFollowTarget()
{
    WindowFixture f;
    f.start(Mode::PinyinFollow);
    TForm1& form = *f.form;
    f.setPinyin(1, "NV", "女");
    f.setPinyin(2, "NAN", "男");
    f.setPinyin(3, "LE", "了");
    f.setPinyin(4, "NV", "女");
    form.Label5->setText("nv");
    f.type("nan ");
    QCOMPARE(form.inputHitCount, 0); // not the target
    form.Edit1->clear();
    f.type("nv ");
    QCOMPARE(form.inputHitCount, 1);
    QVERIFY(form.Timer3->isActive()); // the leftmost of the two
    QCOMPARE(form.Label5->text(), QStringLiteral("nan"));
    QCOMPARE(form.Label8->text(), QStringLiteral("男"));
    // The target wraps from slot 4 to slot 1.
    form.Edit1KeyDown(115);
    QCOMPARE(form.Label5->text(), QStringLiteral("nv"));
    QCOMPARE(form.Label8->text(), QStringLiteral("女"));
    form.bank.pySlots[1] = { "ZHUANG", Gbk("庄") };
    form.bank.pySlots[2] = { "LE", Gbk("了") };
    form.bank.pySlots[3] = { "LE", Gbk("了") };
    f.type("nv ");
    QCOMPARE(form.inputHitCount, 2);
    QCOMPARE(form.Label5->text(), QStringLiteral("zhuang"));
    form.Button2Click();
    QVERIFY(!form.Label8->isVisible());
    QVERIFY(!form.Label8->isEnabled());
}

void TestSession::wubiFollowGuide()
{
    WindowFixture f;
    f.start(Mode::WubiFollow);
    TForm1& form = *f.form;
    f.setWubi(1, { "GGGG", "G", "", "" }, "一");
    f.setWubi(2, { "XCAG", "X", "XC", "" }, "经");
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国");
    f.setWubi(4, { "GGLL", "GG", "", "" }, "五");
    f.type("lgyi"); // any slot may be hit
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(form.Label5->text(), QStringLiteral("GGLL"));
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国"); // whatever the refill drew
    form.Edit1->clear();
    f.type("ggll");
    QCOMPARE(form.Label5->text(), txt(form.bank.wbSlots[1].codes[1]));
    QCOMPARE(form.inputHitCount, 2);
}

void TestSession::hitsAfterEndStillCount()
{
    WindowFixture f;
    f.start(Mode::Pinyin);
    f.form->Button2Click();
    f.setPinyin(2, "NAN", "男");
    f.form->Label2->setText("完");
    f.type("nan ");
    QCOMPARE(f.form->inputHitCount, 1);
    QCOMPARE(f.hitSounds.size(), 1);
}

void TestSession::effectTurnsRedThenBlack()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    QTest::keyClicks(f.form->Edit1, "C");
    QLabel* label = f.form->Label3;
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(label->text(), QStringLiteral("C"));
    QVERIFY(f.form->Timer5->isActive());
    QCOMPARE(f.form->Timer5->interval(), 500);
    FireTimer(f.form->Timer5);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(label->text(), QString::fromStdString(f.form->bank.keySlots[3]));
    QVERIFY(!f.form->Timer5->isActive());
}

void TestSession::secondHitDoesNotDelayTheEffect()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    QTest::keyClicks(f.form->Edit1, "A");
    QVERIFY(f.form->Timer3->isActive());
    // A restart stops the timer and starts it again; left alone, it is never touched.
    int restarts = 0;
    const QPropertyNotifier watch = f.form->Timer3->bindableActive().addNotifier([&restarts] { ++restarts; });
    QTest::keyClicks(f.form->Edit1, QString::fromStdString(f.form->bank.keySlots[1]));
    QCOMPARE(f.form->keyHitCount, 2);
    QCOMPARE(restarts, 0);
    QVERIFY(f.form->Timer3->isActive());
    QCOMPARE(f.form->Label1->text(), QStringLiteral("A")); // still red with the first item
    // The watch does see a restart, so the count above can catch one.
    f.form->Timer3->start();
    QVERIFY(restarts > 0);
    f.form->Timer3Timer();
    QCOMPARE(f.form->Label1->text(), QString::fromStdString(f.form->bank.keySlots[1])); // the newest
}

void TestSession::pendingEffectOverwritesFinished()
{
    WindowFixture f;
    f.start(Mode::UpperLetters);
    QTest::keyClicks(f.form->Edit1, "D");
    f.form->Button2Click();
    QCOMPARE(f.form->Label4->text(), QStringLiteral("完"));
    f.form->Timer6Timer();
    QCOMPARE(f.form->Label4->text(), QString::fromStdString(f.form->bank.keySlots[4]));
    QCOMPARE(f.form->Label4->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

void TestSession::closeDuringSession()
{
    WindowFixture f;
    f.start(Mode::Digits);
    f.form->Button4Click();
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.form->Label6->text() == QStringLiteral("数字练习"));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
