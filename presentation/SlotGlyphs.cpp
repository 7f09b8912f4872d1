// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/SlotGlyphs.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

// The rectangle and flags QLabel lays plain text out with.
QRect TextRect(const QLabel& label)
{
    QRect rect = label.contentsRect();
    const int margin = label.margin();
    rect.adjust(margin, margin, -margin, -margin);
    const int indent = label.indent();
    if (indent > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(label.layoutDirection(), label.alignment());
        if (align & Qt::AlignLeft)
            rect.setLeft(rect.left() + indent);
        if (align & Qt::AlignRight)
            rect.setRight(rect.right() - indent);
        if (align & Qt::AlignTop)
            rect.setTop(rect.top() + indent);
        if (align & Qt::AlignBottom)
            rect.setBottom(rect.bottom() - indent);
    }
    return rect;
}

int TextFlags(const QLabel& label)
{
    const bool rightToLeft = label.text().isRightToLeft();
    int flags = int(QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, label.alignment()))
        | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    if (label.wordWrap())
        flags |= Qt::TextWordWrap;
    return flags;
}

int CostKiB(const QPixmap& pixmap) { return qMax(1, int(qint64(pixmap.width()) * pixmap.height() * 4 / 1024)); }

} // namespace

GlyphCache::GlyphCache(qint64 budgetBytes)
    : m_pixmaps(int(std::clamp<qint64>(budgetBytes / 1024, 1, std::numeric_limits<int>::max())))
{
}

bool GlyphCache::Paintable(const QLabel& label)
{
    if (!label.isEnabled() || label.text().isEmpty() || label.frameWidth() != 0 || label.buddy()
        || !label.pixmap().isNull())
        return false;
    if (label.textFormat() == Qt::RichText || label.textFormat() == Qt::MarkdownText
        || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text())))
        return false;
    if (label.textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard))
        return false;
    return label.palette().brush(label.foregroundRole()).style() == Qt::SolidPattern;
}

QColor GlyphCache::TextColour(const QLabel& label)
{
    // The colour group (active, inactive) follows the window as QLabel's own paint does.
    QStyleOption option;
    option.initFrom(&label);
    return option.palette.color(label.foregroundRole());
}

std::optional<QColor> GlyphCache::SolidBackground(const QLabel& label)
{
    if (!qApp->styleSheet().isEmpty())
        return std::nullopt;
    for (const QWidget* w = &label; w; w = w->parentWidget()) {
        if (!w->styleSheet().isEmpty())
            return std::nullopt;
        // A window always has its background painted; a child only when it asks for it.
        if (w->autoFillBackground() || w->isWindow()) {
            if (w->testAttribute(Qt::WA_TranslucentBackground) || w->testAttribute(Qt::WA_NoSystemBackground))
                return std::nullopt;
            const QBrush brush = w->palette().brush(w->backgroundRole());
            if (brush.style() != Qt::SolidPattern || brush.color().alpha() != 255)
                return std::nullopt;
            return brush.color();
        }
    }
    return std::nullopt;
}

QColor GlyphCache::Backdrop(const QLabel& label)
{
    if (!label.testAttribute(Qt::WA_OpaquePaintEvent))
        return Qt::transparent;
    return SolidBackground(label).value_or(QColor(Qt::transparent));
}

QString GlyphCache::Key(const QLabel& label, const QColor& colour, const QColor& background)
{
    const QRect rect = TextRect(label);
    return QStringLiteral("%1\x1f%2\x1f%3,%4,%5,%6,%7,%8\x1f%9\x1f%10x%11@%12\x1f%13")
        .arg(label.text(), label.font().key() + label.font().families().join(QLatin1Char(',')))
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height())
        .arg(TextFlags(label))
        .arg(colour.rgba())
        .arg(label.devicePixelRatio())
        .arg(label.width())
        .arg(label.height())
        .arg(int(label.font().styleStrategy()))
        .arg(background.rgba());
}

bool GlyphCache::Contains(const QLabel& label, const QColor& colour) const
{
    return m_pixmaps.contains(Key(label, colour, Backdrop(label)));
}

QPixmap GlyphCache::Pixmap(const QLabel& label, const QColor& colour)
{
    const QColor background = Backdrop(label);
    const QString key = Key(label, colour, background);
    if (const QPixmap* kept = m_pixmaps.object(key))
        return *kept;
    const qreal ratio = label.devicePixelRatio();
    QPixmap pixmap(label.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    // An opaque colour gives a picture without alpha, which is laid down by a plain copy.
    pixmap.fill(background);
    {
        QPainter painter(&pixmap);
        painter.setFont(label.font());
        painter.setPen(colour);
        painter.drawText(TextRect(label), TextFlags(label), label.text());
    }
    ++m_drawn;
    const int cost = CostKiB(pixmap);
    // A picture larger than the whole budget is drawn for this paint and not kept.
    if (cost <= m_pixmaps.maxCost())
        m_pixmaps.insert(key, new QPixmap(pixmap), cost);
    return pixmap;
}

SlotGlyphs::SlotGlyphs(const QList<QLabel*>& labels, const QList<QColor>& preparedColours, QObject* parent)
    : QObject(parent)
    , m_prepared(preparedColours)
{
    for (QLabel* label : labels) {
        label->installEventFilter(this);
        UpdateOpacity(*label);
    }
}

void SlotGlyphs::UpdateOpacity(QLabel& label)
{
    label.setAttribute(Qt::WA_OpaquePaintEvent, GlyphCache::SolidBackground(label).has_value());
}

bool SlotGlyphs::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // What lies behind the label may have changed; it takes effect from the next paint on.
    const bool backdropChange
        = type == QEvent::PaletteChange || type == QEvent::ParentChange || type == QEvent::StyleChange;
    if (type != QEvent::Paint && !backdropChange)
        return false;
    // Checked, not assumed: a label being destroyed still passes its last events through
    // here, when it is no longer a QLabel.
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label)
        return false;
    if (backdropChange) {
        UpdateOpacity(*label);
        return false;
    }
    if (!GlyphCache::Paintable(*label)) {
        // Qt painted nothing behind an opaque label: its colour goes down first, and the label
        // draws itself on it.
        if (label->testAttribute(Qt::WA_OpaquePaintEvent)) {
            QPainter painter(label);
            painter.fillRect(label->rect(), GlyphCache::SolidBackground(*label).value_or(QColor(Qt::white)));
        }
        return false;
    }
    const QColor colour = GlyphCache::TextColour(*label);
    {
        QPainter painter(label);
        painter.drawPixmap(0, 0, m_cache.Pixmap(*label, colour));
    }
    // The colour the text takes next is drawn once the window has been flushed, so the
    // key that turns it never waits for the rasteriser.
    for (const QColor& next : std::as_const(m_prepared))
        if (next != colour && !m_cache.Contains(*label, next)) {
            QTimer::singleShot(0, this, [this, guarded = QPointer<QLabel>(label)] { Prepare(guarded); });
            break;
        }
    return true;
}

void SlotGlyphs::Prepare(const QPointer<QLabel>& label)
{
    if (!label || !GlyphCache::Paintable(*label))
        return;
    for (const QColor& next : std::as_const(m_prepared))
        m_cache.Pixmap(*label, next);
}
