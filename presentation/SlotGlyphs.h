// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCache>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

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
    // The label's text as QLabel would draw it, in `colour`, on a transparent pixmap the
    // size of the label; drawn now unless kept.
    QPixmap Pixmap(const QLabel& label, const QColor& colour);
    bool Contains(const QLabel& label, const QColor& colour) const;
    // The colour the label's text is drawn in now.
    static QColor TextColour(const QLabel& label);

    qint64 Bytes() const { return qint64(m_pixmaps.totalCost()) * 1024; }
    int Count() const { return int(m_pixmaps.count()); }
    // Pictures drawn so far (each miss draws one).
    int Drawn() const { return m_drawn; }
    void Clear() { m_pixmaps.clear(); }

private:
    static QString Key(const QLabel& label, const QColor& colour);
    // Costs are in KiB, so a budget of gigabytes still fits the cache's int.
    QCache<QString, QPixmap> m_pixmaps;
    int m_drawn = 0;
};

// Paints the given labels from a glyph cache instead of drawing their text each time, and,
// once a label has shown its text, prepares the same text in the colours it will take next
// (the hit colour), so a hit repaints by copying. The labels stay plain QLabels: text,
// palette and font are read and set on them as before.
class SlotGlyphs : public QObject {
public:
    SlotGlyphs(const QList<QLabel*>& labels, const QList<QColor>& preparedColours, QObject* parent = nullptr);

    GlyphCache& Cache() { return m_cache; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Prepare(const QPointer<QLabel>& label);

    GlyphCache m_cache;
    QList<QColor> m_prepared;
};
