// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ArticleView.h"

#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <unordered_map>

namespace {
QColor StateColour(ArticleView::State state)
{
    switch (state) {
    case ArticleView::State::Done:
        return QColor(0x1b, 0x7a, 0x2e);
    case ArticleView::State::Passed:
        return QColor(0x9a, 0x9a, 0x9a);
    case ArticleView::State::Wrong:
        return QColor(0xd0, 0x00, 0x00);
    case ArticleView::State::Uncoded:
        return QColor(0xb0, 0x6a, 0x00);
    case ArticleView::State::Pending:
        break;
    }
    return QColor(0, 0, 0);
}
}

ArticleView::ArticleView(QWidget* parent)
    : QWidget(parent)
{
    setFont(SongFont(26));
    // Colours are the view's own, whatever the desktop's theme: black on white paper.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void ArticleView::setArticle(const ArticleText* text)
{
    m_text = text;
    m_states.assign(text ? text->chars.size() : 0, State::Pending);
    m_current = 0;
    m_currentCount = 0;
    m_firstLine = 0;
    Layout();
    update();
}

void ArticleView::Layout()
{
    const QFontMetrics metrics(font());
    m_lineHeight = metrics.height() * 3 / 2;
    m_ascent = metrics.ascent() + (m_lineHeight - metrics.height()) / 2;
    m_cells.assign(m_states.size(), Cell {});
    m_lineStarts.assign(1, 0);
    if (!m_text)
        return;
    const int right = std::max(width() - m_margin, m_margin + 1);
    std::unordered_map<char32_t, int> advances;
    int x = m_margin;
    int line = 0;
    for (std::size_t i = 0; i < m_text->chars.size(); ++i) {
        const char32_t cp = m_text->chars[i].cp;
        Cell& cell = m_cells[i];
        if (cp == U'\n') {
            cell = Cell { x, 0, line };
            ++line;
            m_lineStarts.push_back(i + 1);
            x = m_margin;
            continue;
        }
        auto found = advances.find(cp);
        if (found == advances.end()) {
            const char32_t one[1] = { cp };
            found = advances.emplace(cp, metrics.horizontalAdvance(QString::fromUcs4(one, 1))).first;
        }
        const int w = std::max(found->second, 1);
        if (x + w > right && x > m_margin) {
            ++line;
            m_lineStarts.push_back(i);
            x = m_margin;
        }
        cell = Cell { x, w, line };
        x += w;
    }
}

int ArticleView::VisibleLines() const { return std::max(1, (height() - m_margin) / m_lineHeight); }

QRect ArticleView::cellRect(std::size_t index) const
{
    if (index >= m_cells.size())
        return {};
    const Cell& c = m_cells[index];
    const int row = c.line - m_firstLine;
    if (row < 0 || row >= VisibleLines())
        return {};
    return QRect(c.x, m_margin / 2 + row * m_lineHeight, std::max(c.width, m_lineHeight / 3), m_lineHeight);
}

void ArticleView::UpdateCells(std::size_t begin, std::size_t count)
{
    for (std::size_t i = begin; i < begin + count && i < m_cells.size(); ++i) {
        const QRect r = cellRect(i);
        if (!r.isEmpty())
            update(r);
    }
}

void ArticleView::setState(std::size_t index, State state)
{
    if (index >= m_states.size() || m_states[index] == state)
        return;
    m_states[index] = state;
    UpdateCells(index, 1);
}

void ArticleView::ScrollTo(int line)
{
    const int lines = m_lineStarts.empty() ? 1 : int(m_lineStarts.size());
    line = std::clamp(line, 0, std::max(0, lines - 1));
    if (line == m_firstLine)
        return;
    m_firstLine = line;
    update();
}

void ArticleView::setCurrent(std::size_t index, std::size_t count)
{
    UpdateCells(m_current, m_currentCount);
    m_current = index;
    m_currentCount = index < m_cells.size() ? count : 0;
    if (m_currentCount == 0)
        return;
    // Keep the line being typed on screen, with the line before it for context.
    const int line = m_cells[index].line;
    if (line < m_firstLine || line >= m_firstLine + VisibleLines() - 1)
        ScrollTo(line - 1);
    UpdateCells(m_current, m_currentCount);
}

void ArticleView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect clip = event->rect();
    painter.fillRect(clip, Qt::white);
    if (!m_text)
        return;
    painter.setFont(font());
    const int visible = VisibleLines();
    const int firstRow = std::max(0, (clip.top() - m_margin / 2) / m_lineHeight);
    const int lastRow = std::min(visible - 1, (clip.bottom() - m_margin / 2) / m_lineHeight);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int line = m_firstLine + row;
        if (line >= int(m_lineStarts.size()))
            break;
        const std::size_t begin = m_lineStarts[std::size_t(line)];
        const std::size_t end
            = std::size_t(line) + 1 < m_lineStarts.size() ? m_lineStarts[std::size_t(line) + 1] : m_text->chars.size();
        const int top = m_margin / 2 + row * m_lineHeight;
        for (std::size_t i = begin; i < end; ++i) {
            const Cell& c = m_cells[i];
            if (c.width == 0 || c.x > clip.right() || c.x + c.width < clip.left())
                continue;
            const QRect cell(c.x, top, c.width, m_lineHeight);
            const bool current = i >= m_current && i < m_current + m_currentCount;
            if (current)
                painter.fillRect(cell, QColor(0xff, 0xe0, 0x80));
            else if (m_states[i] == State::Wrong)
                painter.fillRect(cell, QColor(0xff, 0xd8, 0xd8));
            painter.setPen(StateColour(m_states[i]));
            const char32_t one[1] = { m_text->chars[i].cp };
            painter.drawText(QPoint(c.x, top + m_ascent), QString::fromUcs4(one, 1));
            if (current) {
                painter.fillRect(QRect(c.x, top + m_lineHeight - 4, c.width, 3), QColor(0x20, 0x50, 0xc0));
            }
        }
    }
}

void ArticleView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
    if (m_currentCount > 0 && m_current < m_cells.size())
        m_firstLine = std::max(0, m_cells[m_current].line - 1);
    update();
}

void ArticleView::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    ScrollTo(m_firstLine - 3 * steps);
    event->accept();
}
