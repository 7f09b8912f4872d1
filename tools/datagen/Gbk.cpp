// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/datagen/Gbk.h"

#include "data/Gbk.h"

namespace datagen {

// The program's own GBK table, so that the generator needs no iconv and writes exactly the
// bytes the program reads back.
std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return gbk::FromUtf8(utf8); }

std::optional<std::string> GbkToUtf8(std::string_view bytes) { return gbk::ToUtf8(bytes); }

int Utf8Length(std::string_view utf8)
{
    int count = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > utf8.size())
            return -1;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80)
                return -1;
        i += length;
        ++count;
    }
    return count;
}

}
