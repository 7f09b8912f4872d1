// SPDX-License-Identifier: GPL-3.0-or-later
#include "RootTable.h"

#include "tools/common/DataLines.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace chartgen {
namespace {

    int columnOf(const std::vector<std::string>& header, const std::string& name)
    {
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == name)
                return int(i);
        return -1;
    }

}

RootTable ReadRootTable(const std::string& path)
{
    RootTable table;
    std::vector<std::string> header;
    int keyColumn = -1, rootColumn = -1, flagsColumn = -1;
    ForEachDataLine(path, "cannot open the root table", [&](const std::string& line, const std::string& where) {
        auto fields = SplitTabs(line);
        if (header.empty()) {
            header = fields;
            keyColumn = columnOf(header, "key");
            rootColumn = columnOf(header, "root");
            flagsColumn = columnOf(header, "flags");
            if (keyColumn < 0 || rootColumn < 0 || flagsColumn < 0)
                throw std::runtime_error(where + ": the header must name the columns key, root and flags");
            return;
        }
        const auto need = size_t(std::max({ keyColumn, rootColumn, flagsColumn })) + 1;
        // A row may stop after its last non-empty column.
        if (fields.size() < size_t(std::max(keyColumn, rootColumn)) + 1)
            throw std::runtime_error(where + ": too few columns");
        fields.resize(std::max(fields.size(), need));

        const std::string& key = fields[size_t(keyColumn)];
        if (key.size() != 1 || !((key[0] >= 'a' && key[0] <= 'y') || (key[0] >= 'A' && key[0] <= 'Y')))
            throw std::runtime_error(where + ": key '" + key + "' is not a letter A-Y");
        const char letter = char(key[0] | 0x20);

        Root root;
        root.text = fields[size_t(rootColumn)];
        if (root.text.empty())
            throw std::runtime_error(where + ": empty root");
        if (root.text.size() >= 2 && root.text.front() == '[' && root.text.back() == ']') {
            root.described = true;
            root.text = root.text.substr(1, root.text.size() - 2);
        }
        root.keyName = fields[size_t(flagsColumn)].find('K') != std::string::npos;
        table.byKey[letter].push_back(std::move(root));
    });
    if (header.empty())
        throw std::runtime_error(path + ": no header line and no roots");
    return table;
}

}
