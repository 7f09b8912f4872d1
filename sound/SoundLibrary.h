// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/SoundBackend.h"

#include <QString>

// Opens the sound library that lies in `dir` (with its trailing separator) and makes its
// backend. When the library cannot be opened, `error` says why and the result is a backend
// without outputs, hit sound or player: the program then runs silent.
std::unique_ptr<SoundBackend> LoadSoundLibrary(const QString& dir, QString& error);

// True once the sound library has been opened in this process: its media framework then
// has threads and static state of its own.
bool SoundLibraryLoaded();
