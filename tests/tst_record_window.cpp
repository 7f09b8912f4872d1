// SPDX-License-Identifier: GPL-3.0-or-later
// The learning record on the real main window: what a session leaves behind, the record
// window, the drill switch, and the record file's faults as the learner meets them.
#include "TestSupport.h"
#include "app/ArticleForm.h"
#include "record/RecordStore.h"
#include "record/RecordWindow.h"
#include "session/Judge.h"

#include <QAbstractItemModel>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
std::vector<Record::SessionRow> sessionsOf(const QString& path, int mode)
{
    Record::Store store({ path });
    return store.Sessions(mode);
}

// A key that hits none of the four slots in the mode, and a typed text that hits slot 1.
QString missOf(int mode)
{
    switch (mode) {
    case Mode::UpperLetters:
    case Mode::LowerLetters:
        return QStringLiteral("7"); // digits never hit in the letter modes
    case Mode::Digits:
        return QStringLiteral("q"); // nor letters in the digit mode
    case Mode::Roots:
        return QStringLiteral("z");
    case Mode::WubiChars:
    case Mode::WubiFollow:
        return QStringLiteral("zzzz\b"); // the fourth z stays in the box: the learner erases it
    default:
        return QStringLiteral("zzz ");
    }
}

QString hitOf(TForm1& form, int mode)
{
    auto lower = [](const std::string& s) { return QString::fromStdString(AsciiLower(s)); };
    switch (mode) {
    case Mode::UpperLetters:
    case Mode::LowerLetters:
    case Mode::Digits:
        return QString::fromStdString(form.bank.keySlots[1]);
    case Mode::Pinyin:
    case Mode::PinyinFollow:
        return lower(form.bank.pySlots[1].pinyin) + QLatin1Char(' ');
    case Mode::Roots:
        return lower(form.bank.wbzgSlots[1].code);
    case Mode::Level1:
        return lower(form.bank.wb1Slots[1].code) + QLatin1Char(' ');
    case Mode::Level2:
        return lower(form.bank.wb2Slots[1].code) + QLatin1Char(' ');
    default: {
        const std::string code = form.bank.wbSlots[1].codes[1];
        return lower(code) + (code.size() < 4 ? QStringLiteral(" ") : QString());
    }
    }
}
}

class TstRecordWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { QSettings::setDefaultFormat(QSettings::NativeFormat); }

    // Every mode: one miss, one hit, End; the row holds exactly those counts and the result
    // line's speed, and the accuracy stands beside the unchanged line.
    void sessionLeavesOneRowWithItsCounts_data()
    {
        QTest::addColumn<int>("mode");
        for (int m = 0; m < 10; ++m)
            QTest::newRow(qPrintable(QStringLiteral("mode %1").arg(m))) << m;
    }
    void sessionLeavesOneRowWithItsCounts()
    {
        QFETCH(int, mode);
        WindowFixture f;
        f.start(mode);
        f.recordMs = 1000;
        f.type(missOf(mode));
        f.recordMs = 2500;
        f.type(hitOf(*f.form, mode));
        f.tick(30);
        const QString line = f.form->Label6->text();
        Platform::RunHandler([&] { f.form->Button2Click(); });
        QVERIFY(f.messages.texts().isEmpty());

        const auto rows = sessionsOf(f.recordPath(), mode);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].hits, 1);
        QCOMPARE(rows[0].misses, qint64(1));
        QCOMPARE(rows[0].seconds, 30);
        QCOMPARE(rows[0].speed, 2); // 1 in 30 s
        QCOMPARE(rows[0].accuracy(), 0.5);
        QVERIFY(!rows[0].timeUp);
        QVERIFY(line != f.form->Label6->text());
        QVERIFY(f.form->Label6->text().endsWith(QStringLiteral("速度：2字/分,总数：1个字。")));
        QCOMPARE(f.form->Label6->toolTip(), QStringLiteral("正确率：50.0%（打对1，打错1）"));

        Record::Store store({ f.recordPath() });
        const auto slow = store.Slowest(mode, 10);
        QCOMPARE(slow.size(), size_t(1));
        QCOMPARE(slow[0].totalMs, 2500); // the item stood from Start to its hit
    }

    void articleTypedThroughIsKeptUnderItsOwnMode()
    {
        WindowFixture f;
        ArticleSessionRecord done;
        done.title = QStringLiteral("春晓");
        done.wubi = true;
        done.measures.milliseconds = 30000;
        done.measures.characters = 14;
        done.measures.keys = 35;
        done.measures.errors = 1;
        done.measures.corrections = 2;
        done.shortestKeysPerCharacter = 2.0;
        done.completed = true;
        f.form->KeepArticleSession(done);
        const auto rows = sessionsOf(f.recordPath(), Record::ArticleMode);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].kind, QStringLiteral("article"));
        QCOMPARE(rows[0].title, QStringLiteral("春晓"));
        QCOMPARE(rows[0].speed, qint64(28)); // 14 characters in half a minute
        QCOMPARE(rows[0].hits, qint64(14));
        QCOMPARE(rows[0].misses, qint64(1));
        QCOMPARE(rows[0].seconds, 30);
        QVERIFY(rows[0].measures.contains(QStringLiteral("\"keys\":35")));
        QVERIFY(rows[0].measures.contains(QStringLiteral("\"corrections\":2")));
        QVERIFY(sessionsOf(f.recordPath(), Mode::WubiChars).empty());
        QCOMPARE(Record::ModeCaption(Mode::Phrases), QStringLiteral("词组练习"));
        QCOMPARE(Record::ModeCaption(Record::ArticleMode), QStringLiteral("文章跟打"));
    }

    void timeUpStoresToo()
    {
        WindowFixture f;
        f.start(Mode::WubiChars, 0);
        f.type(hitOf(*f.form, Mode::WubiChars));
        f.tick(60);
        QCOMPARE(f.form->Button1->text(), QStringLiteral("开始"));
        const auto rows = sessionsOf(f.recordPath(), Mode::WubiChars);
        QCOMPARE(rows.size(), size_t(1));
        QVERIFY(rows[0].timeUp);
        QCOMPARE(rows[0].seconds, 60);
        QCOMPARE(rows[0].testSeconds, 60);
        QCOMPARE(rows[0].misses, 0);
        QCOMPARE(rows[0].accuracy(), 1.0);
    }

    void nothingIsCountedOutsideASession()
    {
        WindowFixture f;
        f.start(Mode::WubiChars);
        const QString hit = hitOf(*f.form, Mode::WubiChars);
        Platform::RunHandler([&] { f.form->Button2Click(); });
        // After End the last items still hit, as they always have; the record ignores them.
        f.type(hit);
        f.type(QStringLiteral("zzzz"));
        QCOMPARE(sessionsOf(f.recordPath(), Mode::WubiChars).at(0).hits, 0);
        f.start(Mode::WubiChars);
        Platform::RunHandler([&] { f.form->Button2Click(); });
        const auto rows = sessionsOf(f.recordPath(), Mode::WubiChars);
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[1].misses, 0);
        QCOMPARE(f.form->Label6->toolTip(), QString()); // nothing tried: no accuracy to show
    }

    void followTypingMissesBelongToTheTarget()
    {
        WindowFixture f;
        f.start(Mode::PinyinFollow);
        f.setPinyin(1, "NAN", "男");
        f.setPinyin(2, "NV", "女");
        f.form->Label5->setText(QStringLiteral("nan"));
        f.type(QStringLiteral("nv ")); // another slot's pinyin: a miss on the target 男
        f.type(QStringLiteral("nan "));
        Platform::RunHandler([&] { f.form->Button2Click(); });
        Record::Store store({ f.recordPath() });
        const auto missed = store.MostMissed(Mode::PinyinFollow, 10);
        QCOMPARE(missed.size(), size_t(1));
        QCOMPARE(missed[0].text, QStringLiteral("男"));
        QCOMPARE(missed[0].code, QStringLiteral("NAN"));
        QCOMPARE(missed[0].misses, 1);
    }

    void pausedTimeIsNoItemsTime()
    {
        WindowFixture f;
        f.start(Mode::WubiChars);
        f.recordMs = 1000;
        Platform::RunHandler([&] { f.form->Button1Click(); }); // pause
        f.recordMs = 61000;
        Platform::RunHandler([&] { f.form->Button1Click(); }); // continue
        f.recordMs = 61500;
        f.type(hitOf(*f.form, Mode::WubiChars));
        Platform::RunHandler([&] { f.form->Button2Click(); });
        Record::Store store({ f.recordPath() });
        QCOMPARE(store.Slowest(Mode::WubiChars, 1).at(0).totalMs, 1500);
    }

    void helpMenuGainsTheRecordLast()
    {
        WindowFixture f;
        const auto actions = f.form->PopupMenu1->actions();
        QStringList names, captions;
        for (QAction* a : actions)
            names << a->objectName(), captions << a->text();
        QCOMPARE(names, (QStringList { "N1", "N2", "N3", "N4", "N861", "N5", "N6" }));
        QCOMPARE(captions,
            (QStringList { "软件更新", "关于软件说明", "标准键盘键位图", "数字键盘指法图", "五笔字根图86版",
                "五笔字型简述", "练习记录" }));
    }

    void startUpAndStartLeaveTheFileAlone()
    {
        WindowFixture f;
        f.start(Mode::WubiChars);
        QVERIFY(!QFileInfo::exists(f.recordPath()));
        Platform::RunHandler([&] { f.form->Button2Click(); });
        QVERIFY(QFileInfo::exists(f.recordPath()));
    }

    void windowListsAndChartsASession()
    {
        WindowFixture f;
        f.start(Mode::WubiChars);
        f.recordMs = 4000;
        const QString code = QString::fromStdString(AsciiLower(f.form->bank.wbSlots[1].codes[1]));
        f.type(hitOf(*f.form, Mode::WubiChars));
        f.type(QStringLiteral("zzzz"));
        f.tick(60);
        f.form->N6->trigger();
        RecordWindow* w = f.form->record.window();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("练习记录"));
        QCOMPARE(w->mode(), Mode::WubiChars);
        QVERIFY(!w->EmptyNote->isVisible());
        QAbstractItemModel* model = w->SessionTable->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 3).data().toLongLong(), 1); // speed
        QCOMPARE(model->index(0, 4).data().toLongLong(), 1); // count
        QCOMPARE(model->index(0, 6).data().toString(), QStringLiteral("50.0%"));
        QCOMPARE(w->SpeedSeries->count(), 1);
        QCOMPARE(w->SpeedSeries->at(0).y(), 1.0);
        QCOMPARE(w->AccuracySeries->at(0).y(), 50.0);
        QVERIFY(w->TotalsLabel->text().contains(QStringLiteral("共练习1次")));
        // The slowest item with its code and its picture.
        QCOMPARE(w->SlowTable->rowCount(), 1);
        QCOMPARE(w->SlowTable->item(0, 1)->text(), code);
        QVERIFY(!w->SlowTable->item(0, 3)->data(Qt::DecorationRole).value<QPixmap>().isNull());
        QCOMPARE(w->SlowTable->item(0, 2)->text(), QStringLiteral("4.0秒"));
        // A second session while the window is open shows up at once.
        f.start(Mode::WubiChars);
        Platform::RunHandler([&] { f.form->Button2Click(); });
        QCOMPARE(model->rowCount(), 2);
        // Choosing the entry again raises the same window.
        f.form->N6->trigger();
        QCOMPARE(f.form->record.window(), w);
        // Export through the window.
        QTemporaryDir out;
        QVERIFY(w->ExportTo(out.filePath(QStringLiteral("r.csv"))));
    }

    void noRecordShowsAnEmptyWindow()
    {
        WindowFixture f;
        f.form->N6->trigger();
        RecordWindow* w = f.form->record.window();
        QVERIFY(w && w->isVisible());
        QVERIFY(w->EmptyNote->isVisible());
        QCOMPARE(w->SessionTable->model()->rowCount(), 0);
        QCOMPARE(w->SpeedSeries->count(), 0);
        QVERIFY(f.messages.texts().isEmpty());
        QVERIFY(!QFileInfo::exists(f.recordPath()));
    }

    void drillSwitchIsKeptAndSaid()
    {
        WindowFixture f;
        f.form->N6->trigger();
        RecordWindow* w = f.form->record.window();
        QVERIFY(!w->DrillBox->isChecked()); // off until the learner turns it on
        QVERIFY(w->DrillNote->text().isEmpty());
        w->DrillBox->setChecked(true);
        QCOMPARE(w->DrillNote->text(), DrillOnNote());
        QVERIFY(f.form->record.drillOn());
        // Kept for the next run.
        f.create();
        QVERIFY(f.form->record.drillOn());
        f.form->N6->trigger();
        QVERIFY(f.form->record.window()->DrillBox->isChecked());
    }

    // With a recorded weak item and the drill on, Start draws it far more often than its
    // share; with the drill off the weak list is never even made.
    void drillBiasesTheWindowsDraws()
    {
        WindowFixture f;
        f.start(Mode::WubiChars);
        f.setWubi(1, { "LGYI", "L", "LGY", "" }, "国", 4);
        f.recordMs = 9000;
        f.type(QStringLiteral("lgyi"));
        Platform::RunHandler([&] { f.form->Button2Click(); });

        f.start(Mode::WubiChars);
        QVERIFY(!f.form->bank.drill.ActiveFor(Mode::WubiChars));
        Platform::RunHandler([&] { f.form->Button2Click(); });

        f.form->record.setDrillOn(true);
        f.start(Mode::WubiChars);
        QVERIFY(f.form->bank.drill.ActiveFor(Mode::WubiChars));
        QCOMPARE(f.form->bank.drill.records(), (std::vector<std::uint32_t> { 3 }));
        int guo = 0;
        const int draws = 4000;
        for (int i = 0; i < draws; ++i) {
            f.form->bank.Refill(Mode::WubiChars, 2);
            guo += f.form->bank.wbSlots[2].text == Gbk("国");
        }
        // Half the draws from the one weak item, plus its quarter of the plain half.
        QVERIFY2(guo > draws * 0.55 && guo < draws * 0.70, qPrintable(QString::number(guo)));
        Platform::RunHandler([&] { f.form->Button2Click(); });
        // Modes 0-2 are never drilled.
        f.start(Mode::UpperLetters);
        QVERIFY(!f.form->bank.drill.ActiveFor(Mode::UpperLetters));
    }

    // Faults of the record file: at most one message, practice goes on, nothing lost.
    void faultyFileToldOnceAndPracticeGoesOn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("device") << QStringLiteral("device");
        QTest::newRow("damaged") << QStringLiteral("damaged");
        QTest::newRow("folder cannot be made") << QStringLiteral("nofolder");
    }
    void faultyFileToldOnceAndPracticeGoesOn()
    {
        QFETCH(QString, kind);
        WindowFixture f;
        const QByteArray path = f.recordPath().toLocal8Bit();
        if (kind == QLatin1String("fifo")) {
#ifdef Q_OS_UNIX
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
#else
            QSKIP("no FIFOs here");
#endif
        } else if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f.recordPath()));
        } else if (kind == QLatin1String("damaged")) {
            QFile file(f.recordPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else {
            // A plain file where the record's folder should be.
            QFile blocker(QFileInfo(f.recordPath()).absolutePath() + QStringLiteral("/blocked"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            f.form->record.path = blocker.fileName() + QStringLiteral("/record.sqlite");
        }
        for (int round = 0; round < 3; ++round) {
            f.start(Mode::WubiChars);
            f.type(hitOf(*f.form, Mode::WubiChars));
            f.tick(10);
            Platform::RunHandler([&] { f.form->Button2Click(); });
            QVERIFY(f.form->Label6->text().endsWith(QStringLiteral("速度：6字/分,总数：1个字。")));
        }
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts().at(0).contains(QStringLiteral("练习照常进行")));
        f.form->N6->trigger(); // the window opens all the same, without a further message
        QVERIFY(f.form->record.window()->isVisible());
        QCOMPARE(f.messages.texts().size(), 1);
        if (kind == QLatin1String("damaged")) {
            QCOMPARE(sessionsOf(f.recordPath(), Mode::WubiChars).size(), size_t(3));
            QStringList aside = QDir(QFileInfo(f.recordPath()).absolutePath())
                                    .entryList({ QStringLiteral("record.damaged-*.sqlite") });
            QCOMPARE(aside.size(), 1);
        } else {
            QCOMPARE(f.form->record.store()->pendingCount(), size_t(3)); // kept for a later save
        }
    }
};

QTEST_MAIN(TstRecordWindow)
#include "tst_record_window.moc"
