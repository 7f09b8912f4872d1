// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// What the background music needs from a media player: open one file, play, stop, pause,
// resume and tell its mode. The window's player comes from the sound library; tests put a
// fake in.
class MusicPlayer {
public:
    enum class Mode { NotOpen, Stopped, Playing, Paused };

    virtual ~MusicPlayer() = default;

    // Closes the open file, then opens `path` stopped at its beginning. Returns an empty
    // text, or the reason the file cannot be opened (the player is then not open).
    virtual QString Open(const QString& path) = 0;
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

// Told, from the event loop, when a file that opened turns out unplayable: the file's path
// and the media system's description.
using MusicFailureHandler = std::function<void(const QString& path, const QString& reason)>;
