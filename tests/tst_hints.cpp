// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QtTest>

#include "app/InputBox.h"

namespace {
void press(TForm1& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(form.Edit1, key, modifiers);
}

bool picturesEmbedded() { return QFile::exists(QStringLiteral(":/pictures/MYWBGIF1")); }
}

class TestHints : public QObject {
    Q_OBJECT
private slots:
    void wubiCodesCycleEachSlotOnItsOwn();
    void refilledSlotStartsAtTheFirstCode();
    void pinyinShownInLowerCase();
    void codesShownInUpperCase_data();
    void codesShownInUpperCase();
    void modifiersIgnoredOtherKeysDoNothing();
    void singleKeyModesHaveNoHints();
    void pinyinFollowHintChoosesTheTarget();
    void zeroedSlotAsksForPictureZero();
    void picturesResizeTheImage();
};

void TestHints::wubiCodesCycleEachSlotOnItsOwn()
{
    WindowFixture f;
    f.start(Mode::WubiChars);
    TForm1& form = *f.form;
    f.setWubi(1, { "GGGG", "G", "", "" }, "一", 1);
    f.setWubi(2, { "XCAG", "X", "XC", "XCA" }, "经", 3);
    const QStringList expected = { "XCAG", "X", "XC", "XCA", "XCAG" };
    for (int i = 0; i < 5; ++i) {
        press(form, Qt::Key_F2);
        QCOMPARE(form.Label5->text(), expected[i]);
        if (i == 1) {
            press(form, Qt::Key_F1);
            QCOMPARE(form.Label5->text(), QStringLiteral("GGGG"));
        }
    }
    press(form, Qt::Key_F1);
    QCOMPARE(form.Label5->text(), QStringLiteral("G"));
    press(form, Qt::Key_F1);
    QCOMPARE(form.Label5->text(), QString()); // an empty code field gives an empty hint line
}

void TestHints::refilledSlotStartsAtTheFirstCode()
{
    WindowFixture f;
    f.start(Mode::WubiFollow);
    TForm1& form = *f.form;
    for (int k = 1; k <= 4; ++k)
        f.setWubi(k, { "GGGG", "G", "", "" }, "一", 1);
    f.setWubi(3, { "LGYI", "L", "LGY", "" }, "国", 4);
    press(form, Qt::Key_F3);
    press(form, Qt::Key_F3);
    QCOMPARE(form.bank.wbSlots[3].hintStep, std::uint16_t(3));
    f.type("lgyi");
    QCOMPARE(form.inputHitCount, 1);
    press(form, Qt::Key_F3);
    QCOMPARE(form.Label5->text(), Platform::FromGbk(form.bank.wbSlots[3].codes[1]));
}

void TestHints::pinyinShownInLowerCase()
{
    WindowFixture f;
    f.start(Mode::Pinyin);
    f.form->bank.pySlots[4] = { "ZHUANG", Gbk("庄") };
    press(*f.form, Qt::Key_F4);
    QCOMPARE(f.form->Label5->text(), QStringLiteral("zhuang"));
    QVERIFY(!f.form->Label8->isVisible());
}

void TestHints::codesShownInUpperCase_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("hint");
    QTest::addRow("roots") << int(Mode::Roots) << "G";
    QTest::addRow("level 1") << int(Mode::Level1) << "I";
    QTest::addRow("level 2") << int(Mode::Level2) << "GF";
}

void TestHints::codesShownInUpperCase()
{
    QFETCH(int, mode);
    QFETCH(QString, hint);
    WindowFixture f;
    f.start(mode);
    TForm1& form = *f.form;
    form.bank.wbzgSlots[2] = { "G", Gbk("王") };
    form.bank.wb1Slots[2] = { "I", Gbk("不") };
    form.bank.wb2Slots[2] = { "GF", Gbk("于"), 2 };
    press(form, Qt::Key_F2);
    QCOMPARE(form.Label5->text(), hint);
}

