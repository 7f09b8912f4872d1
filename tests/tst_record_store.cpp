// SPDX-License-Identifier: GPL-3.0-or-later
// The record file: schema and its migration, reading back, export, and every fault of the file.
#include "record/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Record;

namespace {
SessionRow session(int mode, qint64 hits, qint64 misses, std::vector<ItemRow> items = {})
{
    SessionRow s;
    s.startedMs = QDateTime(QDate(2026, 12, 1), QTime(9, 30)).toMSecsSinceEpoch();
    s.mode = mode;
    s.testSeconds = 60;
    s.seconds = 60;
    s.hits = hits;
    s.misses = misses;
    s.speed = hits;
    s.items = std::move(items);
    return s;
}

// Runs statements on a connection of the test's own, beside the store's.
struct Raw {
    explicit Raw(const QString& path)
        : name(QStringLiteral("raw-%1").arg(++counter))
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        d.open();
    }
    ~Raw()
    {
        QSqlDatabase::database(name).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(name));
        const bool ok = q.exec(sql);
        if (!ok)
            qWarning() << sql << q.lastError().text();
        return ok;
    }
    QVariant value(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    QString name;
    static inline int counter = 0;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

class TstRecordStore : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("sub/record.sqlite")); }
    void cleanFiles()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

private slots:
    void init() { cleanFiles(); }

    void freshFileIsCurrentAndInWal()
    {
        Store store({ file() });
        QVERIFY(store.Open());
        QVERIFY(QFileInfo::exists(file())); // its folder made too
        Raw raw(file());
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), Store::SchemaVersion);
        QCOMPARE(raw.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    }

    void savedSessionReadsBackWithItsMeasures()
    {
        Store store({ file() });
        QVERIFY(store.Save(session(8, 3, 2,
            { { QStringLiteral("男"), QStringLiteral("NAN"), 0, 1200, 2 },
                { QStringLiteral("女"), QStringLiteral("NV"), 0, 800, 0 },
                { QStringLiteral("男"), QStringLiteral("NAN"), 0, 600, 0 },
                { QStringLiteral("了"), QStringLiteral("LE"), 0, 400, 0 } })));
        QVERIFY(store.Save(session(7, 10, 1, { { QStringLiteral("经"), QStringLiteral("XCAG"), 3, 2500, -1 } })));

        const auto rows = store.Sessions(8);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].hits, 3);
        QCOMPARE(rows[0].misses, 2);
        QCOMPARE(rows[0].accuracy(), 0.6);
        QCOMPARE(rows[0].kind, QStringLiteral("practice"));
        QCOMPARE(rows[0].started(), QDateTime(QDate(2026, 12, 1), QTime(9, 30)));

        const Totals t = store.TotalsOf(8);
        QCOMPARE(t.sessions, 1);
        QCOMPARE(t.seconds, 60);
        QCOMPARE(t.hits, 3);

        // 男: two hits, 1800 ms, 2 misses; slowest by average is 男 (900) before 女 (800).
        const auto slow = store.Slowest(8, 10);
        QCOMPARE(slow.size(), size_t(3));
        QCOMPARE(slow[0].text, QStringLiteral("男"));
        QCOMPARE(slow[0].hits, 2);
        QCOMPARE(slow[0].totalMs, 1800);
        QCOMPARE(slow[0].averageMs(), 900.0);
        QCOMPARE(slow[1].text, QStringLiteral("女"));
        const auto missed = store.MostMissed(8, 10);
        QCOMPARE(missed.size(), size_t(1));
        QCOMPARE(missed[0].misses, 2);
        // Unknown misses (-1) never count against an item.
        QVERIFY(store.MostMissed(7, 10).empty());
        QCOMPARE(store.Slowest(7, 10).at(0).pictureNo, 3);
    }

    void articleSessionsCarryTitleAndMeasures()
    {
        Store store({ file() });
        SessionRow s = session(7, 120, 4);
        s.kind = QStringLiteral("article");
        s.title = QStringLiteral("春晓");
        s.measures = QStringLiteral("{\"characters\":20,\"corrections\":3}");
        QVERIFY(store.Save(s));
        const auto rows = store.Sessions(7);
        QCOMPARE(rows.at(0).kind, QStringLiteral("article"));
        QCOMPARE(rows.at(0).title, QStringLiteral("春晓"));
        QCOMPARE(rows.at(0).measures, s.measures);
    }

    // A file of the first schema, written here as that version wrote it, moves on with
    // everything in it.
    void olderSchemaMigrates()
    {
        QDir().mkpath(QFileInfo(file()).absolutePath());
        {
            Raw raw(file());
            QVERIFY(raw.exec(
                QStringLiteral("CREATE TABLE sessions(id INTEGER PRIMARY KEY, started INTEGER NOT NULL,"
                               " mode INTEGER NOT NULL, test_seconds INTEGER NOT NULL, seconds INTEGER NOT NULL,"
                               " hits INTEGER NOT NULL, misses INTEGER NOT NULL, speed INTEGER NOT NULL,"
                               " accuracy REAL, time_up INTEGER NOT NULL DEFAULT 0)")));
            QVERIFY(raw.exec(QStringLiteral(
                "CREATE TABLE items(session INTEGER NOT NULL, text TEXT NOT NULL,"
                " code TEXT NOT NULL, picture INTEGER NOT NULL DEFAULT 0, shown_ms INTEGER, misses INTEGER)")));
            QVERIFY(raw.exec(
                QStringLiteral("INSERT INTO sessions VALUES(1, 1764581400000, 3, 60, 60, 2, 1, 2, 0.667, 1)")));
            QVERIFY(
                raw.exec(QStringLiteral("INSERT INTO sessions VALUES(2, 1764581500000, 3, 60, 30, 1, 0, 2, 1.0, 0)")));
            QVERIFY(raw.exec(QStringLiteral("INSERT INTO items VALUES(1, '男', 'NAN', 0, 1000, NULL)")));
            QVERIFY(raw.exec(QStringLiteral("INSERT INTO items VALUES(1, '男', 'NAN', 0, 3000, NULL)")));
            QVERIFY(raw.exec(QStringLiteral("INSERT INTO items VALUES(2, '女', 'NV', 0, 500, NULL)")));
            QVERIFY(raw.exec(QStringLiteral("PRAGMA user_version=1")));
        }
        Store store({ file() });
        QVERIFY(store.Open());
        Raw raw(file());
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), 2);
        const auto rows = store.Sessions(3);
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0].kind, QStringLiteral("practice"));
        QVERIFY(rows[0].timeUp);
        const auto slow = store.Slowest(3, 10);
        QCOMPARE(slow.size(), size_t(2));
        QCOMPARE(slow[0].text, QStringLiteral("男"));
        QCOMPARE(slow[0].totalMs, 4000);
        QCOMPARE(slow[0].hits, 2);
        // New sessions add to the sums the migration built.
        QVERIFY(store.Save(session(3, 1, 0, { { QStringLiteral("男"), QStringLiteral("NAN"), 0, 2000, -1 } })));
        QCOMPARE(store.Slowest(3, 1).at(0).totalMs, 6000);
    }

    void newerSchemaIsReadNeverWritten()
    {
        {
            Store store({ file() });
            QVERIFY(store.Save(session(2, 5, 0)));
        }
        {
            Raw raw(file());
            QVERIFY(raw.exec(QStringLiteral("PRAGMA user_version=9")));
        }
        Store store({ file() });
        QCOMPARE(store.Sessions(2).size(), size_t(1));
        QVERIFY(!store.Save(session(2, 6, 0)));
        QCOMPARE(store.fault(), Fault::Newer);
        QCOMPARE(store.Sessions(2).size(), size_t(1));
    }

    void missingFileReadsEmptyAndIsNotCreated()
    {
        Store store({ file() });
        QVERIFY(store.Sessions(7).empty());
        QCOMPARE(store.TotalsOf(7).sessions, 0);
        QVERIFY(store.Slowest(7, 10).empty());
        QVERIFY(!QFileInfo::exists(file()));
        QCOMPARE(store.fault(), Fault::None);
    }

    void damagedFileIsSetAsideAndAFreshOneStarted()
    {
        QDir().mkpath(QFileInfo(file()).absolutePath());
        const QByteArray junk = QByteArray("not a record at all, but the learner's bytes all the same ").repeated(200);
        {
            QFile f(file());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(junk);
        }
        Store store({ file() });
        QVERIFY2(store.Save(session(5, 4, 1)), qPrintable(store.faultDetail()));
        QCOMPARE(store.fault(), Fault::SetAside);
        QVERIFY(store.setAsidePath().contains(QStringLiteral("record.damaged-")));
        QCOMPARE(readAll(store.setAsidePath()), junk); // kept byte for byte
        QVERIFY(store.FaultMessage().contains(store.setAsidePath()));
        QCOMPARE(store.Sessions(5).size(), size_t(1));
    }

    void damagedPageFoundLaterKeepsTheFile()
    {
        {
            Store store({ file() });
            for (int i = 0; i < 50; ++i)
                QVERIFY(store.Save(session(7, i, 0, { { QStringLiteral("经"), QStringLiteral("XCAG"), 3, 100, -1 } })));
        }
        // Break a page of the tables while the header stays valid.
        {
            QFile f(file());
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(4096 + 16);
            f.write(QByteArray(2048, '\xA5'));
        }
        QFile::remove(file() + QStringLiteral("-wal"));
        QFile::remove(file() + QStringLiteral("-shm"));
        Store store({ file() });
        store.Save(session(7, 1, 0, { { QStringLiteral("国"), QStringLiteral("LGYI"), 4, 100, -1 } }));
        // Either the write found the damage and a fresh file took the session, or SQLite
        // wrote around it; in no case is a session lost or the old file removed.
        if (store.fault() == Fault::SetAside) {
            QVERIFY(QFileInfo::exists(store.setAsidePath()));
            QCOMPARE(store.pendingCount(), size_t(0));
        }
        QVERIFY(QFileInfo::exists(file()));
    }

    void specialFilesAreNeverOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("symlink to a device") << QStringLiteral("device");
        QTest::newRow("directory") << QStringLiteral("dir");
        QTest::newRow("fifo as the log") << QStringLiteral("wal");
    }
    void specialFilesAreNeverOpened()
    {
        QFETCH(QString, kind);
        QDir().mkpath(QFileInfo(file()).absolutePath());
        const QByteArray path = (kind == QLatin1String("wal") ? file() + QStringLiteral("-wal") : file()).toLocal8Bit();
        if (kind == QLatin1String("fifo") || kind == QLatin1String("wal"))
#ifdef Q_OS_UNIX
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
#else
            QSKIP("no FIFOs here");
#endif
        else if (kind == QLatin1String("device"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file()));
        else
            QVERIFY(QDir().mkpath(file()));
        Store store({ file() });
        QVERIFY(!store.Save(session(0, 1, 0))); // returns at once: a FIFO would block here
        QCOMPARE(store.fault(), Fault::NotRegularFile);
        QVERIFY(store.Sessions(0).empty());
        QCOMPARE(store.pendingCount(), size_t(1));
    }

    void lockedFileKeepsTheSessionForLater()
    {
        Store store({ file(), 50 });
        QVERIFY(store.Save(session(1, 1, 0)));
        {
            Raw other(file());
            QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(!store.Save(session(1, 2, 0)));
            QCOMPARE(store.fault(), Fault::Locked);
            QCOMPARE(store.pendingCount(), size_t(1));
            QVERIFY(other.exec(QStringLiteral("COMMIT")));
        }
        store.clearFault();
        QVERIFY(store.Save(session(1, 3, 0)));
        const auto rows = store.Sessions(1);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[1].hits, 2); // the kept one, written first
        QCOMPARE(rows[2].hits, 3);
    }

    void readOnlyFileKeepsWhatItHas()
    {
        {
            Store store({ file() });
            QVERIFY(store.Save(session(4, 7, 0)));
        }
        // Root ignores file modes, so the file is made read-only from inside SQLite.
        Store store({ file(), 50, [](QSqlDatabase& d) { QSqlQuery(d).exec(QStringLiteral("PRAGMA query_only=1")); } });
        QVERIFY(!store.Save(session(4, 8, 0)));
        QCOMPARE(store.fault(), Fault::ReadOnly);
        QCOMPARE(store.Sessions(4).size(), size_t(1));
        QCOMPARE(store.Sessions(4).at(0).hits, 7);
    }

    void fullDiskKeepsWhatItHas()
    {
        {
            Store store({ file() });
            QVERIFY(store.Save(session(6, 7, 0)));
        }
        Store store({ file(), 50, [](QSqlDatabase& d) {
                         QSqlQuery q(d);
                         q.exec(QStringLiteral("PRAGMA page_count"));
                         q.next();
                         const int pages = q.value(0).toInt();
                         q.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(pages));
                     } });
        std::vector<ItemRow> many(5000, { QStringLiteral("二"), QStringLiteral("FG"), 2, 300, -1 });
        for (size_t i = 0; i < many.size(); ++i)
            many[i].text = QString::number(i); // distinct items: the sums table grows too
        QVERIFY(!store.Save(session(6, 5000, 0, many)));
        QCOMPARE(store.fault(), Fault::Full);
        QCOMPARE(store.Sessions(6).size(), size_t(1));
        QVERIFY(store.FaultMessage().contains(QStringLiteral("磁盘已满")));
    }

    void exportWritesEverySession()
    {
        Store store({ file() });
        QVERIFY(store.Save(session(7, 3, 1)));
        SessionRow article = session(9, 2, 0);
        article.title = QStringLiteral("静夜思, 李白");
        QVERIFY(store.Save(article));
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(store.ExportCsv(csv));
        const QByteArray bytes = readAll(csv);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("date,time,mode")));
        QCOMPARE(lines[1], QStringLiteral("2026-12-01,09:30:00,五笔练习,practice,,60,60,3,3,1,75.0,0"));
        QCOMPARE(
            lines[2], QStringLiteral("2026-12-01,09:30:00,五笔跟打,practice,\"静夜思, 李白\",60,60,2,2,0,100.0,0"));
        QString error;
        QVERIFY(!store.ExportCsv(dir.filePath(QStringLiteral("no/such/dir/out.csv")), &error));
        QVERIFY(!error.isEmpty());
    }

    // The phrase drill and the article face keep their sessions under modes of their own,
    // beyond the mode group's ten: the export leaves none of them out.
    void exportKeepsPhraseAndArticleSessions()
    {
        Store store({ file() });
        QVERIFY(store.Save(session(Mode::Phrases, 4, 0)));
        SessionRow article = session(Record::ArticleMode, 9, 1);
        article.title = QStringLiteral("静夜思");
        QVERIFY(store.Save(article));
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(store.ExportCsv(csv));
        const QStringList lines
            = QString::fromUtf8(readAll(csv).mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1], QStringLiteral("2026-12-01,09:30:00,词组练习,practice,,60,60,4,4,0,100.0,0"));
        QCOMPARE(lines[2], QStringLiteral("2026-12-01,09:30:00,文章跟打,practice,静夜思,60,60,9,9,1,90.0,0"));
    }
};

QTEST_GUILESS_MAIN(TstRecordStore)
#include "tst_record_store.moc"
