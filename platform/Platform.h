// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <string>

class AppError;

// The thin layer between the trainer and the desktop: where its files lie, how messages
// reach the user, and how documents are opened. Tests replace the sinks so that no modal
// dialog ever blocks them and every message can be checked.
namespace Platform {

enum class MessageIcon { None, Information, Critical };

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

// Directory of the executable, with its trailing separator. Tests point it elsewhere.
// Built from the executable's raw path, so a folder whose name is no valid UTF-8 (GBK bytes
// from a Windows archive, Latin-1) still works: it is then reached through a descriptor
// the program keeps open on it.
QString ProgramDir();
// The same directory as the file system spells it, for opening files and for messages.
std::filesystem::path ProgramDirPath();
void SetProgramDirForTesting(const QString& dir);
// The directory part of an executable's raw path (bytes as the file system holds them),
// as ProgramDir gives it. Exposed so that odd folder names can be tried without moving
// the test program.
QString ProgramDirOfExecutable(const QByteArray& rawExecutablePath);
// Whether a file exists and is a regular file (or a link to one): never a folder, a pipe
// or a device. Check it before opening or writing anything that lies in the user's folders.
bool IsRegularFile(const QString& path);

// A message box with an OK button and no owner window.
void ShowMessageBox(const QString& text, const QString& title, MessageIcon icon);

// The application's general error report: every error a handler does not catch ends up here.
void ReportError(const QString& text);
void ReportError(const AppError& error);
void ReportError(const std::exception& error);

// Runs one event handler: an error it raises ends it there and is reported; the program goes on.
template <typename F> bool RunHandler(F&& handler);

// Asks the desktop to open a file or a web address; the outcome is not looked at.
void OpenWithDesktop(const QUrl& url);

// Test hooks. Passing an empty function restores the real behaviour.
void SetMessageSink(std::function<void(const Message&)> sink);
void SetOpenerForTesting(std::function<void(const QUrl&)> open);

// GBK, the encoding of every text in the data tables, meets Qt's strings only here.
QString FromGbk(const std::string& bytes);
std::string ToGbk(const QString& text);

} // namespace Platform

#include "data/AppError.h"

template <typename F> bool Platform::RunHandler(F&& handler)
{
    try {
        handler();
        return true;
    } catch (const AppError& e) {
        ReportError(e);
    } catch (const std::exception& e) {
        ReportError(e);
    }
    return false;
}
