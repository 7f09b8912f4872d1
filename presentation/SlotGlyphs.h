// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCache>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <optional>

class QLabel;

// The slot items are drawn at 200 pixels (404 full screen). Glyphs that large are beyond
// Qt's glyph cache: every paint would load the outline, flatten its curves and fill the
// polygon again. This keeps each drawn text as a pixmap, keyed by everything that shapes
// it, so a glyph is rasterised once and later paints are a copy. Bounded by bytes, the
// least recently used going first: a session's items are few, but the phrase drill can
// meet thousands.
class GlyphCache {
public:
    // Room for the window face's eight pictures (four items, normal and hit colour) many
    // times over, and for the full-screen face's eight.
    static constexpr qint64 DefaultBudgetBytes = qint64(6) * 1024 * 1024;

    explicit GlyphCache(qint64 budgetBytes = DefaultBudgetBytes);

    // Whether the label is drawn by this cache: plain text, no frame, enabled, a solid pen.
    // Anything else QLabel paints itself.
    static bool Paintable(const QLabel& label);
    // The label's text as QLabel would draw it, in `colour`, on a pixmap the size of the
    // label: on the label's own background colour when it paints opaquely (see
    // SlotGlyphs), else on transparency; drawn now unless kept.
    QPixmap Pixmap(const QLabel& label, const QColor& colour);
    bool Contains(const QLabel& label, const QColor& colour) const;
    // The colour the label's text is drawn in now.
    static QColor TextColour(const QLabel& label);
    // The plain colour behind the label, where what shows behind it is one: the palette
    // brush of the nearest widget that paints its background, with no style sheet on the
    // way. Empty otherwise.
    static std::optional<QColor> SolidBackground(const QLabel& label);

    qint64 Bytes() const { return qint64(m_pixmaps.totalCost()) * 1024; }
    int Count() const { return int(m_pixmaps.count()); }
    // Pictures drawn so far (each miss draws one).
    int Drawn() const { return m_drawn; }
    void Clear() { m_pixmaps.clear(); }

private:
    static QString Key(const QLabel& label, const QColor& colour, const QColor& background);
    // The colour the label's pictures are laid on: transparent unless it paints opaquely.
    static QColor Backdrop(const QLabel& label);
    // Costs are in KiB, so a budget of gigabytes still fits the cache's int.
    QCache<QString, QPixmap> m_pixmaps;
    int m_drawn = 0;
};

// Paints the given labels from a glyph cache instead of drawing their text each time, and,
// once a label has shown its text, prepares the same text in the colours it will take next
// (the hit colour), so a hit repaints by copying. The labels stay plain QLabels: text,
// palette and font are read and set on them as before.
// Where a label stands on a plain colour its pictures carry that colour and the label paints
// opaquely: Qt then no longer paints the window's background under it first, and the copy
// needs no blending. At the full-screen face's size that halves the paint of a hit.
class SlotGlyphs : public QObject {
public:
    SlotGlyphs(const QList<QLabel*>& labels, const QList<QColor>& preparedColours, QObject* parent = nullptr);

    GlyphCache& Cache() { return m_cache; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Prepare(const QPointer<QLabel>& label);
    // Whether Qt is to paint what lies behind the label before the label itself.
    static void UpdateOpacity(QLabel& label);

    GlyphCache m_cache;
    QList<QColor> m_prepared;
};
