#pragma once

#include <QFont>

// SimSun where it exists, else a Song/Ming face that Debian ships, so Chinese text looks
// the same in every locale. Sizes are pixel heights.
QFont SongFont(int pixelSize, bool bold = false);

// Points at 96 dots per inch, the unit the full-screen face computes in, as pixels.
constexpr int PointsToPixels(int points) { return (points * 96 + 36) / 72; }
