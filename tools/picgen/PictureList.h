// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace picgen {

// One row of the picture list: picture number, character, its full code and the code
// whose roots the picture shows (the full code, or a two-letter short code).
struct PictureEntry {
    int number = 0;
    std::string character;
    std::string fullCode;
    std::string shownCode;
};

// Throws std::runtime_error naming the file and line.
std::vector<PictureEntry> LoadPictureList(const std::string& path);

} // namespace picgen
