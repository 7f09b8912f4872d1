#pragma once

#include <QString>

// What the background music needs from a media player: open one file, play, stop, pause,
// resume and tell its mode. The window's player is a QtMusicPlayer; tests put a fake in.
class MusicPlayer {
public:
    enum class Mode { NotOpen, Stopped, Playing, Paused };

    virtual ~MusicPlayer() = default;

    // Closes the open file, then opens `path` stopped at its beginning. Throws AppError
    // naming the file and the reason when it cannot be opened; the player is then not open.
    virtual void Open(const QString& path) = 0;
    // From where the track stands; a track that ran to its end starts again from its
    // beginning (automatic rewind).
    virtual void Play() = 0;
    // Keeps the position, so that the next Play goes on from here.
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    // A paused or stopped track goes on from where it stands; one that ran to its end
    // starts again from its beginning.
    virtual void Resume() = 0;
    // A track that ran to its end counts as stopped.
    virtual Mode GetMode() const = 0;
};
