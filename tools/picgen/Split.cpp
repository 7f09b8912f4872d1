// SPDX-License-Identifier: GPL-3.0-or-later
#include "Split.h"
#include "tools/common/DataLines.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace picgen {

namespace {

    std::vector<std::string> SplitOn(const std::string& text, char sep)
    {
        std::vector<std::string> parts;
        std::string part;
        std::istringstream in(text);
        while (std::getline(in, part, sep))
            parts.push_back(part);
        if (!text.empty() && text.back() == sep)
            parts.emplace_back();
        return parts;
    }

    std::vector<int> Classes(const std::string& digits, const std::string& where)
    {
        std::vector<int> out;
        for (char c : digits) {
            if (c < '1' || c > '5')
                throw std::runtime_error(where + ": stroke class '" + std::string(1, c) + "' is not 1-5");
            out.push_back(c - '0');
        }
        return out;
    }

    // Roots whose last stroke the method counts differently from how it is written.
    int MethodLastClass(const std::string& glyph, const std::string& flags)
    {
        if (flags.find("L5") != std::string::npos)
            return Zhe;
        if (glyph == "戈" || glyph == "戋")
            return Pie;
        return 0;
    }

    // Cost of reading strokes [pos, pos + seq.size()) as seq: 0 per exact class, 1 per
    // borderline stroke read the other way, -1 when it does not fit.
    int MatchCost(const Glyph& g, size_t pos, const std::vector<int>& seq)
    {
        if (seq.empty() || pos + seq.size() > g.strokes.size())
            return -1;
        int cost = 0;
        for (size_t i = 0; i < seq.size(); ++i) {
            const Stroke& s = g.strokes[pos + i];
            if (s.cls == seq[i])
                continue;
            if (s.alt >> seq[i] & 1)
                ++cost;
            else
                return -1;
        }
        return cost;
    }

    std::vector<int> Range(size_t from, size_t count)
    {
        std::vector<int> out;
        for (size_t i = 0; i < count; ++i)
            out.push_back(static_cast<int>(from + i));
        return out;
    }

    constexpr double kAltCost = 1.0;
    constexpr double kIdMismatchCost = 3.0;
    constexpr double kStructureMismatchCost = 1.5;
    constexpr double kStructureMatchBonus = 0.5;
    constexpr double kShapeWeight = 1.5;
    constexpr double kUnknownGap = 6.0;
    constexpr double kDroppedDotCost = 0.5;

} // namespace

RootChart RootChart::Load(const std::string& path)
{
    RootChart chart;
    chart.Append(path);
    return chart;
}

void RootChart::Append(const std::string& path)
{
    RootChart& chart = *this;
    ForEachDataLine(path, "cannot be opened", [&](const std::string& line, const std::string& where) {
        if (line.rfind("key\t", 0) == 0)
            return; // the header
        const auto cols = SplitOn(line, '\t');
        if (cols.size() < 3 || cols[0].size() != 1 || cols[0][0] < 'a' || cols[0][0] > 'y')
            throw std::runtime_error(where + ": expected key, root and stroke classes");
        Root root;
        root.key = cols[0][0];
        root.glyph = cols[1];
        root.flags = cols.size() > 3 ? cols[3] : "";
        for (const std::string& alt : SplitOn(cols[2], '/')) {
            RootForm form;
            const auto bar = alt.find('|');
            if (bar == std::string::npos) {
                form.head = Classes(alt, where);
            } else {
                form.head = Classes(alt.substr(0, bar), where);
                form.tail = Classes(alt.substr(bar + 1), where);
            }
            if (form.head.empty())
                throw std::runtime_error(where + ": empty stroke classes");
            root.forms.push_back(form);
        }
        root.lastClass = MethodLastClass(root.glyph, root.flags);
        chart.m_byKey[root.key].push_back(static_cast<int>(chart.m_roots.size()));
        chart.m_roots.push_back(std::move(root));
    });
}

const std::vector<int>& RootChart::onKey(char key) const
{
    static const std::vector<int> none;
    const auto it = m_byKey.find(key);
    return it == m_byKey.end() ? none : it->second;
}

