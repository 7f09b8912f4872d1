// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/Settings.h"

#include "platform/Platform.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <limits>

SoundSettings::SoundSettings(QString file)
    : m_file(std::move(file))
{
#ifndef Q_OS_WIN
    if (m_file.isEmpty())
        m_file = DefaultFile();
#endif
}

SoundSettings::~SoundSettings() = default;

QString SoundSettings::DefaultFile()
{
    // Where QSettings' native format keeps a user's settings on Linux and BSD.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + QLatin1String(kOrganisation) + QLatin1Char('/') + QLatin1String(kApplication) + QStringLiteral(".conf");
}

QString SoundSettings::Location() const
{
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2")
        .arg(QLatin1String(kOrganisation), QLatin1String(kApplication));
#else
    return m_file;
#endif
}

void SoundSettings::Report(const QString& text)
{
    if (m_reported)
        return;
    m_reported = true;
    Platform::ReportError(text);
}

bool SoundSettings::FileFit(bool reportUnfit)
{
#ifdef Q_OS_WIN
    Q_UNUSED(reportUnfit);
    return true;
#else
    // Checked before every open and every write: the file may change under us.
    const QFileInfo info(m_file);
    if (!info.exists())
        return true; // created as a regular file by the first write
    QString problem;
    if (!info.isFile())
        problem = QStringLiteral("it is not a regular file (a folder, a pipe or a device)");
    else if (info.size() > kMaxFileBytes)
        problem = QStringLiteral("it is %1 bytes long, far more than two switches take").arg(info.size());
    if (problem.isEmpty())
        return true;
    if (reportUnfit)
        Report(QStringLiteral("The sound settings \"%1\" are left alone: %2. Both sounds start switched on, "
                              "and changes to the switches hold until the program ends.")
                   .arg(m_file, problem));
    return false;
#endif
}

QSettings* SoundSettings::Store()
{
    if (m_refused)
        return nullptr;
    if (!m_store) {
        if (!FileFit(true)) {
            m_refused = true;
            return nullptr;
        }
#ifdef Q_OS_WIN
        // Native format: the registry key HKEY_CURRENT_USER\Software\Pelunor\Quillado with
        // REG_DWORD values.
        m_store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
            QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
#else
        // The same INI-style file the native format uses here, named explicitly so that it
        // can be checked before it is opened.
        m_store = std::make_unique<QSettings>(m_file, QSettings::IniFormat);
#endif
    }
    return m_store.get();
}

int SoundSettings::ReadSwitch(const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (QSettings* store = Store()) {
        const QVariant value = store->value(key);
        // The file is read at the first value asked for.
        if (store->status() == QSettings::FormatError)
            Report(QStringLiteral("The sound settings \"%1\" were damaged and could not be read. Both sounds start "
                                  "switched on, and the file is written anew with them.")
                       .arg(Location()));
        if (value.isValid()) {
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            if (ok && number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max())
                return int(number);
        }
    }
    if (!m_missing.contains(key))
        m_missing << key;
    return 1;
}

void SoundSettings::WriteMissing()
{
    const QStringList missing = m_missing;
    for (const QString& key : missing)
        WriteSwitch(key.toLatin1().constData(), 1);
}

void SoundSettings::WriteSwitch(const char* name, int value)
{
    const QString key = QString::fromLatin1(name);
    QSettings* store = Store();
    if (!store)
        return;
    bool ok = false;
    const QVariant held = store->value(key);
    if (!m_missing.contains(key) && held.isValid() && held.toLongLong(&ok) == value && ok)
        return;
    m_missing.removeAll(key);
    // Never write through a link onto something that became a pipe or a device meanwhile.
    if (!FileFit(true))
        return;
    store->setValue(key, value);
    CheckWritten(name);
}

void SoundSettings::CheckWritten(const char* name)
{
    QSettings* store = Store();
    store->sync();
    if (store->status() != QSettings::AccessError)
        return;
    Report(QStringLiteral("Cannot save the sound setting %1 in \"%2\": the store cannot be written. "
                          "The setting holds until the program ends.")
               .arg(QString::fromLatin1(name), Location()));
}
