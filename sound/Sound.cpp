#include "sound/Sound.h"

#include "platform/Platform.h"
#include "sound/MediaPlayer1.h"

#include <QAudioDevice>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

struct Hooks {
    std::function<int()> outputCount;
    std::function<std::unique_ptr<MusicPlayer>()> playerFactory;
    bool deferStartMusic = false;
    std::function<void(const QString&)> hitSound;
};

Hooks& hooks()
{
    static Hooks h;
    return h;
}

// Waits for the first paint of any watched widget, then runs `action` once from the event
// loop, after that paint is on the screen.
class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QObject* parent, std::function<void()> action)
        : QObject(parent)
        , m_action(std::move(action))
    {
    }

    void Watch(QObject* object)
    {
        if (object) {
            object->installEventFilter(this);
            m_watched << object;
        }
    }

    void Fire()
    {
        for (const QPointer<QObject>& object : std::as_const(m_watched))
            if (object)
                object->removeEventFilter(this);
        m_watched.clear();
        QTimer::singleShot(0, this, [this] {
            auto action = std::move(m_action);
            deleteLater();
            if (action)
                action();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_watched.isEmpty())
            Fire();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
    QList<QPointer<QObject>> m_watched;
};

const char* const kStartMusic = "Test1.mp3";
const char* const kHitSound = "abc.wav";

} // namespace

namespace SoundTesting {
void SetOutputCount(std::function<int()> count) { hooks().outputCount = std::move(count); }
void SetPlayerFactory(std::function<std::unique_ptr<MusicPlayer>()> factory, bool deferStartMusic)
{
    hooks().playerFactory = std::move(factory);
    hooks().deferStartMusic = deferStartMusic;
}
void SetHitSound(std::function<void(const QString&)> play) { hooks().hitSound = std::move(play); }
}

SoundSystem::SoundSystem()
    : context(std::make_unique<QObject>())
{
}

SoundSystem::~SoundSystem()
{
    // Qt 6.4's sample cache deadlocks at exit when a sound is still being decoded on its
    // loader thread (its destructor holds the lock the loader needs to finish). Closing the
    // program within moments of its start would then hang for good, so let a pending load
    // finish first; it takes milliseconds.
    if (!hitSound)
        return;
    QElapsedTimer waited;
    waited.start();
    while (hitSound->status() == QSoundEffect::Loading && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

bool SoundSystem::WaveOutDeviceExists() const
{
    const int count = hooks().outputCount ? hooks().outputCount() : int(QMediaDevices::audioOutputs().size());
    return count > 0;
}

bool SoundSystem::IsPlaying() const { return MediaPlayer1 && MediaPlayer1->GetMode() == MusicPlayer::Mode::Playing; }

void SoundSystem::StartUp(QCheckBox* checkBox1, QCheckBox* checkBox2)
{
    CatchUpOnStartMusic();
    playMp3Flag = settings.ReadSwitch(SoundSettings::kPlayMp3);
    playWavFlag = settings.ReadSwitch(SoundSettings::kPlayWav);
    if (playMp3Flag == 0 && checkBox1)
        checkBox1->setChecked(true);
    if (playWavFlag == 0 && checkBox2)
        checkBox2->setChecked(true);

    const bool realPlayer = !hooks().playerFactory;
    if (!MediaPlayer1 && (realPlayer || hooks().deferStartMusic)) {
        startMusicPending = true;
        StartMusicAfterFirstPaint(checkBox1 ? checkBox1->window() : nullptr, checkBox1);
        return;
    }
    Platform::RunHandler([&] { PlayMusic(QString::fromLatin1(kStartMusic)); });
}

void SoundSystem::StartMusicAfterFirstPaint(QObject* window, QObject* child)
{
    auto start = [this] {
        CatchUpOnStartMusic();
        if (playWavFlag != 0)
            LoadHitSound();
    };
    auto* watcher = new FirstPaintWatcher(context.get(), start);
    const auto* widget = qobject_cast<const QWidget*>(window);
    if (!widget || widget->isVisible()) {
        watcher->Fire();
        return;
    }
    watcher->Watch(window);
    watcher->Watch(child);
}

void SoundSystem::CatchUpOnStartMusic()
{
    if (!startMusicPending)
        return;
    startMusicPending = false;
    Platform::RunHandler([&] { PlayMusic(QString::fromLatin1(kStartMusic)); });
}

void SoundSystem::PlayMusic(const QString& fileName)
{
    CatchUpOnStartMusic();
    if (playMp3Flag == 0) {
        if (WaveOutDeviceExists() && IsPlaying())
            MediaPlayer1->Stop();
        return;
    }
    if (!WaveOutDeviceExists())
        return;
    if (IsPlaying())
        MediaPlayer1->Stop();
    if (!MediaPlayer1)
        MediaPlayer1 = hooks().playerFactory ? hooks().playerFactory() : std::make_unique<QtMusicPlayer>();
    MediaPlayer1->Open(Platform::ProgramDir() + fileName);
    MediaPlayer1->Play();
}

void SoundSystem::PauseMusic()
{
    CatchUpOnStartMusic();
    if (playMp3Flag == 0 || !WaveOutDeviceExists() || !MediaPlayer1)
        return;
    switch (MediaPlayer1->GetMode()) {
    case MusicPlayer::Mode::Playing:
        MediaPlayer1->Pause();
        break;
    case MusicPlayer::Mode::Paused:
        MediaPlayer1->Resume();
        break;
    case MusicPlayer::Mode::Stopped:
    case MusicPlayer::Mode::NotOpen:
        break;
    }
}

void SoundSystem::ResumeMusic()
{
    CatchUpOnStartMusic();
    if (playMp3Flag == 0 || !WaveOutDeviceExists() || !MediaPlayer1)
        return;
    // Nothing to resume when no track was ever opened (the music was off until now).
    if (MediaPlayer1->GetMode() != MusicPlayer::Mode::NotOpen)
        MediaPlayer1->Resume();
}

void SoundSystem::Timer2Timer()
{
    CatchUpOnStartMusic();
    if (playMp3Flag != 0 && MediaPlayer1 && MediaPlayer1->GetMode() == MusicPlayer::Mode::Stopped
        && WaveOutDeviceExists())
        MediaPlayer1->Play();
}

void SoundSystem::LoadHitSound()
{
    const QUrl source = QUrl::fromLocalFile(Platform::ProgramDir() + QString::fromLatin1(kHitSound));
    if (!hitSound)
        hitSound = std::make_unique<QSoundEffect>();
    if (hitSound->source() != source)
        hitSound->setSource(source);
}

void SoundSystem::PlayHitSound()
{
    if (playWavFlag == 0)
        return;
    if (hooks().hitSound) {
        hooks().hitSound(Platform::ProgramDir() + QString::fromLatin1(kHitSound));
        return;
    }
    // A file that is missing or no 16-bit PCM WAV leaves the effect in its error status,
    // where play() stays silent.
    LoadHitSound();
    hitSound->stop();
    hitSound->play();
}

void SoundSystem::CheckBox1Click(bool checked)
{
    CatchUpOnStartMusic();
    playMp3Flag = checked ? 0 : 1;
    settings.WriteSwitch(SoundSettings::kPlayMp3, playMp3Flag);
}

void SoundSystem::CheckBox2Click(bool checked)
{
    CatchUpOnStartMusic();
    playWavFlag = checked ? 0 : 1;
    settings.WriteSwitch(SoundSettings::kPlayWav, playWavFlag);
}