int RootChart::find(const std::string& glyph, char key) const
{
    for (int i : onKey(key))
        if (m_roots[i].glyph == glyph)
            return i;
    return -1;
}

std::vector<std::vector<int>> ParseGroups(const std::string& text)
{
    std::vector<std::vector<int>> groups;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        std::vector<int> group;
        for (const std::string& piece : SplitOn(word, '+')) {
            const auto dash = piece.find('-');
            const int from = std::stoi(piece.substr(0, dash));
            const int to = dash == std::string::npos ? from : std::stoi(piece.substr(dash + 1));
            if (to < from)
                throw std::runtime_error("bad stroke range '" + piece + "'");
            for (int i = from; i <= to; ++i)
                group.push_back(i);
        }
        std::sort(group.begin(), group.end());
        groups.push_back(group);
    }
    return groups;
}

std::string FormatGroups(const std::vector<Group>& groups)
{
    std::string out;
    for (const Group& g : groups) {
        if (!out.empty())
            out += ' ';
        std::vector<int> s = g.strokes;
        std::sort(s.begin(), s.end());
        std::string word;
        for (size_t i = 0; i < s.size();) {
            size_t j = i;
            while (j + 1 < s.size() && s[j + 1] == s[j] + 1)
                ++j;
            if (!word.empty())
                word += '+';
            word += std::to_string(s[i]);
            if (j > i)
                word += '-' + std::to_string(s[j]);
            i = j + 1;
        }
        out += word;
    }
    return out;
}

std::map<std::string, std::vector<std::vector<int>>> LoadOverrides(const std::string& path)
{
    std::map<std::string, std::vector<std::vector<int>>> table;
    ForEachDataLine(path, "cannot be opened", [&](const std::string& line, const std::string& where) {
        const auto cols = SplitOn(line, '\t');
        if (cols.size() < 2)
            throw std::runtime_error(where + ": expected character and groups");
        try {
            table[cols[0]] = ParseGroups(cols[1]);
        } catch (const std::exception& e) {
            throw std::runtime_error(where + ": " + e.what());
        }
    });
    return table;
}

int Splitter::Zone(char letter)
{
    switch (letter) {
    case 'g':
    case 'f':
    case 'd':
        return Heng;
    case 'h':
    case 'j':
    case 'k':
        return Shu;
    case 't':
    case 'r':
    case 'e':
        return Pie;
    case 'y':
    case 'u':
    case 'i':
        return Dian;
    case 'n':
    case 'b':
    case 'v':
        return Zhe;
    default:
        return 0;
    }
}

Splitter::Splitter(const RootChart& chart, std::function<const Glyph*(const std::string&)> glyphOf)
    : m_chart(chart)
    , m_glyphOf(std::move(glyphOf))
{
}

namespace {

    std::vector<Point> Resample(const std::vector<Point>& pts, int count)
    {
        std::vector<double> acc { 0 };
        for (size_t i = 1; i < pts.size(); ++i)
            acc.push_back(acc.back() + std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y));
        std::vector<Point> out;
        for (int k = 0; k < count; ++k) {
            const double t = acc.back() * k / (count - 1);
            size_t i = 1;
            while (i < pts.size() - 1 && acc[i] < t)
                ++i;
            if (pts.size() == 1) {
                out.push_back(pts[0]);
                continue;
            }
            const double span = acc[i] - acc[i - 1];
            const double u = span > 0 ? (t - acc[i - 1]) / span : 0;
            out.push_back(
                { pts[i - 1].x + u * (pts[i].x - pts[i - 1].x), pts[i - 1].y + u * (pts[i].y - pts[i - 1].y) });
        }
        return out;
    }

    // Medians of some strokes, resampled and scaled into a unit box (aspect kept).
    std::vector<std::vector<Point>> Normalized(const std::vector<const Stroke*>& strokes)
    {
        std::vector<std::vector<Point>> lines;
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const Stroke* s : strokes) {
            lines.push_back(Resample(s->median, 8));
            for (const Point& p : lines.back()) {
                x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
                x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
            }
        }
        const double scale = std::max({ x1 - x0, y1 - y0, 1.0 });
        const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        for (auto& line : lines)
            for (Point& p : line)
                p = { (p.x - cx) / scale, (p.y - cy) / scale };
        return lines;
    }

} // namespace

