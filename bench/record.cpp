// SPDX-License-Identifier: GPL-3.0-or-later
// The learning record's costs: storing a session at End, and opening the record window
// over a long history (10,000 sessions, 1,000,000 item rows). Prints Markdown table rows
// in the form of the other benchmarks.

#include "presentation/Pictures.h"
#include "record/RecordStore.h"
#include "record/RecordWindow.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Row(const char* what, std::vector<double> v, const char* target, double limit)
{
    std::sort(v.begin(), v.end());
    const double median = v[v.size() / 2], p95 = v[std::min(v.size() - 1, v.size() * 95 / 100)], max = v.back();
    std::printf("| %s | %.3f ms | %.3f ms | %.3f ms | %zu | %s | %s |\n", what, median, p95, max, v.size(), target,
        p95 <= limit ? "✓" : "✗");
}

// A history as ten years of daily practice would leave it, written in one statement each.
void Fill(const QString& path, int sessions, int itemsPerSession)
{
    {
        Record::Store store({ path });
        store.Open();
    }
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    d.setDatabaseName(path);
    d.open();
    QSqlQuery q(d);
    q.exec(QStringLiteral("BEGIN"));
    q.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < %1)"
                          " INSERT INTO sessions(started, mode, test_seconds, seconds, hits, misses, speed, accuracy,"
                          " time_up, kind) SELECT 1600000000000 + x * 3600000, 7, 600, 600, %2, x % 9,"
                          " 20 + x % 40, %2 * 1.0 / (%2 + x % 9), 1, 'practice' FROM n")
               .arg(sessions - 1)
               .arg(itemsPerSession));
    q.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < %1)"
                          " INSERT INTO items(session, text, code, picture, shown_ms, misses)"
                          " SELECT x / %2 + 1, char(19968 + (x * 7919) % 6000), 'ABCD', (x * 7919) % 6000 % 2436 + 1,"
                          " 400 + (x * 31) % 4000, NULL FROM n")
               .arg(qint64(sessions) * itemsPerSession - 1)
               .arg(itemsPerSession));
    q.exec(QStringLiteral(
        "INSERT INTO item_stats(mode, text, code, picture, hits, total_ms, misses)"
        " SELECT 7, text, code, MAX(picture), count(*), SUM(shown_ms), 0 FROM items GROUP BY text, code"));
    q.exec(QStringLiteral("COMMIT"));
    q = QSqlQuery();
    d.close();
    d = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

Record::SessionRow Typical(int i)
{
    // A one-minute session of Wubi characters: 60 items.
    Record::SessionRow s;
    s.startedMs = QDateTime::currentMSecsSinceEpoch() + i;
    s.mode = 7;
    s.testSeconds = 60;
    s.seconds = 60;
    s.hits = 60;
    s.misses = 3;
    s.speed = 60;
    for (int k = 0; k < 60; ++k)
        s.items.push_back(
            { QString(QChar(0x4E00 + (i * 61 + k * 13) % 6000)), QStringLiteral("ABCD"), k + 1, 900 + k, -1 });
    return s;
}
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;

    {
        // The first End of a learner's life creates the file and its schema.
        std::vector<double> first;
        for (int run = 0; run < 10; ++run) {
            const QString path = dir.filePath(QStringLiteral("first%1.sqlite").arg(run));
            const auto t0 = Clock::now();
            Record::Store store({ path });
            store.Save(Typical(run));
            first.push_back(Ms(Clock::now() - t0));
        }
        Row("record: first End (create the file, store a 60-item session)", first, "(once per user)", 1e9);
    }

    const QString big = dir.filePath(QStringLiteral("history.sqlite"));
    const auto tf = Clock::now();
    Fill(big, 10000, 100);
    std::fprintf(stderr, "history written in %.0f ms\n", Ms(Clock::now() - tf));

    {
        Record::Store store({ big });
        store.Open();
        std::vector<double> times;
        for (int i = 0; i < 100; ++i) {
            Record::SessionRow s = Typical(i);
            const auto t0 = Clock::now();
            store.Save(std::move(s));
            times.push_back(Ms(Clock::now() - t0));
        }
        Row("record: store a 60-item session at End (10,000 sessions already)", times, "≤ 5 ms", 5.0);
    }

    {
        std::vector<double> times;
        for (int run = 0; run < 10; ++run) {
            const auto t0 = Clock::now();
            Record::Store store({ big });
            RecordWindow::Hooks hooks;
            hooks.picture = [](int n) {
                try {
                    return LoadDecompositionPicture(n);
                } catch (...) {
                    return QImage();
                }
            };
            RecordWindow window(store, 7, hooks);
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                std::fprintf(stderr, "the record window was never exposed\n");
            window.repaint();
            times.push_back(Ms(Clock::now() - t0));
        }
        Row("record: open the record window (10,000 sessions, 1,000,000 item rows, one mode)", times, "≤ 300 ms",
            300.0);
    }
    return 0;
}
