// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

// The two sound switches, kept per user under the key Software\Pelunor\Quillado
// (HKEY_CURRENT_USER on Windows, ~/.config/Pelunor/Quillado.conf elsewhere). The
// machine-wide store would need administrator rights on every start, so the user's own
// store is used. The store is opened on first use and kept open for the whole run.
//
// Elsewhere than on Windows the store is a file in the user's folders, and only a regular
// file of a sensible size is ever opened or written: a pipe would block the program in
// open(), a link to a device would be replaced by a file. Such a store is reported once and
// left alone; the switches then start at their defaults and live on in memory.
// A store that cannot be written is reported once, too.
class SoundSettings {
public:
    static constexpr const char* kOrganisation = "Pelunor";
    static constexpr const char* kApplication = "Quillado";
    static constexpr const char* kPlayMp3 = "PlayMp3";
    static constexpr const char* kPlayWav = "PlayWav";
    // Two switches take a few dozen bytes; a store far beyond that is not read.
    static constexpr qint64 kMaxFileBytes = qint64 { 64 } * 1024;

    // `file` is the store's file (not on Windows); empty: the user's usual one.
    explicit SoundSettings(QString file = {});
    ~SoundSettings();

    // The user's usual store file elsewhere than on Windows.
    static QString DefaultFile();

    // The value's 32-bit integer. A value that is missing, or that is no 32-bit integer,
    // reads as 1; WriteMissing writes 1 for it later.
    int ReadSwitch(const char* name);
    // Writes 1 for each value ReadSwitch found missing.
    void WriteMissing();
    // `value` is 0 or 1. Nothing is written when the store already holds it.
    void WriteSwitch(const char* name, int value);

    // Where the store lies: a file name, or a registry path on Windows.
    QString Location() const;

private:
    QSettings* Store();
    bool FileFit(bool reportUnfit);
    void Report(const QString& text);
    void CheckWritten(const char* name);

    QString m_file;
    std::unique_ptr<QSettings> m_store;
    QStringList m_missing; // in the order read
    bool m_refused = false; // the store's file is unfit: keep away from it
    bool m_reported = false;
};
