#pragma once

#include <QString>
#include <memory>

class QSettings;

// The two sound switches, kept per user under the key Software\Pelunor\Quillado
// (HKEY_CURRENT_USER on Windows, ~/.config/Pelunor/Quillado.conf elsewhere). The
// machine-wide store would need administrator rights on every start, so the user's own
// store is used. The store is opened on first use and kept open for the whole run.
// A store that cannot be written is reported once; the switches then live on in memory.
class SoundSettings {
public:
    static constexpr const char* kOrganisation = "Pelunor";
    static constexpr const char* kApplication = "Quillado";
    static constexpr const char* kPlayMp3 = "PlayMp3";
    static constexpr const char* kPlayWav = "PlayWav";

    SoundSettings();
    ~SoundSettings();

    // The value's 32-bit integer. A value that is missing, or that is no 32-bit integer,
    // reads as 1, and 1 is written for it.
    int ReadSwitch(const char* name);
    // `value` is 0 or 1.
    void WriteSwitch(const char* name, int value);

    // Where the store lies: a file name, or a registry path on Windows.
    QString Location();

private:
    QSettings& Store();
    void CheckWritten(const char* name);

    std::unique_ptr<QSettings> m_store;
    bool m_reported = false;
};
