// SPDX-License-Identifier: GPL-3.0-or-later
// The article face on the offscreen platform: opening it from the practice window, typing a
// text both ways, the hint, the learning-record hook, and every kind of text it must refuse.
#include "tests/TestSupport.h"

#include "app/ArticleForm.h"
#include "app/ArticleView.h"
#include "app/ImeBox.h"
#include "app/InputBox.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

std::shared_ptr<ArticleCodes> WorkedCodes()
{
    auto codes = std::make_shared<ArticleCodes>();
    const std::pair<const char*, const char*> pairs[] = {
        { "a", "工" },
        { "aaaa", "工" },
        { "anb", "艺" },
        { "aaan", "工艺" },
        { "k", "中" },
        { "khk", "中" },
        { "l", "国" },
        { "lgyi", "国" },
        { "khlg", "中国" },
        { "w", "人" },
        { "wwww", "人" },
        { "n", "民" },
        { "nav", "民" },
        { "wwna", "人民" },
        { "vb", "好" },
        { "vbg", "好" },
        { "dwjf", "春" },
    };
    for (const auto& [code, text] : pairs)
        codes->lexicon.Add(code, Gbk(text));
    codes->pictures[Gbk("国")] = 4;
    codes->frequentCharacters = { Gbk("工"), Gbk("中"), Gbk("国") };
    return codes;
}

const QString worked = QStringLiteral("工艺，中国喆人民好。");

// A face over a program directory with two built-in texts and a clock the test sets.
struct Face {
    explicit Face(bool builtin = true)
    {
        if (builtin)
            dir.writeFile(QStringLiteral("articles.dat"),
                WriteArticleFile({ { Gbk("春晓"), Gbk("孟浩然"), Gbk("春眠不觉晓，处处闻啼鸟。") },
                    { Gbk("谚语 1"), "", Gbk("人民好。") } }));
        form = std::make_unique<TArticleForm>(WorkedCodes());
        form->SetClockForTesting([this] { return now; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(form->ImeInput, &event);
    }
    TestProgramDir dir;
    MessageCapture messages;
    std::int64_t now = 0;
    std::unique_ptr<TArticleForm> form;
};

void TypeWubi(TArticleForm& form, const char* keys)
{
    for (const char* k = keys; *k; ++k) {
        if (*k == '\b')
            QTest::keyClick(form.WubiBox, Qt::Key_Backspace);
        else
            QTest::keyClicks(form.WubiBox, QString(QLatin1Char(*k)));
    }
}

}

class TestArticleFace : public QObject {
    Q_OBJECT
private slots:
    void opensFromTheAdvancedMenu();
    void builtinAndPracticeTexts();
    void wubiWayWorkedText();
    void wubiHintWithPicture();
    void imeWayWrongAndCorrected();
    void imeWayTypedKeysWithoutInputMethod();
    void sessionGoesToTheRecord();
    void loadsUtf8AndGbkAlike();
    void badInput_data();
    void badInput();
    void pastedText();
    void missingBuiltinFileIsNamed();
};

void TestArticleFace::opensFromTheAdvancedMenu()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.Button7->geometry(), QRect(880, 468, 66, 29));
    QCOMPARE(form.Button7->text(), QStringLiteral("进阶"));
    QCOMPARE(form.N8->text(), QStringLiteral("文章跟打"));
    QVERIFY(form.PopupMenu2->actions().contains(form.N8));
    // No specified control moved.
    QCOMPARE(form.Button5->geometry(), QRect(800, 468, 66, 29));
    QCOMPARE(form.Button4->geometry(), QRect(718, 468, 66, 29));

    f.start(Mode::WubiChars);
    QVERIFY(form.ArticleForm() == nullptr); // nothing of it exists before it is asked for
    QVERIFY(f.messages.texts().isEmpty());
    form.N8->trigger();
    TArticleForm* article = form.ArticleForm();
    QVERIFY(article);
    QVERIFY(article->isVisible());
    QCOMPARE(article->windowTitle(), QStringLiteral("文章跟打"));
    // The running session waits, paused as by its own button.
    QCOMPARE(form.Button1->text(), QStringLiteral("继续"));
    QVERIFY(!form.Timer1->isActive());
    // The test directory has no built-in texts: said once, naming the file, and the face works
    // on with the practice texts.
    const QStringList said = f.messages.texts();
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].contains(QStringLiteral("articles.dat")));
    // The practice texts come from the window's phrase book, then from the character table.
    QVERIFY(article->TextList->count() >= 2);
    QVERIFY(article->TextList->itemText(0).startsWith(QStringLiteral("常用词组")));
    QVERIFY(article->TextList->itemText(article->TextList->count() - 1).startsWith(QStringLiteral("常用字")));

    const QString slot1 = form.Label1->text();
    article->close();
    QVERIFY(!article->isVisible());
    QVERIFY(form.isVisible());
    QCOMPARE(form.Label1->text(), slot1);
    QCOMPARE(form.Button1->text(), QStringLiteral("继续"));
    // Asked for again, the same face comes back.
    form.N8->trigger();
    QCOMPARE(form.ArticleForm(), article);
    QVERIFY(article->isVisible());
}

