// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fstream>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

// The fields of a tab-separated line: n tabs give n + 1 fields, empty ones included.
inline std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::string::size_type start = 0;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// What comes before the data: nothing, or (rime's dictionaries) a YAML header that a "..."
// line ends.
enum class DataHeader { None, Yaml };

// The generators' data files are text with '#' comments. This hands `row` every line after
// the header that is neither blank nor a comment (the CR of a CRLF file dropped), with its
// number from 1. Returns false when a header was expected and never ended.
inline bool ForEachDataLine(
    std::istream& in, DataHeader header, const std::function<void(const std::string& line, int number)>& row)
{
    std::string line;
    int number = 0;
    bool inData = header == DataHeader::None;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!inData) {
            inData = line == "...";
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        row(line, number);
    }
    return inData;
}

// The same for a reviewed data file of the project's own, with "path:line" to put in front of
// an error about a line.
inline void ForEachDataLine(const std::string& path, const std::string& openFailure,
    const std::function<void(const std::string& line, const std::string& where)>& row)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": " + openFailure);
    ForEachDataLine(in, DataHeader::None,
        [&](const std::string& line, int number) { row(line, path + ":" + std::to_string(number)); });
}
