// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

MessageCapture::MessageCapture()
{
    Platform::SetMessageSink([this](const Platform::Message& m) { messages.append(m); });
}

MessageCapture::~MessageCapture() { Platform::SetMessageSink({}); }

QStringList MessageCapture::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

TestProgramDir::TestProgramDir(const TestTables& t)
    : m_tables(t)
{
    Platform::SetProgramDirForTesting(path());
}

TestProgramDir::~TestProgramDir() { Platform::SetProgramDirForTesting(QString()); }

QString TestProgramDir::path() const { return QString::fromStdString(m_tables.path()); }

void TestProgramDir::writeFile(const QString& name, const std::string& bytes)
{
    m_tables.writeFile(name.toStdString(), bytes);
}

void TestProgramDir::remove(const QString& name) { m_tables.remove(name.toStdString()); }

#include "app/InputBox.h"
#include "sound/SoundLibrary.h"

#include <QLabel>
#include <QSettings>
#include <QTest>

WindowFixture::WindowFixture(const TestTables& tables, bool show)
    : dir(tables)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    settingsFile = m_settingsDir.path() + QStringLiteral("/Pelunor/Quillado.conf");
    create(show);
}

WindowFixture::~WindowFixture() { form.reset(); }

void FireTimer(QTimer* timer)
{
    // timeout() is a private signal: only the meta-object may emit it from outside.
    if (!QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection))
        qFatal("the timer %s cannot be fired", qPrintable(timer->objectName()));
}

std::unique_ptr<SoundBackend> LoadBuiltSoundLibrary()
{
    QString error;
    auto backend = LoadSoundLibrary(QStringLiteral(QUILLADO_BIN_DIR "/"), error);
    if (!error.isEmpty())
        qFatal("the sound library cannot be loaded: %s", qPrintable(error));
    return backend;
}

TForm1& WindowFixture::create(bool show)
{
    form.reset();
    SoundSystem::Seams seams;
    seams.settingsFile = settingsFile;
    if (realSound)
        seams.backend = [this] {
            return std::make_unique<RealSoundWithFakeOutputs>(LoadBuiltSoundLibrary(), [this] { return outputs; });
        };
    else
        seams.backend = FakeSoundBackend::Factory(machine);
    form = std::make_unique<TForm1>(nullptr, seams);
    form->random = RandomSource([this] { return clockValue += clockStep; });
    form->record.path = recordPath();
    // The record library the build made, wherever the test lays out the program's files.
    form->record.libraryDir = QStringLiteral(QUILLADO_BIN_DIR "/");
    form->record.clock = [this] { return recordMs; };
    if (show) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("the window was never exposed");
        // Sound start-up follows the first paint.
        if (!form->terminateRequested() && !QTest::qWaitFor([this] { return form->sound.Begun(); }, 10000))
            qWarning("the sound never began");
    }
    return *form;
}

QString WindowFixture::recordPath() const { return m_dataDir.path() + QStringLiteral("/record.sqlite"); }

void WindowFixture::start(int mode, int time)
{
    form->SetItemIndex(form->RadioGroup1, mode);
    form->SetItemIndex(form->RadioGroup2, time);
    // As a click does: an error the handler raises is reported.
    Platform::RunHandler([this] { form->Button1Click(); });
}

void WindowFixture::type(const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(form->Edit1, Qt::Key_Backspace);
        else if (c == QLatin1Char('\r'))
            QTest::keyClick(form->Edit1, Qt::Key_Return);
        else
            QTest::keyClicks(form->Edit1, QString(c));
    }
}

void WindowFixture::tick(int times)
{
    for (int i = 0; i < times; ++i)
        Platform::RunHandler([this] { form->Timer1Timer(); });
}

void WindowFixture::setWubi(int k, std::array<std::string, 4> codes, const std::string& utf8, int picture)
{
    auto& s = form->bank.wbSlots[size_t(k)];
    for (int i = 0; i < 4; ++i)
        s.codes[size_t(i + 1)] = codes[size_t(i)];
    s.text = Gbk(utf8);
    s.pictureNo = picture;
    s.hintStep = 1;
    form->SlotLabel(k)->setText(QString::fromStdString(utf8));
}

void WindowFixture::setPinyin(int k, const std::string& pinyin, const std::string& utf8)
{
    form->bank.pySlots[size_t(k)] = { pinyin, Gbk(utf8) };
    form->SlotLabel(k)->setText(QString::fromStdString(utf8));
}

#include <QTest>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

struct CaseTimeLimit::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::chrono::steady_clock::time_point deadline = Never();
    static std::chrono::steady_clock::time_point Never()
    {
        return std::chrono::steady_clock::now() + std::chrono::hours(24 * 365);
    }
    std::string name;
    bool quit = false;
};

CaseTimeLimit::CaseTimeLimit()
    : m_shared(std::make_shared<Shared>())
{
    std::thread([shared = m_shared] {
        std::unique_lock lock(shared->mutex);
        while (!shared->quit) {
            if (shared->changed.wait_until(lock, shared->deadline) == std::cv_status::timeout && !shared->quit
                && std::chrono::steady_clock::now() >= shared->deadline) {
                std::fprintf(stderr, "FAIL!  : %s ran past its time limit: it hangs\n", shared->name.c_str());
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }).detach();
}

CaseTimeLimit::~CaseTimeLimit()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->quit = true;
    m_shared->changed.notify_all();
}

void CaseTimeLimit::Arm(int seconds)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->name = std::string(QTest::currentTestFunction() ? QTest::currentTestFunction() : "a test")
        + (QTest::currentDataTag() ? std::string("(") + QTest::currentDataTag() + ")" : std::string());
    m_shared->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    m_shared->changed.notify_all();
}

void CaseTimeLimit::Disarm()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->deadline = Shared::Never();
    m_shared->changed.notify_all();
}
