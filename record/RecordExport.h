// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The record lives in a library of its own, opened when the record is first needed; its
// tests link it directly.
#ifdef QUILLADO_BUILDING_RECORD
#define QUILLADO_RECORD_EXPORT Q_DECL_EXPORT
#else
#define QUILLADO_RECORD_EXPORT Q_DECL_IMPORT
#endif