int Splitter::Structure(const Glyph& glyph, const Group& first)
{
    struct Box {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        void add(const Stroke& s)
        {
            for (const Point& p : s.median) {
                x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
                x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
            }
        }
    } a, b;
    std::vector<bool> inFirst(glyph.strokes.size(), false);
    for (int i : first.strokes)
        inFirst[i] = true;
    bool rest = false;
    for (size_t i = 0; i < glyph.strokes.size(); ++i) {
        if (inFirst[i]) {
            a.add(glyph.strokes[i]);
        } else {
            b.add(glyph.strokes[i]);
            rest = true;
        }
    }
    if (!rest)
        return 0;
    // Medians stop short of the outline, so a little overlap still counts as apart.
    auto overlap = [](double a0, double a1, double b0, double b1) {
        const double shared = std::min(a1, b1) - std::max(a0, b0);
        const double smaller = std::max(std::min(a1 - a0, b1 - b0), 1.0);
        return shared / smaller;
    };
    const double across = overlap(a.x0, a.x1, b.x0, b.x1);
    const double down = overlap(a.y0, a.y1, b.y0, b.y1);
    if (across < 0.2 && a.x0 < b.x0 && down > 0.3)
        return 1;
    if (down < 0.2 && a.y0 < b.y0 && across > 0.3)
        return 2;
    return 0;
}

double Splitter::ShapeCost(const Glyph& glyph, const Group& group) const
{
    if (group.root < 0)
        return 0;
    const Root& root = m_chart.roots()[group.root];
    const Glyph* own = m_glyphOf ? m_glyphOf(root.glyph) : nullptr;
    if (!own || own->strokes.size() != group.strokes.size() || group.strokes.size() < 2)
        return 0.15;
    std::vector<const Stroke*> a, b;
    for (int i : group.strokes)
        a.push_back(&glyph.strokes[i]);
    for (const Stroke& s : own->strokes)
        b.push_back(&s);
    const auto na = Normalized(a), nb = Normalized(b);
    double sum = 0;
    int count = 0;
    for (size_t i = 0; i < na.size(); ++i)
        for (size_t k = 0; k < na[i].size(); ++k, ++count)
            sum += std::hypot(na[i][k].x - nb[i][k].x, na[i][k].y - nb[i][k].y);
    return count ? sum / count : 0;
}

namespace {

    // Roots whose bent stroke is the long hook running down to the right: 七+丶 in 低 has the
    // same classes as 弋 but not its shape.
    bool NeedsSlantHook(const std::string& glyph) { return glyph == "弋" || glyph == "戈" || glyph == "戋"; }

    bool ShapeAllows(const Glyph& glyph, const Root& root, const std::vector<int>& strokes)
    {
        if (!NeedsSlantHook(root.glyph))
            return true;
        for (int i : strokes)
            if (glyph.strokes[i].cls == Zhe && !glyph.strokes[i].slantHook)
                return false;
        return true;
    }

    struct SearchState {
        std::vector<Group> groups;
        size_t pos = 0;
        int pendingGroup = -1;
        size_t pendingFrom = 0;
        std::vector<int> pendingTail;
        double cost = 0;
    };

    struct Search {
        const RootChart& chart;
        const Glyph& glyph;
        const std::string& code;
        size_t numCoded = 0;
        bool lastIsSuffix = false; // the fourth letter types the character's last root
        std::vector<SearchState> results;

        size_t n() const { return glyph.strokes.size(); }