void TestArticleFace::builtinAndPracticeTexts()
{
    Face face;
    TArticleForm& form = *face.form;
    QVERIFY2(face.messages.messages.isEmpty(), qPrintable(face.messages.texts().join('|')));
    QCOMPARE(form.TextList->count(), 3);
    QCOMPARE(form.TextList->itemText(0), QStringLiteral("春晓 — 孟浩然"));
    QCOMPARE(form.TextList->itemText(1), QStringLiteral("谚语 1"));
    QCOMPARE(form.TextList->itemText(2), QStringLiteral("常用字 1–3"));
    QCOMPARE(form.article()->chars.size(), std::size_t(12));
    form.TextListChange(2);
    QCOMPARE(Platform::FromGbk(form.article()->title), QStringLiteral("常用字 1–3"));
    QCOMPARE(form.article()->TypedCount(), std::size_t(3));
}

void TestArticleFace::wubiWayWorkedText()
{
    Face face;
    TArticleForm& form = *face.form;
    QVERIFY(form.TakeText(worked));
    QVERIFY(form.WubiBox->isVisible());
    QVERIFY(!form.ImeInput->isVisible());
    ArticleView& view = *form.View;
    QCOMPARE(view.current(), std::size_t(0));
    QCOMPARE(view.state(2), ArticleView::State::Passed); // ，
    QCOMPARE(view.state(5), ArticleView::State::Uncoded); // 喆

    TypeWubi(form, "aaan");
    QCOMPARE(view.state(0), ArticleView::State::Done);
    QCOMPARE(view.state(1), ArticleView::State::Done);
    QCOMPARE(view.current(), std::size_t(3));
    QVERIFY(form.WubiBox->text().isEmpty());
    face.now = 2000;
    TypeWubi(form, "khk ");
    face.now = 4000;
    TypeWubi(form, "lgyi");
    QCOMPARE(view.current(), std::size_t(6)); // past the rare character
    face.now = 6000;
    TypeWubi(form, "wwn");
    QCOMPARE(form.WubiBox->text(), QStringLiteral("wwn"));
    TypeWubi(form, "b");
    QCOMPARE(view.current(), std::size_t(6)); // a wrong code enters nothing
    QCOMPARE(form.WubiBox->palette().color(QPalette::Base), QColor(0xff, 0xd0, 0xd0));
    face.now = 9000;
    TypeWubi(form, "wwn\bna");
    QTest::keyClick(form.WubiBox, Qt::Key_1); // no part of a code
    QKeyEvent comma(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("，"));
    QCoreApplication::sendEvent(form.WubiBox, &comma);
    QCOMPARE(form.WubiBox->text(), QString());
    face.now = 15000;
    TypeWubi(form, "vbg ");
    QVERIFY(form.finished());
    QCOMPARE(view.current(), std::size_t(10));
    // The same numbers as worked by hand for the core: 7 characters, 26 keys, 15 s.
    QCOMPARE(form.MeasuresLabel->text(),
        QStringLiteral("速度 28.0 字/分　击键 1.73 键/秒　码长 3.71　错误 1　回改 1　用时 0:15　最短码长 2.14"));
    const QString report = form.ReportText->toPlainText();
    QVERIFY2(
        report.contains(QStringLiteral("中国 打了 khk+lgyi，可用 khlg；好 打了 vbg，可用 vb")), qPrintable(report));
    QVERIFY2(report.contains(QStringLiteral("跳过的字（不在 GB2312 里或没有五笔编码）：喆")), qPrintable(report));
    // After the end keys change nothing.
    TypeWubi(form, "aaaa");
    QCOMPARE(form.wubi()->Measures(0).keys, 26);
    form.RestartButtonClick();
    QCOMPARE(view.current(), std::size_t(0));
    QCOMPARE(view.state(0), ArticleView::State::Pending);
    QVERIFY(form.ReportText->toPlainText().isEmpty());
}

