// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the UTF-8 of the packaged sources and the GBK (code page 936) of the
// data files, done with the core's GBK table so the generator needs neither Qt nor iconv.
namespace datagen {

// The GBK bytes of UTF-8 text; nothing when some character has no GBK code.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// The UTF-8 text of GBK bytes; nothing when the bytes are not valid GBK.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// The number of code points in valid UTF-8, or -1 when the bytes are not valid UTF-8.
int Utf8Length(std::string_view utf8);

}
