// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/RecordExport.h"
#include "session/Modes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QSqlDatabase;
class QSqlQuery;
class QSqlError;

// The learner's record: every finished session and the items typed in it, kept in one
// SQLite file per user. Any fault of the file (missing, damaged, locked, read-only, full)
// leaves practice untouched: the store says what went wrong and keeps what it could not
// write until a later save succeeds.
namespace Record {

struct ItemRow {
    QString text;
    QString code;
    int pictureNo = 0;
    qint64 shownMs = -1; // -1: never hit
    int misses = -1; // -1: not known which item a miss was meant for
};

struct SessionRow {
    qint64 id = 0; // set when read back
    qint64 startedMs = 0; // ms since the epoch; local time only when shown
    QDateTime started() const { return QDateTime::fromMSecsSinceEpoch(startedMs); }
    int mode = 0;
    int testSeconds = 0;
    int seconds = 0; // running seconds, pauses left out
    qint64 hits = 0;
    qint64 misses = 0;
    qint64 speed = 0; // items per minute as the result line gives it
    bool timeUp = false;
    // "practice" for the drill modes. Other kinds (an article typed through) carry a title
    // and their own measures as a small JSON object.
    QString kind = QStringLiteral("practice");
    QString title;
    QString measures;
    std::vector<ItemRow> items; // filled on saving only

    // hits / (hits + misses), or -1 when nothing was attempted.
    double accuracy() const { return hits + misses <= 0 ? -1.0 : double(hits) / double(hits + misses); }
};

struct ItemStat {
    QString text;
    QString code;
    int pictureNo = 0;
    qint64 hits = 0;
    qint64 totalMs = 0;
    qint64 misses = 0;
    double averageMs() const { return hits > 0 ? double(totalMs) / double(hits) : 0.0; }
};

struct Totals {
    qint64 sessions = 0;
    qint64 seconds = 0;
    qint64 hits = 0;
    qint64 misses = 0;
};

enum class Fault { None, NotRegularFile, SetAside, Locked, ReadOnly, Full, Newer, Unwritable };

class QUILLADO_RECORD_EXPORT Store {
public:
    static constexpr int SchemaVersion = 2;

    struct Options {
        QString path;
        int busyTimeoutMs = 1000;
        // Runs on every new connection after the store's own settings (tests narrow the
        // file's limits here).
        std::function<void(QSqlDatabase&)> afterOpen;
    };

    explicit Store(Options options);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // record.sqlite in the user's data location.
    static QString DefaultPath();
    QString path() const { return m_options.path; }

    // Opens (creating the file and its folder when `create`), migrates to the current
    // schema, and sets a damaged file aside for a fresh one. False when the record cannot
    // be used now; fault() says why.
    bool Open(bool create = true);
    bool isOpen() const { return m_open; }
    void Close();

    // Writes the session and its items in one transaction. On failure the session is kept
    // and written first at the next successful save.
    bool Save(SessionRow session);
    // Folds the write-ahead log into the file. Commits leave that to a quiet moment, so a
    // session's store never waits for it.
    void Checkpoint();
    size_t pendingCount() const { return m_pending.size(); }

    // Reading: an unopened or missing record reads as empty.
    std::vector<SessionRow> Sessions(int mode);
    Totals TotalsOf(int mode);
    std::vector<ItemStat> Slowest(int mode, int n);
    std::vector<ItemStat> MostMissed(int mode, int n);
    std::vector<ItemStat> History(int mode);
    // Every session with its accuracy, oldest first; a header row first.
    bool ExportCsv(const QString& file, QString* error = nullptr);

    Fault fault() const { return m_fault; }
    QString faultDetail() const { return m_faultDetail; }
    QString setAsidePath() const { return m_setAside; }
    void clearFault() { m_fault = Fault::None, m_faultDetail.clear(); }
    // One sentence for the learner about the last fault.
    QString FaultMessage() const;

private:
    bool openConnection();
    bool migrate();
    bool setAside();
    bool writeSession(const SessionRow& session);
    void noteError(const QString& where, const QSqlError& error);
    bool isCorrupt(const QSqlError& error) const;
    QSqlDatabase db() const;

    Options m_options;
    QString m_connection;
    bool m_open = false;
    Fault m_fault = Fault::None;
    int m_lastCode = 0;
    bool m_newer = false; // written by a newer program: read only
    QString m_faultDetail;
    QString m_setAside;
    std::vector<SessionRow> m_pending;
};

// The ten modes of the mode group, then the phrase drill and the article face.
constexpr int ArticleMode = Mode::Phrases + 1;
constexpr int ModeCount = ArticleMode + 1;
QUILLADO_RECORD_EXPORT QString ModeCaption(int mode);

} // namespace Record
