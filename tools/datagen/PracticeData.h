// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/datagen/Sources.h"

#include <cstdint>
#include <string>
#include <vector>

// Chooses what the five practice tables hold and lays them out byte for byte. Text in the
// records below is UTF-8; the table encoders turn it into GBK.
namespace datagen {

// The picture set holds pictures 1-2436 for the character table's records and 3000-3071 for
// the level-2 short-code characters that are not in it, so both counts are fixed.
inline constexpr int CharacterRecords = 2436;
inline constexpr int Level2Outside = 72;
inline constexpr int FirstOutsidePicture = 3000;

struct CharacterRecord {
    std::string character;
    std::vector<std::string> codes; // the full code first, then the short codes from the shortest
};

struct ShortCodeRecord {
    std::string character;
    std::string code;
    std::string fullCode;
    int pictureNo = 0; // level-2 only
};

struct RootRecord {
    std::string root;
    char key = 0;
};

struct PinyinRecord {
    std::string character;
    std::string pinyin;
};

struct PracticeData {
    std::vector<CharacterRecord> wb; // record r has picture r + 1
    std::vector<ShortCodeRecord> wb1;
    std::vector<ShortCodeRecord> wb2;
    std::vector<RootRecord> wbzg;
    std::vector<RootChartRow> rootsLeftOut; // chart roots without a GBK character
    std::vector<PinyinRecord> py;
};

// The sources of the tables. `text` ranks the characters of the character table; `standard`
// decides which may stand in it.
struct Sources {
    WubiSource wubi;
    PinyinSource pinyin;
    std::vector<RootChartRow> roots;
    PinyinOverrides overrides;
    TextFrequency text;
    StandardList standard;
};

// Throws AppError when the sources cannot give tables of the required shape.
PracticeData BuildPracticeData(const Sources& sources);

// Whether GBK bytes are a character of GB2312 level 1 (B0A1-D7F9), the common characters.
bool IsGb2312Level1(const std::string& gbk);

// The plain content of each table in GBK, exactly as the program holds it after loading.
std::string PlainWb1(const PracticeData& data);
std::string PlainWb2(const PracticeData& data);
std::string PlainWb(const PracticeData& data);
std::string PlainWbzg(const PracticeData& data);
std::string PlainPy(const PracticeData& data);

// Enciphers plain content block by block under dataKey; the content must fill whole blocks.
std::string EncipherContent(const std::string& plain);

// One UTF-8 line per picture, by number: number, character, full code, the code it shows.
std::string PictureList(const PracticeData& data);

// The 3755 characters of GB2312 level 1 (B0A1-D7F9), in code order, as GBK byte pairs.
std::vector<std::string> Gb2312Level1();

}
