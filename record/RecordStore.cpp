// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

namespace Record {

namespace {
    std::atomic<int> connectionCounter { 0 };

    // SQLite's primary result codes, as the driver passes them on.
    constexpr int SqliteBusy = 5;
    constexpr int SqliteLocked = 6;
    constexpr int SqliteReadOnly = 8;
    constexpr int SqliteCorrupt = 11;
    constexpr int SqliteFull = 13;
    constexpr int SqliteCantOpen = 14;
    constexpr int SqliteNotADatabase = 26;

    int primaryCode(const QSqlError& error)
    {
        bool ok = false;
        const int code = error.nativeErrorCode().toInt(&ok);
        return ok ? (code & 0xff) : -1;
    }

    // Each step moves the schema on by one version; a fresh file runs them all, so the path an
    // old file takes is the path every file takes.
    const std::vector<QStringList>& migrations()
    {
        static const std::vector<QStringList> steps = {
            // 0 -> 1: sessions and the items typed in them.
            {
                QStringLiteral("CREATE TABLE sessions(id INTEGER PRIMARY KEY, started INTEGER NOT NULL,"
                               " mode INTEGER NOT NULL, test_seconds INTEGER NOT NULL, seconds INTEGER NOT NULL,"
                               " hits INTEGER NOT NULL, misses INTEGER NOT NULL, speed INTEGER NOT NULL,"
                               " accuracy REAL, time_up INTEGER NOT NULL DEFAULT 0)"),
                QStringLiteral("CREATE INDEX sessions_by_mode ON sessions(mode, started)"),
                QStringLiteral("CREATE TABLE items(session INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,"
                               " text TEXT NOT NULL, code TEXT NOT NULL, picture INTEGER NOT NULL DEFAULT 0,"
                               " shown_ms INTEGER, misses INTEGER)"),
                QStringLiteral("CREATE INDEX items_by_session ON items(session)"),
            },
            // 1 -> 2: other kinds of session (an article with its title and measures), and a
            // running sum per item so the weakest items never need a pass over every item row.
            {
                QStringLiteral("ALTER TABLE sessions ADD COLUMN kind TEXT NOT NULL DEFAULT 'practice'"),
                QStringLiteral("ALTER TABLE sessions ADD COLUMN title TEXT"),
                QStringLiteral("ALTER TABLE sessions ADD COLUMN measures TEXT"),
                QStringLiteral("CREATE TABLE item_stats(mode INTEGER NOT NULL, text TEXT NOT NULL, code TEXT NOT NULL,"
                               " picture INTEGER NOT NULL DEFAULT 0, hits INTEGER NOT NULL DEFAULT 0,"
                               " total_ms INTEGER NOT NULL DEFAULT 0, misses INTEGER NOT NULL DEFAULT 0,"
                               " PRIMARY KEY(mode, text, code)) WITHOUT ROWID"),
                QStringLiteral("INSERT INTO item_stats(mode, text, code, picture, hits, total_ms, misses)"
                               " SELECT s.mode, i.text, i.code, MAX(i.picture), SUM(i.shown_ms IS NOT NULL),"
                               " COALESCE(SUM(i.shown_ms), 0), COALESCE(SUM(MAX(i.misses, 0)), 0)"
                               " FROM items i JOIN sessions s ON s.id = i.session GROUP BY s.mode, i.text, i.code"),
            },
        };
        return steps;
    }

    const char* const modeCaptions[] = { "英文(大)", "英文(小)", "数字练习", "拼音练习", "字根练习", "一级简码",
        "二级简码", "五笔练习", "拼音跟打", "五笔跟打", "词组练习", "文章跟打" };
}

QString ModeCaption(int mode)
{
    if (mode < 0 || mode >= int(std::size(modeCaptions)))
        return QString::number(mode);
    return QString::fromUtf8(modeCaptions[mode]);
}

Store::Store(Options options)
    : m_options(std::move(options))
    , m_connection(QStringLiteral("quillado-record-%1").arg(++connectionCounter))
{
}

Store::~Store() { Close(); }

QString Store::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/record.sqlite");
}

QSqlDatabase Store::db() const { return QSqlDatabase::database(m_connection, false); }

