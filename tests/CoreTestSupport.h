// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests of the plain core share: the tables of a test program directory, written
// as the program expects them. No Qt here, so the core's tests link the core alone.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Table records for a test program directory.
struct WbRecord {
    std::string codes[4];
    std::string character; // UTF-8
};
struct Wb2Record {
    std::string character; // UTF-8
    std::string code;
    std::string picture; // the 4-byte field as it stands in the file
};
struct KeyedRecord {
    std::string character; // UTF-8
    std::string key; // code letter(s) or pinyin
};

struct TestTables {
    std::vector<KeyedRecord> wb1;
    std::vector<Wb2Record> wb2;
    std::vector<WbRecord> wb;
    std::vector<KeyedRecord> wbzg; // a filler record is appended, as the real table has
    std::vector<KeyedRecord> py;
    // The phrase drill's tables: (code, UTF-8 text), most frequent first.
    std::vector<KeyedRecord> phrases;
    std::vector<KeyedRecord> characterCodes;

    static TestTables Small();
};

// GBK bytes of a UTF-8 text, a character GBK cannot hold as '?' (as the window's boundary does).
std::string Gbk(const std::string& utf8);

// The code points of UTF-8 text (test texts are well formed).
std::u32string Utf32(std::string_view utf8);

// Plain contents of each table.
std::string PlainWb(const std::vector<WbRecord>& records);
std::string PlainWb1(const std::vector<KeyedRecord>& records);
std::string PlainWb2(const std::vector<Wb2Record>& records);
std::string PlainWbzg(const std::vector<KeyedRecord>& records);
std::string PlainPy(const std::vector<KeyedRecord>& records);

// The phrase and character code tables, (key = code, character = UTF-8 text) each.
std::string PlainPhrases(const std::vector<KeyedRecord>& records);
std::string PlainCharacterCodes(const std::vector<KeyedRecord>& records);

// Enciphers plain content under the program's key, padding the last block with blanks.
std::string Encipher(std::string plain);

// A fresh directory under the system's temporary folder, removed with everything in it.
class TemporaryDir {
public:
    TemporaryDir();
    ~TemporaryDir();
    TemporaryDir(const TemporaryDir&) = delete;
    TemporaryDir& operator=(const TemporaryDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A temporary directory holding the seven tables.
class TableDir {
public:
    explicit TableDir(const TestTables& tables = TestTables::Small());
    // The directory, with a trailing separator so that a file name can be appended.
    std::string path() const;
    void writeFile(const std::string& name, const std::string& bytes);
    void remove(const std::string& name);

private:
    TemporaryDir m_dir;
};
