// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

// The generators' reviewed data files are tab-separated text with '#' comments. This hands
// `row` every line that is neither blank nor a comment (the CR of a CRLF file dropped),
// with "path:line" to put in front of an error about it.
inline void ForEachDataLine(const std::string& path, const std::string& openFailure,
    const std::function<void(const std::string& line, const std::string& where)>& row)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": " + openFailure);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        row(line, path + ":" + std::to_string(lineNo));
    }
}
