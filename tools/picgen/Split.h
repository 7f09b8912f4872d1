// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Glyph.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace picgen {

// One way a root may be written: its stroke classes in writing order. An enclosing root
// (囗 in 国) is written in two parts: the head before what it encloses, the tail after it.
struct RootForm {
    std::vector<int> head;
    std::vector<int> tail;
};

struct Root {
    char key = 0; // lower-case key letter
    std::string glyph;
    std::string flags;
    std::vector<RootForm> forms;
    int lastClass = 0; // the stroke class the method counts as the root's last, 0 = as written
};

class RootChart {
public:
    // Reads the tab-separated chart (key, root, stroke classes, flags, note).
    // Throws std::runtime_error naming the file and line.
    static RootChart Load(const std::string& path);
    // Adds the rows of another chart file of the same layout.
    void Append(const std::string& path);

    const std::vector<Root>& roots() const { return m_roots; }
    const std::vector<int>& onKey(char key) const;
    // The chart row whose glyph is this character on this key, or -1.
    int find(const std::string& glyph, char key) const;

private:
    std::vector<Root> m_roots;
    std::map<char, std::vector<int>> m_byKey;
};

// A root the code types, as the stroke indices (0-based, writing order) drawn black for it.
struct Group {
    int root = -1; // chart row, -1 when given by the override table
    std::vector<int> strokes;
};

struct Split {
    std::vector<Group> coded; // one per copy of the character
    bool wholeRoot = false; // the character is a root itself: whole, then stroke by stroke
    char idLetter = 0; // identification letter shown in the panel, 0 for none
    double cost = 0;
    std::string reading; // "roots", "id", "first3+last", "root"
};

enum class DecisionKind { Rule, TieBreak, Override, Unsolved };

struct Decision {
    Split split;
    DecisionKind kind = DecisionKind::Unsolved;
    int alternatives = 0; // distinct pictures the rules allowed
};

// Reads the override table: character, then the coded roots' stroke groups separated by
// blanks, each group stroke indices or ranges joined by '+' ("0-2 3+7 4-6").
std::map<std::string, std::vector<std::vector<int>>> LoadOverrides(const std::string& path);
std::vector<std::vector<int>> ParseGroups(const std::string& text);
std::string FormatGroups(const std::vector<Group>& groups);

// A component drawn the same way wherever it stands: its coded roots as stroke groups of the
// component's own glyph, and the characters that hold it.
struct Component {
    std::string glyph;
    std::vector<std::vector<int>> groups;
    std::vector<std::string> characters;
};

// components.tsv: component, its groups ("0-1 2 3-4"), the characters that hold it.
std::vector<Component> LoadComponents(const std::string& path);

class Splitter {
public:
    // glyphOf gives the stroke data of a root glyph when there is one (for the shape check).
    Splitter(const RootChart& chart, std::function<const Glyph*(const std::string&)> glyphOf);

    // Every split the rules allow for this character and code, cheapest first.
    std::vector<Split> Enumerate(const std::string& character, const Glyph& glyph, const std::string& code) const;

    // The override if there is one, else the cheapest split.
    Decision Decide(const std::string& character, const Glyph& glyph, const std::string& code,
        const std::map<std::string, std::vector<std::vector<int>>>& overrides) const;

    // From now on a listed character only takes splits that draw its components as listed.
    void SetComponents(std::vector<Component> components) { m_components = std::move(components); }

    // Whether the split draws every listed component of the character as the component's own
    // groups; when not, `why` names the component.
    bool Consistent(const std::string& character, const Glyph& glyph, const std::vector<Group>& coded,
        std::string* why = nullptr) const;

    // A root character that is not a key-name root: copy 1 the whole root, then the stroke
    // each further letter types (its first, second and last stroke), one a copy.
    static std::vector<Group> StrokeCopies(int root, const Glyph& glyph, const std::string& code);

    // The stroke class an identification letter stands for (its zone), 0 for a letter that
    // is no identification letter.
    static int Zone(char letter);

    // 1 when the first root stands clear to the left of the rest, 2 when clear above it,
    // 0 when the drawing does not say.
    static int Structure(const Glyph& glyph, const Group& first);

private:
    double ShapeCost(const Glyph& glyph, const Group& group) const;
    const RootChart& m_chart;
    std::function<const Glyph*(const std::string&)> m_glyphOf;
    std::vector<Component> m_components;
};

} // namespace picgen