void Store::Close()
{
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase d = db();
            d.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

bool Store::isCorrupt(const QSqlError& error) const
{
    const int code = primaryCode(error);
    return code == SqliteCorrupt || code == SqliteNotADatabase;
}

void Store::noteError(const QString& where, const QSqlError& error)
{
    m_lastCode = primaryCode(error);
    switch (m_lastCode) {
    case SqliteBusy:
    case SqliteLocked:
        m_fault = Fault::Locked;
        break;
    case SqliteReadOnly:
        m_fault = Fault::ReadOnly;
        break;
    case SqliteFull:
        m_fault = Fault::Full;
        break;
    default:
        m_fault = Fault::Unwritable;
        break;
    }
    m_faultDetail = where + QStringLiteral(": ") + error.text();
}

bool Store::openConnection()
{
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    d.setDatabaseName(m_options.path);
    d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_options.busyTimeoutMs));
    if (!d.open()) {
        noteError(QStringLiteral("open"), d.lastError());
        if (primaryCode(d.lastError()) == SqliteCantOpen)
            m_fault = Fault::Unwritable;
        return false;
    }
    return true;
}

bool Store::Open(bool create)
{
    if (m_open)
        return true;
    const QFileInfo info(m_options.path);
    // Whatever the user's folders hold, the record is only ever a plain file: a FIFO would
    // block the program and a device is no place for it.
    for (const QString& suffix : { QString(), QStringLiteral("-wal"), QStringLiteral("-shm") }) {
        const QFileInfo part(m_options.path + suffix);
        if ((part.exists() || part.isSymLink()) && !part.isFile()) {
            m_fault = Fault::NotRegularFile;
            m_faultDetail = part.filePath();
            return false;
        }
    }
    if (!info.exists()) {
        if (!create)
            return false;
        if (!QDir().mkpath(info.absolutePath())) {
            m_fault = Fault::Unwritable;
            m_faultDetail = info.absolutePath();
            return false;
        }
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!openConnection()) {
            Close();
            return false;
        }
        QSqlQuery q(db());
        // WAL lets a second running copy read while this one writes; NORMAL keeps a commit
        // to one sync of the log.
        bool ok = q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))
            && q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) && q.exec(QStringLiteral("PRAGMA foreign_keys=ON"))
            && q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
        if (ok && m_options.afterOpen) {
            QSqlDatabase d = db();
            m_options.afterOpen(d);
        }
        if (ok) {
            ok = migrate();
        } else {
            noteError(QStringLiteral("settings"), q.lastError());
            if (isCorrupt(q.lastError()))
                m_fault = Fault::SetAside;
        }
        if (ok || m_fault == Fault::Newer) {
            m_newer = !ok;
            m_open = true;
            return true;
        }
        const bool corrupt = m_fault == Fault::SetAside;
        q = QSqlQuery();
        Close();
        if (!corrupt || attempt > 0 || !setAside())
            return false;
        // A fresh file replaces the damaged one; the old one stays beside it untouched.
    }
    return false;
}