        // Cheapest way to read strokes [a, b) as roots of any key, or -1.
        double GapCost(size_t a, size_t b) const
        {
            if (a == b)
                return 0;
            std::vector<double> best(b - a + 1, -1);
            best[0] = 0;
            for (size_t i = 0; i < b - a; ++i) {
                if (best[i] < 0)
                    continue;
                for (const Root& root : chart.roots())
                    for (const RootForm& f : root.forms) {
                        if (!f.tail.empty() || a + i + f.head.size() > b)
                            continue;
                        const int c = MatchCost(glyph, a + i, f.head);
                        if (c < 0)
                            continue;
                        const size_t j = i + f.head.size();
                        const double v = best[i] + c * kAltCost;
                        if (best[j] < 0 || v < best[j])
                            best[j] = v;
                    }
            }
            return best[b - a];
        }

        bool TakeTail(SearchState& st) const
        {
            if (st.pendingGroup < 0 || st.pos <= st.pendingFrom)
                return false;
            const int c = MatchCost(glyph, st.pos, st.pendingTail);
            if (c < 0)
                return false;
            auto& strokes = st.groups[st.pendingGroup].strokes;
            for (int i : Range(st.pos, st.pendingTail.size()))
                strokes.push_back(i);
            st.pos += st.pendingTail.size();
            st.cost += c * kAltCost;
            st.pendingGroup = -1;
            st.pendingTail.clear();
            return true;
        }

        void Run(size_t j, const SearchState& st, bool mayTakeTail = true)
        {
            if (mayTakeTail && st.pendingGroup >= 0) {
                SearchState taken = st;
                if (TakeTail(taken))
                    Run(j, taken, false);
            }
            if (j == numCoded) {
                if (lastIsSuffix) {
                    FinishWithLast(st, n());
                    if (EndsWithDot())
                        FinishWithLast(st, n() - 1);
                } else if (st.pos == n() && st.pendingGroup < 0) {
                    results.push_back(st);
                } else if (st.pos + 1 == n() && st.pendingGroup < 0 && EndsWithDot() && IsPie(st.groups.back())) {
                    SearchState dropped = st;
                    dropped.cost += kDroppedDotCost;
                    results.push_back(dropped);
                }
                return;
            }
            for (int r : chart.onKey(code[j])) {
                for (const RootForm& f : chart.roots()[r].forms) {
                    if (!f.tail.empty() && st.pendingGroup >= 0)
                        continue;
                    const int c = MatchCost(glyph, st.pos, f.head);
                    if (c < 0 || !ShapeAllows(glyph, chart.roots()[r], Range(st.pos, f.head.size())))
                        continue;
                    // The two dots of 衤 are a root only after the rest of 衤, the body of 羊 only
                    // under its 丷, and the bend-and-dot of 尤 only after its ナ.
                    const std::string& name = chart.roots()[r].glyph;
                    const Root* before = st.groups.empty() ? nullptr : &chart.roots()[st.groups.back().root];
                    if (name == "[衤尾]" && (!before || before->glyph != "[礻衤头]"))
                        continue;
                    if (name == "[羊身]" && (!before || before->key != 'u'))
                        continue;
                    if (name == "[尤尾]" && (!before || before->glyph != "ナ"))
                        continue;
                    SearchState next = st;
                    next.groups.push_back({ r, Range(st.pos, f.head.size()) });
                    next.pos += f.head.size();
                    next.cost += c * kAltCost;
                    if (!f.tail.empty()) {
                        next.pendingGroup = static_cast<int>(next.groups.size()) - 1;
                        next.pendingFrom = next.pos;
                        next.pendingTail = f.tail;
                    }
                    Run(j + 1, next);
                }
            }
        }

        // Roots 1-3 are placed; the fourth letter types the last root, and at least one root
        // lies between them.
        // The method reads 戈 as ending in its 丿 (我 TRNT, 成 DNNT, 减 UDGT): a final dot after a
        // last root 丿 is left out of the code.
        bool EndsWithDot() const
        {
            const Stroke& last = glyph.strokes.back();
            return n() >= 2 && (last.cls == Dian || (last.alt >> Dian & 1));
        }
        bool IsPie(const Group& g) const { return g.root >= 0 && chart.roots()[g.root].glyph == "丿"; }

