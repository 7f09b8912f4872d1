// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Loads decomposition picture n ("MywbGIF" + n, names matched without regard to case)
// from the program's own picture set, decoding it afresh each time.
// Throws AppError "Resource MywbGIF<n> not found", or the decoder's error.
QImage LoadDecompositionPicture(int n);
