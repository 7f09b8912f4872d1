// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One loaded data table: the file's plain content followed by one zero byte, and the
// number of records the session may draw from.
struct Table {
    std::vector<char> buffer; // empty: never loaded (or freed)
    int count = 0;

    bool allocated() const { return !buffer.empty(); }
    // The content as the draw reads it: text that ends at the first zero byte.
    std::string_view text() const;
    void free();
};

enum class TableKind { Wb, Wb1, Wb2, Wbzg, Py };

struct TableFormat {
    TableKind kind;
    const char* fileName;
    int recordSize;
    bool enciphered;
    int countAdjust; // the root table keeps its last record out of reach of the draw
};

const TableFormat& FormatOf(TableKind kind);

struct DataTables {
    Table wb, wb1, wb2, wbzg, py;
    int wb1Size = 0;
    int wb2Size = 0;

    Table& of(TableKind kind);
    const Table& of(TableKind kind) const;
    // Frees in the order wb, wb1, wb2, wbzg, py; tables never loaded are skipped.
    void freeAll();
};

// No real table comes near this; a file beyond it is refused rather than read for minutes.
constexpr std::uintmax_t kMaxTableBytes = 64u << 20;

// Reads a plain table whole; returns false when the file cannot be opened. A file that is
// no regular file or is beyond kMaxTableBytes is not opened at all, and `refusal` (when
// given) says why; it stays empty for a file that is simply missing.
bool LoadPlainTable(
    const std::filesystem::path& file, int recordSize, Table& table, int& size, std::string* refusal = nullptr);

// Reads and deciphers an enciphered table block by block under dataKey.
// Throws AppError naming the path and the system's reason when the file cannot be opened,
// and naming the path and what it is when it is no regular file or beyond kMaxTableBytes.
void LoadEncipheredTable(const std::filesystem::path& file, int recordSize, int countAdjust, Table& table);

// Deciphers raw file bytes into a table (also used by the fuzzer).
void DecipherIntoTable(
    std::string_view fileBytes, int recordSize, int countAdjust, const std::uint32_t key[4], Table& table);

enum class LoadOutcome { Loaded, PlainTableMissing };

// Loads wb1.dat, wb2.dat, wb.dat, wbzg.dat, py.dat from dir in that order, each completely
// before the next is opened. A plain table that cannot be opened stops loading and is
// reported by the result (with `refusal` saying why when the file was there but unfit); an
// enciphered one throws, leaving it and the later tables empty.
LoadOutcome LoadDataTables(const std::filesystem::path& dir, DataTables& tables, std::string* refusal = nullptr);