void TestArticleFace::wubiHintWithPicture()
{
    Face face;
    TArticleForm& form = *face.form;
    form.TakeText(QStringLiteral("人民国"));
    QTest::keyClick(form.WubiBox, Qt::Key_F1);
    QCOMPARE(form.HintLabel->text(), QStringLiteral("人民 wwna　人 w wwww"));
    QVERIFY(form.HintPicture->pixmap().isNull()); // 人 has no picture in this lexicon
    TypeWubi(form, "wwna");
    QCOMPARE(form.HintLabel->text(), QStringLiteral("按 F1 看当前字词的编码"));
    QTest::keyClick(form.WubiBox, Qt::Key_F1);
    QCOMPARE(form.HintLabel->text(), QStringLiteral("国 l lgyi"));
    QCOMPARE(form.HintPicture->pixmap().size(), QSize(220, 56));
    QVERIFY(face.messages.messages.isEmpty());
}

void TestArticleFace::imeWayWrongAndCorrected()
{
    Face face;
    TArticleForm& form = *face.form;
    form.WayIme->setChecked(true);
    QVERIFY(form.ImeInput->isVisible());
    QVERIFY(!form.WubiBox->isVisible());
    ArticleView& view = *form.View;
    // 春晓: 春眠不觉晓，处处闻啼鸟。
    face.commit(QStringLiteral("春眠不决"));
    QCOMPARE(view.state(2), ArticleView::State::Done);
    QCOMPARE(view.state(3), ArticleView::State::Wrong);
    QCOMPARE(view.current(), std::size_t(4));
    QVERIFY(form.ImeInput->text().isEmpty()); // committed text is handed on, not kept
    // A composition under way stays in the box.
    QInputMethodEvent preedit(QStringLiteral("xiao"), {});
    QCoreApplication::sendEvent(form.ImeInput, &preedit);
    QVERIFY(form.ImeInput->text().isEmpty());
    QCOMPARE(form.ime()->Typed(), std::size_t(4));
    // Backspace with a composition under way is the input method's; here none is left.
    QInputMethodEvent cancel(QString(), {});
    QCoreApplication::sendEvent(form.ImeInput, &cancel);
    QTest::keyClick(form.ImeInput, Qt::Key_Backspace);
    QCOMPARE(view.state(3), ArticleView::State::Pending);
    QCOMPARE(view.current(), std::size_t(3));
    face.now = 6000;
    face.commit(QStringLiteral("觉晓，处处闻啼鸟。"));
    QVERIFY(form.finished());
    const ArticleMeasures m = form.ime()->Measures(0);
    QCOMPARE(m.characters, 12);
    QCOMPARE(m.errors, 1);
    QCOMPARE(m.corrections, 1);
    QVERIFY(form.MeasuresLabel->text().contains(QStringLiteral("速度 120.0 字/分")));
    QVERIFY(!form.MeasuresLabel->text().contains(QStringLiteral("最短码长")));
}

