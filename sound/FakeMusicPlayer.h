#pragma once

#include "data/AppError.h"
#include "sound/MusicPlayer.h"

#include <QSet>
#include <QStringList>
#include <memory>

// A player that only records what it is told, for tests. The state lives apart from the
// player so that a test keeps it while the sound system owns (and may recreate) the player.
class FakeMusicPlayer : public MusicPlayer {
public:
    struct State {
        QStringList calls; // "open <path>", "play", "stop", "pause", "resume"
        Mode mode = Mode::NotOpen;
        QString path; // the file open, empty when none
        QSet<QString> unopenable; // file names (without directory) whose Open throws
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

    void Open(const QString& path) override
    {
        m_state->calls << QStringLiteral("open ") + path;
        m_state->mode = Mode::NotOpen;
        m_state->path.clear();
        const QString name = path.section(QLatin1Char('/'), -1);
        if (m_state->unopenable.contains(name))
            throw AppError("Cannot open the music file \"" + path.toStdString() + "\": no such file");
        m_state->path = path;
        m_state->mode = Mode::Stopped;
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
