// SPDX-License-Identifier: GPL-3.0-or-later
#include "Render.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <gif_lib.h>

#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace picgen {

const unsigned char kPalette[4] = { 0xFA, 0xC4, 0x7C, 0x00 };

namespace {

    // The stroke data's outlines use absolute M, L, Q, C and Z only.
    QPainterPath ParseOutline(const std::string& svg)
    {
        QPainterPath path;
        std::istringstream in(svg);
        std::string tok;
        char cmd = 0;
        auto num = [&in]() {
            double v = 0;
            in >> v;
            return v;
        };
        while (in >> std::ws && in.peek() != EOF) {
            const int c = in.peek();
            if (std::isalpha(c)) {
                in.get();
                cmd = static_cast<char>(c);
                if (cmd == 'Z' || cmd == 'z') {
                    path.closeSubpath();
                    continue;
                }
            }
            switch (cmd) {
            case 'M': {
                const double x = num(), y = num();
                path.moveTo(x, y);
                cmd = 'L';
                break;
            }
            case 'L': {
                const double x = num(), y = num();
                path.lineTo(x, y);
                break;
            }
            case 'Q': {
                const double x1 = num(), y1 = num(), x = num(), y = num();
                path.quadTo(x1, y1, x, y);
                break;
            }
            case 'C': {
                const double x1 = num(), y1 = num(), x2 = num(), y2 = num(), x = num(), y = num();
                path.cubicTo(x1, y1, x2, y2, x, y);
                break;
            }
            default:
                throw std::runtime_error("unexpected outline command '" + std::string(1, cmd) + "'");
            }
            if (in.fail())
                throw std::runtime_error("malformed stroke outline");
        }
        return path;
    }

    // Maps the stroke data's grid (y up, top at 900) onto a box of the given size.
    QTransform GlyphTransform(double left, double top, double size)
    {
        const double s = size / 1024.0;
        return QTransform(s, 0, 0, -s, left, top + 900 * s);
    }

} // namespace

struct Renderer::Impl {
    std::map<std::string, std::vector<QPainterPath>> text;
    QFont letterFont;
};

Renderer::Renderer(std::map<std::string, Glyph> textGlyphs, const std::string& fontFile)
    : m_impl(new Impl)
{
    for (auto& [ch, glyph] : textGlyphs) {
        std::vector<QPainterPath> paths;
        for (const Stroke& s : glyph.strokes)
            paths.push_back(ParseOutline(s.outline));
        m_impl->text.emplace(ch, std::move(paths));
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(fontFile));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        throw std::runtime_error(fontFile + ": cannot be loaded as a font");
    m_impl->letterFont = QFont(families.front());
    m_impl->letterFont.setPixelSize(14);
    m_impl->letterFont.setBold(true);
    m_impl->letterFont.setHintingPreference(QFont::PreferNoHinting);
}

Renderer::~Renderer() { delete m_impl; }

