// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Tables.h"

#include "data/AppError.h"
#include "data/Records.h"
#include "data/RegularFile.h"
#include "data/Unitcomm.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
constexpr std::array<TableFormat, 5> formats { {
    { TableKind::Wb, "wb.dat", WbLayout::size, true, 0 },
    { TableKind::Wb1, "wb1.dat", Wb1Layout::size, false, 0 },
    { TableKind::Wb2, "wb2.dat", Wb2Layout::size, false, 0 },
    { TableKind::Wbzg, "wbzg.dat", WbzgLayout::size, true, -1 },
    { TableKind::Py, "py.dat", PyLayout::size, true, 0 },
} };

std::string utf8Path(const std::filesystem::path& path) { return Utf8Path(path); }

std::string systemReason(int err)
{
    if (err == 0)
        return "The file could not be read.";
    return std::strerror(err);
}
}

std::string_view Table::text() const
{
    if (buffer.empty())
        return {};
    return std::string_view(buffer.data(), std::strlen(buffer.data()));
}

void Table::free() { std::vector<char>().swap(buffer); }

const TableFormat& FormatOf(TableKind kind) { return formats[static_cast<size_t>(kind)]; }

Table& DataTables::of(TableKind kind)
{
    switch (kind) {
    case TableKind::Wb:
        return wb;
    case TableKind::Wb1:
        return wb1;
    case TableKind::Wb2:
        return wb2;
    case TableKind::Wbzg:
        return wbzg;
    case TableKind::Py:
        break;
    }
    return py;
}

const Table& DataTables::of(TableKind kind) const { return const_cast<DataTables*>(this)->of(kind); }

void DataTables::freeAll()
{
    wb.free();
    wb1.free();
    wb2.free();
    wbzg.free();
    py.free();
}

bool LoadPlainTable(const std::filesystem::path& file, int recordSize, Table& table, int& size, std::string* refusal)
{
    const FileCheck check = CheckRegularFile(file, kMaxTableBytes);
    if (check.verdict == FileCheck::Verdict::NotRegular || check.verdict == FileCheck::Verdict::TooLarge) {
        if (refusal)
            *refusal = check.reason(utf8Path(file));
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(0, std::ios::beg);
    size = end > 0 && end < 0x7fffffff ? static_cast<int>(end) : 0;
    // A short read leaves the missing bytes zero, as the buffer starts zero-filled.
    table.buffer.assign(size_t(size) + 1, '\0');
    in.read(table.buffer.data(), size);
    table.count = size / recordSize;
    return true;
}

void DecipherIntoTable(
    std::string_view bytes, int recordSize, int countAdjust, const std::uint32_t key[4], Table& table)
{
    const size_t plainSize = (bytes.size() + 7) / 8 * 8;
    // A last partial block is padded with zeros before it is deciphered.
    std::vector<char> buffer(plainSize + 1, '\0');
    if (!bytes.empty())
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
    DecipherBlocks(reinterpret_cast<unsigned char*>(buffer.data()), plainSize / 8, key);
    table.buffer = std::move(buffer);
    table.count = static_cast<int>(plainSize / size_t(recordSize)) + countAdjust;
}

void LoadEncipheredTable(const std::filesystem::path& file, int recordSize, int countAdjust, Table& table)
{
    const FileCheck check = CheckRegularFile(file, kMaxTableBytes);
    if (check.verdict == FileCheck::Verdict::NotRegular || check.verdict == FileCheck::Verdict::TooLarge)
        throw AppError("Cannot open file " + check.reason(utf8Path(file)));
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        throw AppError("Cannot open file \"" + utf8Path(file) + "\". " + systemReason(err));
    }
    // Copied whole by the stream buffer, not character by character.
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = std::move(content).str();
    DecipherIntoTable(bytes, recordSize, countAdjust, dataKey, table);
}

LoadOutcome LoadDataTables(const std::filesystem::path& dir, DataTables& tables, std::string* refusal)
{
    for (TableKind kind : { TableKind::Wb1, TableKind::Wb2 }) {
        const TableFormat& f = FormatOf(kind);
        int& size = kind == TableKind::Wb1 ? tables.wb1Size : tables.wb2Size;
        if (!LoadPlainTable(dir / f.fileName, f.recordSize, tables.of(kind), size, refusal))
            return LoadOutcome::PlainTableMissing;
    }
    for (TableKind kind : { TableKind::Wb, TableKind::Wbzg, TableKind::Py }) {
        const TableFormat& f = FormatOf(kind);
        LoadEncipheredTable(dir / f.fileName, f.recordSize, f.countAdjust, tables.of(kind));
    }
    return LoadOutcome::Loaded;
}
