// SPDX-License-Identifier: GPL-3.0-or-later
#include "Charts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <vector>

namespace chartgen {
namespace {

    // ---------------------------------------------------------------------------------------------
    // Fonts and common drawing

    const QStringList& sansFamilies()
    {
        static const QStringList families { QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif") };
        return families;
    }

    QFont sans(qreal pixelSize, bool bold = false)
    {
        QFont font;
        font.setFamilies(sansFamilies());
        font.setPixelSize(int(pixelSize));
        font.setBold(bold);
        font.setStyleStrategy(QFont::PreferAntialias);
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    }

    QImage newCanvas(int width, int height, QColor background = QColor(0xFF, 0xFF, 0xFF))
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(background);
        // 96 dpi, so that viewers show the chart at its pixel size.
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }

    void beginPainting(QPainter& p)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    }

    void drawTitle(QPainter& p, int width, const QString& title, const QString& subtitle)
    {
        p.setPen(QColor(0x22, 0x2B, 0x36));
        p.setFont(sans(40, true));
        p.drawText(QRectF(0, 22, width, 56), Qt::AlignCenter, title);
        p.setPen(QColor(0x5B, 0x66, 0x73));
        p.setFont(sans(19));
        p.drawText(QRectF(0, 80, width, 30), Qt::AlignCenter, subtitle);
    }