void Renderer::WriteStrokeSheet(
    const std::vector<std::pair<std::string, const Glyph*>>& glyphs, const std::string& path) const
{
    const int size = 260, columns = 4;
    const int rows = (static_cast<int>(glyphs.size()) + columns - 1) / columns;
    QImage image(columns * size, std::max(rows, 1) * size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font = m_impl->letterFont;
    font.setPixelSize(13);
    p.setFont(font);
    static const QColor kColours[] = { QColor(200, 60, 60), QColor(40, 120, 200), QColor(40, 160, 60),
        QColor(180, 120, 0), QColor(150, 60, 180), QColor(0, 150, 150) };
    for (size_t k = 0; k < glyphs.size(); ++k) {
        const double left = (k % columns) * size, top = (k / columns) * size;
        const QTransform t = GlyphTransform(left + 10, top + 20, size - 20);
        p.setPen(Qt::black);
        p.drawText(QPointF(left + 4, top + 14), QString::fromStdString(glyphs[k].first));
        const Glyph& g = *glyphs[k].second;
        for (size_t i = 0; i < g.strokes.size(); ++i) {
            const Stroke& s = g.strokes[i];
            const QTransform place(s.sx, 0, 0, s.sy, s.tx, s.ty);
            QColor c = kColours[i % 6];
            c.setAlpha(150);
            p.fillPath((place * t).map(ParseOutline(s.outline)), c);
        }
        for (size_t i = 0; i < g.strokes.size(); ++i) {
            const Point m = g.strokes[i].median.front();
            const QPointF at = t.map(QPointF(m.x, 900 - m.y));
            p.setPen(Qt::black);
            p.setBrush(Qt::yellow);
            p.drawEllipse(at, 8, 8);
            p.drawText(QRectF(at.x() - 8, at.y() - 8, 16, 16), Qt::AlignCenter, QString::number(i));
        }
    }
    p.end();
    if (!image.save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot be written");
}

void Renderer::Write(const Picture& picture, const std::string& path) const
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(kPalette[0], kPalette[0], kPalette[0]));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        const Glyph& glyph = *picture.glyph;
        std::vector<QPainterPath> outlines;
        for (const Stroke& s : glyph.strokes)
            outlines.push_back(QTransform(s.sx, 0, 0, s.sy, s.tx, s.ty).map(ParseOutline(s.outline)));

        QPen outlinePen(QColor(kPalette[2], kPalette[2], kPalette[2]), 1.0);
        outlinePen.setCosmetic(true);
        outlinePen.setJoinStyle(Qt::RoundJoin);
        for (size_t copy = 0; copy < picture.black.size(); ++copy) {
            const QTransform t = GlyphTransform(copy * kCell + 1.5, 2.0, 52.0);
            std::vector<bool> black(outlines.size(), false);
            for (int i : picture.black[copy])
                black[i] = true;
            for (size_t i = 0; i < outlines.size(); ++i) {
                const QPainterPath shape = t.map(outlines[i]);
                if (black[i]) {
                    p.fillPath(shape, Qt::black);
                } else {
                    p.setPen(outlinePen);
                    p.setBrush(Qt::NoBrush);
                    p.drawPath(shape);
                }
            }
        }

        if (picture.idLetter) {
            const double left = picture.black.size() * kCell;
            const char letter = picture.idLetter;
            const int zone = std::string("gfdhjktreyuinbv").find(letter) / 3 + 1;
            const int position = std::string("gfdhjktreyuinbv").find(letter) % 3;
            static const char* kStructure[] = { "左右型", "上下型", "杂合型" };
            static const char* kStroke[] = { "横", "竖", "撇", "捺", "折" };
            const std::string top = kStructure[position];
            const std::string bottom = std::string("末笔") + kStroke[zone - 1];
            auto writeLine = [&](const std::string& line, double y) {
                double x = left + 2;
                for (size_t i = 0; i < line.size(); i += 3) {
                    const auto it = m_impl->text.find(line.substr(i, 3));
                    const QTransform t = GlyphTransform(x, y, 17.0);
                    for (const QPainterPath& s : it->second)
                        p.fillPath(t.map(s), Qt::black);
                    x += 17;
                }
            };
            writeLine(top, 0.5);
            writeLine(bottom, 38.5);
            const QPointF centre(left + kCell / 2.0, 28.0);
            QPen circlePen(QColor(kPalette[2], kPalette[2], kPalette[2]), 1.2);
            p.setPen(circlePen);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(centre, 9.5, 9.5);
            QPainterPath glyphPath;
            glyphPath.addText(0, 0, m_impl->letterFont, QString(QChar(std::toupper(letter))));
            const QRectF box = glyphPath.boundingRect();
            glyphPath.translate(centre.x() - box.center().x(), centre.y() - box.center().y());
            p.fillPath(glyphPath, Qt::black);
        }
    }

    // Four greys: each pixel goes to the nearest palette entry.
    std::vector<GifPixelType> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int v = qGray(row[x]);
            int best = 0;
            for (int k = 1; k < 4; ++k)
                if (std::abs(v - kPalette[k]) < std::abs(v - kPalette[best]))
                    best = k;
            pixels[y * kWidth + x] = static_cast<GifPixelType>(best);
        }
    }

    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif)
        throw std::runtime_error(path + ": " + GifErrorString(error));
    GifColorType colors[4];
    for (int k = 0; k < 4; ++k)
        colors[k] = { kPalette[k], kPalette[k], kPalette[k] };
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifSetGifVersion(gif, false);
    bool ok = map && EGifPutScreenDesc(gif, kWidth, kHeight, 2, 0, map) == GIF_OK
        && EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < kHeight; ++y)
        ok = EGifPutLine(gif, pixels.data() + y * kWidth, kWidth) == GIF_OK;
    const int writeError = gif->Error;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK && ok) {
        ok = false;
    } else {
        error = writeError;
    }
    if (!ok)
        throw std::runtime_error(path + ": " + (GifErrorString(error) ? GifErrorString(error) : "cannot be written"));
}

} // namespace picgen