bool Store::migrate()
{
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        if (isCorrupt(q.lastError())) {
            m_fault = Fault::SetAside;
            m_faultDetail = q.lastError().text();
        } else {
            noteError(QStringLiteral("version"), q.lastError());
        }
        return false;
    }
    const int version = q.value(0).toInt();
    q.finish();
    if (version > SchemaVersion) {
        // Written by a newer program: read what we can, write nothing.
        m_fault = Fault::Newer;
        m_faultDetail = QString::number(version);
        return false;
    }
    // A file that is not a database at all fails at its first real read.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        if (isCorrupt(q.lastError())) {
            m_fault = Fault::SetAside;
            m_faultDetail = q.lastError().text();
        } else {
            noteError(QStringLiteral("schema"), q.lastError());
        }
        return false;
    }
    q.finish();
    const auto& steps = migrations();
    for (int v = version; v < SchemaVersion; ++v) {
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            noteError(QStringLiteral("migrate"), q.lastError());
            return false;
        }
        for (const QString& statement : steps[size_t(v)]) {
            if (!q.exec(statement)) {
                noteError(QStringLiteral("migrate"), q.lastError());
                if (isCorrupt(q.lastError()))
                    m_fault = Fault::SetAside;
                QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
        if (!q.exec(QStringLiteral("PRAGMA user_version=%1").arg(v + 1)) || !q.exec(QStringLiteral("COMMIT"))) {
            noteError(QStringLiteral("migrate"), q.lastError());
            QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return true;
}

bool Store::setAside()
{
    const QFileInfo info(m_options.path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target;
    for (int n = 0;; ++n) {
        target = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".damaged-") + stamp
            + (n ? QStringLiteral("-%1").arg(n) : QString()) + QLatin1Char('.') + info.suffix();
        if (!QFileInfo::exists(target))
            break;
    }
    if (!QFile::rename(m_options.path, target)) {
        m_fault = Fault::Unwritable;
        m_faultDetail = target;
        return false;
    }
    // The log and index belong to the damaged file; a fresh file must not pick them up.
    for (const QString& suffix : { QStringLiteral("-wal"), QStringLiteral("-shm") })
        if (QFileInfo::exists(m_options.path + suffix))
            QFile::rename(m_options.path + suffix, target + suffix);
    m_setAside = target;
    m_fault = Fault::SetAside;
    return true;
}

bool Store::writeSession(const SessionRow& s)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        noteError(QStringLiteral("begin"), q.lastError());
        return false;
    }
    auto fail = [&](const QSqlQuery& failed) {
        noteError(QStringLiteral("save"), failed.lastError());
        QSqlQuery(d).exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    q.prepare(QStringLiteral("INSERT INTO sessions(started, mode, test_seconds, seconds, hits, misses, speed, accuracy,"
                             " time_up, kind, title, measures) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)"));
    q.addBindValue(s.startedMs);
    q.addBindValue(s.mode);
    q.addBindValue(s.testSeconds);
    q.addBindValue(s.seconds);
    q.addBindValue(s.hits);
    q.addBindValue(s.misses);
    q.addBindValue(s.speed);
    q.addBindValue(s.accuracy() < 0 ? QVariant(QMetaType(QMetaType::Double)) : QVariant(s.accuracy()));
    q.addBindValue(s.timeUp ? 1 : 0);
    q.addBindValue(s.kind);
    q.addBindValue(s.title.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s.title));
    q.addBindValue(s.measures.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s.measures));
    if (!q.exec())
        return fail(q);
    const qint64 id = q.lastInsertId().toLongLong();

    QSqlQuery item(d);
    item.prepare(
        QStringLiteral("INSERT INTO items(session, text, code, picture, shown_ms, misses) VALUES(?,?,?,?,?,?)"));
    QSqlQuery stat(d);
    stat.prepare(QStringLiteral("INSERT INTO item_stats(mode, text, code, picture, hits, total_ms, misses)"
                                " VALUES(?,?,?,?,?,?,?) ON CONFLICT(mode, text, code) DO UPDATE SET"
                                " picture = excluded.picture, hits = hits + excluded.hits,"
                                " total_ms = total_ms + excluded.total_ms, misses = misses + excluded.misses"));
    const QVariant nullInt { QMetaType(QMetaType::LongLong) };
    for (const ItemRow& r : s.items) {
        item.addBindValue(id);
        item.addBindValue(r.text);
        item.addBindValue(r.code);
        item.addBindValue(r.pictureNo);
        item.addBindValue(r.shownMs < 0 ? nullInt : QVariant(r.shownMs));
        item.addBindValue(r.misses < 0 ? nullInt : QVariant(qint64(r.misses)));
        if (!item.exec())
            return fail(item);
        stat.addBindValue(s.mode);
        stat.addBindValue(r.text);
        stat.addBindValue(r.code);
        stat.addBindValue(r.pictureNo);
        stat.addBindValue(r.shownMs < 0 ? 0 : 1);
        stat.addBindValue(r.shownMs < 0 ? 0 : r.shownMs);
        stat.addBindValue(qint64(r.misses < 0 ? 0 : r.misses));
        if (!stat.exec())
            return fail(stat);
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return fail(q);
    return true;
}

bool Store::Save(SessionRow session)
{
    m_pending.push_back(std::move(session));
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Open(true))
            return false;
        if (m_newer) {
            m_fault = Fault::Newer;
            return false;
        }
        while (!m_pending.empty() && writeSession(m_pending.front()))
            m_pending.erase(m_pending.begin());
        if (m_pending.empty())
            return true;
        if (m_lastCode != SqliteCorrupt && m_lastCode != SqliteNotADatabase)
            return false;
        // Damage found while writing: the file goes aside and a fresh one takes the sessions.
        Close();
        if (!setAside())
            return false;
    }
    return false;
}

void Store::Checkpoint()
{
    if (m_open)
        QSqlQuery(db()).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

std::vector<SessionRow> Store::Sessions(int mode)
{
    std::vector<SessionRow> rows;
    if (!Open(false))
        return rows;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, started, mode, test_seconds, seconds, hits, misses, speed, time_up, kind,"
                             " title, measures FROM sessions WHERE mode = ? ORDER BY started, id"));
    q.addBindValue(mode);
    if (!q.exec())
        return rows;
    while (q.next()) {
        SessionRow s;
        s.id = q.value(0).toLongLong();
        s.startedMs = q.value(1).toLongLong();
        s.mode = q.value(2).toInt();
        s.testSeconds = q.value(3).toInt();
        s.seconds = q.value(4).toInt();
        s.hits = q.value(5).toLongLong();
        s.misses = q.value(6).toLongLong();
        s.speed = q.value(7).toLongLong();
        s.timeUp = q.value(8).toInt() != 0;
        s.kind = q.value(9).toString();
        s.title = q.value(10).toString();
        s.measures = q.value(11).toString();
        rows.push_back(std::move(s));
    }
    return rows;
}

