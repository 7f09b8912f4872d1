// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

// The Wubi 86 root table as the chart needs it: for each key letter, its roots in table order.
// Plain C++ so that it can be read and checked without any drawing.
namespace chartgen {

struct Root {
    std::string text; // UTF-8: a glyph, or a short description when no glyph fits
    bool described = false; // the table gave a description in [brackets] instead of a glyph
    bool keyName = false; // flag K: the key-name root
};

struct RootTable {
    std::map<char, std::vector<Root>> byKey; // key letter 'a'..'y'
};

// Reads a tab-separated root table: '#' lines are comments, the first other line names the
// columns (at least "key", "root" and "flags"). Throws std::runtime_error naming the file and
// the line for anything it cannot use.
RootTable ReadRootTable(const std::string& path);

}
