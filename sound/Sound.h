// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/MusicPlayer.h"
#include "sound/Settings.h"
#include "sound/SoundBackend.h"

#include <QHash>
#include <QString>
#include <memory>

// Background music, the hit sound and the two persisted switches of the main window.
// The window owns one SoundSystem and calls it from its handlers; the music follows the
// session: "Test1.mp3" between sessions, "Test0.mp3" during one, repeated by Timer2.
//
// The machine's side (device count, player, hit sound) comes from a backend made at its
// first use; the window arranges that this first use is Begin, just after its first paint,
// so that the media libraries are loaded only then.
class SoundSystem {
public:
    struct Switches {
        int playMp3 = 1;
        int playWav = 1;
    };
    struct Seams {
        SoundBackendFactory backend; // empty: the sound library beside the program
        QString settingsFile; // empty: the user's usual store
    };

    // The two tracks, in the program's directory: between sessions, and during one.
    static constexpr const char* IdleMusic = "Test1.mp3";
    static constexpr const char* SessionMusic = "Test0.mp3";

    int playMp3Flag = 0, playWavFlag = 0;

    explicit SoundSystem(Seams seams = {});
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Start-up, before the first paint: reads PlayMp3 and PlayWav (a missing one reads as 1)
    // into the flags and returns them; the window checks the box of a switch that is 0.
    // Nothing is written and nothing is loaded yet.
    Switches ReadSwitches();
    // Start-up, after the first paint: writes the switches that were missing, readies the hit
    // sound and starts "Test1.mp3", unless another track was asked for meanwhile. Never
    // throws: what fails is reported and the program goes on.
    void Begin();

    // Switches the music to `fileName` in the program's directory. Throws AppError when the
    // file cannot be opened, once per file until the file changes; a file found unplayable
    // later is reported once the same way.
    void PlayMusic(const QString& fileName);
    void PauseMusic(); // Pause: a playing track is paused, a paused one goes on.
    void ResumeMusic(); // Continue.
    void PlayHitSound(); // "abc.wav", asynchronous; a new hit cuts off the one still sounding.
    void Timer2Timer(); // The repeat tick: a stopped track plays again.
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);

    // Stops the music and lets go of the player and the hit sound, while the event loop
    // still runs; the media framework's threads then have nothing left to tear down at exit.
    void Release();

    // The player, or null before the first file was opened. For tests.
    MusicPlayer* Player() const { return MediaPlayer1.get(); }
    bool Begun() const { return m_begun; }
    QString SettingsLocation() const { return settings.Location(); }

private:
    SoundBackend& Backend();
    bool WaveOutDeviceExists();
    bool IsPlaying() const;
    void LoadHitSound();
    // True when this failure of `path` was reported before and the file has not changed.
    bool AlreadyReported(const QString& path);
    void ReportLateFailure(const QString& path, const QString& reason);

    SoundBackendFactory m_makeBackend;
    SoundSettings settings;
    std::unique_ptr<SoundBackend> m_backend;
    std::unique_ptr<MusicPlayer> MediaPlayer1;
    QHash<QString, QString> m_reportedFailures; // path -> what the file was when it failed
    bool m_startMusicDue = false;
    bool m_begun = false;
    bool m_noPlayerReported = false;
};
