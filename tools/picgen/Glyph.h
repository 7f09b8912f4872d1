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
    std::string outline;        // SVG path, in the data's own y-up grid
    std::vector<Point> median;  // writing direction, y down
    int cls = 0;                // best reading of the median
    int alt = 0;                // bit c set: the median is borderline and may also be class c
};

struct Glyph {
    std::vector<Stroke> strokes;
};

// Reads <dir>/<character>.json of the stroke data. Throws std::runtime_error naming the file.
Glyph LoadGlyph(const std::string& dir, const std::string& utf8Char);
bool GlyphExists(const std::string& dir, const std::string& utf8Char);

// Classifies one stroke from the shape of its median.
void ClassifyStroke(Stroke& stroke);

} // namespace picgen
