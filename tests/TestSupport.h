// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"
#include "tests/CoreTestSupport.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

// Records every message box and error report instead of showing it.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    QList<Platform::Message> messages;
    QStringList texts() const;
    void clear() { messages.clear(); }
};

// A temporary program directory holding the tables; the program is pointed at it.
class TestProgramDir {
public:
    explicit TestProgramDir(const TestTables& tables = TestTables::Small());
    ~TestProgramDir();
    QString path() const; // with trailing separator
    void writeFile(const QString& name, const std::string& bytes);
    void remove(const QString& name);

private:
    TableDir m_tables;
};

#include "app/Unit1.h"
#include "tests/FakeSound.h"

#include <memory>

// The real main window over a test program directory, with the sound faked: one audio
// output, a player that records its calls, hit sounds counted, settings in a temporary folder.
class WindowFixture {
public:
    explicit WindowFixture(const TestTables& tables = TestTables::Small(), bool show = true);
    ~WindowFixture();

    // Builds the window (again); tests may change files in dir first.
    TForm1& create(bool show = true);

    // Chooses mode and test time and presses Start.
    void start(int mode, int time = 0);
    // Types each character into the input box as a key click.
    void type(const QString& text);
    void tick(int times = 1);

    TestProgramDir dir;
    MessageCapture messages;
    std::shared_ptr<FakeMachine> machine = std::make_shared<FakeMachine>();
    std::shared_ptr<FakeMusicPlayer::State>& music = machine->music;
    QStringList& hitSounds = machine->hitSounds;
    int& outputs = machine->outputs;
    // Set before create(): the real sound library (player and hit sound) on `outputs` devices.
    bool realSound = false;
    // The settings store the window is given; a fresh temporary folder's unless a test
    // points it elsewhere before create().
    QString settingsFile;
    std::uint32_t clockValue = 0; // the draws' clock; each reading adds clockStep
    std::uint32_t clockStep = 0x9E3779B9u;
    std::int64_t recordMs = 0; // the learning record's clock, moved by the test
    std::unique_ptr<TForm1> form;
    // The learner's record file, in a folder of the test's own.
    QString recordPath() const;

    // Puts a known item into a slot (and its label), whatever the draw gave.
    void setWubi(int slot, std::array<std::string, 4> codes, const std::string& utf8, int picture = 1);
    void setPinyin(int slot, const std::string& pinyin, const std::string& utf8);

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dataDir;
};

// Runs what the timer's running out runs, at once: a test drives the program's own timers
// instead of waiting on the wall clock. The timer itself goes on as it was.
void FireTimer(QTimer* timer);

// The sound library the build made, as the program loads it; fails the test when it is missing.
std::unique_ptr<SoundBackend> LoadBuiltSoundLibrary();

// A time limit for each test case: a case still running after `seconds` ends the whole test
// program with a message naming it, so that a hang (a blocking open(), a thread that never
// ends) fails at once instead of stalling CI. Arm it in init(), disarm it in cleanup().
class CaseTimeLimit {
public:
    CaseTimeLimit();
    ~CaseTimeLimit();
    void Arm(int seconds);
    void Disarm();

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
