// SPDX-License-Identifier: GPL-3.0-or-later
// Background music, hit sound and the two persisted switches, at the level of the sound
// system: a fake device count and a recording player stand in for the machine, and the
// settings store lies in a fresh temporary folder for every test.

#include "data/AppError.h"
#include "platform/Platform.h"
#include "sound/Sound.h"
#include "tests/FakeSound.h"
#include "tests/TestSupport.h"

#include <QCheckBox>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using PlayerMode = MusicPlayer::Mode;

namespace {

// What the main window gives the sound system: two boxes whose toggles run the click
// handlers, as checking a box from code runs its handler.
struct Window {
    QWidget widget;
    QCheckBox* checkBox1;
    QCheckBox* checkBox2;

    explicit Window(SoundSystem& sound)
    {
        auto* layout = new QVBoxLayout(&widget);
        checkBox1 = new QCheckBox(QStringLiteral("关闭背景音乐"));
        checkBox2 = new QCheckBox(QStringLiteral("关闭打中音效"));
        layout->addWidget(checkBox1);
        layout->addWidget(checkBox2);
        QObject::connect(checkBox1, &QCheckBox::toggled, checkBox1, [&sound](bool on) { sound.CheckBox1Click(on); });
        QObject::connect(checkBox2, &QCheckBox::toggled, checkBox2, [&sound](bool on) { sound.CheckBox2Click(on); });
    }
};

// A mono 16-bit PCM WAV of `ms` milliseconds of a quiet tone.
QByteArray MakeWav(int ms)
{
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + frames * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(frames * 2);
    for (int i = 0; i < frames; ++i)
        out << qint16((i / 25) % 2 ? 2000 : -2000);
    return bytes;
}

// Every music call a session makes: Start, Pause, Continue, a repeat tick, End.
void RunEveryMusicStep(SoundSystem& sound)
{
    sound.PlayMusic("Test0.mp3");
    sound.PauseMusic();
    sound.ResumeMusic();
    sound.Timer2Timer();
    sound.PlayMusic("Test1.mp3");
}

// The start-up steps as the main window takes them: read the switches and check the box of
// a switch that is 0 before the first paint, then begin the sound after it.
void StartUp(SoundSystem& sound, Window& window)
{
    const SoundSystem::Switches switches = sound.ReadSwitches();
    if (switches.playMp3 == 0)
        window.checkBox1->setChecked(true);
    if (switches.playWav == 0)
        window.checkBox2->setChecked(true);
    sound.Begin();
}

QString InodeOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st { };
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return QString::number(qulonglong(st.st_ino));
#endif
    Q_UNUSED(path);
    return {};
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartWritesOnesAndStartsTest1();
    void switchOffAtStartUpChecksItsBox_data();
    void switchOffAtStartUpChecksItsBox();
    void anyOtherValueIsOnAndClicksWriteZeroThenOne();
    void valueThatIsNoIntegerReadsAsOne();
    void switchesPersistAcrossRestarts();
    void unwritableStoreIsReportedOnceAndStartUpGoesOn();

    void musicFollowsTheSession();
    void pauseTogglesAndLeavesAStoppedTrack();
    void musicOffLeavesThePlayerAlone();
    void switchedOffWhilePlayingStopsAtTheNextSwitch();
    void switchedOnAgainTheRepeatTickPlaysTheHeldTrack();
    void noDeviceNoMusicButHitSound();
    void repeatTickPlaysAStoppedTrackAndLeavesAPausedOne();
    void hitSoundFollowsItsSwitch();
    void unopenableMusicThrowsAndStartUpReports();
    void nothingLoadedOrWrittenBeforeBegin();
    void storeWrittenOnlyWhenAValueIsMissingOrChanged();
    void aTrackAskedForBeforeBeginReplacesTheStartMusic();
    void eachMusicFailureIsReportedOnceUntilTheFileChanges();
    void noPlayerOnThisMachineIsReportedOnce();
    void windowBeginsTheSoundAfterItsFirstPaint();

