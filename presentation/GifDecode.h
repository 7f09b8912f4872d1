// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded GIF: its first image, drawn on the logical screen, as 0xAARRGGBB pixels row by row.
struct GifPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Decodes a GIF87a or GIF89a held in memory. `name` is the resource or file the bytes came
// from; a damaged GIF throws AppError "<name>: <the decoder's reason>".
GifPicture DecodeGif(const unsigned char* data, std::size_t size, const std::string& name);
