// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Article.h"

#include <QWidget>
#include <vector>

// Shows a follow-typing text with each character's state and the current position. The layout
// is made once per text and width; a key repaints only the characters it changed, so the cost
// of a key does not grow with the text.
class ArticleView : public QWidget {
    Q_OBJECT
public:
    enum class State : unsigned char { Pending, Done, Passed, Wrong, Uncoded };

    explicit ArticleView(QWidget* parent = nullptr);

    // The text is not copied: it must outlive its showing here (or be replaced first).
    void setArticle(const ArticleText* text);
    void setState(std::size_t index, State state);
    State state(std::size_t index) const { return m_states.at(index); }
    // The character to be typed next; past the end for none.
    void setCurrent(std::size_t index, std::size_t count = 1);
    std::size_t current() const { return m_current; }
    int firstLine() const { return m_firstLine; }
    int lineOf(std::size_t index) const { return m_cells.at(index).line; }
    // Where a character is drawn, in widget coordinates (empty when not on screen).
    QRect cellRect(std::size_t index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Cell {
        int x = 0;
        int width = 0;
        int line = 0;
    };
    void Layout();
    void ScrollTo(int line);
    void UpdateCells(std::size_t begin, std::size_t count);
    int VisibleLines() const;

    const ArticleText* m_text = nullptr;
    std::vector<Cell> m_cells;
    std::vector<std::size_t> m_lineStarts;
    std::vector<State> m_states;
    std::size_t m_current = 0;
    std::size_t m_currentCount = 0;
    int m_firstLine = 0;
    int m_lineHeight = 1;
    int m_ascent = 0;
    int m_margin = 8;
};