    void realPlayerWithoutDeviceNeitherHangsNorCrashes();
    void realPlayerModesAndRewind();
    void realPlayerReportsAnUnplayableFile();

private:
    QStringList Calls() const { return m_player->calls; }
    QString Prog(const char* name) const { return QStringLiteral("open ") + m_progDir.path() + "/" + name; }
    void Seed(const QString& key, const QVariant& value);
    QVariant Stored(const QString& key);

    std::unique_ptr<QTemporaryDir> m_configDir;
    QTemporaryDir m_progDir;
    SoundSystem::Seams Seams() const
    {
        return { FakeSoundBackend::Factory(m_machine), m_configDir->path() + "/Pelunor/Quillado.conf" };
    }
    QString StoreFile() const { return m_configDir->path() + "/Pelunor/Quillado.conf"; }

    std::shared_ptr<FakeMachine> m_machine;
    std::shared_ptr<FakeMusicPlayer::State> m_player;
    QStringList m_messages;
};

void TestSound::init()
{
    // A fresh folder per test, so that no store another test wrote is ever seen.
    m_configDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_configDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configDir->path());

    Platform::SetProgramDirForTesting(m_progDir.path());
    m_messages.clear();
    Platform::SetMessageSink([this](const Platform::Message& m) { m_messages << m.text; });

    m_machine = std::make_shared<FakeMachine>();
    m_player = m_machine->music;
}

void TestSound::cleanup() { Platform::SetMessageSink({}); }

void TestSound::Seed(const QString& key, const QVariant& value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Pelunor", "Quillado");
    store.setValue(key, value);
}

QVariant TestSound::Stored(const QString& key)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Pelunor", "Quillado");
    return store.value(key);
}

// ---------------------------------------------------------------- the switches

void TestSound::firstStartWritesOnesAndStartsTest1()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);

    QCOMPARE(sound.playMp3Flag, 1);
    QCOMPARE(sound.playWavFlag, 1);
    QVERIFY(!window.checkBox1->isChecked());
    QVERIFY(!window.checkBox2->isChecked());
    QVERIFY(QFile::exists(m_configDir->path() + "/Pelunor/Quillado.conf"));
    QCOMPARE(Stored("PlayMp3").toInt(), 1);
    QCOMPARE(Stored("PlayWav").toInt(), 1);
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));
    QVERIFY(m_messages.isEmpty());
}

void TestSound::switchOffAtStartUpChecksItsBox_data()
{
    QTest::addColumn<int>("mp3");
    QTest::addColumn<int>("wav");
    QTest::addRow("music off") << 0 << 1;
    QTest::addRow("hit sound off") << 1 << 0;
    QTest::addRow("both off") << 0 << 0;
}

void TestSound::switchOffAtStartUpChecksItsBox()
{
    QFETCH(int, mp3);
    QFETCH(int, wav);
    Seed("PlayMp3", mp3);
    Seed("PlayWav", wav);

    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);

    QCOMPARE(sound.playMp3Flag, mp3);
    QCOMPARE(sound.playWavFlag, wav);
    QCOMPARE(window.checkBox1->isChecked(), mp3 == 0);
    QCOMPARE(window.checkBox2->isChecked(), wav == 0);
    QCOMPARE(Stored("PlayMp3").toInt(), mp3);
    QCOMPARE(Stored("PlayWav").toInt(), wav);
    if (mp3 == 0) {
        QCOMPARE(m_player->playersCreated, 0);
        QVERIFY(Calls().isEmpty());
    } else {
        QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));
    }
}

void TestSound::anyOtherValueIsOnAndClicksWriteZeroThenOne()
{
    Seed("PlayMp3", 7);
    Seed("PlayWav", -3);
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);

    QCOMPARE(sound.playMp3Flag, 7);
    QCOMPARE(sound.playWavFlag, -3);
    QVERIFY(!window.checkBox1->isChecked());
    QCOMPARE(Stored("PlayMp3").toInt(), 7);
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));

    window.checkBox1->click();
    QCOMPARE(sound.playMp3Flag, 0);
    QCOMPARE(Stored("PlayMp3").toInt(), 0);
    window.checkBox1->click();
    QCOMPARE(sound.playMp3Flag, 1);
    QCOMPARE(Stored("PlayMp3").toInt(), 1);
    window.checkBox2->click();
    QCOMPARE(sound.playWavFlag, 0);
    QCOMPARE(Stored("PlayWav").toInt(), 0);

    // A click changes the switch only; the music is neither stopped nor started.
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));
}

