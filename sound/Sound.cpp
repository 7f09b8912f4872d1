// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/Sound.h"

#include "platform/Platform.h"
#include "sound/SoundLibrary.h"

#include <QDateTime>
#include <QFileInfo>

namespace {
const char* const kHitSound = "abc.wav";

// What a file is now, as far as a failure to play it goes: a failure is reported again only
// when this changes.
QString FileStamp(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("missing");
    return QStringLiteral("%1 %2 %3")
        .arg(info.isFile() ? 'f' : 'o')
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch());
}
} // namespace

SoundSystem::SoundSystem(Seams seams)
    : m_makeBackend(std::move(seams.backend))
    , settings(std::move(seams.settingsFile))
{
}

SoundSystem::~SoundSystem() { Release(); }

SoundBackend& SoundSystem::Backend()
{
    if (!m_backend) {
        if (m_makeBackend) {
            m_backend = m_makeBackend();
        } else {
            QString error;
            m_backend = LoadSoundLibrary(Platform::ProgramDir(), error);
            if (!error.isEmpty())
                Platform::ReportError(
                    QStringLiteral("The sound library cannot be loaded: %1. The program runs without sound.")
                        .arg(error));
        }
    }
    return *m_backend;
}

void SoundSystem::Release()
{
    MediaPlayer1.reset();
    if (m_backend)
        m_backend->Release();
}

bool SoundSystem::WaveOutDeviceExists() { return Backend().OutputCount() > 0; }

bool SoundSystem::IsPlaying() const { return MediaPlayer1 && MediaPlayer1->GetMode() == MusicPlayer::Mode::Playing; }

SoundSystem::Switches SoundSystem::ReadSwitches()
{
    playMp3Flag = settings.ReadSwitch(SoundSettings::kPlayMp3);
    playWavFlag = settings.ReadSwitch(SoundSettings::kPlayWav);
    m_startMusicDue = true;
    return { playMp3Flag, playWavFlag };
}

void SoundSystem::Begin()
{
    if (m_begun)
        return;
    m_begun = true;
    Platform::RunHandler([&] { settings.WriteMissing(); });
    if (playWavFlag != 0)
        Platform::RunHandler([&] { LoadHitSound(); });
    if (m_startMusicDue)
        Platform::RunHandler([&] { PlayMusic(QString::fromLatin1(SoundSystem::IdleMusic)); });
}

bool SoundSystem::AlreadyReported(const QString& path)
{
    const QString stamp = FileStamp(path);
    const auto it = m_reportedFailures.constFind(path);
    if (it != m_reportedFailures.constEnd() && *it == stamp)
        return true;
    m_reportedFailures.insert(path, stamp);
    return false;
}

void SoundSystem::ReportLateFailure(const QString& path, const QString& reason)
{
    if (!AlreadyReported(path))
        Platform::ReportError(QStringLiteral("Cannot play the music file \"%1\": %2").arg(path, reason));
}

void SoundSystem::PlayMusic(const QString& fileName)
{
    // Asking for a track settles what plays: the start music no longer has to come.
    m_startMusicDue = false;
    if (playMp3Flag == 0) {
        if (IsPlaying() && WaveOutDeviceExists())
            MediaPlayer1->Stop();
        return;
    }
    if (!WaveOutDeviceExists())
        return;
    if (IsPlaying())
        MediaPlayer1->Stop();
    if (!MediaPlayer1) {
        QString whyNot;
        MediaPlayer1 = Backend().MakePlayer(
            [this](const QString& path, const QString& reason) { ReportLateFailure(path, reason); }, whyNot);
        if (!MediaPlayer1) {
            if (!m_noPlayerReported) {
                m_noPlayerReported = true;
                throw AppError("The music cannot play on this machine: " + whyNot.toStdString() + ".");
            }
            return;
        }
    }
    const QString path = Platform::ProgramDir() + fileName;
    const QString error = MediaPlayer1->Open(path);
    if (!error.isEmpty()) {
        if (AlreadyReported(path))
            return;
        throw AppError("Cannot open the music file \"" + path.toStdString() + "\": " + error.toStdString());
    }
    MediaPlayer1->Play();
}

void SoundSystem::PauseMusic()
{
    if (playMp3Flag == 0 || !MediaPlayer1 || !WaveOutDeviceExists())
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
    // Nothing to resume when no track was ever opened (the music was off until now).
    if (playMp3Flag == 0 || !MediaPlayer1 || !WaveOutDeviceExists())
        return;
    if (MediaPlayer1->GetMode() != MusicPlayer::Mode::NotOpen)
        MediaPlayer1->Resume();
}

void SoundSystem::Timer2Timer()
{
    if (playMp3Flag != 0 && MediaPlayer1 && MediaPlayer1->GetMode() == MusicPlayer::Mode::Stopped
        && WaveOutDeviceExists())
        MediaPlayer1->Play();
}

void SoundSystem::LoadHitSound() { Backend().LoadHitSound(Platform::ProgramDir() + QString::fromLatin1(kHitSound)); }

void SoundSystem::PlayHitSound()
{
    if (playWavFlag != 0)
        Backend().PlayHitSound(Platform::ProgramDir() + QString::fromLatin1(kHitSound));
}

void SoundSystem::CheckBox1Click(bool checked)
{
    playMp3Flag = checked ? 0 : 1;
    settings.WriteSwitch(SoundSettings::kPlayMp3, playMp3Flag);
}

void SoundSystem::CheckBox2Click(bool checked)
{
    playWavFlag = checked ? 0 : 1;
    settings.WriteSwitch(SoundSettings::kPlayWav, playWavFlag);
}
