// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/MediaPlayer1.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

QtMusicPlayer::QtMusicPlayer(MusicFailureHandler onFailure)
    : m_onFailure(std::move(onFailure))
    , m_player(new QMediaPlayer(this))
    , m_output(new QAudioOutput(this))
{
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::errorOccurred, this, &QtMusicPlayer::OnError);
}

QtMusicPlayer::~QtMusicPlayer()
{
    // Closing the file is what silences the music when the window goes.
    m_player->stop();
}

QString QtMusicPlayer::Open(const QString& path)
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_path.clear();
    m_stopped = false;
    m_failed = false;

    // Qt reports a missing file only later, from its pipeline; the caller should hear
    // of it at once, as from any other open. A pipe would block this thread in open() and
    // a device would never end, so only a regular file goes near the media framework.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a regular file (a folder, a pipe or a device)");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    file.close();

    m_path = path;
    m_player->setSource(QUrl::fromLocalFile(path));
    return {};
}

void QtMusicPlayer::Play()
{
    if (GetMode() == Mode::NotOpen)
        return;
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        m_player->setPosition(0);
    m_stopped = false;
    m_player->play();
}

void QtMusicPlayer::Stop()
{
    if (GetMode() != Mode::Playing)
        return;
    m_player->pause();
    m_stopped = true;
}

void QtMusicPlayer::Pause()
{
    if (GetMode() != Mode::Playing)
        return;
    m_player->pause();
    m_stopped = false;
}

void QtMusicPlayer::Resume()
{
    const Mode mode = GetMode();
    if (mode == Mode::Paused || mode == Mode::Stopped)
        Play();
}

MusicPlayer::Mode QtMusicPlayer::GetMode() const
{
    if (m_path.isEmpty() || m_failed)
        return Mode::NotOpen;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return Mode::Playing;
    case QMediaPlayer::PausedState:
        return m_stopped ? Mode::Stopped : Mode::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Mode::Stopped;
}

void QtMusicPlayer::OnError(QMediaPlayer::Error error, const QString& text)
{
    if (error == QMediaPlayer::NoError || m_path.isEmpty() || m_failed)
        return;
    m_failed = true;
    // The pipeline is still inside its own signal here, and the report may open a message
    // box with an event loop of its own: both wait until the player has been left.
    QTimer::singleShot(0, this, [this, path = m_path, text] {
        m_player->stop();
        if (m_onFailure)
            m_onFailure(path, text);
    });
}