void TestSound::valueThatIsNoIntegerReadsAsOne()
{
    Seed("PlayMp3", "loud");
    Seed("PlayWav", "4294967296");
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    QCOMPARE(sound.playMp3Flag, 1);
    QCOMPARE(sound.playWavFlag, 1);
    QCOMPARE(Stored("PlayMp3").toString(), QStringLiteral("1"));
    QCOMPARE(Stored("PlayWav").toString(), QStringLiteral("1"));
}

void TestSound::switchesPersistAcrossRestarts()
{
    {
        SoundSystem sound(Seams());
        Window window(sound);
        StartUp(sound, window);
        window.checkBox1->click();
        window.checkBox2->click();
    }
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    QVERIFY(window.checkBox1->isChecked());
    QVERIFY(window.checkBox2->isChecked());
    QCOMPARE(sound.playMp3Flag, 0);
    QCOMPARE(sound.playWavFlag, 0);
}

void TestSound::unwritableStoreIsReportedOnceAndStartUpGoesOn()
{
    // A plain file where the store's folder should be: no user, not even root, can write it.
    WriteFile(m_configDir->path() + "/Pelunor", "not a folder");

    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);

    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains("PlayMp3") && m_messages[0].contains("Quillado.conf"), qPrintable(m_messages[0]));
    QCOMPARE(sound.playMp3Flag, 1);
    QCOMPARE(sound.playWavFlag, 1);
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));

    // The switches still work for the rest of the run, without another message.
    window.checkBox1->click();
    QCOMPARE(sound.playMp3Flag, 0);
    QCOMPARE(m_messages.size(), 1);
}

// ---------------------------------------------------------------- music

void TestSound::musicFollowsTheSession()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));
    m_player->calls.clear();

    sound.PlayMusic("Test0.mp3"); // Start
    QCOMPARE(Calls(), QStringList({ "stop", Prog("Test0.mp3"), "play" }));
    sound.PauseMusic(); // Pause
    QCOMPARE(m_player->mode, PlayerMode::Paused);
    sound.ResumeMusic(); // Continue
    QCOMPARE(m_player->mode, PlayerMode::Playing);
    m_player->calls.clear();

    sound.PlayMusic("Test1.mp3"); // End or time-up: Test1 again, from its beginning
    QCOMPARE(Calls(), QStringList({ "stop", Prog("Test1.mp3"), "play" }));
    QCOMPARE(m_player->path, m_progDir.path() + "/Test1.mp3");
    QCOMPARE(m_player->playersCreated, 1);
}

void TestSound::pauseTogglesAndLeavesAStoppedTrack()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    m_player->calls.clear();

    sound.PauseMusic();
    sound.PauseMusic();
    QCOMPARE(Calls(), QStringList({ "pause", "resume" }));
    QCOMPARE(m_player->mode, PlayerMode::Playing);

    m_player->RunToEnd();
    m_player->calls.clear();
    sound.PauseMusic();
    QVERIFY(Calls().isEmpty());
    sound.ResumeMusic(); // a stopped track is told to resume: it goes on
    QCOMPARE(Calls(), QStringList({ "resume" }));
}

void TestSound::musicOffLeavesThePlayerAlone()
{
    Seed("PlayMp3", 0);
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);

    RunEveryMusicStep(sound);
    QCOMPARE(m_player->playersCreated, 0);
    QVERIFY(Calls().isEmpty());
    QVERIFY(!sound.Player());
    QVERIFY(m_messages.isEmpty());
}

void TestSound::switchedOffWhilePlayingStopsAtTheNextSwitch()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    window.checkBox1->click();
    m_player->calls.clear();

    sound.Timer2Timer();
    QVERIFY(Calls().isEmpty()); // still playing to its end
    sound.PlayMusic("Test0.mp3");
    QCOMPARE(Calls(), QStringList({ "stop" })); // stopped, and Test0 not loaded
    sound.PauseMusic();
    sound.ResumeMusic();
    sound.Timer2Timer();
    sound.PlayMusic("Test1.mp3");
    QCOMPARE(Calls(), QStringList({ "stop" }));
}