void TestArticleFace::imeWayTypedKeysWithoutInputMethod()
{
    Face face;
    TArticleForm& form = *face.form;
    QVERIFY(form.TakeText(QStringLiteral("中 ab1")));
    form.WayIme->setChecked(true);
    QTest::keyClicks(form.ImeInput, QStringLiteral("xab2"));
    const ArticleMeasures m = form.ime()->Measures(0);
    QCOMPARE(m.keys, 4);
    QCOMPARE(form.ime()->Typed(), std::size_t(4));
    QVERIFY(form.ime()->WrongAt(0));
    QVERIFY(!form.ime()->WrongAt(1));
    QVERIFY(form.ime()->WrongAt(3));
    QCOMPARE(form.View->state(4), ArticleView::State::Wrong); // the blank is passed over
}

void TestArticleFace::sessionGoesToTheRecord()
{
    QList<ArticleSessionRecord> records;
    TArticleForm::SetRecordSink([&](const ArticleSessionRecord& r) { records << r; });
    {
        Face face;
        TArticleForm& form = *face.form;
        form.EndButtonClick(); // nothing typed: nothing stored
        QCOMPARE(records.size(), 0);
        form.TakeText(QStringLiteral("人民好"));
        face.now = 1000;
        TypeWubi(form, "wwna");
        face.now = 3000;
        TypeWubi(form, "vb ");
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].title, QStringLiteral("粘贴的文字 4"));
        QVERIFY(records[0].wubi);
        QVERIFY(records[0].completed);
        QCOMPARE(records[0].measures.characters, 3);
        QCOMPARE(records[0].measures.keys, 7);
        QCOMPARE(records[0].shortestKeysPerCharacter, 7.0 / 3.0);
        // A session left half way is stored when the face closes, marked as such; its time
        // ends at its last key, not when the face closed.
        form.WayIme->setChecked(true);
        face.now = 4000;
        face.commit(QStringLiteral("人"));
        face.now = 5000;
        face.commit(QStringLiteral("民"));
        face.now = 60000;
        form.close();
        QCOMPARE(records.size(), 2);
        QVERIFY(!records[1].wubi);
        QVERIFY(!records[1].completed);
        QCOMPARE(records[1].measures.characters, 2);
        QCOMPARE(records[1].measures.milliseconds, std::int64_t(1000));
        QVERIFY(form.MeasuresLabel->text().contains(QStringLiteral("用时 0:01")));
    }
    TArticleForm::SetRecordSink({});
}

void TestArticleFace::loadsUtf8AndGbkAlike()
{
    Face face;
    TArticleForm& form = *face.form;
    const QString text = QStringLiteral("中国人民好，\r\n工艺。");
    face.dir.writeFile(QStringLiteral("utf8.txt"), "\xEF\xBB\xBF" + text.toStdString());
    face.dir.writeFile(QStringLiteral("gbk.txt"), Platform::ToGbk(text));
    QVERIFY(form.LoadFile(face.dir.path() + QStringLiteral("utf8.txt")));
    const ArticleText utf8 = *form.article();
    QVERIFY(form.LoadFile(face.dir.path() + QStringLiteral("gbk.txt")));
    const ArticleText gbk = *form.article();
    QCOMPARE(utf8.chars.size(), std::size_t(10)); // the CR and the byte-order mark are dropped
    QCOMPARE(gbk.chars.size(), utf8.chars.size());
    for (std::size_t i = 0; i < gbk.chars.size(); ++i)
        QCOMPARE(gbk.chars[i].cp, utf8.chars[i].cp);
    QCOMPARE(Platform::FromGbk(gbk.title), QStringLiteral("gbk"));
    QCOMPARE(form.TextList->currentText(), QStringLiteral("文件：gbk"));
    QVERIFY(face.messages.messages.isEmpty());
}

