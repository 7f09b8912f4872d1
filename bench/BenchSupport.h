// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the in-process benchmarks share: summarising a run of samples, and telling whether a
// widget has been painted.

#include <QEvent>
#include <QObject>
#include <algorithm>
#include <vector>

struct Stats {
    double median = 0, p95 = 0, max = 0, mean = 0;
    std::size_t n = 0;
};

inline Stats Summarise(std::vector<double> v)
{
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.n = v.size();
    s.median = v[v.size() / 2];
    s.p95 = v[std::min(v.size() - 1, v.size() * 95 / 100)];
    s.max = v.back();
    double sum = 0;
    for (double x : v)
        sum += x;
    s.mean = sum / double(v.size());
    return s;
}

// Records whether a widget has been painted since the flag was last cleared.
class PaintSpy : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};