void TestSound::switchedOnAgainTheRepeatTickPlaysTheHeldTrack()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    window.checkBox1->click();
    m_player->RunToEnd();
    sound.Timer2Timer();
    m_player->calls.clear();
    window.checkBox1->click();
    sound.Timer2Timer();
    QCOMPARE(Calls(), QStringList({ "play" }));

    // Off since start-up: no file is open, so music begins only at the next switch.
    Seed("PlayMp3", 0);
    auto machine = std::make_shared<FakeMachine>();
    auto state = machine->music;
    SoundSystem later({ FakeSoundBackend::Factory(machine), StoreFile() });
    Window laterWindow(later);
    StartUp(later, laterWindow);
    laterWindow.checkBox1->click();
    later.Timer2Timer();
    later.ResumeMusic();
    later.PauseMusic();
    QVERIFY(state->calls.isEmpty());
    later.PlayMusic("Test0.mp3");
    QCOMPARE(state->calls, QStringList({ Prog("Test0.mp3"), "play" }));
}

void TestSound::noDeviceNoMusicButHitSound()
{
    m_machine->outputs = 0;
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    RunEveryMusicStep(sound);
    QCOMPARE(m_player->playersCreated, 0);
    QVERIFY(Calls().isEmpty());

    sound.PlayHitSound();
    QCOMPARE(m_machine->hitSounds, QStringList({ m_progDir.path() + "/abc.wav" }));
    QVERIFY(m_messages.isEmpty());
}

void TestSound::repeatTickPlaysAStoppedTrackAndLeavesAPausedOne()
{
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    m_player->calls.clear();

    sound.Timer2Timer();
    QVERIFY(Calls().isEmpty()); // playing
    m_player->RunToEnd();
    sound.Timer2Timer();
    QCOMPARE(Calls(), QStringList({ "play" }));
    QCOMPARE(m_player->mode, PlayerMode::Playing);

    sound.PauseMusic();
    m_player->calls.clear();
    sound.Timer2Timer();
    QVERIFY(Calls().isEmpty());
    QCOMPARE(m_player->mode, PlayerMode::Paused);

    // The device went away: the stopped track waits.
    sound.ResumeMusic();
    m_player->RunToEnd();
    m_player->calls.clear();
    m_machine->outputs = 0;
    sound.Timer2Timer();
    QVERIFY(Calls().isEmpty());
}

void TestSound::hitSoundFollowsItsSwitch()
{
    Seed("PlayWav", 0);
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    sound.PlayHitSound();
    QVERIFY(m_machine->hitSounds.isEmpty());

    window.checkBox2->click();
    sound.PlayHitSound();
    sound.PlayHitSound();
    QCOMPARE(m_machine->hitSounds.size(), 2);
    QCOMPARE(m_machine->hitSounds[0], m_progDir.path() + "/abc.wav");
}

void TestSound::unopenableMusicThrowsAndStartUpReports()
{
    m_player->unopenable = { "Test1.mp3" };
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains("Test1.mp3"), qPrintable(m_messages[0]));
    QCOMPARE(m_player->mode, PlayerMode::NotOpen);

    sound.Timer2Timer();
    sound.PauseMusic();
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3") }));

    sound.PlayMusic("Test0.mp3");
    QCOMPARE(m_player->mode, PlayerMode::Playing);
    m_player->unopenable = { "Test0.mp3" };
    try {
        sound.PlayMusic("Test0.mp3");
        QFAIL("an unopenable file must throw");
    } catch (const AppError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains("Test0.mp3"), e.what());
    }
    QCOMPARE(m_player->mode, PlayerMode::NotOpen);
}