        void FinishWithLast(const SearchState& st, size_t limit)
        {
            const bool droppedDot = limit < n();
            for (int r : chart.onKey(code[3])) {
                if (droppedDot && chart.roots()[r].glyph != "丿")
                    continue;
                for (const RootForm& f : chart.roots()[r].forms) {
                    if (!f.tail.empty())
                        continue;
                    for (int tailAtEnd = 0; tailAtEnd < (st.pendingGroup >= 0 ? 2 : 1); ++tailAtEnd) {
                        const size_t tailLen = tailAtEnd ? st.pendingTail.size() : 0;
                        if (f.head.size() + tailLen + st.pos >= limit)
                            continue;
                        const size_t end = limit - tailLen;
                        const size_t start = end - f.head.size();
                        const int c = MatchCost(glyph, start, f.head);
                        if (c < 0 || !ShapeAllows(glyph, chart.roots()[r], Range(start, f.head.size()))
                            || chart.roots()[r].glyph == "[衤尾]" || chart.roots()[r].glyph == "[尤尾]")
                            continue;
                        SearchState done = st;
                        done.cost += c * kAltCost + (droppedDot ? kDroppedDotCost : 0);
                        if (tailAtEnd) {
                            const int ct = MatchCost(glyph, end, st.pendingTail);
                            if (ct < 0)
                                continue;
                            done.cost += ct * kAltCost;
                            for (int i : Range(end, tailLen))
                                done.groups[st.pendingGroup].strokes.push_back(i);
                        }
                        double gap = -1;
                        if (st.pendingGroup >= 0 && !tailAtEnd) {
                            // the tail closes somewhere inside the uncoded roots
                            const size_t tl = st.pendingTail.size();
                            for (size_t t = std::max(st.pos, st.pendingFrom + 1); t + tl <= start; ++t) {
                                if (t == st.pos && t + tl == start)
                                    continue;
                                const int ct = MatchCost(glyph, t, st.pendingTail);
                                const double g1 = GapCost(st.pos, t), g2 = GapCost(t + tl, start);
                                if (ct < 0 || g1 < 0 || g2 < 0)
                                    continue;
                                const double v = g1 + g2 + ct * kAltCost;
                                if (gap < 0 || v < gap) {
                                    gap = v;
                                    done.groups[st.pendingGroup].strokes = st.groups[st.pendingGroup].strokes;
                                    for (int i : Range(t, tl))
                                        done.groups[st.pendingGroup].strokes.push_back(i);
                                }
                            }
                            if (gap < 0)
                                continue;
                        } else {
                            gap = GapCost(st.pos, start);
                            if (gap < 0)
                                gap = kUnknownGap;
                        }
                        done.cost += gap;
                        done.groups.push_back({ r, Range(start, f.head.size()) });
                        done.pos = n();
                        done.pendingGroup = -1;
                        results.push_back(done);
                    }
                }
            }
        }
    };

} // namespace

