// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureList.h"

#include "tools/common/DataLines.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace picgen {

std::vector<PictureEntry> LoadPictureList(const std::string& path)
{
    std::vector<PictureEntry> list;
    ForEachDataLine(path, "cannot be opened", [&](const std::string& line, const std::string& where) {
        std::istringstream cols(line);
        PictureEntry e;
        std::string number;
        if (!std::getline(cols, number, '\t') || !std::getline(cols, e.character, '\t')
            || !std::getline(cols, e.fullCode, '\t') || !std::getline(cols, e.shownCode, '\t'))
            throw std::runtime_error(where + ": expected four tab-separated columns");
        try {
            e.number = std::stoi(number);
        } catch (const std::exception&) {
            throw std::runtime_error(where + ": bad picture number '" + number + "'");
        }
        auto lettersOnly = [](const std::string& code) {
            if (code.empty() || code.size() > 4)
                return false;
            for (char c : code)
                if (c < 'a' || c > 'z')
                    return false;
            return true;
        };
        if (!lettersOnly(e.fullCode) || !lettersOnly(e.shownCode))
            throw std::runtime_error(where + ": codes must be 1-4 lower-case letters");
        list.push_back(std::move(e));
    });
    return list;
}

} // namespace picgen
