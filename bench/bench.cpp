// SPDX-License-Identifier: GPL-3.0-or-later
// In-process benchmarks of the trainer's hot paths, on the real window with the real data:
// loading and deciphering the five tables, ShowDecompositionPicture, a judged keystroke
// from the key event to the repainted label, and peak memory after a 60-key session.
// Run it on a real display server (bench/run uses Xvfb); it prints Markdown table rows.

#include "app/InputBox.h"
#include "app/Unit1.h"
#include "bench/BenchSupport.h"
#include "data/Tables.h"
#include "platform/Platform.h"
#include "session/Judge.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Row(const std::string& what, const Stats& s, const std::string& target, double limit, const char* unit = "ms")
{
    std::printf("| %s | %.3f %s | %.3f %s | %.3f %s | %zu | %s | %s |\n", what.c_str(), s.median, unit, s.p95, unit,
        s.max, unit, s.n, target.c_str(), s.median <= limit ? "met" : "missed");
    std::fflush(stdout);
}

long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return -1;
}

// Delivers every pending event until `spy` saw a paint; the event round that painted has
// also flushed the window to the display server.
bool PumpUntilPainted(PaintSpy& spy, int budgetMs = 2000)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(budgetMs);
    while (!spy.painted && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return spy.painted;
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QWidget* KeyTarget(TForm1& form)
{
    QWidget* w = QApplication::focusWidget();
    return w ? w : &form;
}

// One keystroke as the window system delivers it: press and release to the focused widget.
void Key(TForm1& form, char c)
{
    QWidget* target = KeyTarget(form);
    const Qt::Key key = c == ' ' ? Qt::Key_Space
        : (c >= 'a' && c <= 'z') ? Qt::Key(Qt::Key_A + (c - 'a'))
        : (c >= 'A' && c <= 'Z') ? Qt::Key(Qt::Key_A + (c - 'A'))
                                 : Qt::Key(c);
    QTest::sendKeyEvent(QTest::Press, target, key, c, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, target, key, c, Qt::NoModifier);
}

// The slot's hit effect would end by its own timer 500 ms later; end it now, so the next
// keystroke starts from a quiet window.
void FinishEffects(TForm1& form)
{
    if (form.Timer3->isActive())
        form.Timer3Timer();
    if (form.Timer4->isActive())
        form.Timer4Timer();
    if (form.Timer5->isActive())
        form.Timer5Timer();
    if (form.Timer6->isActive())
        form.Timer6Timer();
    Settle();
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// The keys that hit slot 1, and keys that hit nothing, in `mode`.
std::string HitKeys(TForm1& form, int mode)
{
    switch (mode) {
    case Mode::UpperLetters:
        return form.bank.keySlots[1];
    case Mode::Roots:
        return Lower(form.bank.wbzgSlots[1].code);
    case Mode::WubiChars: {
        const std::string code = Lower(form.bank.wbSlots[1].codes[1]);
        return code.size() < 4 ? code + " " : code;
    }
    }
    return {};
}

std::string MissKeys(TForm1& form, int mode, std::mt19937& random)
{
    for (;;) {
        std::string keys;
        const int length = mode == Mode::WubiChars ? 4 : 1;
        for (int i = 0; i < length; ++i)
            keys += char((mode == Mode::UpperLetters ? 'A' : 'a') + random() % 26);
        bool hits = false;
        if (mode == Mode::UpperLetters)
            hits = MatchKey(form.bank.keySlots, keys[0]) != 0;
        else if (mode == Mode::Roots)
            hits = MatchAttempt(form.bank.wbzgSlots, AsciiUpper(keys)) != 0;
        else
            hits = MatchAttempt(form.bank.wbSlots, AsciiUpper(keys)) != 0;
        if (!hits)
            return keys;
    }
}

// Times the last key of `keys` from its event to the repaint of the widget `spy` watches.
double TimeLastKey(TForm1& form, const std::string& keys, PaintSpy& spy)
{
    for (std::size_t i = 0; i + 1 < keys.size(); ++i)
        Key(form, keys[i]);
    Settle();
    spy.painted = false;
    const auto t0 = Clock::now();
    Key(form, keys.back());
    if (!PumpUntilPainted(spy)) {
        std::fprintf(stderr, "no repaint after key '%c'\n", keys.back());
        return -1;
    }
    return Ms(Clock::now() - t0);
}

void KeyToRepaint(TForm1& form, int mode, const char* name, int rounds)
{
    std::mt19937 random(1234u + unsigned(mode));
    form.SetItemIndex(form.RadioGroup1, mode);
    form.SetItemIndex(form.RadioGroup2, 7);
    Platform::RunHandler([&] { form.Button1Click(); });
    form.Edit1->setFocus();
    Settle();
    std::vector<double> hits, misses;
    for (int i = 0; i < rounds; ++i) {
        // Hit: the slot label turns red.
        {
            const std::string keys = HitKeys(form, mode);
            const int count = mode <= 2 ? form.keyHitCount : form.inputHitCount;
            QLabel* label = form.Label1;
            PaintSpy spy;
            label->installEventFilter(&spy);
            const double ms = TimeLastKey(form, keys, spy);
            label->removeEventFilter(&spy);
            if ((mode <= 2 ? form.keyHitCount : form.inputHitCount) != count + 1)
                std::fprintf(stderr, "mode %d: '%s' did not hit\n", mode, keys.c_str());
            else if (ms >= 0)
                hits.push_back(ms);
            FinishEffects(form);
        }
        // Miss: only the input box changes.
        {
            const std::string keys = MissKeys(form, mode, random);
            PaintSpy spy;
            form.Edit1->installEventFilter(&spy);
            const double ms = TimeLastKey(form, keys, spy);
            form.Edit1->removeEventFilter(&spy);
            if (ms >= 0)
                misses.push_back(ms);
            form.Edit1->clear();
            Settle();
        }
    }
    Platform::RunHandler([&] { form.Button2Click(); });
    Settle();
    Row(std::string("key to repaint, mode ") + std::to_string(mode) + " (" + name + "), hit", Summarise(hits), "≤ 1 ms",
        1.0);
    Row(std::string("key to repaint, mode ") + std::to_string(mode) + " (" + name + "), miss", Summarise(misses),
        "≤ 1 ms", 1.0);
}

// Shows the window and lets the first paints and the deferred start-up work run out.
void ShowSettled(TForm1& form)
{
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "the window was never exposed\n");
    Settle();
}

// Peak memory: this process is the program's window plus the benchmark's own small code; a
// fresh window goes through a 60-key Wubi session with its hit effects.
int MemoryAfterSession()
{
    TForm1 form;
    ShowSettled(form);
    const long startKiB = StatusKiB("VmHWM");
    form.SetItemIndex(form.RadioGroup1, Mode::WubiChars);
    form.SetItemIndex(form.RadioGroup2, 0);
    Platform::RunHandler([&] { form.Button1Click(); });
    form.Edit1->setFocus();
    int keys = 0;
    while (keys < 60) {
        const std::string hit = HitKeys(form, Mode::WubiChars);
        for (char c : hit) {
            Key(form, c);
            ++keys;
            Settle();
        }
        FinishEffects(form);
    }
    Platform::RunHandler([&] { form.Button2Click(); });
    Settle();
    const long sessionKiB = StatusKiB("VmHWM");
    std::printf("| peak resident memory, window shown (in-process) | %.1f MiB | | | 1 | ≤ 40 MiB | %s |\n",
        double(startKiB) / 1024.0, startKiB <= 40 * 1024 ? "met" : "missed");
    std::printf("| peak resident memory after a 60-key session (in-process) | %.1f MiB | | | 1 | ≤ 40 MiB | %s |\n",
        double(sessionKiB) / 1024.0, sessionKiB <= 40 * 1024 ? "met" : "missed");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelunor"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillado"));
    // "--memory": only the peak memory of a fresh window through a 60-key session, so that
    // nothing measured before inflates it.
    const bool memoryOnly = argc > 1 && std::string(argv[1]) == "--memory";
    const QString binDir = QStringLiteral(QUILLADO_BIN_DIR);
    Platform::SetProgramDirForTesting(binDir);
    // The learner's own settings stay untouched.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Platform::SetMessageSink(
        [](const Platform::Message& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m.text)); });

    if (memoryOnly)
        return MemoryAfterSession();

    // Loading and deciphering all five tables.
    {
        std::vector<double> times;
        for (int i = 0; i < 100; ++i) {
            DataTables tables;
            const auto t0 = Clock::now();
            LoadDataTables(std::filesystem::path(binDir.toStdU16String()), tables);
            times.push_back(Ms(Clock::now() - t0));
        }
        Row("load and decipher all five tables", Summarise(times), "(start-up share)", 1e9);
    }

    TForm1 form;
    ShowSettled(form);

    // ShowDecompositionPicture for 1000 random numbers of the set.
    {
        std::mt19937 random(2436);
        std::vector<double> times;
        for (int i = 0; i < 1000; ++i) {
            const int n = random() % 2508 < 2436 ? 1 + int(random() % 2436) : 3000 + int(random() % 72);
            const auto t0 = Clock::now();
            Platform::RunHandler([&] { form.ShowDecompositionPicture(n); });
            times.push_back(Ms(Clock::now() - t0));
            if (i % 50 == 0)
                Settle();
        }
        form.Image1->clear();
        Settle();
        Row("ShowDecompositionPicture, 1000 random numbers", Summarise(times), "≤ 0.5 ms", 0.5);
    }

    KeyToRepaint(form, Mode::UpperLetters, "英文(大)", 100);
    KeyToRepaint(form, Mode::Roots, "字根练习", 100);
    KeyToRepaint(form, Mode::WubiChars, "五笔练习", 100);

    return 0;
}
