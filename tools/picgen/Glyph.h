// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace picgen {

// Points in the stroke data's 1024 grid, turned so that y grows downwards (0 at the top).
struct Point {
    double x = 0;
    double y = 0;
};

// The five stroke classes of the typing method, numbered as the method numbers them.
enum StrokeClass { Heng = 1, Shu = 2, Pie = 3, Dian = 4, Zhe = 5 };

struct Stroke {
    std::string outline; // SVG path, in the data's own y-up grid
    std::vector<Point> median; // writing direction, y down
    int cls = 0; // best reading of the median
    int alt = 0; // bit c set: the median is borderline and may also be class c
    bool slantHook = false; // a bend ending in a hook that runs down to the right (斜钩, 卧钩)
    // Placement of the outline in the character's grid (x' = sx x + tx, y' = sy y + ty, y up);
    // only a character put together from two others moves its strokes.
    double sx = 1, sy = 1, tx = 0, ty = 0;
};

struct Glyph {
    std::vector<Stroke> strokes;
};

// Reads <dir>/<character>.json of the stroke data. Throws std::runtime_error naming the file.
Glyph LoadGlyph(const std::string& dir, const std::string& utf8Char);
bool GlyphExists(const std::string& dir, const std::string& utf8Char);

// A character the stroke data lacks, put together from two that it has: side by side
// ("⿰", the first part taking `share` of the width) or one above the other ("⿱", the first
// taking `share` of the height). The strokes keep their classes.
Glyph ComposeGlyph(const Glyph& first, const Glyph& second, const std::string& layout, double share);

// Classifies one stroke from the shape of its median.
void ClassifyStroke(Stroke& stroke);

} // namespace picgen