    // A key cap: a soft shadow, a slightly domed face and a thin rim. Home keys get a dark,
    // heavier rim so that the resting position stands out.
    void drawKeyCap(QPainter& p, const QRectF& r, QColor face, bool home = false, qreal radius = 9)
    {
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 38));
        p.drawRoundedRect(r.translated(0, 3), radius, radius);

        QLinearGradient dome(r.topLeft(), r.bottomLeft());
        dome.setColorAt(0, face.lighter(112));
        dome.setColorAt(1, face.darker(104));
        p.setBrush(dome);
        if (home)
            p.setPen(QPen(QColor(0x25, 0x2A, 0x31), 3.2));
        else
            p.setPen(QPen(face.darker(150), 1.4));
        p.drawRoundedRect(r, radius, radius);
        p.restore();
    }

    // The small raised bar on F, J and the keypad's 5 that fingers find without looking.
    void drawLocatorBar(QPainter& p, const QRectF& key)
    {
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x25, 0x2A, 0x31));
        const qreal w = key.width() * 0.30;
        p.drawRoundedRect(QRectF(key.center().x() - w / 2, key.bottom() - 15, w, 5), 2.5, 2.5);
        p.restore();
    }

    // ---------------------------------------------------------------------------------------------
    // Fingers

    enum Finger {
        LeftPinky,
        LeftRing,
        LeftMiddle,
        LeftIndex,
        RightIndex,
        RightMiddle,
        RightRing,
        RightPinky,
        Thumb,
        NoFinger
    };

    QColor fingerColour(Finger f)
    {
        static const std::array<QColor, 10> colours { QColor(0xF2, 0x9E, 0x9E), QColor(0xF6, 0xC2, 0x80),
            QColor(0xEE, 0xDD, 0x72), QColor(0xA6, 0xD8, 0x8C), QColor(0x8C, 0xD3, 0xC9), QColor(0x93, 0xBD, 0xEE),
            QColor(0xB7, 0xA8, 0xEC), QColor(0xE8, 0xA8, 0xD8), QColor(0xDD, 0xC8, 0xAC), QColor(0xF4, 0xF5, 0xF7) };
        return colours[size_t(f)];
    }

    QString fingerName(Finger f)
    {
        switch (f) {
        case LeftPinky:
        case RightPinky:
            return QStringLiteral("小指");
        case LeftRing:
        case RightRing:
            return QStringLiteral("无名指");
        case LeftMiddle:
        case RightMiddle:
            return QStringLiteral("中指");
        case LeftIndex:
        case RightIndex:
            return QStringLiteral("食指");
        case Thumb:
            return QStringLiteral("拇指");
        case NoFinger:
            break;
        }
        return {};
    }

    // A hand seen from above, fingers up, each finger filled with the colour of its keys.
    // `fingers` lists the four long fingers from left to right as they appear on the picture.
    void drawHand(QPainter& p, QPointF palmTopLeft, bool left, const std::array<Finger, 4>& fingers, Finger thumb)
    {
        const qreal fw = 40, gap = 8, palmW = 4 * fw + 3 * gap + 8, palmH = 112;
        // Finger lengths from the pinky side to the index side.
        const std::array<qreal, 4> pinkyFirst { 78, 104, 116, 100 };
        p.save();
        const QColor skinRim(0x9A, 0x7B, 0x62);
        const QRectF palm(palmTopLeft, QSizeF(palmW, palmH));

        // Thumb first, so that the palm overlaps its root. It leaves the palm on the index side.
        const qreal thumbAngle = left ? 50 : -50, thumbLength = 104;
        const QPointF thumbPivot
            = left ? QPointF(palm.right() - 26, palm.top() + 80) : QPointF(palm.left() + 26, palm.top() + 80);
        {
            p.save();
            p.translate(thumbPivot);
            p.rotate(thumbAngle);
            const QRectF tr(-fw / 2, -thumbLength, fw, thumbLength + 10);
            p.setPen(QPen(fingerColour(thumb).darker(150), 1.6));
            p.setBrush(fingerColour(thumb));
            p.drawRoundedRect(tr, fw / 2, fw / 2);
            p.restore();
        }
        for (int i = 0; i < 4; ++i) {
            const int fromPinky = left ? i : 3 - i;
            const qreal h = pinkyFirst[size_t(fromPinky)];
            const QRectF fr(palm.left() + 4 + i * (fw + gap), palm.top() - h + 24, fw, h + 10);
            p.setPen(QPen(fingerColour(fingers[size_t(i)]).darker(150), 1.6));
            p.setBrush(fingerColour(fingers[size_t(i)]));
            p.drawRoundedRect(fr, fw / 2, fw / 2);
            p.setPen(QColor(0x30, 0x36, 0x3D));
            p.setFont(sans(15));
            p.drawText(
                QRectF(fr.left() - 12, fr.top() - 26, fw + 24, 22), Qt::AlignCenter, fingerName(fingers[size_t(i)]));
        }
        p.setPen(QPen(skinRim, 1.6));
        p.setBrush(QColor(0xF7, 0xE6, 0xD6));
        p.drawRoundedRect(palm, 30, 30);
        p.setPen(QColor(0x6B, 0x4F, 0x3A));
        p.setFont(sans(20, true));
        p.drawText(palm.adjusted(0, 10, 0, 0), Qt::AlignCenter, left ? QStringLiteral("左手") : QStringLiteral("右手"));
        // The thumb's name sits just beyond its tip.
        p.setFont(sans(15));
        p.setPen(QColor(0x30, 0x36, 0x3D));
        const qreal rad = thumbAngle * 3.14159265358979 / 180;
        const QPointF labelCentre = thumbPivot + QPointF(std::sin(rad), -std::cos(rad)) * (thumbLength + 22);
        const QRectF thumbLabel(labelCentre.x() - 30, labelCentre.y() - 11, 60, 22);
        p.drawText(thumbLabel, Qt::AlignCenter, fingerName(thumb));
        p.restore();
    }

    // ---------------------------------------------------------------------------------------------
    // Standard keyboard

    struct KeyCap {
        qreal width; // in key units
        QString lower; // the key's own character or name
        QString upper; // the shifted character, if any
        Finger finger;
        bool home = false;
        bool locator = false;
    };

    using Row = std::vector<KeyCap>;

    std::vector<Row> mainBlock()
    {
        auto k = [](qreal w, const char16_t* lower, const char16_t* upper, Finger f) {
            return KeyCap { w, QString::fromUtf16(lower), QString::fromUtf16(upper), f };
        };
        auto home = [](const char16_t* lower, const char16_t* upper, Finger f, bool locator = false) {
            return KeyCap { 1, QString::fromUtf16(lower), QString::fromUtf16(upper), f, true, locator };
        };
        return {
            { k(1, u"`", u"~", LeftPinky), k(1, u"1", u"!", LeftPinky), k(1, u"2", u"@", LeftRing),
                k(1, u"3", u"#", LeftMiddle), k(1, u"4", u"$", LeftIndex), k(1, u"5", u"%", LeftIndex),
                k(1, u"6", u"^", RightIndex), k(1, u"7", u"&", RightIndex), k(1, u"8", u"*", RightMiddle),
                k(1, u"9", u"(", RightRing), k(1, u"0", u")", RightPinky), k(1, u"-", u"_", RightPinky),
                k(1, u"=", u"+", RightPinky), k(2, u"Backspace", u"", RightPinky) },
            { k(1.5, u"Tab", u"", LeftPinky), k(1, u"Q", u"", LeftPinky), k(1, u"W", u"", LeftRing),
                k(1, u"E", u"", LeftMiddle), k(1, u"R", u"", LeftIndex), k(1, u"T", u"", LeftIndex),
                k(1, u"Y", u"", RightIndex), k(1, u"U", u"", RightIndex), k(1, u"I", u"", RightMiddle),
                k(1, u"O", u"", RightRing), k(1, u"P", u"", RightPinky), k(1, u"[", u"{", RightPinky),
                k(1, u"]", u"}", RightPinky), k(1.5, u"\\", u"|", RightPinky) },
            { k(1.75, u"Caps Lock", u"", LeftPinky), home(u"A", u"", LeftPinky), home(u"S", u"", LeftRing),
                home(u"D", u"", LeftMiddle), home(u"F", u"", LeftIndex, true), k(1, u"G", u"", LeftIndex),
                k(1, u"H", u"", RightIndex), home(u"J", u"", RightIndex, true), home(u"K", u"", RightMiddle),
                home(u"L", u"", RightRing), home(u";", u":", RightPinky), k(1, u"'", u"\"", RightPinky),
                k(2.25, u"Enter", u"", RightPinky) },
            { k(2.25, u"Shift", u"", LeftPinky), k(1, u"Z", u"", LeftPinky), k(1, u"X", u"", LeftRing),
                k(1, u"C", u"", LeftMiddle), k(1, u"V", u"", LeftIndex), k(1, u"B", u"", LeftIndex),
                k(1, u"N", u"", RightIndex), k(1, u"M", u"", RightIndex), k(1, u",", u"<", RightMiddle),
                k(1, u".", u">", RightRing), k(1, u"/", u"?", RightPinky), k(2.75, u"Shift", u"", RightPinky) },
            { k(1.25, u"Ctrl", u"", LeftPinky), k(1.25, u"Win", u"", NoFinger), k(1.25, u"Alt", u"", NoFinger),
                k(6.25, u"空格", u"", Thumb), k(1.25, u"Alt", u"", NoFinger), k(1.25, u"Win", u"", NoFinger),
                k(1.25, u"Menu", u"", NoFinger), k(1.25, u"Ctrl", u"", RightPinky) },
        };
    }

    void drawKeyLabel(QPainter& p, const QRectF& r, const KeyCap& key, qreal unit)
    {
        p.setPen(QColor(0x1E, 0x24, 0x2B));
        const bool letter = key.lower.size() == 1 && key.lower[0].isLetter();
        if (letter) {
            p.setFont(sans(unit * 0.40, true));
            p.drawText(r.adjusted(0, -4, 0, -4), Qt::AlignCenter, key.lower);
        } else if (!key.upper.isEmpty()) {
            p.setFont(sans(unit * 0.27, true));
            p.drawText(QRectF(r.left(), r.top() + r.height() * 0.08, r.width(), r.height() * 0.42), Qt::AlignCenter,
                key.upper);
            p.drawText(QRectF(r.left(), r.top() + r.height() * 0.46, r.width(), r.height() * 0.42), Qt::AlignCenter,
                key.lower);
        } else {
            p.setFont(sans(key.lower.size() > 6 ? unit * 0.21 : unit * 0.24));
            p.drawText(r, Qt::AlignCenter, key.lower);
        }
    }

    // ---------------------------------------------------------------------------------------------
    // Numeric keypad

    struct PadKey {
        qreal col, row, w, h; // in key units
        QString main;
        QString second; // what the key does with Num Lock off
        Finger finger;
        bool home = false;
        bool locator = false;
    };

    // ---------------------------------------------------------------------------------------------
    // Wubi zones

    struct ZoneStyle {
        QColor fill;
        QColor dark;
        QString name;
    };

    const ZoneStyle& zoneStyle(int zone)
    {
        static const std::array<ZoneStyle, 6> styles { ZoneStyle {
                                                           QColor(0xEE, 0xEF, 0xF1), QColor(0x6B, 0x72, 0x7B), {} },
            ZoneStyle { QColor(0xDB, 0xEA, 0xFB), QColor(0x1C, 0x5A, 0x96), QStringLiteral("横区") },
            ZoneStyle { QColor(0xDC, 0xF1, 0xDA), QColor(0x2B, 0x74, 0x30), QStringLiteral("竖区") },
            ZoneStyle { QColor(0xFD, 0xE9, 0xCF), QColor(0xA8, 0x55, 0x00), QStringLiteral("撇区") },
            ZoneStyle { QColor(0xFB, 0xDF, 0xE5), QColor(0xA8, 0x25, 0x47), QStringLiteral("点区") },
            ZoneStyle { QColor(0xE9, 0xE0, 0xF7), QColor(0x58, 0x36, 0x97), QStringLiteral("折区") } };
        return styles[size_t(zone)];
    }

    // Zone and position of a key letter: G F D S A are 11-15, H J K L M 21-25, T R E W Q 31-35,
    // Y U I O P 41-45, N B V C X 51-55. Zone 0 for Z, the learning key.
    std::pair<int, int> zoneOf(char letter)
    {
        static const char* const zones[5] = { "gfdsa", "hjklm", "trewq", "yuiop", "nbvcx" };
        for (int z = 0; z < 5; ++z)
            for (int pos = 0; pos < 5; ++pos)
                if (zones[z][pos] == letter)
                    return { z + 1, pos + 1 };
        return { 0, 0 };
    }

    // The traditional mnemonic verse of each key, in zone order.
    const std::array<std::pair<char, const char16_t*>, 25>& mnemonics()
    {
        static const std::array<std::pair<char, const char16_t*>, 25> verses { {
            { 'g', u"王旁青头戋五一" },
            { 'f', u"土士二干十寸雨" },
            { 'd', u"大犬三羊古石厂" },
            { 's', u"木丁西" },
            { 'a', u"工戈草头右框七" },
            { 'h', u"目具上止卜虎皮" },
            { 'j', u"日早两竖与虫依" },
            { 'k', u"口与川，字根稀" },
            { 'l', u"田甲方框四车力" },
            { 'm', u"山由贝，下框几" },
            { 't', u"禾竹一撇双人立，反文条头共三一" },
            { 'r', u"白手看头三二斤" },
            { 'e', u"月彡乃用家衣底" },
            { 'w', u"人和八，三四里" },
            { 'q', u"金勺缺点无尾鱼，犬旁留叉儿一点夕，氏无七" },
            { 'y', u"言文方广在四一，高头一捺谁人去" },
            { 'u', u"立辛两点六门疒" },
            { 'i', u"水旁兴头小倒立" },
            { 'o', u"火业头，四点米" },
            { 'p', u"之宝盖，摘礻衤" },
            { 'n', u"已半巳满不出己，左框折尸心和羽" },
            { 'b', u"子耳了也框向上" },
            { 'v', u"女刀九臼山朝西" },
            { 'c', u"又巴马，丢矢矣" },
            { 'x', u"慈母无心弓和匕，幼无力" },
        } };
        return verses;
    }

    // The first of the chart's fonts that has every character of `text`, so that rare radicals
    // still show as glyphs.
    QFont rootFont(const QString& text, qreal pixelSize)
    {
        static const QStringList families { QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("Noto Serif CJK SC") };
        for (const QString& family : families) {
            QFont font;
            font.setFamily(family);
            font.setPixelSize(int(pixelSize));
            font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
            QFontMetricsF metrics(font);
            bool all = true;
            for (char32_t ucs4 : text.toUcs4())
                all = all && metrics.inFontUcs4(uint(ucs4));
            if (all) {
                font.setStyleStrategy(QFont::PreferAntialias);
                font.setHintingPreference(QFont::PreferNoHinting);
                return font;
            }
        }
        return sans(pixelSize);
    }

    struct RootItem {
        QString text;
        bool described;
        QSizeF size;
    };

    // Lays the roots out left to right in rows; returns false when they do not fit.
    bool layoutRoots(std::vector<RootItem>& items, const QRectF& area, qreal glyph, std::vector<QRectF>& places)
    {
        places.clear();
        const qreal gapX = glyph * 0.18, lineH = glyph * 1.22;
        qreal x = area.left(), y = area.top();
        for (RootItem& item : items) {
            if (item.described) {
                QFontMetricsF m(sans(glyph * 0.50));
                item.size = QSizeF(m.horizontalAdvance(item.text) + glyph * 0.36, glyph * 0.98);
            } else {
                QFontMetricsF m(rootFont(item.text, glyph));
                item.size = QSizeF(std::max(m.horizontalAdvance(item.text), glyph * 0.9), glyph);
            }
            if (x > area.left() && x + item.size.width() > area.right()) {
                x = area.left();
                y += lineH;
            }
            places.emplace_back(QPointF(x, y + (glyph - item.size.height()) / 2), item.size);
            x += item.size.width() + gapX;
        }
        return places.empty() || places.back().bottom() <= area.bottom() + 1;
    }

    void drawRootKey(QPainter& p, const QRectF& r, char letter, const std::vector<Root>& roots)
    {
        const auto [zone, pos] = zoneOf(letter);
        const ZoneStyle& style = zoneStyle(zone);
        drawKeyCap(p, r, style.fill, false, 12);

        const QString upper = QString(QChar(letter)).toUpper();
        // Letter and zone code in the top right corner.
        p.setPen(QColor(0x1E, 0x24, 0x2B));
        p.setFont(sans(34, true));
        p.drawText(QRectF(r.right() - 58, r.top() + 4, 50, 42), Qt::AlignRight | Qt::AlignVCenter, upper);
        if (zone > 0) {
            const QRectF pill(r.right() - 50, r.top() + 48, 42, 24);
            p.setPen(Qt::NoPen);
            p.setBrush(style.dark);
            p.drawRoundedRect(pill, 12, 12);
            p.setPen(Qt::white);
            p.setFont(sans(17, true));
            p.drawText(pill, Qt::AlignCenter, QString::number(zone * 10 + pos));
        }

        if (zone == 0) {
            p.setPen(style.dark);
            p.setFont(sans(26, true));
            p.drawText(QRectF(r.left(), r.top() + 70, r.width(), 40), Qt::AlignCenter, QStringLiteral("学习键"));
            p.setFont(sans(16));
            p.drawText(QRectF(r.left() + 8, r.top() + 112, r.width() - 16, 60),
                Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, QStringLiteral("可代替任何一个\n拿不准的码"));
            return;
        }

        // The key-name root, large, in the zone's colour.
        std::vector<RootItem> others;
        QString keyName;
        for (const Root& root : roots) {
            const QString text = QString::fromUtf8(root.text.c_str());
            if (root.keyName && keyName.isEmpty() && !root.described)
                keyName = text;
            else
                others.push_back({ text, root.described, {} });
        }
        if (!keyName.isEmpty()) {
            p.setPen(style.dark);
            p.setFont(rootFont(keyName, 54));
            p.drawText(QRectF(r.left() + 10, r.top() + 6, 70, 66), Qt::AlignLeft | Qt::AlignVCenter, keyName);
        }

        // The other roots flow below; the glyphs shrink until all of them fit.
        const QRectF area = r.adjusted(10, 80, -8, -10);
        std::vector<QRectF> places;
        qreal glyph = 32;
        while (!layoutRoots(others, area, glyph, places) && glyph > 16)
            glyph -= 1;
        for (size_t i = 0; i < others.size(); ++i) {
            const RootItem& item = others[i];
            const QRectF& place = places[i];
            if (item.described) {
                p.setPen(QPen(style.dark.lighter(140), 1.1));
                p.setBrush(QColor(255, 255, 255, 150));
                p.drawRoundedRect(place, 6, 6);
                p.setPen(style.dark);
                p.setFont(sans(glyph * 0.50));
                p.drawText(place, Qt::AlignCenter, item.text);
            } else {
                p.setPen(QColor(0x1E, 0x24, 0x2B));
                p.setFont(rootFont(item.text, glyph));
                p.drawText(place, Qt::AlignCenter, item.text);
            }
        }
    }

}

