// SPDX-License-Identifier: GPL-3.0-or-later
// The core on a system without Qt, iconv or ICU (Windows, cross-compiled and run under wine):
// the GBK table, the cipher, and loading the real tables from a folder whose name holds
// Chinese characters and a blank. Plain C++ with its own small checks, since no Qt is there.
//
// Usage: core_check [DIRECTORY WITH THE FIVE TABLES]

#include "data/AppError.h"
#include "data/Gbk.h"
#include "data/Tables.h"
#include "data/Unitcomm.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char* what, int line)
{
    if (!ok) {
        std::printf("FAIL line %d: %s\n", line, what);
        ++failures;
    }
}
#define CHECK(condition) check((condition), #condition, __LINE__)

void gbkTable()
{
    int characters = 0;
    int roundTrips = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char32_t c = gbk::DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            if (c == 0)
                continue;
            ++characters;
            roundTrips += gbk::Encode(c) == (lead << 8 | trail);
        }
    CHECK(characters == 21791);
    CHECK(roundTrips == characters);
    CHECK(gbk::Encode(U'练') == 0xC1B7);
    CHECK(gbk::Encode(0x20AC) == 0x80);
    CHECK(gbk::Encode(U'ß') == -1);

    const std::string practice = "\xC1\xB7\xCF\xB0 Wubi"; // 练习
    CHECK(gbk::ToUtf16(practice) == std::optional<std::u16string>(u"练习 Wubi"));
    CHECK(gbk::FromUtf16(u"练习 Wubi") == std::optional<std::string>(practice));
    CHECK(gbk::ToUtf8(practice) == std::optional<std::string>("练习 Wubi"));
    CHECK(gbk::FromUtf8("练习 Wubi") == std::optional<std::string>(practice));
    CHECK(!gbk::ToUtf16("\xC1"));
    CHECK(gbk::ToUtf16("\xC1 ", gbk::OnError::Replace) == std::optional<std::u16string>(u"\uFFFD "));
    CHECK(gbk::FromUtf16(u"\U0001F600", gbk::OnError::Replace) == std::optional<std::string>("?"));
}

void cipher()
{
    static const std::uint32_t key[4] = { 0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210 };
    unsigned char block[8] = { 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48 };
    DecipherBytes(block, key);
    static const unsigned char deciphered[8] = { 0xf6, 0x88, 0x68, 0x2c, 0x4e, 0xbb, 0xcb, 0x28 };
    CHECK(std::memcmp(block, deciphered, 8) == 0);
    EncipherBytes(block, key);
    CHECK(std::memcmp(block, "ABCDEFGH", 8) == 0);
}

void realTables(const std::filesystem::path& source)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / fs::path(u8"练习 数据");
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : { "wb1.dat", "wb2.dat", "wb.dat", "wbzg.dat", "py.dat" })
        fs::copy_file(source / name, dir / name);

    DataTables tables;
    try {
        CHECK(LoadDataTables(dir, tables) == LoadOutcome::Loaded);
    } catch (const AppError& error) {
        std::printf("FAIL: %s\n", error.what());
        ++failures;
    }
    for (auto kind : { TableKind::Wb, TableKind::Wb1, TableKind::Wb2, TableKind::Wbzg, TableKind::Py }) {
        const Table& table = tables.of(kind);
        CHECK(table.allocated());
        CHECK(table.count > 0);
        std::printf("%s: %d records\n", FormatOf(kind).fileName, table.count);
    }
    // The first character of the Wubi table, read back through the GBK table.
    CHECK(gbk::ToUtf16(tables.wb.text().substr(0, 2)).has_value());
    tables.freeAll();
    fs::remove_all(dir);
}

}

int main(int argc, char** argv)
{
    gbkTable();
    cipher();
    if (argc > 1)
        realTables(argv[1]);
    std::printf(failures ? "core check: %d failures\n" : "core check passed\n", failures);
    return failures ? 1 : 0;
}
