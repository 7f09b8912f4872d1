// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Tables.h"
#include "session/Drill.h"
#include "session/Tally.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "record/RecordBackend.h"
class QWidget;

// The main window's link to the learner's record: it counts the running session silently,
// stores it at End and time-up, keeps the weak-items drill, and opens the record window.
// The record file is opened only when first needed, never during start-up, and no fault of
// it ever stops practice: the first one is told once, the rest quietly.
class LearningRecord {
public:
    LearningRecord();
    ~LearningRecord();

    // Milliseconds of a steady clock, for the items' times. Tests set their own.
    std::function<std::int64_t()> clock;
    // The record file; empty means the user's data location.
    QString path;
    // Where the record library lies (with its trailing separator); empty means beside the
    // program.
    QString libraryDir;

    void Started(int mode, int testSeconds);
    void Paused();
    void Resumed();
    void Hit(int slot, const ItemKey& item);
    void Miss();
    void MissOn(int slot, const ItemKey& item);
    // Stores the session ended now. Returns its accuracy for a tooltip (empty when nothing
    // was tried, or no session was running).
    QString Ended(int mode, bool timeUp, std::int64_t hits, std::int64_t seconds, std::int64_t speed);
    bool running() const { return m_tally.Active(); }
    // Stores a session made elsewhere (an article typed through: kind "article", its title
    // and measures), with the same fault handling as a drill session.
    void Keep(Record::SessionRow row);

    // The drill switch, kept in the user's settings.
    bool drillOn() const;
    void setDrillOn(bool on);
    // Chooses the records `drill` favours in `mode`, or none when it is off.
    void PrepareDrill(int mode, const DataTables& tables, WeakDrill& drill);

    void OpenWindow(QWidget* parent, int mode);
    // For the record's tests, which link its library; the program itself never looks
    // inside the window (its type lives in the library).
    RecordWindow* window() const { return static_cast<RecordWindow*>(m_window.data()); }

    // The store, opened on first use; null when the record library is missing.
    Record::Store* store();

private:
    Record::Backend& backend();
    void reportOnce();

    SessionTally m_tally;
    QDateTime m_started;
    int m_testSeconds = 0;
    std::unique_ptr<Record::Backend> m_backend;
    QPointer<QWidget> m_window;
    bool m_reported = false;
    std::unique_ptr<QObject> m_context; // deferred work ends with the record
};

// "正确率" text for the result line's tooltip.
QString AccuracyToolTip(double accuracy, std::int64_t hits, std::int64_t misses);