// ---------------------------------------------------------------------------------------------

QImage DrawKeyboardChart()
{
    const qreal unit = 84;
    const int width = 1400, height = 940;
    QImage image = newCanvas(width, height);
    QPainter p(&image);
    beginPainting(p);
    drawTitle(p, width, QStringLiteral("标准键盘键位图"),
        QStringLiteral("十指分工：每个手指负责同一颜色的键，击键后立即回到基准键位"));

    const qreal x0 = (width - 15 * unit) / 2, y0 = 140;
    // The keyboard's case.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD9, 0xDE, 0xE4));
    p.drawRoundedRect(QRectF(x0 - 16, y0 - 16, 15 * unit + 32, 5 * unit + 32), 18, 18);

    const auto rows = mainBlock();
    for (size_t row = 0; row < rows.size(); ++row) {
        qreal x = x0;
        for (const KeyCap& key : rows[row]) {
            const QRectF r = QRectF(x, y0 + qreal(row) * unit, key.width * unit, unit).adjusted(3.5, 3.5, -3.5, -3.5);
            drawKeyCap(p, r, fingerColour(key.finger), key.home);
            drawKeyLabel(p, r, key, unit);
            if (key.locator)
                drawLocatorBar(p, r);
            x += key.width * unit;
        }
    }

    // The hands, under the halves of the keyboard they type on.
    const qreal handsTop = y0 + 5 * unit + 170;
    drawHand(p, QPointF(x0 + 60, handsTop), true, { LeftPinky, LeftRing, LeftMiddle, LeftIndex }, Thumb);
    drawHand(p, QPointF(x0 + 15 * unit - 60 - 192, handsTop), false, { RightIndex, RightMiddle, RightRing, RightPinky },
        Thumb);

    // Between the hands: the rules of the home position.
    const QRectF notes(x0 + 330, handsTop - 120, 15 * unit - 660, 250);
    p.setPen(QPen(QColor(0xC5, 0xCC, 0xD4), 1.2));
    p.setBrush(QColor(0xF6, 0xF8, 0xFA));
    p.drawRoundedRect(notes, 14, 14);
    p.setPen(QColor(0x22, 0x2B, 0x36));
    p.setFont(sans(22, true));
    p.drawText(QRectF(notes.left(), notes.top() + 14, notes.width(), 32), Qt::AlignCenter, QStringLiteral("基准键位"));
    p.setFont(sans(18));
    const QStringList lines { QStringLiteral("左手四指：A  S  D  F"), QStringLiteral("右手四指：J  K  L  ;"),
        QStringLiteral("两手拇指：轻放在空格键上"), QStringLiteral("F、J 键上的短横是定位凸起，"),
        QStringLiteral("不看键盘也能摸到基准键。"), QStringLiteral("粗框的键就是基准键。") };
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRectF(notes.left() + 34, notes.top() + 56 + i * 31, notes.width() - 40, 30),
            Qt::AlignLeft | Qt::AlignVCenter, lines[i]);

    p.setPen(QColor(0x5B, 0x66, 0x73));
    p.setFont(sans(16));
    p.drawText(QRectF(0, height - 44, width, 28), Qt::AlignCenter,
        QStringLiteral("白色的键（Win、Alt、Menu）不属于固定手指，按需用就近的手指。"));
    p.end();
    return image;
}