void TestHints::modifiersIgnoredOtherKeysDoNothing()
{
    WindowFixture f;
    f.start(Mode::Pinyin);
    TForm1& form = *f.form;
    form.bank.pySlots[1] = { "NAN", Gbk("男") };
    form.bank.pySlots[2] = { "NV", Gbk("女") };
    press(form, Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(form.Label5->text(), QStringLiteral("nan"));
    press(form, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(form.Label5->text(), QStringLiteral("nv"));
    press(form, Qt::Key_F5);
    press(form, Qt::Key_Left);
    QCOMPARE(form.Label5->text(), QStringLiteral("nv"));
    QVERIFY(form.Edit1->text().isEmpty());
}

void TestHints::singleKeyModesHaveNoHints()
{
    for (int mode = 0; mode < 3; ++mode) {
        WindowFixture f;
        f.start(mode);
        f.form->Label5->setText("x");
        for (Qt::Key key : { Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4 })
            press(*f.form, key);
        QCOMPARE(f.form->Label5->text(), QStringLiteral("x"));
        QVERIFY(f.form->Image1->pixmap().isNull());
        QVERIFY(f.messages.messages.isEmpty());
    }
}

void TestHints::pinyinFollowHintChoosesTheTarget()
{
    WindowFixture f;
    f.start(Mode::PinyinFollow);
    TForm1& form = *f.form;
    form.bank.pySlots[1] = { "NAN", Gbk("男") };
    form.bank.pySlots[2] = { "NV", Gbk("女") };
    form.bank.pySlots[3] = { "LE", Gbk("了") };
    form.bank.pySlots[4] = { "NV", Gbk("女") };
    press(form, Qt::Key_F3);
    QCOMPARE(form.Label5->text(), QStringLiteral("le"));
    QCOMPARE(form.Label8->text(), QStringLiteral("了"));
    f.type("nan ");
    QCOMPARE(form.inputHitCount, 0);
    form.Edit1->clear();
    f.type("le ");
    QCOMPARE(form.inputHitCount, 1);
    QCOMPARE(form.Label5->text(), QStringLiteral("nv")); // slot 4 is next
    QCOMPARE(form.Label8->text(), QStringLiteral("女"));
}

void TestHints::zeroedSlotAsksForPictureZero()
{
    WindowFixture f;
    TForm1& form = *f.form;
    form.SetItemIndex(form.RadioGroup1, Mode::WubiChars);
    form.Label5->setText("kept");
    press(form, Qt::Key_F1);
    QCOMPARE(f.messages.texts(), QStringList { "Resource MywbGIF0 not found" });
    QCOMPARE(form.Label5->text(), QStringLiteral("kept"));
    QCOMPARE(form.bank.wbSlots[1].hintStep, std::uint16_t(1));
    f.messages.clear();
    form.SetItemIndex(form.RadioGroup1, Mode::Level2);
    press(form, Qt::Key_F2);
    QCOMPARE(f.messages.texts(), QStringList { "Resource MywbGIF0 not found" });
    QCOMPARE(form.Label5->text(), QString());
}

void TestHints::picturesResizeTheImage()
{
    if (!picturesEmbedded())
        QSKIP("this build has no picture set");
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.Image1->size(), QSize(225, 41));
    form.ShowDecompositionPicture(1);
    QCOMPARE(form.Image1->size(), QSize(220, 56));
    QCOMPARE(form.Image1->pos(), QPoint(96, 457));
    const QImage first = form.Image1->pixmap().toImage();
    f.start(Mode::WubiChars);
    QVERIFY(form.Image1->pixmap().isNull());
    QCOMPARE(form.Image1->size(), QSize(220, 56)); // emptied, not resized
    form.ShowDecompositionPicture(3071);
    QVERIFY(Platform::RunHandler([&] { form.ShowDecompositionPicture(2437); }) == false);
    QCOMPARE(f.messages.texts(), QStringList { "Resource MywbGIF2437 not found" });
    QVERIFY(!form.Image1->pixmap().isNull()); // the previous picture stays
    form.ShowDecompositionPicture(1);
    QCOMPARE(form.Image1->pixmap().toImage(), first);
}

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