std::vector<Split> Splitter::Enumerate(const std::string& character, const Glyph& glyph, const std::string& code) const
{
    std::vector<Split> splits;
    const size_t n = glyph.strokes.size();
    if (code.empty() || n == 0)
        return splits;

    // A character that is a root itself: a key-name root (王 GGGG) is black in every copy,
    // any other is typed as its key and then stroke by stroke, and drawn so.
    if (const int root = m_chart.find(character, code[0]); root >= 0) {
        Split s;
        s.wholeRoot = true;
        s.reading = "root";
        if (m_chart.roots()[root].flags.find('K') != std::string::npos || n < 2) {
            for (size_t i = 0; i < code.size(); ++i)
                s.coded.push_back({ root, Range(0, n) });
        } else {
            s.coded = StrokeCopies(root, glyph, code);
        }
        splits.push_back(s);
        return splits;
    }

    struct Reading {
        const char* name;
        size_t numCoded;
        bool lastIsSuffix;
        bool id;
        double preference;
    };
    std::vector<Reading> readings;
    // Every letter a root is the plainest reading; an identification letter only when the
    // roots run out; first three and last only when the character has more roots than four.
    readings.push_back({ "id", code.size() - 1, false, true, 0.3 });
    if (code.size() == 4) {
        readings.push_back({ "roots", 4, false, false, 0.0 });
        readings.push_back({ "first3+last", 3, true, false, 0.8 });
    }

    for (const Reading& reading : readings) {
        if (reading.id && Zone(code.back()) == 0)
            continue;
        Search search { m_chart, glyph, code, 0, false, {} };
        search.numCoded = reading.numCoded;
        search.lastIsSuffix = reading.lastIsSuffix;
        search.Run(0, SearchState {});
        for (SearchState& st : search.results) {
            Split s;
            s.reading = reading.name;
            s.coded = st.groups;
            s.cost = st.cost + reading.preference;
            if (reading.id) {
                s.idLetter = code.back();
                // The identification letter's zone is the class of the last stroke of the last
                // root typed; a closing 辶 or 廴 hands that over to the root before it.
                size_t last = s.coded.size() - 1;
                const auto& lastRoot = m_chart.roots()[s.coded[last].root];
                if ((lastRoot.glyph == "辶" || lastRoot.glyph == "廴") && last > 0)
                    --last;
                const Root& root = m_chart.roots()[s.coded[last].root];
                const int lastStroke = *std::max_element(s.coded[last].strokes.begin(), s.coded[last].strokes.end());
                const Stroke& stroke = glyph.strokes[lastStroke];
                const int cls = root.lastClass ? root.lastClass : stroke.cls;
                if (cls != Zone(code.back()) && !(stroke.alt >> Zone(code.back()) & 1))
                    s.cost += kIdMismatchCost;
                // The letter's place in its zone names the structure: left-right, top-bottom, mixed.
                const int shape = Structure(glyph, s.coded.front());
                const int position = static_cast<int>(std::string("gfdhjktreyuinbv").find(code.back()) % 3) + 1;
                if (shape && shape != position)
                    s.cost += kStructureMismatchCost;
                else if (shape == position)
                    s.cost -= kStructureMatchBonus;
            }
            for (const Group& g : s.coded)
                s.cost += kShapeWeight * ShapeCost(glyph, g);
            splits.push_back(std::move(s));
        }
    }
    std::stable_sort(splits.begin(), splits.end(), [](const Split& a, const Split& b) { return a.cost < b.cost; });
    // Keep the cheapest split per distinct picture.
    std::vector<Split> distinct;
    std::set<std::string> seen;
    for (Split& s : splits) {
        const std::string key = FormatGroups(s.coded) + (s.idLetter ? "#id" : "");
        if (seen.insert(key).second)
            distinct.push_back(std::move(s));
    }
    return distinct;
}

std::vector<Group> Splitter::StrokeCopies(int root, const Glyph& glyph, const std::string& code)
{
    const size_t n = glyph.strokes.size();
    std::vector<Group> copies { { root, Range(0, n) } };
    std::vector<bool> taken(n, false);
    for (size_t i = 1; i < code.size() && i < 4; ++i) {
        // The letter names the stroke's class: g 横, h 竖, t 撇, y 点, n 折.
        const size_t at = std::string("ghtyn").find(code[i]);
        const size_t preferred = i == 1 ? 0 : i == 2 ? 1 : n - 1;
        auto fits = [&](size_t k) {
            const Stroke& st = glyph.strokes[k];
            return at != std::string::npos && !taken[k] && (st.cls == int(at) + 1 || (st.alt >> (at + 1) & 1));
        };
        size_t chosen = preferred;
        // A root whose code follows another order than the drawing (力 LTN is 丿 before 𠃌)
        // still gets the stroke its letter names.
        if (!fits(preferred)) {
            for (size_t step = 0; step < n; ++step) {
                const size_t k = i == 3 ? n - 1 - step : step;
                if (fits(k)) {
                    chosen = k;
                    break;
                }
            }
        }
        taken[chosen] = true;
        copies.push_back({ root, { int(chosen) } });
    }
    return copies;
}

