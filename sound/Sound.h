#pragma once

#include "sound/MusicPlayer.h"
#include "sound/Settings.h"

#include <QString>
#include <functional>
#include <memory>

class QCheckBox;
class QObject;
class QSoundEffect;

// Background music, the hit sound and the two persisted switches of the main window.
// The window owns one SoundSystem and calls it from its handlers; the music follows the
// session: "Test1.mp3" between sessions, "Test0.mp3" during one, repeated by Timer2.
class SoundSystem {
public:
    int playMp3Flag = 0, playWavFlag = 0;

    SoundSystem();
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // The last steps of FormCreate: open the settings, read PlayMp3 and PlayWav (1 is written
    // for a missing one), check the box of a switch that is 0 (the window's toggled handlers
    // then call CheckBox1Click/CheckBox2Click), then PlayMusic("Test1.mp3"). Never throws:
    // what fails is reported and start-up goes on.
    //
    // With the real player the music starts just after the window's first paint, because
    // the first player takes a noticeable moment to build; every other call here first
    // catches up on it, so the order of effects is kept.
    void StartUp(QCheckBox* checkBox1, QCheckBox* checkBox2);

    // Switches the music to `fileName` in the program's directory. Throws AppError when the
    // file cannot be opened; a file found unplayable later is reported by the player.
    void PlayMusic(const QString& fileName);
    void PauseMusic(); // Pause: a playing track is paused, a paused one goes on.
    void ResumeMusic(); // Continue.
    void PlayHitSound(); // "abc.wav", asynchronous; a new hit cuts off the one still sounding.
    void Timer2Timer(); // The repeat tick: a stopped track plays again.
    void CheckBox1Click(bool checked);
    void CheckBox2Click(bool checked);

    // The player, or null before the first file was opened. For tests.
    MusicPlayer* Player() const { return MediaPlayer1.get(); }
    QString SettingsLocation() { return settings.Location(); }

private:
    bool WaveOutDeviceExists() const;
    bool IsPlaying() const;
    void CatchUpOnStartMusic();
    void StartMusicAfterFirstPaint(QObject* window, QObject* child);
    void LoadHitSound();

    SoundSettings settings;
    std::unique_ptr<MusicPlayer> MediaPlayer1;
    std::unique_ptr<QSoundEffect> hitSound;
    std::unique_ptr<QObject> context; // receiver of the deferred start; gone with us
    bool startMusicPending = false;
};

// Test hooks, process-wide so that they reach the window's SoundSystem, which is built
// and started inside the window's constructor. Install them before the window is made;
// an empty function restores the real behaviour.
namespace SoundTesting {
// How many audio outputs exist (waveOutGetNumDevs); asked afresh at each check.
void SetOutputCount(std::function<int()> count);
// Makes the player at the first open. `deferStartMusic` makes StartUp wait for the
// first paint as it does with the real player.
void SetPlayerFactory(std::function<std::unique_ptr<MusicPlayer>()> factory, bool deferStartMusic = false);
// Called with the full path of "abc.wav" instead of playing it.
void SetHitSound(std::function<void(const QString& path)> play);
}
