// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/SoundBackend.h"

#include <QSet>
#include <QStringList>
#include <memory>

// A machine for the sound system that only records what it is told. The state lives apart
// from the player and the backend so that a test keeps it while the sound system owns them.
class FakeMusicPlayer : public MusicPlayer {
public:
    struct State {
        QStringList calls; // "open <path>", "play", "stop", "pause", "resume"
        Mode mode = Mode::NotOpen;
        QString path; // the file open, empty when none
        QSet<QString> unopenable; // file names (without directory) whose Open fails
        int playersCreated = 0;

        // What a real track does when it has played to its end.
        void RunToEnd()
        {
            if (mode == Mode::Playing)
                mode = Mode::Stopped;
        }
    };

    explicit FakeMusicPlayer(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {
        ++m_state->playersCreated;
    }

    QString Open(const QString& path) override
    {
        m_state->calls << QStringLiteral("open ") + path;
        m_state->mode = Mode::NotOpen;
        m_state->path.clear();
        const QString name = path.section(QLatin1Char('/'), -1);
        if (m_state->unopenable.contains(name))
            return QStringLiteral("no such file");
        m_state->path = path;
        m_state->mode = Mode::Stopped;
        return {};
    }
    void Play() override { Record("play", Mode::Playing); }
    void Stop() override { Record("stop", Mode::Stopped); }
    void Pause() override { Record("pause", Mode::Paused); }
    void Resume() override { Record("resume", Mode::Playing); }
    Mode GetMode() const override { return m_state->mode; }

private:
    void Record(const char* call, Mode next)
    {
        m_state->calls << QString::fromLatin1(call);
        if (m_state->mode != Mode::NotOpen)
            m_state->mode = next;
    }

    std::shared_ptr<State> m_state;
};

struct FakeMachine {
    std::shared_ptr<FakeMusicPlayer::State> music = std::make_shared<FakeMusicPlayer::State>();
    int outputs = 1;
    QStringList hitSounds; // the path of every hit sound played
    QStringList hitSoundsLoaded;
    QString noPlayerBecause; // non-empty: MakePlayer fails with this reason
    int backendsMade = 0;
    int releases = 0;
};

class FakeSoundBackend : public SoundBackend {
public:
    explicit FakeSoundBackend(std::shared_ptr<FakeMachine> machine)
        : m_machine(std::move(machine))
    {
        ++m_machine->backendsMade;
    }

    int OutputCount() override { return m_machine->outputs; }
    std::unique_ptr<MusicPlayer> MakePlayer(MusicFailureHandler, QString& whyNot) override
    {
        if (!m_machine->noPlayerBecause.isEmpty()) {
            whyNot = m_machine->noPlayerBecause;
            return nullptr;
        }
        return std::make_unique<FakeMusicPlayer>(m_machine->music);
    }
    void LoadHitSound(const QString& path) override { m_machine->hitSoundsLoaded << path; }
    void PlayHitSound(const QString& path) override { m_machine->hitSounds << path; }
    void Release() override { ++m_machine->releases; }

    static SoundBackendFactory Factory(std::shared_ptr<FakeMachine> machine)
    {
        return [machine] { return std::make_unique<FakeSoundBackend>(machine); };
    }

private:
    std::shared_ptr<FakeMachine> m_machine;
};

// The real sound library, as the program loads it, with the device count answered by the
// test: the real player on a device that claims to exist, or none.
class RealSoundWithFakeOutputs : public SoundBackend {
public:
    RealSoundWithFakeOutputs(std::unique_ptr<SoundBackend> real, std::function<int()> outputs)
        : m_real(std::move(real))
        , m_outputs(std::move(outputs))
    {
    }
    int OutputCount() override { return m_outputs ? m_outputs() : m_real->OutputCount(); }
    std::unique_ptr<MusicPlayer> MakePlayer(MusicFailureHandler onFailure, QString& whyNot) override
    {
        return m_real->MakePlayer(std::move(onFailure), whyNot);
    }
    void LoadHitSound(const QString& path) override { m_real->LoadHitSound(path); }
    void PlayHitSound(const QString& path) override { m_real->PlayHitSound(path); }
    void Release() override { m_real->Release(); }

private:
    std::unique_ptr<SoundBackend> m_real;
    std::function<int()> m_outputs;
};