std::vector<Component> LoadComponents(const std::string& path)
{
    std::vector<Component> table;
    ForEachDataLine(path, "cannot be opened", [&](const std::string& line, const std::string& where) {
        const auto cols = SplitOn(line, '\t');
        if (cols.size() < 3)
            throw std::runtime_error(where + ": expected component, groups and characters");
        Component c;
        c.glyph = cols[0];
        try {
            c.groups = ParseGroups(cols[1]);
        } catch (const std::exception& e) {
            throw std::runtime_error(where + ": " + e.what());
        }
        std::istringstream characters(cols[2]);
        std::string ch;
        while (characters >> ch)
            c.characters.push_back(ch);
        if (c.groups.empty() || c.characters.empty())
            throw std::runtime_error(where + ": expected component, groups and characters");
        table.push_back(std::move(c));
    });
    return table;
}

bool Splitter::Consistent(
    const std::string& character, const Glyph& glyph, const std::vector<Group>& coded, std::string* why) const
{
    for (const Component& component : m_components) {
        if (std::find(component.characters.begin(), component.characters.end(), character)
            == component.characters.end())
            continue;
        const Glyph* own = m_glyphOf ? m_glyphOf(component.glyph) : nullptr;
        if (!own)
            throw std::runtime_error("no stroke data for the component " + component.glyph);
        std::vector<int> classes;
        for (const Stroke& st : own->strokes)
            classes.push_back(st.cls);
        // The component's strokes run together; where it could stand twice, the later place
        // is the component (乍 closes 窄, 重 closes 懂).
        int start = -1;
        for (size_t p = 0; p + classes.size() <= glyph.strokes.size(); ++p)
            if (MatchCost(glyph, p, classes) >= 0)
                start = static_cast<int>(p);
        auto fail = [&](const std::string& reason) {
            if (why)
                *why = component.glyph + ": " + reason;
            return false;
        };
        if (start < 0)
            return fail("its strokes do not occur in " + character);
        const int end = start + static_cast<int>(classes.size());
        for (const Group& g : coded) {
            const bool inside
                = std::all_of(g.strokes.begin(), g.strokes.end(), [&](int i) { return i >= start && i < end; });
            const bool outside
                = std::none_of(g.strokes.begin(), g.strokes.end(), [&](int i) { return i >= start && i < end; });
            if (outside)
                continue;
            std::vector<int> relative;
            for (int i : g.strokes)
                relative.push_back(i - start);
            std::sort(relative.begin(), relative.end());
            if (!inside
                || std::find(component.groups.begin(), component.groups.end(), relative) == component.groups.end())
                return fail("a root takes strokes " + FormatGroups({ Group { -1, relative } })
                    + " of it, which the component's roots do not");
        }
    }
    return true;
}

Decision Splitter::Decide(const std::string& character, const Glyph& glyph, const std::string& code,
    const std::map<std::string, std::vector<std::vector<int>>>& overrides) const
{
    Decision d;
    const auto it = overrides.find(character);
    if (it != overrides.end()) {
        d.kind = DecisionKind::Override;
        d.split.reading = "override";
        for (const auto& g : it->second) {
            for (int i : g)
                if (i < 0 || static_cast<size_t>(i) >= glyph.strokes.size())
                    throw std::runtime_error("override of " + character + " names stroke " + std::to_string(i) + " of "
                        + std::to_string(glyph.strokes.size()));
            d.split.coded.push_back({ -1, g });
        }
        if (d.split.coded.size() < code.size())
            d.split.idLetter = code.back();
        d.alternatives = static_cast<int>(Enumerate(character, glyph, code).size());
        return d;
    }
    auto all = Enumerate(character, glyph, code);
    // A component is split the same way wherever it stands: of the splits the rules allow,
    // only those that draw it so stay.
    std::vector<Split> consistent;
    for (const Split& s : all)
        if (Consistent(character, glyph, s.coded))
            consistent.push_back(s);
    if (!consistent.empty())
        all = std::move(consistent);
    d.alternatives = static_cast<int>(all.size());
    if (all.empty())
        return d;
    d.split = all.front();
    d.kind = all.size() == 1 ? DecisionKind::Rule : DecisionKind::TieBreak;
    return d;
}

} // namespace picgen
