// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Gbk.h"

#include "data/GbkLayout.h"

#include <cstdint>
#include <vector>

namespace gbk {
namespace {

    constexpr char32_t kEuro = 0x20AC;
    constexpr unsigned char kEuroByte = 0x80;
    constexpr char32_t kReplacement = 0xFFFD;

    // Code point to GBK code, made from the table on first use (128 KiB): every code point of
    // the table is there once, so the reverse is exact.
    const std::vector<std::uint16_t>& reverseTable()
    {
        static const std::vector<std::uint16_t> reverse = [] {
            std::vector<std::uint16_t> r(0x10000, 0);
            for (int lead = kFirstLead; lead <= kLastLead; ++lead)
                for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
                    const int cell = CellOf(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                    if (cell >= 0 && kTable[cell] != 0)
                        r[kTable[cell]] = static_cast<std::uint16_t>(lead << 8 | trail);
                }
            return r;
        }();
        return reverse;
    }

    // Appends one code point as UTF-8.
    void appendUtf8(std::string& out, char32_t c)
    {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    // Reads one code point of UTF-8 at `i`, moving past it; nothing when the bytes are not
    // UTF-8 (overlong forms and surrogates included).
    std::optional<char32_t> nextUtf8(std::string_view s, size_t& i)
    {
        const auto lead = static_cast<unsigned char>(s[i]);
        size_t length;
        char32_t c;
        if (lead < 0x80) {
            ++i;
            return lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + length > s.size())
            return std::nullopt;
        for (size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                return std::nullopt;
            c = c << 6 | (b & 0x3F);
        }
        static constexpr char32_t smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return std::nullopt;
        i += length;
        return c;
    }

    // Walks GBK bytes, calling `emit` with each code point (U+FFFD for bytes that are no
    // character when replacing). False at the first such bytes when failing.
    template <typename Emit> bool decode(std::string_view gbk, OnError onError, Emit emit)
    {
        for (size_t i = 0; i < gbk.size();) {
            const auto lead = static_cast<unsigned char>(gbk[i]);
            if (lead < 0x80) {
                emit(lead);
                ++i;
                continue;
            }
            if (lead == kEuroByte) {
                emit(kEuro);
                ++i;
                continue;
            }
            const auto trail = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
            const int cell = CellOf(lead, trail);
            if (cell >= 0 && kTable[cell] != 0) {
                emit(kTable[cell]);
                i += 2;
                continue;
            }
            if (onError == OnError::Fail)
                return false;
            emit(kReplacement);
            // A pair in the code space that names nothing is one bad character; a lead byte
            // before ASCII (or at the end) is bad alone and the ASCII byte stays.
            i += cell >= 0 ? 2 : 1;
        }
        return true;
    }

    void appendGbk(std::string& out, int code)
    {
        if (code >= 0x100)
            out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }

}

int Encode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<int>(codePoint);
    if (codePoint == kEuro)
        return kEuroByte;
    if (codePoint > 0xFFFF)
        return -1;
    const std::uint16_t code = reverseTable()[codePoint];
    return code != 0 ? code : -1;
}

char32_t DecodePair(unsigned char lead, unsigned char trail)
{
    const int cell = CellOf(lead, trail);
    return cell >= 0 ? kTable[cell] : 0;
}

std::optional<std::u16string> ToUtf16(std::string_view gbk, OnError onError)
{
    std::u16string out;
    out.reserve(gbk.size());
    // Every GBK character lies in the basic plane: one UTF-16 unit each.
    if (!decode(gbk, onError, [&](char32_t c) { out += static_cast<char16_t>(c); }))
        return std::nullopt;
    return out;
}

std::optional<std::string> FromUtf16(std::u16string_view text, OnError onError)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        // A surrogate pair is one code point beyond the basic plane, which GBK cannot hold.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000;
            ++i;
        }
        const int code = c >= 0xD800 && c < 0xE000 ? -1 : Encode(c);
        if (code < 0) {
            if (onError == OnError::Fail)
                return std::nullopt;
            out += '?';
            continue;
        }
        appendGbk(out, code);
    }
    return out;
}

std::optional<std::string> ToUtf8(std::string_view gbk)
{
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    if (!decode(gbk, OnError::Fail, [&](char32_t c) { appendUtf8(out, c); }))
        return std::nullopt;
    return out;
}

std::optional<std::string> FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = nextUtf8(utf8, i);
        if (!c)
            return std::nullopt;
        const int code = Encode(*c);
        if (code < 0)
            return std::nullopt;
        appendGbk(out, code);
    }
    return out;
}

}
