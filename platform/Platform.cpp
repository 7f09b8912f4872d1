#include "platform/Platform.h"

#include "data/Gbk.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>

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

QString ProgramDir()
{
    QString dir = programDirOverride();
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void SetProgramDirForTesting(const QString& dir) { programDirOverride() = dir; }

void ShowMessageBox(const QString& text, const QString& title, MessageIcon icon)
{
    if (messageSink()) {
        messageSink()({ text, title, icon });
        return;
    }
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                        : icon == MessageIcon::Critical ? QMessageBox::Critical
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
void SetOpenerForTesting(std::function<void(const QUrl&)> fn) { opener() = std::move(fn); }

// The core's own GBK table, the same on every platform; a byte that is no GBK character shows
// as U+FFFD and a character GBK cannot hold becomes '?'.
QString FromGbk(const std::string& bytes)
{
    return QString::fromStdU16String(*gbk::ToUtf16(bytes, gbk::OnError::Replace));
}

std::string ToGbk(const QString& text) { return *gbk::FromUtf16(text.toStdU16String(), gbk::OnError::Replace); }

} // namespace Platform