void TestSound::nothingLoadedOrWrittenBeforeBegin()
{
    SoundSystem sound(Seams());
    Window window(sound);
    const SoundSystem::Switches switches = sound.ReadSwitches();
    QCOMPARE(switches.playMp3, 1);
    QCOMPARE(switches.playWav, 1);
    QCOMPARE(m_machine->backendsMade, 0);
    QVERIFY(!QFile::exists(StoreFile()));

    sound.Begin();
    QCOMPARE(m_machine->backendsMade, 1);
    QVERIFY(QFile::exists(StoreFile()));
    QCOMPARE(m_machine->hitSoundsLoaded, QStringList({ m_progDir.path() + "/abc.wav" }));
    QCOMPARE(Calls(), QStringList({ Prog("Test1.mp3"), "play" }));
    // Begin is once.
    sound.Begin();
    QCOMPARE(Calls().size(), 2);
}

void TestSound::storeWrittenOnlyWhenAValueIsMissingOrChanged()
{
    Seed("PlayMp3", 0);
    Seed("PlayWav", 1);
    // A rewrite replaces the file (a new inode) even when the bytes come out the same.
    auto identity = [this] {
        QFile file(StoreFile());
        file.open(QIODevice::ReadOnly);
        return QString::number(QFileInfo(file).fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch())
            + QString::number(QFileInfo(file).size()) + QString::fromLatin1(file.readAll()) + InodeOf(StoreFile());
    };
    const QString before = identity();
    QTest::qWait(20);
    {
        SoundSystem sound(Seams());
        Window window(sound);
        // The box checked at start-up runs its click handler, which finds 0 stored already.
        StartUp(sound, window);
        QVERIFY(window.checkBox1->isChecked());
        window.checkBox2->setChecked(false); // unchanged: still on
    }
    QCOMPARE(identity(), before);

    // A change is written at once.
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    window.checkBox2->click();
    QCOMPARE(Stored("PlayWav").toInt(), 0);
    QVERIFY(identity() != before);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
}

void TestSound::aTrackAskedForBeforeBeginReplacesTheStartMusic()
{
    {
        SoundSystem sound(Seams());
        Window window(sound);
        sound.ReadSwitches();
        sound.PlayMusic("Test0.mp3");
        sound.Begin();
        QCOMPARE(Calls(), QStringList({ Prog("Test0.mp3"), "play" }));
    }
    m_player->calls.clear();
    {
        // Switched off before Begin: no music at all.
        SoundSystem sound(Seams());
        Window window(sound);
        sound.ReadSwitches();
        window.checkBox1->click();
        sound.Begin();
        sound.Timer2Timer();
        QVERIFY(Calls().isEmpty());
    }
}

void TestSound::eachMusicFailureIsReportedOnceUntilTheFileChanges()
{
    m_player->unopenable = { "Test1.mp3", "Test0.mp3" };
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    QCOMPARE(m_messages.size(), 1);
    for (int session = 0; session < 3; ++session) {
        Platform::RunHandler([&] { sound.PlayMusic("Test0.mp3"); });
        Platform::RunHandler([&] { sound.PlayMusic("Test1.mp3"); });
    }
    QCOMPARE(m_messages.size(), 2);
    QVERIFY2(m_messages[1].contains("Test0.mp3"), qPrintable(m_messages[1]));

    // The file changes (it appears, though still unplayable): reported again, once.
    WriteFile(m_progDir.path() + "/Test0.mp3", "now there");
    Platform::RunHandler([&] { sound.PlayMusic("Test0.mp3"); });
    Platform::RunHandler([&] { sound.PlayMusic("Test0.mp3"); });
    QCOMPARE(m_messages.size(), 3);
}

void TestSound::noPlayerOnThisMachineIsReportedOnce()
{
    m_machine->noPlayerBecause = "GStreamer lacks the elements playbin";
    SoundSystem sound(Seams());
    Window window(sound);
    StartUp(sound, window);
    RunEveryMusicStep(sound);
    Platform::RunHandler([&] { RunEveryMusicStep(sound); });
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains("playbin"), qPrintable(m_messages[0]));
    QVERIFY(!sound.Player());
    sound.PlayHitSound();
    QCOMPARE(m_machine->hitSounds.size(), 1);
}