Totals Store::TotalsOf(int mode)
{
    Totals t;
    if (!Open(false))
        return t;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT count(*), COALESCE(SUM(seconds), 0), COALESCE(SUM(hits), 0),"
                             " COALESCE(SUM(misses), 0) FROM sessions WHERE mode = ?"));
    q.addBindValue(mode);
    if (q.exec() && q.next())
        t = { q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong() };
    return t;
}

namespace {
    std::vector<ItemStat> readStats(QSqlQuery& q)
    {
        std::vector<ItemStat> out;
        if (!q.exec())
            return out;
        while (q.next())
            out.push_back({ q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toLongLong(),
                q.value(4).toLongLong(), q.value(5).toLongLong() });
        return out;
    }
}

std::vector<ItemStat> Store::Slowest(int mode, int n)
{
    if (!Open(false))
        return {};
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT text, code, picture, hits, total_ms, misses FROM item_stats"
                             " WHERE mode = ? AND hits > 0 ORDER BY total_ms * 1.0 / hits DESC, text LIMIT ?"));
    q.addBindValue(mode);
    q.addBindValue(n);
    return readStats(q);
}

std::vector<ItemStat> Store::MostMissed(int mode, int n)
{
    if (!Open(false))
        return {};
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT text, code, picture, hits, total_ms, misses FROM item_stats"
                             " WHERE mode = ? AND misses > 0 ORDER BY misses DESC, text LIMIT ?"));
    q.addBindValue(mode);
    q.addBindValue(n);
    return readStats(q);
}

std::vector<ItemStat> Store::History(int mode)
{
    if (!Open(false))
        return {};
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT text, code, picture, hits, total_ms, misses FROM item_stats WHERE mode = ?"));
    q.addBindValue(mode);
    return readStats(q);
}

namespace {
    QString csvField(const QString& value)
    {
        if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"'))
            && !value.contains(QLatin1Char('\n')))
            return value;
        QString quoted = value;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    }
}

bool Store::ExportCsv(const QString& file, QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    // A byte-order mark so spreadsheet programs read the Chinese captions as UTF-8.
    QByteArray text("\xEF\xBB\xBF");
    text += "date,time,mode,kind,title,test seconds,seconds,speed per minute,hits,misses,accuracy %,time up\r\n";
    for (int mode = 0; mode < ModeCount; ++mode) {
        for (const SessionRow& s : Sessions(mode)) {
            const double accuracy = s.accuracy();
            const QDateTime started = s.started();
            const QStringList fields = { started.toString(QStringLiteral("yyyy-MM-dd")),
                started.toString(QStringLiteral("HH:mm:ss")), csvField(ModeCaption(s.mode)), csvField(s.kind),
                csvField(s.title), QString::number(s.testSeconds), QString::number(s.seconds), QString::number(s.speed),
                QString::number(s.hits), QString::number(s.misses),
                accuracy < 0 ? QString() : QString::number(accuracy * 100.0, 'f', 1),
                s.timeUp ? QStringLiteral("1") : QStringLiteral("0") };
            text += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
        }
    }
    out.write(text);
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

QString Store::FaultMessage() const
{
    switch (m_fault) {
    case Fault::None:
        return {};
    case Fault::NotRegularFile:
        return QStringLiteral("练习记录“%1”不是普通文件，本次运行不记录练习。练习照常进行。").arg(m_faultDetail);
    case Fault::SetAside:
        return QStringLiteral("练习记录文件已损坏，已原样保存为“%1”，并新建了一份记录。练习照常进行。").arg(m_setAside);
    case Fault::Locked:
        return QStringLiteral("练习记录正被另一个程序占用，本次成绩暂未保存，下次结束练习时会再次保存。练习照常进行。");
    case Fault::ReadOnly:
        return QStringLiteral("练习记录是只读的，本次成绩暂未保存，下次结束练习时会再次保存。练习照常进行。");
    case Fault::Full:
        return QStringLiteral("磁盘已满，练习记录暂未保存，下次结束练习时会再次保存。练习照常进行。");
    case Fault::Newer:
        return QStringLiteral("练习记录由较新版本的程序写成，本版本只读不写。练习照常进行。");
    case Fault::Unwritable:
        return QStringLiteral("练习记录无法写入（%1），本次成绩暂未保存，下次结束练习时会再次保存。练习照常进行。")
            .arg(m_faultDetail);
    }
    return {};
}

} // namespace Record
