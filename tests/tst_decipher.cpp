// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/Tables.h"
#include "data/Unitcomm.h"
#include "tests/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <random>

static const std::uint32_t testKey[4] = { 0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210 };

static std::string fromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

struct VectorsRow {
    std::string tag;
    std::string input;
    std::string expected;
};

std::vector<VectorsRow> vectorsRows()
{
    std::vector<VectorsRow> rows;
    rows.push_back({ "zeros", fromHex("0000000000000000"), fromHex("7c9facb933b171f2") });
    rows.push_back({ "ABCDEFGH", fromHex("4142434445464748"), fromHex("f688682c4ebbcb28") });
    rows.push_back({ "to ABCDEFGH", fromHex("8bf9d025353a90be"), fromHex("4142434445464748") });
    return rows;
}

TEST(Decipher, vectors)
{
    for (const VectorsRow& row : vectorsRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            std::string input = row.input;
            DecipherBytes(reinterpret_cast<unsigned char*>(input.data()), testKey);
            ASSERT_EQ(input, row.expected);
        }();
    }
}

TEST(Decipher, inverseRoundTrips)
{
    std::mt19937 gen(12345);
    for (int i = 0; i < 2000; ++i) {
        // std::mt19937 yields 32-bit values in a wider type.
        const auto next = [&gen] { return static_cast<std::uint32_t>(gen()); };
        std::uint32_t key[4] = { next(), next(), next(), next() };
        std::uint32_t block[2] = { next(), next() };
        const std::uint32_t original[2] = { block[0], block[1] };
        EncipherBlock(block, key);
        ASSERT_TRUE(block[0] != original[0] || block[1] != original[1]);
        DecipherBlock(block, key);
        ASSERT_EQ(block[0], original[0]);
        ASSERT_EQ(block[1], original[1]);
    }
}

struct PlainSizeIsWholeBlocksRow {
    std::string tag;
    int fileSize;
    int plainSize;
};

std::vector<PlainSizeIsWholeBlocksRow> plainSizeIsWholeBlocksRows()
{
    std::vector<PlainSizeIsWholeBlocksRow> rows;
    rows.push_back({ "empty", 0, 0 });
    rows.push_back({ "one byte", 1, 8 });
    rows.push_back({ "13 bytes", 13, 16 });
    rows.push_back({ "16 bytes", 16, 16 });
    return rows;
}

TEST(Decipher, plainSizeIsWholeBlocks)
{
    for (const PlainSizeIsWholeBlocksRow& row : plainSizeIsWholeBlocksRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& fileSize = row.fileSize;
            const int& plainSize = row.plainSize;
            Table t;
            DecipherIntoTable(std::string(size_t(fileSize), 'x'), 16, 0, dataKey, t);
            ASSERT_EQ(int(t.buffer.size()), plainSize + 1);
            ASSERT_EQ(t.buffer.back(), '\0');
        }();
    }
}

TEST(Decipher, shortLastBlockIsZeroPaddedBeforeDeciphering)
{
    std::string file = "0123456789ABC"; // 13 bytes
    Table t;
    DecipherIntoTable(file, 16, 0, testKey, t);
    unsigned char last[8] = { '8', '9', 'A', 'B', 'C', 0, 0, 0 };
    DecipherBytes(last, testKey);
    ASSERT_EQ(std::string(t.buffer.data() + 8, 8), std::string(reinterpret_cast<char*>(last), 8));
}

struct CountsRow {
    std::string tag;
    std::string file;
    int fileSize;
    int count;
};

std::vector<CountsRow> countsRows()
{
    std::vector<CountsRow> rows;
    rows.push_back({ "wbzg empty", "wbzg.dat", 0, -1 });
    rows.push_back({ "wbzg 40", "wbzg.dat", 40, 7 });
    rows.push_back({ "wbzg 48", "wbzg.dat", 48, 8 });
    rows.push_back({ "wb empty", "wb.dat", 0, 0 });
    rows.push_back({ "wb 56", "wb.dat", 56, 2 });
    rows.push_back({ "py 13", "py.dat", 13, 1 });
    rows.push_back({ "wb1 12", "wb1.dat", 12, 2 });
    rows.push_back({ "wb2 27", "wb2.dat", 27, 1 });
    rows.push_back({ "wb1 empty", "wb1.dat", 0, 0 });
    return rows;
}

