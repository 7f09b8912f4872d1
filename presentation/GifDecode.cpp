// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/GifDecode.h"

#include "data/AppError.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

struct MemoryReader {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(wanted), reader->size - reader->pos);
    std::memcpy(out, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

std::string Reason(int error)
{
    const char* text = GifErrorString(error);
    return text ? text : "GIF error " + std::to_string(error);
}

} // namespace

GifPicture DecodeGif(const unsigned char* data, std::size_t size, const std::string& name)
{
    MemoryReader reader { data, size, 0 };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif)
        throw AppError(name + ": " + Reason(error));

    // Closes the decoder however this function is left.
    struct Closer {
        GifFileType* gif;
        ~Closer() { DGifCloseFile(gif, nullptr); }
    } closer { gif };

    // A damaged header may claim a screen of up to 65535 x 65535 pixels, 16 GiB to fill;
    // the set's pictures are 220 x 56, far inside this bound.
    constexpr int maxSide = 4096;
    if (gif->SWidth > maxSide || gif->SHeight > maxSide)
        throw AppError(name + ": the picture claims " + std::to_string(gif->SWidth) + " x "
            + std::to_string(gif->SHeight) + " pixels, more than a picture can have");

    if (DGifSlurp(gif) != GIF_OK)
        throw AppError(name + ": " + Reason(gif->Error));
    if (gif->ImageCount < 1 || gif->SWidth <= 0 || gif->SHeight <= 0)
        throw AppError(name + ": " + Reason(D_GIF_ERR_NO_IMAG_DSCR));

    const SavedImage& image = gif->SavedImages[0];
    const GifImageDesc& desc = image.ImageDesc;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map)
        throw AppError(name + ": " + Reason(D_GIF_ERR_NO_COLOR_MAP));

    auto colour = [map](int index) -> std::uint32_t {
        if (index < 0 || index >= map->ColorCount)
            return 0xFF000000u;
        const GifColorType& c = map->Colors[index];
        return 0xFF000000u | std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
    };

    GifPicture picture;
    picture.width = gif->SWidth;
    picture.height = gif->SHeight;
    picture.pixels.assign(std::size_t(picture.width) * picture.height, colour(gif->SBackGroundColor));
    for (int y = 0; y < desc.Height; ++y) {
        const int sy = desc.Top + y;
        if (sy < 0 || sy >= picture.height)
            continue;
        for (int x = 0; x < desc.Width; ++x) {
            const int sx = desc.Left + x;
            if (sx < 0 || sx >= picture.width)
                continue;
            picture.pixels[std::size_t(sy) * picture.width + sx]
                = colour(image.RasterBits[std::size_t(y) * desc.Width + x]);
        }
    }
    return picture;
}
