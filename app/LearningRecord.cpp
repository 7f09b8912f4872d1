// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LearningRecord.h"

#include "platform/Platform.h"
#include "presentation/Pictures.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace {
const char* const drillKey = "WeakDrill";

QSettings userSettings()
{
    return QSettings(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelunor"), QStringLiteral("Quillado"));
}
}

LearningRecord::LearningRecord()
    : m_context(std::make_unique<QObject>())
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    clock = [timer] { return std::int64_t(timer->elapsed()); };
}

LearningRecord::~LearningRecord()
{
    if (m_window)
        delete m_window.data();
}

Record::Backend& LearningRecord::backend()
{
    // The library (Qt Sql and Qt Charts with it) is opened here, at the first session stored
    // or history read, never while the window starts.
    if (!m_backend)
        m_backend = Record::LoadRecordLibrary(libraryDir.isEmpty() ? Platform::ProgramDir() : libraryDir, path);
    return *m_backend;
}

Record::Store* LearningRecord::store() { return backend().store(); }

void LearningRecord::reportOnce()
{
    const QString text = backend().TakeFault();
    if (text.isEmpty() || m_reported)
        return;
    m_reported = true;
    Platform::ShowMessageBox(text, QStringLiteral("练习记录"), Platform::MessageIcon::Information);
}

void LearningRecord::Started(int mode, int testSeconds)
{
    m_tally.Begin(mode, clock());
    m_started = QDateTime::currentDateTime();
    m_testSeconds = testSeconds;
}

void LearningRecord::Paused() { m_tally.Pause(clock()); }
void LearningRecord::Resumed() { m_tally.Resume(clock()); }
void LearningRecord::Hit(int slot, const ItemKey& item) { m_tally.Hit(slot, item, clock()); }
void LearningRecord::Miss() { m_tally.Miss(); }
void LearningRecord::MissOn(int slot, const ItemKey& item) { m_tally.MissOn(slot, item); }

QString LearningRecord::Ended(int mode, bool timeUp, std::int64_t hits, std::int64_t seconds, std::int64_t speed)
{
    if (!m_tally.Active())
        return QString();
    const std::int64_t misses = m_tally.misses();
    Record::SessionRow row;
    row.startedMs = m_started.toMSecsSinceEpoch();
    row.mode = mode;
    row.testSeconds = m_testSeconds;
    row.seconds = int(seconds);
    row.hits = hits;
    row.misses = misses;
    row.speed = speed;
    row.timeUp = timeUp;
    for (const ItemOutcome& o : m_tally.Finish())
        row.items.push_back(
            { Platform::FromGbk(o.item.text), Platform::FromGbk(o.item.code), o.item.pictureNo, o.shownMs, o.misses });
    QString toolTip = AccuracyToolTip(row.accuracy(), hits, misses);
    Keep(std::move(row));
    return toolTip;
}

void LearningRecord::Keep(Record::SessionRow row)
{
    if (backend().Save(std::move(row))) {
        // Once the result line is on the screen, not before it.
        QTimer::singleShot(250, m_context.get(), [b = m_backend.get()] { b->Checkpoint(); });
    }
    // A damaged file set aside is told even when this session was kept in a fresh one.
    reportOnce();
    if (m_window)
        backend().ShowMode(*m_window, Mode::None);
}

bool LearningRecord::drillOn() const { return userSettings().value(QString::fromLatin1(drillKey), 0).toInt() != 0; }

void LearningRecord::setDrillOn(bool on)
{
    QSettings settings = userSettings();
    settings.setValue(QString::fromLatin1(drillKey), on ? 1 : 0);
}

void LearningRecord::PrepareDrill(int mode, const DataTables& tables, WeakDrill& drill)
{
    drill.Clear();
    if (!Mode::IsInputBox(mode) || !drillOn())
        return;
    std::vector<ItemHistory> histories;
    for (const Record::ItemStat& s : backend().History(mode))
        histories.push_back(
            { { Platform::ToGbk(s.text), Platform::ToGbk(s.code), s.pictureNo }, s.hits, s.totalMs, s.misses });
    reportOnce();
    std::vector<ItemKey> weakest;
    for (const ItemHistory& h : Weakest(std::move(histories), WeakDrill::WeakestCount))
        weakest.push_back(h.item);
    drill.Set(mode, RecordsOf(mode, tables, weakest));
}

void LearningRecord::OpenWindow(QWidget* parent, int mode)
{
    if (!m_window) {
        RecordWindow::Hooks hooks;
        hooks.drillOn = [this] { return drillOn(); };
        hooks.setDrill = [this](bool on) { setDrillOn(on); };
        hooks.picture = [](int n) {
            QImage image;
            // A missing picture leaves its cell empty; the record stays readable.
            try {
                image = LoadDecompositionPicture(n);
            } catch (const std::exception&) {
            }
            return image;
        };
        hooks.askExportFile = [](QWidget* owner) {
            return QFileDialog::getSaveFileName(owner, QStringLiteral("导出练习记录"),
                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/练习记录.csv"),
                QStringLiteral("CSV (*.csv)"));
        };
        hooks.report = [](const QString& text) {
            Platform::ShowMessageBox(text, QStringLiteral("练习记录"), Platform::MessageIcon::Information);
        };
        m_window = backend().MakeWindow(mode, std::move(hooks), parent);
        if (!m_window) {
            // Asked for by the learner: told every time, not only once.
            Platform::ShowMessageBox(
                backend().TakeFault(), QStringLiteral("练习记录"), Platform::MessageIcon::Information);
            return;
        }
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        reportOnce();
    } else if (mode != Mode::None) {
        backend().ShowMode(*m_window, mode);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

QString AccuracyToolTip(double accuracy, std::int64_t hits, std::int64_t misses)
{
    if (accuracy < 0)
        return QString();
    return QStringLiteral("正确率：%1%（打对%2，打错%3）").arg(accuracy * 100.0, 0, 'f', 1).arg(hits).arg(misses);
}
