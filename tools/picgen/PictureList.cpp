#include "PictureList.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace picgen {

std::vector<PictureEntry> LoadPictureList(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot be opened");
    std::vector<PictureEntry> list;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream cols(line);
        PictureEntry e;
        std::string number;
        if (!std::getline(cols, number, '\t') || !std::getline(cols, e.character, '\t')
            || !std::getline(cols, e.fullCode, '\t') || !std::getline(cols, e.shownCode, '\t'))
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": expected four tab-separated columns");
        try {
            e.number = std::stoi(number);
        } catch (const std::exception&) {
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": bad picture number '" + number + "'");
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
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": codes must be 1-4 lower-case letters");
        list.push_back(std::move(e));
    }
    return list;
}

} // namespace picgen