QImage DrawKeypadChart()
{
    const qreal unit = 110;
    const int width = 1040, height = 860;
    QImage image = newCanvas(width, height);
    QPainter p(&image);
    beginPainting(p);
    drawTitle(p, width, QStringLiteral("数字键盘指法图"),
        QStringLiteral("右手操作：食指、中指、无名指放在 4、5、6 上，拇指负责 0"));

    const std::vector<PadKey> keys {
        { 0, 0, 1, 1, QStringLiteral("Num\nLock"), {}, RightIndex },
        { 1, 0, 1, 1, QStringLiteral("/"), {}, RightMiddle },
        { 2, 0, 1, 1, QStringLiteral("*"), {}, RightRing },
        { 3, 0, 1, 1, QStringLiteral("-"), {}, RightPinky },
        { 0, 1, 1, 1, QStringLiteral("7"), QStringLiteral("Home"), RightIndex },
        { 1, 1, 1, 1, QStringLiteral("8"), QStringLiteral("↑"), RightMiddle },
        { 2, 1, 1, 1, QStringLiteral("9"), QStringLiteral("PgUp"), RightRing },
        { 3, 1, 1, 2, QStringLiteral("+"), {}, RightPinky },
        { 0, 2, 1, 1, QStringLiteral("4"), QStringLiteral("←"), RightIndex, true },
        { 1, 2, 1, 1, QStringLiteral("5"), {}, RightMiddle, true, true },
        { 2, 2, 1, 1, QStringLiteral("6"), QStringLiteral("→"), RightRing, true },
        { 0, 3, 1, 1, QStringLiteral("1"), QStringLiteral("End"), RightIndex },
        { 1, 3, 1, 1, QStringLiteral("2"), QStringLiteral("↓"), RightMiddle },
        { 2, 3, 1, 1, QStringLiteral("3"), QStringLiteral("PgDn"), RightRing },
        { 3, 3, 1, 2, QStringLiteral("Enter"), {}, RightPinky },
        { 0, 4, 2, 1, QStringLiteral("0"), QStringLiteral("Ins"), Thumb },
        { 2, 4, 1, 1, QStringLiteral("."), QStringLiteral("Del"), RightRing },
    };

    const qreal x0 = 90, y0 = 160;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD9, 0xDE, 0xE4));
    p.drawRoundedRect(QRectF(x0 - 18, y0 - 18, 4 * unit + 36, 5 * unit + 36), 20, 20);
    for (const PadKey& key : keys) {
        const QRectF r
            = QRectF(x0 + key.col * unit, y0 + key.row * unit, key.w * unit, key.h * unit).adjusted(4, 4, -4, -4);
        drawKeyCap(p, r, fingerColour(key.finger), key.home, 11);
        p.setPen(QColor(0x1E, 0x24, 0x2B));
        if (key.main.size() == 1) {
            p.setFont(sans(unit * 0.40, true));
            const QRectF face = key.second.isEmpty() ? r.adjusted(0, -4, 0, -4)
                                                     : QRectF(r.left(), r.top() + 6, r.width(), unit * 0.56);
            p.drawText(face, Qt::AlignCenter, key.main);
            if (!key.second.isEmpty()) {
                p.setFont(sans(unit * 0.17));
                p.setPen(QColor(0x45, 0x4D, 0x57));
                p.drawText(
                    QRectF(r.left(), r.top() + unit * 0.58, r.width(), unit * 0.28), Qt::AlignCenter, key.second);
            }
        } else {
            p.setFont(sans(unit * 0.20, true));
            p.drawText(r, Qt::AlignCenter, key.main);
        }
        if (key.locator)
            drawLocatorBar(p, r);
    }

    // The right hand beside the keypad, and which finger types which column.
    const qreal handX = x0 + 4 * unit + 230;
    drawHand(p, QPointF(handX, y0 + 190), false, { RightIndex, RightMiddle, RightRing, RightPinky }, Thumb);

    const QRectF notes(x0 + 4 * unit + 80, y0 + 380, width - (x0 + 4 * unit + 80) - 40, 300);
    p.setPen(QPen(QColor(0xC5, 0xCC, 0xD4), 1.2));
    p.setBrush(QColor(0xF6, 0xF8, 0xFA));
    p.drawRoundedRect(notes, 14, 14);
    struct Line {
        Finger finger;
        QString text;
    };
    const std::vector<Line> lines {
        { RightIndex, QStringLiteral("食指：Num Lock  7  4  1") },
        { RightMiddle, QStringLiteral("中指：/  8  5  2") },
        { RightRing, QStringLiteral("无名指：*  9  6  3  .") },
        { RightPinky, QStringLiteral("小指：-  +  Enter") },
        { Thumb, QStringLiteral("拇指：0") },
    };
    p.setFont(sans(19));
    for (size_t i = 0; i < lines.size(); ++i) {
        const qreal y = notes.top() + 22 + qreal(i) * 40;
        const QRectF swatch(notes.left() + 24, y + 5, 26, 26);
        drawKeyCap(p, swatch, fingerColour(lines[i].finger), false, 5);
        p.setPen(QColor(0x22, 0x2B, 0x36));
        p.drawText(
            QRectF(swatch.right() + 14, y, notes.width() - 80, 36), Qt::AlignLeft | Qt::AlignVCenter, lines[i].text);
    }
    p.setFont(sans(16));
    p.setPen(QColor(0x5B, 0x66, 0x73));
    p.drawText(QRectF(notes.left() + 24, notes.top() + 228, notes.width() - 40, 60),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        QStringLiteral("粗框为基准键 4、5、6，5 键上的短横\n是定位凸起。先按 Num Lock 打开数字输入。"));

    p.end();
    return image;
}

