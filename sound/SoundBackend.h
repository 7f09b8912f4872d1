// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/MusicPlayer.h"

#include <QString>
#include <functional>
#include <memory>

// The machine's side of the sound: how many audio outputs exist, a media player for the
// music, and the hit sound. The program's backend lives in the sound library, loaded after
// the window's first paint so that the media libraries cost nothing before it; tests give
// the sound system a fake.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;

    // waveOutGetNumDevs: asked afresh each time.
    virtual int OutputCount() = 0;
    // A player, or null with `whyNot` set when this machine cannot make one (the media
    // framework lacks what a player needs). `onFailure` hears of files found unplayable.
    virtual std::unique_ptr<MusicPlayer> MakePlayer(MusicFailureHandler onFailure, QString& whyNot) = 0;
    // Readies `path` as the hit sound, as decoding it takes a moment.
    virtual void LoadHitSound(const QString& path) = 0;
    // Plays `path` asynchronously; a new hit cuts off one still sounding. A file that is
    // missing, no regular file or no sound stays silent.
    virtual void PlayHitSound(const QString& path) = 0;
    // Lets go of the hit sound's system resources now, while the event loop still runs.
    virtual void Release() = 0;
};

using SoundBackendFactory = std::function<std::unique_ptr<SoundBackend>()>;

// The name the sound library exports its factory under.
#define QUILLADO_SOUND_FACTORY "QuilladoCreateSoundBackend"
