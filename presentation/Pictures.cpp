// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/Pictures.h"

#include "data/AppError.h"
#include "presentation/GifDecode.h"

#include <QFile>

#include <algorithm>
#include <cstdint>

#include <string>

#ifdef QUILLADO_HAVE_PICTURES
// The picture set lives in this static library; registering it from here keeps the linker
// from dropping it.
static void RegisterPictureSet()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(decomposition_pictures);
        return true;
    }();
    (void)registered;
}
#else
static void RegisterPictureSet() { }
#endif

QImage LoadDecompositionPicture(int n)
{
    RegisterPictureSet();
    const std::string name = "MywbGIF" + std::to_string(n);
    // Resource names are stored in upper case and matched without regard to case.
    QFile resource(":/pictures/" + QString::fromStdString(name).toUpper());
    if (!resource.open(QIODevice::ReadOnly))
        throw AppError("Resource " + name + " not found");
    const QByteArray bytes = resource.readAll();
    const GifPicture gif
        = DecodeGif(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()), name);

    QImage image(gif.width, gif.height, QImage::Format_RGB32);
    for (int y = 0; y < gif.height; ++y)
        std::copy_n(gif.pixels.data() + std::size_t(y) * gif.width, gif.width,
            reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}
