// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include "data/Gbk.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
QString& programDirOverride()
{
    static QString dir;
    return dir;
}

std::function<void(const Platform::Message&)>& messageSink()
{
    static std::function<void(const Platform::Message&)> sink;
    return sink;
}

std::function<void(const QUrl&)>& opener()
{
    static std::function<void(const QUrl&)> fn;
    return fn;
}
}

namespace Platform {

QString ProgramDirOfExecutable(const QByteArray& rawExecutablePath)
{
    const qsizetype slash = rawExecutablePath.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : rawExecutablePath.left(slash + 1);
    const QString text = QString::fromUtf8(dir);
    // Bytes that are no valid UTF-8 do not survive the round trip.
    if (text.toUtf8() == dir)
        return text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
#ifdef Q_OS_LINUX
    // Qt spells every path in UTF-8, so these bytes have no QString; the kernel's name for a
    // descriptor held on the folder does, and it stays valid while the program runs.
    const int fd = ::open(dir.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        return QStringLiteral("/proc/self/fd/%1/").arg(fd);
#endif
    return text.endsWith(QLatin1Char('/')) ? text : text + QLatin1Char('/');
}

namespace {
#ifdef Q_OS_LINUX
    QByteArray RawExecutablePath()
    {
        QByteArray buffer(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), size_t(buffer.size()));
        return n > 0 && n < buffer.size() ? buffer.left(n) : QByteArray();
    }
#endif

    const QString& executableDir()
    {
        // applicationDirPath() decodes the path as UTF-8 and loses what is not; on Windows it
        // comes from the wide-character API and is whole.
        static const QString dir = [] {
#ifdef Q_OS_LINUX
            const QByteArray raw = RawExecutablePath();
            if (!raw.isEmpty())
                return ProgramDirOfExecutable(raw);
#endif
            QString d = QCoreApplication::applicationDirPath();
            return d.endsWith(QLatin1Char('/')) ? d : d + QLatin1Char('/');
        }();
        return dir;
    }
}

QString ProgramDir()
{
    QString dir = programDirOverride();
    if (dir.isEmpty())
        return executableDir();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

std::filesystem::path ProgramDirPath()
{
#ifdef Q_OS_LINUX
    if (programDirOverride().isEmpty()) {
        const QByteArray raw = RawExecutablePath();
        const qsizetype slash = raw.lastIndexOf('/');
        if (slash >= 0)
            return std::filesystem::path(raw.left(slash + 1).toStdString());
    }
#endif
    return std::filesystem::path(ProgramDir().toStdU16String());
}

bool IsRegularFile(const QString& path)
{
    // QFileInfo follows links and counts only S_ISREG as a file.
    return QFileInfo(path).isFile();
}

void SetProgramDirForTesting(const QString& dir) { programDirOverride() = dir; }

void ShowMessageBox(const QString& text, const QString& title, MessageIcon icon)
{
    if (messageSink()) {
        messageSink()({ text, title, icon });
        return;
    }
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
            : icon == MessageIcon::Critical          ? QMessageBox::Critical
                                                     : QMessageBox::NoIcon,
        title, text, QMessageBox::Ok);
    box.exec();
}

void ReportError(const QString& text)
{
    ShowMessageBox(text, QCoreApplication::applicationName(), MessageIcon::Critical);
}

void ReportError(const AppError& error)
{
    ReportError(error.encoding() == AppError::Encoding::Gbk ? FromGbk(error.what()) : QString::fromUtf8(error.what()));
}

void ReportError(const std::exception& error) { ReportError(QString::fromUtf8(error.what())); }

void OpenWithDesktop(const QUrl& url)
{
    if (opener()) {
        opener()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void SetMessageSink(std::function<void(const Message&)> sink) { messageSink() = std::move(sink); }
void SetOpenerForTesting(std::function<void(const QUrl&)> open) { opener() = std::move(open); }

// The core's own GBK table, the same on every platform; a byte that is no GBK character shows
// as U+FFFD and a character GBK cannot hold becomes '?'.
QString FromGbk(const std::string& bytes)
{
    return QString::fromStdU16String(*gbk::ToUtf16(bytes, gbk::OnError::Replace));
}

std::string ToGbk(const QString& text) { return *gbk::FromUtf16(text.toStdU16String(), gbk::OnError::Replace); }

} // namespace Platform
