// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// SimSun where it exists, else a Song/Ming face that Debian ships, so Chinese text looks
// the same in every locale. Sizes are pixel heights.
QFont SongFont(int pixelSize, bool bold = false);

// Points at 96 dots per inch, the unit the full-screen face computes in, as pixels.
constexpr int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

// Whether any installed font has the glyphs of simplified Chinese; without one every
// caption and item shows as boxes.
bool ChineseFontInstalled();
