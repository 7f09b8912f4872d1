// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the decomposition pictures: for each picture-list row, finds how the character
// splits into the roots its code types and draws one copy per root with that root black.

#include "Glyph.h"
#include "PictureList.h"
#include "Render.h"
#include "Split.h"
#include "tools/common/DataLines.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

using namespace picgen;

namespace {

struct Options {
    std::string list, strokes, overrides, compose, sheet, out, report, gold, font, show, components;
    std::vector<std::string> charts;
    bool analyze = false;
    bool requireComplete = false; // fail when some character has no split
    bool checkComponents = false; // fail when a listed component is drawn otherwise
};

[[noreturn]] void Usage()
{
    std::cerr << "usage: picgen --list FILE --chart FILE [--chart FILE]... --strokes DIR --overrides FILE\n"
                 "              --compose FILE --font FILE [--components FILE]\n"
                 "              [--out DIR] [--report FILE]   draw the pictures\n"
                 "              [--gold FILE]                 check the hand-checked splits\n"
                 "              [--require-complete]          fail when a character has no split\n"
                 "              [--check-components]          fail when a component is split two ways\n"
                 "              [--analyze]                   print every decision\n"
                 "              [--show CHARS [--stroke-sheet PNG]]  the splits of some characters\n";
    std::exit(2);
}

Options Parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage();
            return argv[++i];
        };
        if (a == "--list")
            o.list = value();
        else if (a == "--chart")
            o.charts.push_back(value());
        else if (a == "--strokes")
            o.strokes = value();
        else if (a == "--overrides")
            o.overrides = value();
        else if (a == "--compose")
            o.compose = value();
        else if (a == "--out")
            o.out = value();
        else if (a == "--report")
            o.report = value();
        else if (a == "--gold")
            o.gold = value();
        else if (a == "--font")
            o.font = value();
        else if (a == "--show")
            o.show = value();
        else if (a == "--stroke-sheet")
            o.sheet = value();
        else if (a == "--analyze")
            o.analyze = true;
        else if (a == "--require-complete")
            o.requireComplete = true;
        else if (a == "--components")
            o.components = value();
        else if (a == "--check-components")
            o.checkComponents = true;
        else
            Usage();
    }
    if (o.list.empty() || o.charts.empty() || o.strokes.empty() || o.overrides.empty())
        Usage();
    return o;
}

std::vector<std::string> Utf8Chars(const std::string& s)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        out.push_back(s.substr(i, len));
        i += len;
    }
    return out;
}

const char* KindName(DecisionKind k)
{
    switch (k) {
    case DecisionKind::Rule:
        return "rule";
    case DecisionKind::TieBreak:
        return "tie-break";
    case DecisionKind::Override:
        return "override";
    default:
        return "unsolved";
    }
}

std::string ClassString(const Glyph& g)
{
    std::string s;
    for (const Stroke& st : g.strokes) {
        s += char('0' + st.cls);
        if (st.alt) {
            s += "(";
            for (int c = 1; c <= 5; ++c)
                if (st.alt >> c & 1)
                    s += char('0' + c);
            s += ")";
        }
    }
    return s;
}

struct Composition {
    std::string layout, first, second;
    double share = 0.5;
};

// compose.tsv: character, layout (⿰ or ⿱), first part, second part, share of the first.
std::map<std::string, Composition> LoadCompositions(const std::string& path)
{
    std::map<std::string, Composition> table;
    ForEachDataLine(path, "cannot be opened", [&](const std::string& line, const std::string& where) {
        std::istringstream cols(line);
        std::string ch, share;
        Composition c;
        std::getline(cols, ch, '\t');
        std::getline(cols, c.layout, '\t');
        std::getline(cols, c.first, '\t');
        std::getline(cols, c.second, '\t');
        std::getline(cols, share, '\t');
        try {
            c.share = std::stod(share);
        } catch (const std::exception&) {
            throw std::runtime_error(where + ": bad share '" + share + "'");
        }
        table[ch] = c;
    });
    return table;
}