TEST(Decipher, counts)
{
    for (const CountsRow& row : countsRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& file = row.file;
            const int& fileSize = row.fileSize;
            const int& count = row.count;
            TableDir dir;
            dir.writeFile(file, std::string(size_t(fileSize), 'a'));
            DataTables tables;
            ASSERT_EQ(LoadDataTables(dir.path(), tables), LoadOutcome::Loaded);
            const std::map<std::string, Table*> byName = { { "wb.dat", &tables.wb }, { "wb1.dat", &tables.wb1 },
                { "wb2.dat", &tables.wb2 }, { "wbzg.dat", &tables.wbzg }, { "py.dat", &tables.py } };
            const Table& t = *byName.at(file);
            ASSERT_EQ(t.count, count);
            ASSERT_TRUE(t.allocated());
            ASSERT_EQ(t.buffer.back(), '\0');
            if (fileSize == 0) {
                ASSERT_EQ(int(t.buffer.size()), 1);
            }
        }();
    }
}

TEST(Decipher, plainTablesIgnoreTrailingBytes)
{
    TableDir dir;
    dir.writeFile("wb1.dat", Gbk("一g  地f  ") + "xx");
    DataTables tables;
    LoadDataTables(dir.path(), tables);
    ASSERT_EQ(tables.wb1Size, 12);
    ASSERT_EQ(tables.wb1.count, 2);
    ASSERT_EQ(std::string(tables.wb1.text()), Gbk("一g  地f  ") + "xx");
}

TEST(Decipher, missingEncipheredFileNamesPathAndReason)
{
    TableDir dir;
    dir.remove("wbzg.dat");
    DataTables tables;
    try {
        LoadDataTables(dir.path(), tables);
        FAIL() << ("no error raised");
    } catch (const AppError& e) {
        const std::string text = e.what();
        ASSERT_NE(text.find(dir.path() + "wbzg.dat"), std::string::npos) << text;
        ASSERT_NE(text.find(std::strerror(ENOENT)), std::string::npos) << text;
    }
    ASSERT_TRUE(tables.wb.count > 0);
    ASSERT_TRUE(!tables.wbzg.allocated());
    ASSERT_TRUE(!tables.py.allocated());
    ASSERT_EQ(tables.wbzg.count, 0);
    ASSERT_EQ(tables.py.count, 0);
}

TEST(Decipher, loadOrderStopsAtMissingPlainTable)
{
    TableDir dir;
    dir.remove("wb1.dat");
    dir.remove("wb2.dat"); // were it opened, the outcome would be the same: check nothing later loads
    DataTables tables;
    ASSERT_EQ(LoadDataTables(dir.path(), tables), LoadOutcome::PlainTableMissing);
    ASSERT_TRUE(!tables.wb2.allocated());
    ASSERT_TRUE(!tables.wb.allocated());
}

TEST(Decipher, loadingIsIndependentOfCurrentDirectory)
{
    TableDir dir;
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    DataTables tables;
    const LoadOutcome outcome = LoadDataTables(dir.path(), tables);
    std::filesystem::current_path(saved);
    ASSERT_EQ(outcome, LoadOutcome::Loaded);
    ASSERT_EQ(tables.wb.count, 4);
    ASSERT_EQ(tables.wbzg.count, 5);
    ASSERT_EQ(tables.py.count, 4);
}

TEST(Decipher, freeAllReleasesEveryBuffer)
{
    TableDir dir;
    DataTables tables;
    LoadDataTables(dir.path(), tables);
    tables.freeAll();
    for (const Table* t : { &tables.wb, &tables.wb1, &tables.wb2, &tables.wbzg, &tables.py }) {
        ASSERT_TRUE(!t->allocated());
    }
    tables.freeAll(); // a second release skips what is gone
}
