// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Glyph.h"

#include <map>
#include <string>
#include <vector>

namespace picgen {

struct Picture {
    const Glyph* glyph = nullptr;
    std::vector<std::vector<int>> black; // per copy, the strokes filled black
    char idLetter = 0; // lower-case identification letter, 0 for no panel
};

class Renderer {
public:
    // textGlyphs: stroke data of the characters the panel writes (左右型 上下型 杂合型 末笔 横竖撇捺折).
    // fontFile: the outline font the panel's circled letter is drawn with.
    Renderer(std::map<std::string, Glyph> textGlyphs, const std::string& fontFile);
    ~Renderer();

    // Draws the picture and writes it as a GIF. Throws std::runtime_error naming the file.
    void Write(const Picture& picture, const std::string& path) const;

    // A large drawing of each character with its strokes numbered (0-based) at their start,
    // for writing the override table and the gold set by eye. Saved as PNG.
    void WriteStrokeSheet(
        const std::vector<std::pair<std::string, const Glyph*>>& glyphs, const std::string& path) const;

    static constexpr int kWidth = 220;
    static constexpr int kHeight = 56;
    static constexpr int kCell = 55;

private:
    struct Impl;
    Impl* m_impl;
};

// The four palette greys, darkest last; index 0 is the background.
extern const unsigned char kPalette[4];

} // namespace picgen
