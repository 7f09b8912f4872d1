#include "sound/Settings.h"

#include "platform/Platform.h"

#include <QSettings>
#include <limits>

SoundSettings::SoundSettings() = default;
SoundSettings::~SoundSettings() = default;

QSettings& SoundSettings::Store()
{
    if (!m_store) {
        // Native format: on Windows the registry key HKEY_CURRENT_USER\Software\Pelunor\Quillado
        // with REG_DWORD values; elsewhere an INI-style file in the user's configuration.
        m_store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
            QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    }
    return *m_store;
}

QString SoundSettings::Location() { return Store().fileName(); }

int SoundSettings::ReadSwitch(const char* name)
{
    QSettings& store = Store();
    const QString key = QString::fromLatin1(name);
    const QVariant value = store.value(key);
    if (value.isValid()) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max())
            return int(number);
    }
    WriteSwitch(name, 1);
    return 1;
}

void SoundSettings::WriteSwitch(const char* name, int value)
{
    Store().setValue(QString::fromLatin1(name), value);
    CheckWritten(name);
}

void SoundSettings::CheckWritten(const char* name)
{
    QSettings& store = Store();
    store.sync();
    if (store.status() == QSettings::NoError || m_reported)
        return;
    m_reported = true;
    const QString reason = store.status() == QSettings::AccessError ? QStringLiteral("the store cannot be written")
                                                                    : QStringLiteral("the store is damaged");
    Platform::ReportError(QStringLiteral("Cannot save the sound setting %1 in \"%2\": %3. "
                                         "The setting holds until the program ends.")
                              .arg(QString::fromLatin1(name), store.fileName(), reason));
}