QImage DrawRootChart(const RootTable& table)
{
    const qreal keyW = 164, keyH = 198, gap = 10, step = keyW + gap;
    const qreal margin = 55;
    const int width = int(10 * keyW + 9 * gap + 2 * margin);
    const int height = 1030;
    QImage image = newCanvas(width, height, QColor(0xFB, 0xFB, 0xF8));
    QPainter p(&image);
    beginPainting(p);
    drawTitle(p, width, QStringLiteral("五笔字型字根图（86版）"),
        QStringLiteral("每键左上为键名字根，右上为字母与区位号（区号 1–5：横 竖 撇 点 折；位号 1–5 从键盘中间向外）"));

    const char* const rows[3] = { "qwertyuiop", "asdfghjkl", "zxcvbnm" };
    const qreal offsets[3] = { 0, step * 0.35, step * 0.80 };
    const qreal y0 = 132;
    for (int row = 0; row < 3; ++row) {
        const char* letters = rows[row];
        for (int i = 0; letters[i]; ++i) {
            const QRectF r(margin + offsets[row] + i * step, y0 + row * (keyH + gap), keyW, keyH);
            const auto it = table.byKey.find(letters[i]);
            static const std::vector<Root> none;
            drawRootKey(p, r, letters[i], it == table.byKey.end() ? none : it->second);
        }
    }

    // Legend of zones beside the short bottom row.
    const qreal legendX = margin + offsets[2] + 7 * step + 20, legendY = y0 + 2 * (keyH + gap) + 8;
    p.setFont(sans(19));
    for (int zone = 1; zone <= 5; ++zone) {
        const QRectF sw(legendX, legendY + (zone - 1) * 37, 30, 28);
        drawKeyCap(p, sw, zoneStyle(zone).fill, false, 6);
        p.setPen(zoneStyle(zone).dark);
        p.setFont(sans(19, true));
        static const char16_t* const keysOfZone[5]
            = { u"G F D S A", u"H J K L M", u"T R E W Q", u"Y U I O P", u"N B V C X" };
        p.drawText(QRectF(sw.right() + 12, sw.top() - 3, 300, 34), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1 %2").arg(zone).arg(zoneStyle(zone).name));
        p.setPen(QColor(0x30, 0x36, 0x3D));
        p.setFont(sans(18));
        p.drawText(QRectF(sw.right() + 100, sw.top() - 3, 260, 34), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1  (%2–%3)")
                .arg(QString::fromUtf16(keysOfZone[zone - 1]))
                .arg(zone * 10 + 1)
                .arg(zone * 10 + 5));
    }

    // The mnemonic verses, one column per zone.
    const qreal panelTop = y0 + 3 * (keyH + gap) + 18;
    const QRectF panel(margin, panelTop, width - 2 * margin, height - panelTop - 24);
    p.setPen(QPen(QColor(0xC5, 0xCC, 0xD4), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(panel, 14, 14);
    const qreal colW = panel.width() / 5;
    const auto& verses = mnemonics();
    for (int zone = 1; zone <= 5; ++zone) {
        const qreal cx = panel.left() + (zone - 1) * colW;
        p.setPen(zoneStyle(zone).dark);
        p.setFont(sans(22, true));
        p.drawText(QRectF(cx + 18, panel.top() + 12, colW - 24, 34), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1区 · %2助记词").arg(zone).arg(zoneStyle(zone).name.left(1)));
        for (int pos = 0; pos < 5; ++pos) {
            const auto& [letter, verse] = verses[size_t((zone - 1) * 5 + pos)];
            const qreal y = panel.top() + 52 + pos * 33;
            p.setPen(zoneStyle(zone).dark);
            p.setFont(sans(19, true));
            p.drawText(QRectF(cx + 14, y, 24, 30), Qt::AlignLeft | Qt::AlignVCenter, QString(QChar(letter)).toUpper());
            p.setPen(QColor(0x22, 0x2B, 0x36));
            QFont verseFont = sans(19);
            const QString text = QString::fromUtf16(verse);
            while (QFontMetricsF(verseFont).horizontalAdvance(text) > colW - 42 && verseFont.pixelSize() > 11)
                verseFont.setPixelSize(verseFont.pixelSize() - 1);
            p.setFont(verseFont);
            p.drawText(QRectF(cx + 38, y, colW - 40, 30), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
    p.end();
    return image;
}

}