void TestSound::windowBeginsTheSoundAfterItsFirstPaint()
{
    WindowFixture f(TestTables::Small(), false);
    QCoreApplication::processEvents();
    QCOMPARE(f.machine->backendsMade, 0);
    QVERIFY(f.music->calls.isEmpty());
    QVERIFY(!QFile::exists(f.settingsFile));
    f.form->show();
    QTRY_VERIFY(f.form->sound.Begun());
    QCOMPARE(f.machine->backendsMade, 1);
    QCOMPARE(f.music->calls, QStringList({ "open " + f.dir.path() + "Test1.mp3", "play" }));
    QVERIFY(QFile::exists(f.settingsFile));

    // Closing lets go of the sound while the event loop still runs.
    f.form->close();
    QCOMPARE(f.machine->releases, 1);
    QVERIFY(!f.form->sound.Player());
}

// ---------------------------------------------------------------- the real Qt player

void TestSound::realPlayerWithoutDeviceNeitherHangsNorCrashes()
{
    Platform::SetProgramDirForTesting(QStringLiteral(QUILLADO_BIN_DIR));
    int outputs = -1;
    SoundSystem sound({ [&outputs] {
                           auto backend = LoadBuiltSoundLibrary();
                           outputs = backend->OutputCount();
                           return backend;
                       },
        StoreFile() });
    Window window(sound);
    window.widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window.widget));
    StartUp(sound, window);
    QTest::qWait(200);
    sound.Timer2Timer();
    sound.PlayMusic("Test0.mp3");
    sound.PauseMusic();
    sound.ResumeMusic();
    for (int i = 0; i < 5; ++i)
        sound.PlayHitSound();
    QTest::qWait(200);
    sound.PlayMusic("Test1.mp3");
    // Whatever this machine has, a missing device or file is never an error message.
    if (outputs == 0)
        QVERIFY(!sound.Player());
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
}

void TestSound::realPlayerModesAndRewind()
{
    const QString wav = m_progDir.path() + "/short.wav";
    WriteFile(wav, MakeWav(300));

    QElapsedTimer clock;
    clock.start();
    auto backend = LoadBuiltSoundLibrary();
    QString whyNot;
    auto made = backend->MakePlayer({}, whyNot);
    QVERIFY2(made, qPrintable(whyNot));
    MusicPlayer& player = *made;
    QCOMPARE(player.GetMode(), PlayerMode::NotOpen);
    QVERIFY(!player.Open(m_progDir.path() + "/missing.mp3").isEmpty());
    QCOMPARE(player.GetMode(), PlayerMode::NotOpen);

    QVERIFY(player.Open(wav).isEmpty());
    qInfo("first player and open: %lld ms", qint64(clock.elapsed()));
    QCOMPARE(player.GetMode(), PlayerMode::Stopped);
    player.Play();
    QCOMPARE(player.GetMode(), PlayerMode::Playing);
    player.Pause();
    QCOMPARE(player.GetMode(), PlayerMode::Paused);
    player.Resume();
    QCOMPARE(player.GetMode(), PlayerMode::Playing);
    player.Stop();
    QCOMPARE(player.GetMode(), PlayerMode::Stopped);
    player.Play();
    QCOMPARE(player.GetMode(), PlayerMode::Playing);

    // Played to its end, the track counts as stopped, and plays again from its beginning.
    QTRY_COMPARE_WITH_TIMEOUT(player.GetMode(), PlayerMode::Stopped, 20000);
    player.Play();
    QCOMPARE(player.GetMode(), PlayerMode::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(player.GetMode(), PlayerMode::Stopped, 20000);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
}

void TestSound::realPlayerReportsAnUnplayableFile()
{
    const QString bad = m_progDir.path() + "/bad.mp3";
    WriteFile(bad, "this is no music at all\n");
    auto backend = LoadBuiltSoundLibrary();
    QString whyNot;
    QStringList failures;
    auto player = backend->MakePlayer(
        [&failures](const QString& path, const QString& reason) { failures << path + ": " + reason; }, whyNot);
    QVERIFY2(player, qPrintable(whyNot));
    QVERIFY(player->Open(bad).isEmpty());
    player->Play();
    QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, 20000);
    QVERIFY2(failures[0].startsWith(bad), qPrintable(failures[0]));
    QCOMPARE(player->GetMode(), PlayerMode::NotOpen);
    QTest::qWait(100);
    QCOMPARE(failures.size(), 1);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
