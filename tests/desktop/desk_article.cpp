// SPDX-License-Identifier: GPL-3.0-or-later
// The article face on a real desktop (run by run-on-desktop): keys typed through the X server,
// in the Wubi way straight into the box, and in the input-method way through fcitx5 pinyin
// committing real text.
#include "app/ArticleForm.h"
#include "app/ArticleView.h"
#include "app/ImeBox.h"
#include "app/InputBox.h"
#include "platform/Platform.h"
#include "session/PhraseBook.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QRadioButton>
#include <QtTest>

namespace {

void Xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    QVERIFY2(p.waitForFinished(20000), "xdotool did not finish");
    QCOMPARE(p.exitCode(), 0);
}

std::shared_ptr<ArticleCodes> RealCodes()
{
    auto codes = std::make_shared<ArticleCodes>();
    PhraseBook book;
    const auto errors = LoadPhraseBook(std::filesystem::path(QUILLADO_BIN_DIR), book);
    if (!errors.empty())
        qFatal("the code tables beside the program do not load: %s", errors.front().what());
    codes->lexicon = std::move(book.lexicon);
    return codes;
}

const QString text = QStringLiteral("中国人民好。");

}

class TestDeskArticle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void setUpIsReal();
    void wubiWayThroughTheXServer();
    void inputMethodWayWithFcitxPinyin();

private:
    std::unique_ptr<TArticleForm> form;
    MessageCapture messages;
};

void TestDeskArticle::init()
{
    Platform::SetProgramDirForTesting(QStringLiteral(QUILLADO_BIN_DIR));
    form = std::make_unique<TArticleForm>(RealCodes());
    QVERIFY(form->TakeText(text));
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestDeskArticle::cleanup()
{
    form.reset();
    Platform::SetProgramDirForTesting(QString());
}

void TestDeskArticle::setUpIsReal()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QCOMPARE(qgetenv("QT_IM_MODULE"), QByteArray("fcitx"));
    QVERIFY(!qgetenv("DISPLAY").isEmpty());
    QVERIFY(messages.messages.isEmpty()); // the built-in texts and the codes loaded
    QVERIFY(form->TextList->count() > 100);
    // The window manager gave the window its frame and the focus.
    QVERIFY(form->isActiveWindow());
    QVERIFY(form->WubiBox->hasFocus());
}

void TestDeskArticle::wubiWayThroughTheXServer()
{
    // Phrase codes for 中国 and 人民, a level-2 short code with its space for 好.
    Xdotool({ "type", "--delay", "40", "khlgwwnavb " });
    QTRY_VERIFY_WITH_TIMEOUT(form->finished(), 10000);
    const ArticleMeasures m = form->wubi()->Measures(0);
    QCOMPARE(m.characters, 5);
    QCOMPARE(m.keys, 11);
    QCOMPARE(m.errors, 0);
    QCOMPARE(form->View->state(5), ArticleView::State::Passed); // 。
    // 中国人民 has a phrase code of its own (klwn), so 7 keys would have done.
    QCOMPARE(form->wubi()->ShortestKeysPerCharacter(), 7.0 / 5.0);
    const std::vector<LongerCode> longer = form->wubi()->LongerCodes();
    QCOMPARE(longer.size(), std::size_t(1));
    QCOMPARE(Platform::FromGbk(longer[0].text), QStringLiteral("中国人民"));
    QCOMPARE(longer[0].used, std::string("khlg+wwna"));
    QCOMPARE(longer[0].shortest, std::string("klwn"));
}

void TestDeskArticle::inputMethodWayWithFcitxPinyin()
{
    form->WayIme->setChecked(true);
    QTRY_VERIFY(form->ImeInput->hasFocus());
    // fcitx5 is set to be on from the start (run-on-desktop), as a learner's would be.
    QTest::qWait(300);
    Xdotool({ "type", "--delay", "60", "zhongguo" });
    Xdotool({ "key", "space" });
    QTRY_COMPARE_WITH_TIMEOUT(form->ime()->Typed(), std::size_t(2), 10000);
    QVERIFY2(!form->ime()->WrongAt(0) && !form->ime()->WrongAt(1), "fcitx5 did not commit 中国");
    // 人们 for 人民: the second character is wrong, taken back with Backspace.
    Xdotool({ "type", "--delay", "60", "renmen" });
    Xdotool({ "key", "space" });
    QTRY_COMPARE_WITH_TIMEOUT(form->ime()->Typed(), std::size_t(4), 10000);
    QVERIFY(form->ime()->WrongAt(3));
    QCOMPARE(form->View->state(3), ArticleView::State::Wrong);
    Xdotool({ "key", "BackSpace" });
    QTRY_COMPARE_WITH_TIMEOUT(form->ime()->Typed(), std::size_t(3), 10000);
    Xdotool({ "type", "--delay", "60", "min" });
    Xdotool({ "key", "space" });
    Xdotool({ "type", "--delay", "60", "hao" });
    Xdotool({ "key", "space" });
    Xdotool({ "key", "period" });
    QTRY_VERIFY_WITH_TIMEOUT(form->finished(), 10000);
    const ArticleMeasures m = form->ime()->Measures(0);
    QCOMPARE(m.characters, 6);
    QCOMPARE(m.errors, 1);
    QCOMPARE(m.corrections, 1);
    // Every key that left the keyboard counts, those the input method took among them:
    // 8+1 + 6+1 + 1 + 3+1 + 3+1 + 1.
    QCOMPARE(m.keys, 9 + 7 + 1 + 4 + 4 + 1);
}

QTEST_MAIN(TestDeskArticle)
#include "desk_article.moc"