void TestArticleFace::badInput_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size"); // a sparse file of this size instead, when not 0
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << qint64(0) << QStringLiteral("文件“bad.txt”是空的，没有可以跟打的文字。");
    QTest::newRow("blank") << QByteArray(" \r\n\t\n") << qint64(0)
                           << QStringLiteral("文件“bad.txt”是空的，没有可以跟打的文字。");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << qint64(0)
                            << QStringLiteral("文件“bad.txt”不是文本文件，无法跟打。");
    QTest::newRow("neither encoding") << QByteArray("\xB4\xBA\xFF\xFE\x80") << qint64(0)
                                      << QStringLiteral("文件“bad.txt”既不是 UTF-8 也不是 GBK 编码的文字，无法读取。");
    QTest::newRow("100 MB") << QByteArray() << qint64(100) * 1024 * 1024
                            << QStringLiteral("文件“bad.txt”太大（100.0 MB）：跟打的文章最多 8 MB。");
    QTest::newRow("only characters without codes") << QByteArray(
        "Hello, 123! ，。喆") << qint64(0) << QStringLiteral("文件“bad.txt”里没有一个有五笔编码的汉字，无法跟打。");
}

void TestArticleFace::badInput()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QString, message);
    Face face;
    TArticleForm& form = *face.form;
    QVERIFY(form.TakeText(worked));
    TypeWubi(form, "aaan");
    const ArticleText* before = form.article();
    const int items = form.TextList->count();
    const QString measures = form.MeasuresLabel->text();

    const QString path = face.dir.path() + QStringLiteral("bad.txt");
    face.dir.writeFile(QStringLiteral("bad.txt"), content.toStdString());
    if (size > 0) {
        QFile file(path);
        QVERIFY(file.resize(size));
    }
    QVERIFY(!form.LoadFile(path));
    QCOMPARE(face.messages.texts(), QStringList { message });
    // Nothing else changed: the same text, the session under way, the list.
    QCOMPARE(form.article(), before);
    QCOMPARE(form.TextList->count(), items);
    QCOMPARE(form.wubi()->Position(), std::size_t(3));
    QCOMPARE(form.MeasuresLabel->text(), measures);
}

void TestArticleFace::pastedText()
{
    Face face;
    TArticleForm& form = *face.form;
    const int items = form.TextList->count();
    QVERIFY(!form.TakeText(QStringLiteral("  \n ")));
    QVERIFY(!form.TakeText(QStringLiteral("abc，。")));
    QCOMPARE(face.messages.texts(),
        (QStringList { QStringLiteral("粘贴的文字是空的，没有可以跟打的文字。"),
            QStringLiteral("粘贴的文字里没有一个有五笔编码的汉字，无法跟打。") }));
    QCOMPARE(form.TextList->count(), items);
    QVERIFY(form.TakeText(QStringLiteral("中国")));
    QCOMPARE(form.TextList->count(), items + 1);
}

void TestArticleFace::missingBuiltinFileIsNamed()
{
    Face face(false);
    QCOMPARE(face.messages.texts(),
        QStringList { QStringLiteral("找不到跟打文章“articles.dat”，只能打开自己的文件或粘贴文字。") });
    face.messages.clear();
    face.dir.writeFile(QStringLiteral("articles.dat"), "#title only\n");
    TArticleForm again(WorkedCodes());
    QCOMPARE(face.messages.messages.size(), 1);
    QVERIFY(face.messages.texts().first().startsWith(QStringLiteral("跟打文章“articles.dat”已损坏")));
    QCOMPARE(again.TextList->count(), 1); // the practice text is still there
}

QTEST_MAIN(TestArticleFace)
#include "tst_articleface.moc"
