// SPDX-License-Identifier: GPL-3.0-or-later
// The sound library: Qt Multimedia behind the SoundBackend interface. The program opens it
// at run time after its first paint, so that Qt Multimedia and the codecs, PulseAudio and
// network libraries it pulls in are not loaded before the window shows.

#include "sound/MediaPlayer1.h"
#include "sound/SoundBackend.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QStringList>
#include <QUrl>

namespace {

#ifdef Q_OS_LINUX
// Qt 6.4's GStreamer player dereferences the elements it asks for without checking them:
// on a machine whose GStreamer lacks them, making a QMediaPlayer crashes. Ask GStreamer
// first. It is opened by name, as Qt's own media plugin will load it anyway.
QString MissingGStreamerElements()
{
    QLibrary gst(QStringLiteral("gstreamer-1.0"), 0);
    using InitCheck = int (*)(int*, char***, void**);
    using FactoryFind = void* (*)(const char*);
    using ObjectUnref = void (*)(void*);
    const auto initCheck = reinterpret_cast<InitCheck>(gst.resolve("gst_init_check"));
    const auto find = reinterpret_cast<FactoryFind>(gst.resolve("gst_element_factory_find"));
    const auto unref = reinterpret_cast<ObjectUnref>(gst.resolve("gst_object_unref"));
    if (!initCheck || !find || !unref)
        return QStringLiteral("GStreamer cannot be loaded (%1)").arg(gst.errorString());
    if (!initCheck(nullptr, nullptr, nullptr))
        return QStringLiteral("GStreamer cannot start");
    QStringList missing;
    // What the player, its audio output and its (unused) video output are built from.
    for (const char* name : { "playbin", "decodebin", "uridecodebin", "input-selector", "queue", "audioconvert",
             "audioresample", "volume", "autoaudiosink", "videoconvert", "videoscale", "identity", "fakesink" }) {
        if (void* factory = find(name))
            unref(factory);
        else
            missing << QString::fromLatin1(name);
    }
    if (missing.isEmpty())
        return {};
    return QStringLiteral("GStreamer lacks the elements %1").arg(missing.join(QStringLiteral(", ")));
}
#endif

class QtSoundBackend : public SoundBackend {
public:
    ~QtSoundBackend() override { Release(); }

    int OutputCount() override { return int(QMediaDevices::audioOutputs().size()); }

    std::unique_ptr<MusicPlayer> MakePlayer(MusicFailureHandler onFailure, QString& whyNot) override
    {
#ifdef Q_OS_LINUX
        if (!m_checked) {
            m_checked = true;
            m_whyNot = MissingGStreamerElements();
        }
        if (!m_whyNot.isEmpty()) {
            whyNot = m_whyNot;
            return nullptr;
        }
#endif
        return std::make_unique<QtMusicPlayer>(std::move(onFailure));
    }

    void LoadHitSound(const QString& path) override
    {
        // A pipe would stall the sample cache's loader thread, and with it the exit.
        if (!QFileInfo(path).isFile()) {
            Release();
            return;
        }
        const QUrl source = QUrl::fromLocalFile(path);
        if (!m_hitSound)
            m_hitSound = std::make_unique<QSoundEffect>();
        if (m_hitSound->source() != source)
            m_hitSound->setSource(source);
    }

    void PlayHitSound(const QString& path) override
    {
        LoadHitSound(path);
        if (!m_hitSound)
            return;
        // A file that is no 16-bit PCM WAV leaves the effect in its error status, where
        // play() stays silent.
        m_hitSound->stop();
        m_hitSound->play();
    }

    void Release() override
    {
        if (!m_hitSound)
            return;
        // Qt 6.4's sample cache deadlocks at exit when a sound is still being decoded on its
        // loader thread (its destructor holds the lock the loader needs to finish). Closing
        // the program within moments of its start would then hang for good, so let a
        // pending load finish first; it takes milliseconds.
        QElapsedTimer waited;
        waited.start();
        while (m_hitSound->status() == QSoundEffect::Loading && waited.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        m_hitSound->stop();
        m_hitSound.reset();
    }

private:
    std::unique_ptr<QSoundEffect> m_hitSound;
#ifdef Q_OS_LINUX
    bool m_checked = false;
    QString m_whyNot;
#endif
};

} // namespace

extern "C" Q_DECL_EXPORT SoundBackend* QuilladoCreateSoundBackend() { return new QtSoundBackend; }
