// SPDX-License-Identifier: GPL-3.0-or-later
#include "Glyph.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace picgen {

namespace {

    // The stroke data puts the baseline at y = -124 and the top at y = 900.
    constexpr double kTop = 900;

    double Length(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

    double DistanceToSegment(Point p, Point a, Point b)
    {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        if (len2 == 0)
            return Length(p, a);
        double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
        t = std::clamp(t, 0.0, 1.0);
        return Length(p, { a.x + t * dx, a.y + t * dy });
    }

    void Simplify(const std::vector<Point>& pts, size_t first, size_t last, double eps, std::vector<Point>& out)
    {
        double worst = 0;
        size_t at = first;
        for (size_t i = first + 1; i < last; ++i) {
            const double d = DistanceToSegment(pts[i], pts[first], pts[last]);
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > eps) {
            Simplify(pts, first, at, eps, out);
            Simplify(pts, at, last, eps, out);
        } else {
            out.push_back(pts[last]);
        }
    }

    // Angle of a direction in degrees, 0 = right, 90 = down, -90 = up.
    double Angle(Point a, Point b) { return std::atan2(b.y - a.y, b.x - a.x) * 180.0 / M_PI; }

    double Turn(double a1, double a2)
    {
        double d = a2 - a1;
        while (d > 180)
            d -= 360;
        while (d < -180)
            d += 360;
        return std::fabs(d);
    }

} // namespace

void ClassifyStroke(Stroke& stroke)
{
    std::vector<Point> pts;
    for (const Point& p : stroke.median)
        if (pts.empty() || Length(pts.back(), p) > 1)
            pts.push_back(p);
    stroke.cls = Dian;
    stroke.alt = 0;
    if (pts.size() < 2)
        return;

    std::vector<Point> simple { pts.front() };
    Simplify(pts, 0, pts.size() - 1, 20, simple);

    auto totalLength = [&simple]() {
        double t = 0;
        for (size_t i = 1; i < simple.size(); ++i)
            t += Length(simple[i - 1], simple[i]);
        return t;
    };
    // The brush's entry leaves a short tick at the start of many medians.
    if (simple.size() >= 3 && Length(simple[0], simple[1]) < std::min(75.0, 0.3 * totalLength()))
        simple.erase(simple.begin());
    const double total = totalLength();

    // A short final flick upwards (or up and to the left) is a hook; it does not change a
    // vertical into a bent stroke.
    bool hooked = false;
    if (simple.size() >= 3) {
        const Point a = simple[simple.size() - 2], b = simple.back();
        const double len = Length(a, b);
        const double dx = b.x - a.x, dy = b.y - a.y;
        if (dy < 0 && dx < 0.45 * -dy && len < 0.4 * total) {
            hooked = true;
            simple.pop_back();
        }
    }

    // Corners: the largest turn at a vertex, measured against points a little way off so
    // that a rounded corner drawn as several short segments still counts whole.
    const double window = std::min(80.0, 0.3 * total);
    double maxTurn = 0;
    for (size_t i = 1; i + 1 < simple.size(); ++i) {
        size_t a = i - 1, b = i + 1;
        while (a > 0 && Length(simple[a], simple[i]) < window)
            --a;
        while (b + 1 < simple.size() && Length(simple[i], simple[b]) < window)
            ++b;
        if (Length(simple[a], simple[i]) < 25 || Length(simple[i], simple[b]) < 25)
            continue;
        maxTurn = std::max(maxTurn, Turn(Angle(simple[a], simple[i]), Angle(simple[i], simple[b])));
    }

    // A corner rounded off over a long stretch: the point farthest from the chord.
    if (simple.size() >= 3) {
        size_t far = 0;
        double sag = 0;
        for (size_t i = 1; i + 1 < simple.size(); ++i) {
            const double d = DistanceToSegment(simple[i], simple.front(), simple.back());
            if (d > sag) {
                sag = d;
                far = i;
            }
        }
        if (far && sag > 0.25 * Length(simple.front(), simple.back()))
            maxTurn = std::max(maxTurn, Turn(Angle(simple.front(), simple[far]), Angle(simple[far], simple.back())));
    }

    const Point s = simple.front(), e = simple.back();
    const double ang = Angle(s, e);
    const double len = Length(s, e);

    stroke.slantHook = hooked && ang > -30 && ang <= 75;
    if (maxTurn > 55) {
        stroke.cls = Zhe;
        // A flat 捺 with a bend at its start, or a curved 撇, can look bent.
        if (maxTurn < 90) {
            if (ang > -60 && ang <= 0)
                stroke.alt = 1 << Heng;
            else if (ang > 0 && ang < 50)
                stroke.alt = 1 << Dian;
            else if (ang >= 50 && ang < 100)
                stroke.alt = 1 << Shu;
            else if (ang >= 100 && ang < 180)
                stroke.alt = 1 << Pie;
        }
        return;
    }
    if (hooked) {
        if (ang > 72 && ang <= 125) {
            stroke.cls = Shu; // 竖钩, 弯钩
            if (ang < 80)
                stroke.alt = 1 << Zhe;
        } else if (ang > -30 && ang <= 72) {
            stroke.cls = Zhe; // 斜钩, 卧钩
            if (ang > 62)
                stroke.alt = 1 << Shu;
        } else {
            stroke.cls = Shu;
        }
        return;
    }
    struct Band {
        double upTo;
        int cls;
        int alt;
    };
    // Bands of direction, clockwise from rising-right; the borders get a second reading.
    static const Band kBands[] = {
        { -80, Pie, 0 },
        { 2, Heng, 0 },
        { 22, Heng, Dian },
        { 30, Dian, Heng },
        { 58, Dian, 0 },
        { 72, Dian, Shu },
        { 80, Shu, Dian },
        { 98, Shu, 0 },
        { 112, Pie, Shu },
        { 181, Pie, 0 },
    };
    stroke.cls = Pie;
    for (const Band& band : kBands)
        if (ang <= band.upTo) {
            stroke.cls = band.cls;
            stroke.alt = band.alt;
            break;
        }
    stroke.alt = stroke.alt ? 1 << stroke.alt : 0;
    // Short strokes are where the font's brush and the method's names disagree most:
    // a dot may be drawn as a tiny vertical or a tiny falling-left stroke.
    if (stroke.cls == Shu && len < 200)
        stroke.alt |= 1 << Dian | 1 << Pie;
    if (stroke.cls == Pie && len < 300)
        stroke.alt |= 1 << Dian | (len < 200 ? 1 << Shu : 0);
    if (stroke.cls == Dian && len < 200)
        stroke.alt |= 1 << Pie;
}

Glyph ComposeGlyph(const Glyph& first, const Glyph& second, const std::string& layout, double share)
{
    const bool across = layout == "⿰";
    if (!across && layout != "⿱")
        throw std::runtime_error("unknown layout " + layout);
    Glyph out;
    auto place = [&out](const Glyph& part, double sx, double sy, double tx, double ty) {
        for (Stroke s : part.strokes) {
            for (Point& p : s.median)
                p = { sx * p.x + tx, kTop - (sy * (kTop - p.y) + ty) };
            s.tx = sx * s.tx + tx;
            s.ty = sy * s.ty + ty;
            s.sx *= sx;
            s.sy *= sy;
            out.strokes.push_back(std::move(s));
        }
    };
    // The grid runs from 0 to 1024 across and from -124 to 900 up.
    if (across) {
        place(first, share, 1, 0, 0);
        place(second, 1 - share, 1, 1024 * share, 0);
    } else {
        place(first, 1, share, 0, 900 - 900 * share);
        place(second, 1, 1 - share, 0, -124 * share);
    }
    return out;
}

bool GlyphExists(const std::string& dir, const std::string& utf8Char)
{
    return std::filesystem::exists(std::filesystem::u8path(dir + "/" + utf8Char + ".json"));
}

Glyph LoadGlyph(const std::string& dir, const std::string& utf8Char)
{
    const std::string name = dir + "/" + utf8Char + ".json";
    std::ifstream in(std::filesystem::u8path(name), std::ios::binary);
    if (!in)
        throw std::runtime_error(name + ": cannot be opened");
    nlohmann::json doc;
    try {
        in >> doc;
    } catch (const std::exception& e) {
        throw std::runtime_error(name + ": " + e.what());
    }
    Glyph glyph;
    const auto& outlines = doc.at("strokes");
    const auto& medians = doc.at("medians");
    if (outlines.size() != medians.size())
        throw std::runtime_error(name + ": outlines and medians differ in number");
    for (size_t i = 0; i < outlines.size(); ++i) {
        Stroke stroke;
        stroke.outline = outlines[i].get<std::string>();
        for (const auto& p : medians[i])
            stroke.median.push_back({ p.at(0).get<double>(), kTop - p.at(1).get<double>() });
        ClassifyStroke(stroke);
        glyph.strokes.push_back(std::move(stroke));
    }
    return glyph;
}

} // namespace picgen
