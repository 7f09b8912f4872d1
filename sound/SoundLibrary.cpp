// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/SoundLibrary.h"

#include <QLibrary>

namespace {

bool& loaded()
{
    static bool value = false;
    return value;
}

class SilentBackend : public SoundBackend {
public:
    int OutputCount() override { return 0; }
    std::unique_ptr<MusicPlayer> MakePlayer(MusicFailureHandler, QString& whyNot) override
    {
        whyNot = QStringLiteral("the sound library is missing");
        return nullptr;
    }
    void LoadHitSound(const QString&) override { }
    void PlayHitSound(const QString&) override { }
    void Release() override { }
};

} // namespace

std::unique_ptr<SoundBackend> LoadSoundLibrary(const QString& dir, QString& error)
{
    // The library is never unloaded: Qt Multimedia keeps threads that outlive any one object.
    QLibrary library(dir + QStringLiteral("quillado_sound"));
    using Factory = SoundBackend* (*)();
    const auto factory = reinterpret_cast<Factory>(library.resolve(QUILLADO_SOUND_FACTORY));
    if (!factory) {
        error = library.errorString();
        return std::make_unique<SilentBackend>();
    }
    loaded() = true;
    return std::unique_ptr<SoundBackend>(factory());
}

bool SoundLibraryLoaded() { return loaded(); }