struct GlyphCache {
    std::string dir;
    std::map<std::string, Composition> compositions;
    std::map<std::string, std::unique_ptr<Glyph>> glyphs;
    const Glyph* get(const std::string& ch)
    {
        auto it = glyphs.find(ch);
        if (it == glyphs.end()) {
            std::unique_ptr<Glyph> g;
            const auto comp = compositions.find(ch);
            if (Utf8Chars(ch).size() == 1 && GlyphExists(dir, ch)) {
                g = std::make_unique<Glyph>(LoadGlyph(dir, ch));
            } else if (comp != compositions.end()) {
                const Glyph* a = get(comp->second.first);
                const Glyph* b = get(comp->second.second);
                if (!a || !b)
                    throw std::runtime_error("no stroke data for the parts of " + ch);
                g = std::make_unique<Glyph>(ComposeGlyph(*a, *b, comp->second.layout, comp->second.share));
            }
            it = glyphs.emplace(ch, std::move(g)).first;
        }
        return it->second.get();
    }
};

int Run(const Options& o)
{
    const auto list = LoadPictureList(o.list);
    RootChart chart = RootChart::Load(o.charts.front());
    for (size_t i = 1; i < o.charts.size(); ++i)
        chart.Append(o.charts[i]);
    const auto overrides = LoadOverrides(o.overrides);
    GlyphCache cache { o.strokes,
        o.compose.empty() ? std::map<std::string, Composition>() : LoadCompositions(o.compose), {} };
    Splitter splitter(chart, [&](const std::string& ch) { return cache.get(ch); });
    const std::vector<Component> components
        = o.components.empty() ? std::vector<Component>() : LoadComponents(o.components);
    splitter.SetComponents(components);

    // Every listed character of the picture list draws its components as listed, whether
    // the rules, a tie-break or the override table decided it.
    if (o.checkComponents) {
        int checked = 0, failed = 0;
        for (const auto& e : list) {
            bool listed = false;
            for (const Component& c : components)
                listed
                    = listed || std::find(c.characters.begin(), c.characters.end(), e.character) != c.characters.end();
            const Glyph* g = listed ? cache.get(e.character) : nullptr;
            if (!g)
                continue;
            ++checked;
            const Decision d = splitter.Decide(e.character, *g, e.fullCode, overrides);
            std::string why;
            if (d.kind == DecisionKind::Unsolved || !splitter.Consistent(e.character, *g, d.split.coded, &why)) {
                ++failed;
                std::cout << "component split two ways in " << e.character << " (" << FormatGroups(d.split.coded)
                          << "): " << why << "\n";
            }
        }
        std::cout << checked << " characters with listed components checked, " << failed << " wrong\n";
        return failed == 0 && checked > 0 ? 0 : 1;
    }

    if (!o.sheet.empty()) {
        std::map<std::string, Glyph> none;
        Renderer renderer(none, o.font);
        std::vector<std::pair<std::string, const Glyph*>> glyphs;
        for (const std::string& ch : Utf8Chars(o.show)) {
            std::string label = ch;
            for (const auto& e : list)
                if (e.character == ch)
                    label += " " + e.fullCode;
            if (const Glyph* g = cache.get(ch))
                glyphs.emplace_back(label + " " + ClassString(*g), g);
        }
        renderer.WriteStrokeSheet(glyphs, o.sheet);
        return 0;
    }

    if (!o.show.empty()) {
        for (const std::string& ch : Utf8Chars(o.show)) {
            const Glyph* g = cache.get(ch);
            if (!g)
                continue;
            std::string code;
            for (const auto& e : list)
                if (e.character == ch)
                    code = e.fullCode;
            std::cout << ch << " " << code << " " << ClassString(*g) << "\n";
            if (code.empty())
                continue;
            for (const Split& s : splitter.Enumerate(ch, *g, code)) {
                std::cout << "   " << s.reading << " cost " << s.cost << ": " << FormatGroups(s.coded) << "  [";
                for (const Group& gr : s.coded)
                    std::cout << (gr.root >= 0 ? chart.roots()[gr.root].glyph : "?") << " ";
                std::cout << "]\n";
            }
        }
        return 0;
    }

    // The gold set: every hand-checked split must come out exactly so.
    if (!o.gold.empty()) {
        std::map<std::string, std::string> codes;
        for (const auto& e : list)
            codes.emplace(e.character, e.fullCode);
        int checked = 0, failed = 0;
        ForEachDataLine(o.gold, "cannot be opened", [&](const std::string& line, const std::string& where) {
            std::istringstream cols(line);
            std::string ch, code, groups;
            std::getline(cols, ch, '\t');
            std::getline(cols, code, '\t');
            std::getline(cols, groups, '\t');
            const Glyph* g = cache.get(ch);
            if (!g)
                throw std::runtime_error(where + ": no stroke data for " + ch);
            const Decision d = splitter.Decide(ch, *g, code, overrides);
            std::vector<Group> want;
            for (const auto& gr : ParseGroups(groups))
                want.push_back({ -1, gr });
            ++checked;
            const std::string got = d.kind == DecisionKind::Unsolved ? "(none)" : FormatGroups(d.split.coded);
            if (got != FormatGroups(want)) {
                ++failed;
                std::cout << "gold mismatch " << ch << " " << code << ": want " << FormatGroups(want) << ", got " << got
                          << " (" << KindName(d.kind) << ")\n";
            }
        });
        std::cout << checked << " gold characters checked, " << failed << " wrong\n";
        return failed == 0 && checked > 0 ? 0 : 1;
    }

    std::unique_ptr<Renderer> renderer;
    if (!o.out.empty()) {
        std::map<std::string, Glyph> text;
        for (const std::string& ch : Utf8Chars("左右型上下杂合末笔横竖撇捺折")) {
            const Glyph* g = cache.get(ch);
            if (!g)
                throw std::runtime_error(o.strokes + ": no stroke data for the panel text " + ch);
            text.emplace(ch, *g);
        }
        renderer = std::make_unique<Renderer>(std::move(text), o.font);
        std::filesystem::create_directories(o.out);
    }

    std::map<DecisionKind, int> kinds;
    std::ostringstream report;
    int fullCount = 0, unsolved = 0;
    std::set<int> numbers;
    for (const PictureEntry& e : list) {
        if (!numbers.insert(e.number).second)
            throw std::runtime_error(o.list + ": picture " + std::to_string(e.number) + " listed twice");
        const Glyph* g = cache.get(e.character);
        if (!g)
            throw std::runtime_error(o.strokes + ": no stroke data for " + e.character);
        const Decision d = splitter.Decide(e.character, *g, e.fullCode, overrides);
        const bool shortCode = e.shownCode != e.fullCode;
        if (!shortCode) {
            ++fullCount;
            ++kinds[d.kind];
        }
        if (d.kind == DecisionKind::Unsolved) {
            // Drawn without black roots so that the set stays whole; the completeness test fails.
            ++unsolved;
            std::cerr << "picgen: warning: no split of " << e.character << " (" << e.fullCode
                      << ") fits its code; add it to " << o.overrides << "\n";
        }
        report << e.number << '\t' << e.character << '\t' << e.fullCode << '\t' << KindName(d.kind) << '\t'
               << d.alternatives << '\t' << d.split.reading << '\t' << FormatGroups(d.split.coded) << '\t';
        for (const Group& gr : d.split.coded)
            report << (gr.root >= 0 ? chart.roots()[gr.root].glyph : "") << ' ';
        report << '\t' << ClassString(*g) << '\n';

        if (renderer) {
            Picture pic;
            pic.glyph = g;
            Decision shown = d;
            if (d.kind == DecisionKind::Unsolved)
                shown.split.coded.assign(e.fullCode.size(), Group {});
            size_t copies = shown.split.coded.size();
            if (shortCode)
                copies = std::min(copies, e.shownCode.size());
            for (size_t i = 0; i < copies; ++i)
                pic.black.push_back(shown.split.coded[i].strokes);
            if (!shortCode)
                pic.idLetter = shown.split.idLetter;
            const std::string file = o.out + "/MYWBGIF" + std::to_string(e.number) + ".gif";
            renderer->Write(pic, file);
            std::filesystem::permissions(file,
                std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                    | std::filesystem::perms::group_read | std::filesystem::perms::others_read);
        }
    }
    auto share = [&](DecisionKind k) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d (%.1f%%)", kinds[k], fullCount ? 100.0 * kinds[k] / fullCount : 0.0);
        return std::string(buf);
    };
    std::ostringstream summary;
    summary << fullCount << " character-table pictures: rules " << share(DecisionKind::Rule) << ", tie-break "
            << share(DecisionKind::TieBreak) << ", override " << share(DecisionKind::Override) << ", unsolved "
            << share(DecisionKind::Unsolved) << "\n";
    if (!o.report.empty()) {
        std::ofstream r(o.report, std::ios::binary);
        r << "# " << summary.str() << report.str();
    }
    if (o.analyze)
        std::cout << report.str();
    std::cout << summary.str();
    return unsolved && o.requireComplete ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const Options o = Parse(argc, argv);
    // The panel's letter needs Qt's font machinery; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        return Run(o);
    } catch (const std::exception& e) {
        std::cerr << "picgen: " << e.what() << "\n";
        return 1;
    }
}
