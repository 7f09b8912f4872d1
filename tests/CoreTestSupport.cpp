// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/CoreTestSupport.h"

#include "data/Gbk.h"
#include "data/PhraseTables.h"
#include "data/Unitcomm.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <system_error>

std::u32string Utf32(std::string_view utf8)
{
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

std::string Gbk(const std::string& utf8)
{
    if (const std::optional<std::string> bytes = gbk::FromUtf8(utf8))
        return *bytes;
    // As the window's boundary does: a character GBK cannot hold becomes '?'.
    std::u16string text;
    for (const char32_t c : Utf32(utf8)) {
        if (c >= 0x10000) {
            text += char16_t(0xD800 + ((c - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += char16_t(c);
        }
    }
    return *gbk::FromUtf16(text, gbk::OnError::Replace);
}

namespace {
std::string pad(std::string s, size_t width)
{
    s.resize(width, ' ');
    return s;
}
}

std::string PlainPhrases(const std::vector<KeyedRecord>& records)
{
    std::string out;
    int weight = int(records.size());
    for (const KeyedRecord& r : records)
        out += PhraseRecordBytes({ r.key, std::uint32_t(weight--), Gbk(r.character), 0 });
    return out;
}

std::string PlainCharacterCodes(const std::vector<KeyedRecord>& records)
{
    std::string out;
    int weight = int(records.size());
    for (const KeyedRecord& r : records)
        out += CharacterCodeRecordBytes({ r.key, std::uint32_t(weight--), Gbk(r.character) });
    return out;
}

std::string PlainWb(const std::vector<WbRecord>& records)
{
    std::string out;
    for (const auto& r : records) {
        for (const auto& c : r.codes)
            out += pad(c, 4);
        out += std::string(8, ' ') + pad(Gbk(r.character), 2) + "  ";
    }
    return out;
}

std::string PlainWb1(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.key, 1) + "  ";
    return out;
}

std::string PlainWb2(const std::vector<Wb2Record>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.code, 2) + "    " + pad(r.picture, 4) + "  ";
    return out;
}

std::string PlainWbzg(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.key, 1) + "  ";
    return out + "     ";
}

std::string PlainPy(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(r.key, 8) + "    " + pad(Gbk(r.character), 2) + "  ";
    return out;
}

std::string Encipher(std::string plain)
{
    plain.resize((plain.size() + 7) / 8 * 8, ' ');
    for (size_t p = 0; p < plain.size(); p += 8)
        EncipherBytes(reinterpret_cast<unsigned char*>(plain.data() + p), dataKey);
    return plain;
}

TestTables TestTables::Small()
{
    TestTables t;
    t.wb1 = { { "一", "g" }, { "地", "f" }, { "在", "d" }, { "要", "s" } };
    t.wb2 = { { "五", "gg", "   1" }, { "于", "gf", "   2" }, { "天", "gd", "   3" }, { "末", "gs", "3000" } };
    t.wb = {
        { { "gggg", "g", "", "" }, "一" },
        { { "ggll", "gg", "", "" }, "五" },
        { { "xcag", "x", "xc", "xca" }, "经" },
        { { "lgyi", "l", "lgy", "" }, "国" },
    };
    t.wbzg = { { "王", "g" }, { "土", "f" }, { "大", "d" }, { "木", "s" }, { "月", "e" } };
    t.py = { { "男", "nan" }, { "女", "nv" }, { "庄", "ZHUANG" }, { "了", "le" } };
    t.phrases = { { "中国", "khlg" }, { "工艺", "aaan" }, { "共和国", "atlg" }, { "操作系统", "rwtx" },
        { "中华人民共和国", "kwwl" } };
    t.characterCodes = { { "工", "a" }, { "工", "aaaa" }, { "经", "xcag" }, { "经", "xc" } };
    return t;
}

TemporaryDir::TemporaryDir()
{
    // Each try names a directory that nothing else has: create_directory fails on one that exists.
    static unsigned counter = 0;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        std::filesystem::path candidate
            = base / ("quillado-test-" + std::to_string(std::random_device {}()) + "-" + std::to_string(++counter));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = std::move(candidate);
            return;
        }
        if (error) {
            std::fprintf(stderr, "cannot make a temporary directory: %s\n", error.message().c_str());
            std::abort();
        }
    }
}

TemporaryDir::~TemporaryDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

TableDir::TableDir(const TestTables& t)
{
    writeFile("wb1.dat", PlainWb1(t.wb1));
    writeFile("wb2.dat", PlainWb2(t.wb2));
    writeFile("wb.dat", Encipher(PlainWb(t.wb)));
    writeFile("wbzg.dat", Encipher(PlainWbzg(t.wbzg)));
    writeFile("py.dat", Encipher(PlainPy(t.py)));
    writeFile(PhraseFileName, PlainPhrases(t.phrases));
    writeFile(CharacterCodeFileName, PlainCharacterCodes(t.characterCodes));
}

std::string TableDir::path() const { return m_dir.path().string() + "/"; }

void TableDir::writeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(m_dir.path() / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

void TableDir::remove(const std::string& name)
{
    std::error_code ignored;
    std::filesystem::remove(m_dir.path() / name, ignored);
}
