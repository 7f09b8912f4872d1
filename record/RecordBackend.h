// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/RecordStore.h"
#include "record/RecordWindow.h"

#include <QString>
#include <memory>
#include <vector>

class QWidget;

// The one symbol the library exports for the program.
#define QUILLADO_RECORD_FACTORY "QuilladoCreateRecordBackend"

namespace Record {

// What the main window asks of the record library. The program does not link that library
// (SQLite through Qt Sql, and Qt Charts with OpenGL for the record window): it opens it when
// a session is first stored or the record first read, never before the window shows.
class Backend {
public:
    virtual ~Backend() = default;

    // The store itself, for the record's own tests; null when the library is missing.
    virtual Store* store() = 0;
    virtual bool Save(SessionRow row) = 0;
    virtual void Checkpoint() = 0;
    virtual std::vector<ItemStat> History(int mode) = 0;
    // The fault since the last call, as a sentence for the learner; empty when none.
    virtual QString TakeFault() = 0;
    // The record window on `mode`, or null (with a fault to tell) when there is none. The
    // program holds it as a plain widget: the window's own type is the library's, and only
    // the library looks inside it.
    virtual QWidget* MakeWindow(int mode, RecordWindow::Hooks hooks, QWidget* parent) = 0;
    // Shows `mode` in a window made above; Mode::None shows again the mode it shows.
    virtual void ShowMode(QWidget& window, int mode) = 0;
};

// Opens the record library that lies in `dir` (with its trailing separator) and makes a
// backend keeping the record in `path`. When the library cannot be opened the backend keeps
// nothing and says so through TakeFault, once; practice goes on.
std::unique_ptr<Backend> LoadRecordLibrary(const QString& dir, const QString& path);

} // namespace Record
