// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/MusicPlayer.h"

#include <QMediaPlayer>
#include <QObject>

class QAudioOutput;

// The window's hidden media player: Qt Multimedia on its default backend (GStreamer on
// Linux; the ffmpeg backend crashes when the machine has no sound card).
//
// Qt's own stop() rewinds, while the player we need keeps its place when stopped and only
// rewinds a track that ran to its end; so a stop is a pause marked as a stop here.
// A file Qt finds unplayable only after opening it (not audio, a type no decoder knows)
// is told to the failure handler, once per open, and leaves the player not open.
class QtMusicPlayer : public QObject, public MusicPlayer {
public:
    explicit QtMusicPlayer(MusicFailureHandler onFailure);
    ~QtMusicPlayer() override;

    QString Open(const QString& path) override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    Mode GetMode() const override;

private:
    void OnError(QMediaPlayer::Error error, const QString& text);

    MusicFailureHandler m_onFailure;
    QMediaPlayer* m_player;
    QAudioOutput* m_output;
    QString m_path; // empty while no file is open
    bool m_stopped = false; // paused by Stop rather than by Pause
    bool m_failed = false; // the open file turned out unplayable
};
