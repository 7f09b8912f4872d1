// SPDX-License-Identifier: GPL-3.0-or-later
// The practice tables the build wrote, read back through the program's own loader and field
// rules, and compared with the dictionaries they were made from.

#include "data/AppError.h"
#include "data/Tables.h"
#include "session/Drawing.h"
#include "tools/datagen/PracticeData.h"
#include "tools/datagen/Sources.h"

#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

using namespace datagen;

namespace {

std::string utf8FromGbk(const std::string& gbk)
{
    QStringDecoder decoder("GBK");
    const QString text = decoder.decode(QByteArray::fromStdString(gbk));
    return decoder.hasError() ? std::string() : text.toStdString();
}

// The GBK bytes the program's own converter gives, independent of the generator's iconv.
std::string gbkFromUtf8(const std::string& utf8)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(QString::fromStdString(utf8));
    return encoder.hasError() ? std::string() : bytes.toStdString();
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string readAll(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The code a root that is a character gets from its strokes: the key, then its first, second
// and last stroke; a single stroke doubles the key and adds LL.
std::set<std::string> codesFromStrokes(const RootChartRow& row)
{
    static const char strokeKey[] = { 0, 'g', 'h', 't', 'y', 'n' };
    std::set<std::string> out;
    std::stringstream alternatives(row.strokes);
    std::string s;
    while (std::getline(alternatives, s, '/')) {
        s.erase(std::remove(s.begin(), s.end(), '|'), s.end());
        if (row.HasFlag("L5") && s.find('5') != std::string::npos) {
            s.erase(s.find('5'), 1);
            s += '5';
        }
        std::string code(1, row.key);
        if (s.size() == 1)
            code += std::string(1, row.key) + "ll";
        else
            code += std::string { strokeKey[s[0] - '0'], strokeKey[s[1] - '0'] };
        if (s.size() > 2)
            code += strokeKey[s.back() - '0'];
        out.insert(code);
    }
    return out;
}

}

class tst_datagen : public QObject {
    Q_OBJECT

    DataTables tables;
    WubiSource wubi;
    PinyinSource pinyin;
    std::vector<RootChartRow> roots;
    PinyinOverrides overrides;
    TextFrequency text;
    StandardList standard;

    // Each character of the character table with its record index.
    std::map<std::string, int> wbIndex;

    std::string wbField(int r, int from, int to) const { return RecordField(tables.wb.text(), 28, r, from, to); }
    std::string wbCharacter(int r) const { return utf8FromGbk(wbField(r, 25, 26)); }
    std::vector<std::string> wbCodes(int r) const
    {
        std::vector<std::string> codes;
        for (int f = 0; f < 4; ++f)
            codes.push_back(CleanField(wbField(r, 1 + 4 * f, 4 + 4 * f)));
        return codes;
    }
    std::set<std::string> sourceCodes(const std::string& character) const
    {
        std::set<std::string> out;
        for (const std::string& code : wubi.codes.at(character))
            out.insert(upper(code));
        return out;
    }
    // Who owns each short code, as the dictionary gives them: the one-letter codes, and the
    // two-letter codes of characters that also have a longer code.
    std::map<std::string, std::set<std::string>> shortCodeOwners;

private slots:
    void initTestCase()
    {
        QCOMPARE(LoadDataTables(QUILLADO_BIN_DIR, tables), LoadOutcome::Loaded);
        wubi = ReadWubiSource(QUILLADO_WUBI_DICT);
        pinyin = ReadPinyinSource(QUILLADO_PINYIN_DICT);
        roots = ReadRootChart(QUILLADO_ROOTS_CHART);
        overrides = ReadPinyinOverrides(QUILLADO_PINYIN_OVERRIDES);
        text = ReadTextFrequency(QUILLADO_TEXT_FREQUENCY);
        standard = ReadStandardList(QUILLADO_STANDARD_LIST);
        for (int r = 0; r < tables.wb.count; ++r)
            wbIndex[wbCharacter(r)] = r;
        for (const auto& [character, codes] : wubi.codes) {
            const bool hasLonger
                = std::any_of(codes.begin(), codes.end(), [](const std::string& c) { return c.size() > 2; });
            for (const std::string& code : codes)
                if (code.size() == 1 || (code.size() == 2 && hasLonger))
                    shortCodeOwners[upper(code)].insert(character);
        }
    }

    void counts()
    {
        int gbkRoots = 0;
        for (const RootChartRow& row : roots)
            gbkRoots += !row.IsDescription() && gbkFromUtf8(row.root).size() == 2;
        QCOMPARE(tables.wb.count, 2436);
        QCOMPARE(tables.wb1.count, 25);
        QCOMPARE(tables.wb2.count, 616);
        QCOMPARE(tables.wbzg.count, gbkRoots);
        QCOMPARE(tables.py.count, 3755);
        QCOMPARE(int(wbIndex.size()), 2436); // no character twice
    }

    void noZeroByteAndWholeBlocks()
    {
        for (TableKind kind : { TableKind::Wb, TableKind::Wb1, TableKind::Wb2, TableKind::Wbzg, TableKind::Py }) {
            const Table& t = tables.of(kind);
            const TableFormat& f = FormatOf(kind);
            QCOMPARE(t.text().size(), t.buffer.size() - 1);
            if (f.enciphered) {
                const std::string file = readAll(QStringLiteral(QUILLADO_BIN_DIR "/") + f.fileName);
                QCOMPARE(file.size() % 8, size_t(0));
                QCOMPARE(file.size(), t.text().size());
            }
        }
        // The root table's content holds exactly one record more than the draw may reach.
        QCOMPARE(int(tables.wbzg.text().size() / 5), tables.wbzg.count + 1);
    }

    void characterCodes()
    {
        for (int r = 0; r < tables.wb.count; ++r) {
            const std::string character = wbCharacter(r);
            QVERIFY2(wubi.codes.count(character), character.c_str());
            const std::vector<std::string> codes = wbCodes(r);
            std::set<std::string> inRecord;
            for (const std::string& code : codes)
                if (!code.empty())
                    inRecord.insert(code);
            QVERIFY2(inRecord == sourceCodes(character), character.c_str());
            // The full code first (the picture shows it), then the short codes from the shortest.
            for (size_t i = 2; i < codes.size(); ++i)
                QVERIFY2(codes[i].empty() || codes[i].size() > codes[i - 1].size(), character.c_str());
            for (size_t i = 1; i < codes.size(); ++i)
                QVERIFY2(codes[i].size() < codes[0].size(), character.c_str());
            QCOMPARE(wbField(r, 17, 24), std::string(8, ' '));
            QCOMPARE(wbField(r, 27, 28), std::string(2, ' '));
        }
    }

    void levelOneCodes()
    {
        for (int r = 0; r < tables.wb1.count; ++r) {
            const std::string character = utf8FromGbk(RecordField(tables.wb1.text(), 5, r, 1, 2));
            const std::string code = CleanField(RecordField(tables.wb1.text(), 5, r, 3, 3));
            QCOMPARE(int(code.size()), 1);
            QVERIFY2(shortCodeOwners[code] == std::set<std::string> { character }, (character + " " + code).c_str());
            // The level-1 characters open the character table, in the same order.
            QCOMPARE(wbCharacter(r), character);
            const std::vector<std::string> codes = wbCodes(r);
            QVERIFY(std::find(codes.begin(), codes.end(), code) != codes.end());
        }
    }

    void levelTwoCodes()
    {
        std::set<int> outside;
        std::set<std::string> seenCodes;
        for (int r = 0; r < tables.wb2.count; ++r) {
            const std::string character = utf8FromGbk(RecordField(tables.wb2.text(), 14, r, 1, 2));
            const std::string code = CleanField(RecordField(tables.wb2.text(), 14, r, 3, 4));
            QCOMPARE(int(code.size()), 2);
            QVERIFY(seenCodes.insert(code).second);
            QVERIFY2(shortCodeOwners[code] == std::set<std::string> { character }, (character + " " + code).c_str());
            const int picture = ParsePictureNumber(RecordField(tables.wb2.text(), 14, r, 9, 12));
            const std::string field = RecordField(tables.wb2.text(), 14, r, 9, 12);
            QVERIFY2(field.back() != ' ', field.c_str()); // right-aligned
            if (picture >= 1 && picture <= 2436) {
                QCOMPARE(wbCharacter(picture - 1), character);
                const std::vector<std::string> codes = wbCodes(picture - 1);
                QVERIFY(std::find(codes.begin(), codes.end(), code) != codes.end());
            } else {
                QVERIFY2(picture >= 3000 && picture <= 3071, field.c_str());
                QVERIFY(!wbIndex.count(character));
                QVERIFY(outside.insert(picture).second);
            }
        }
        QCOMPARE(int(outside.size()), 72);
    }

    // The characters of GB2312 that have a Wubi code, most frequent in text first (ties by
    // GBK code, as the generator breaks them).
    std::vector<std::string> gb2312ByFrequency() const
    {
        std::vector<std::pair<std::string, std::string>> byGbk; // gbk, character
        for (const auto& [character, codes] : wubi.codes) {
            const std::string gbk = gbkFromUtf8(character);
            const auto hi = gbk.size() == 2 ? static_cast<unsigned char>(gbk[0]) : 0;
            if (hi >= 0xB0 && hi <= 0xF7 && static_cast<unsigned char>(gbk[1]) >= 0xA1)
                byGbk.emplace_back(gbk, character);
        }
        std::stable_sort(byGbk.begin(), byGbk.end());
        std::stable_sort(byGbk.begin(), byGbk.end(),
            [&](const auto& a, const auto& b) { return text.Of(a.second) > text.Of(b.second); });
        std::vector<std::string> out;
        for (const auto& entry : byGbk)
            out.push_back(entry.second);
        return out;
    }

    bool isLevel2ShortCodeCharacter(const std::string& character) const
    {
        for (const auto& [code, owners] : shortCodeOwners)
            if (code.size() == 2 && owners.count(character))
                return true;
        return false;
    }

    void frequencyCoverage()
    {
        const std::vector<std::string> ranked = gb2312ByFrequency();
        QVERIFY(ranked.size() > 6000);
        // Every one of the 1000 most frequent is in, unless the standard list does not count
        // it among the common characters (襄, frequent through place names).
        int top1000 = 0, top2000 = 0, common = 0;
        for (size_t i = 0; i < 2000; ++i) {
            const bool in = wbIndex.count(ranked[i]);
            top1000 += i < 1000 && in;
            top2000 += in;
            if (i < 1000 && !in)
                QVERIFY2(standard.Level(ranked[i]) != 1 || !IsGb2312Level1(gbkFromUtf8(ranked[i])), ranked[i].c_str());
        }
        QVERIFY2(top1000 >= 999, QByteArray::number(top1000));
        QVERIFY2(top2000 >= 1960, QByteArray::number(top2000)); // 98 %
        // Among the common characters the table holds the 2000 most frequent without a gap.
        for (const std::string& character : ranked) {
            if (common == 2000)
                break;
            if (standard.Level(character) != 1 || !IsGb2312Level1(gbkFromUtf8(character)))
                continue;
            ++common;
            QVERIFY2(wbIndex.count(character), character.c_str());
        }
    }

    void characterChoice_data()
    {
        QTest::addColumn<QString>("characters");
        QTest::addColumn<bool>("inside");
        // Common words' characters that a typing-frequency ranking left out.
        QTest::addRow("frequent in text") << "况究概括毫虑睛督疗迫础努侵迅络违援汽障彻描详碍" << true;
        QTest::addRow("interjections, Cantonese") << "吖叻噻嘞诶睇乜咩嗲靓喵煲" << false;
        QTest::addRow("name characters") << "闫妍媛" << false;
        QTest::addRow("traditional forms") << "後麽於" << false;
    }

    void characterChoice()
    {
        QFETCH(QString, characters);
        QFETCH(bool, inside);
        for (const QChar c : characters)
            QVERIFY2(bool(wbIndex.count(QString(c).toStdString())) == inside, qPrintable(QString(c)));
    }

    void commonCharactersOnly()
    {
        int forced = 0;
        for (int r = 0; r < tables.wb.count; ++r) {
            const std::string character = wbCharacter(r);
            QVERIFY2(IsGb2312Level1(gbkFromUtf8(character)), character.c_str());
            // The standard list holds simplified forms only, so no traditional form gets in.
            QVERIFY2(standard.Level(character) != 0, character.c_str());
            if (standard.Level(character) != 1) {
                QVERIFY2(isLevel2ShortCodeCharacter(character), character.c_str());
                ++forced;
            }
        }
        QVERIFY(forced < 10);
    }

    void orderByTextFrequency()
    {
        // After the level-1 characters, most frequent first.
        for (int r = 26; r < tables.wb.count; ++r)
            QVERIFY2(text.Of(wbCharacter(r - 1)) >= text.Of(wbCharacter(r)), wbCharacter(r).c_str());
        // The level-2 characters left out are the least frequent ones.
        std::int64_t leftOutMost = 0, insideLeast = INT64_MAX;
        for (int r = 0; r < tables.wb2.count; ++r) {
            const std::string character = utf8FromGbk(RecordField(tables.wb2.text(), 14, r, 1, 2));
            if (wbIndex.count(character)) {
                if (wbIndex[character] >= 25)
                    insideLeast = std::min(insideLeast, text.Of(character));
            } else {
                leftOutMost = std::max(leftOutMost, text.Of(character));
            }
        }
        QVERIFY(leftOutMost <= insideLeast);
    }

    void rootsMatchTheDictionary()
    {
        std::map<std::string, const RootChartRow*> chart;
        for (const RootChartRow& row : roots)
            chart[row.root] = &row;
        for (int r = 0; r < tables.wbzg.count; ++r) {
            const std::string root = utf8FromGbk(RecordField(tables.wbzg.text(), 5, r, 1, 2));
            const std::string key = CleanField(RecordField(tables.wbzg.text(), 5, r, 3, 3));
            QVERIFY2(chart.count(root), root.c_str());
            const RootChartRow& row = *chart[root];
            QCOMPARE(key, upper(std::string(1, row.key)));
            const auto it = wubi.codes.find(root);
            if (row.HasFlag("K") || row.HasFlag("C"))
                QVERIFY2(it != wubi.codes.end(), root.c_str());
            if (it == wubi.codes.end())
                continue;
            const std::string full = *std::max_element(it->second.begin(), it->second.end(),
                [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
            // A root that is a character is typed starting with its own key.
            QVERIFY2(full.front() == row.key, (root + " " + full).c_str());
            if (row.HasFlag("K"))
                QCOMPARE(full, std::string(4, row.key));
            else if (row.HasFlag("C"))
                QVERIFY2(codesFromStrokes(row).count(full), (root + " " + full + " " + row.strokes).c_str());
        }
        QCOMPARE(RecordField(tables.wbzg.text(), 5, tables.wbzg.count, 1, 5), std::string(5, ' '));
    }

    void pinyinReadings()
    {
        const std::vector<std::string> level1 = Gb2312Level1();
        for (int r = 0; r < tables.py.count; ++r) {
            const std::string gbk = RecordField(tables.py.text(), 16, r, 13, 14);
            QCOMPARE(gbk, level1[size_t(r)]);
            const std::string character = utf8FromGbk(gbk);
            const std::string reading = CleanField(RecordField(tables.py.text(), 16, r, 1, 8));
            QVERIFY2(!reading.empty() && reading.size() <= 6, character.c_str());
            QVERIFY(std::all_of(reading.begin(), reading.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
            QVERIFY2(reading != "LUE" && reading != "NUE", character.c_str());
            // One of the character's readings in the dictionary (written with v for u-umlaut).
            bool known = false;
            for (const Reading& rd : pinyin.readings.at(character)) {
                std::string p = upper(rd.pinyin);
                if (p == "LUE" || p == "NUE")
                    p[1] = 'V';
                known = known || p == reading;
            }
            QVERIFY2(known, (character + " " + reading).c_str());
            if (overrides.count(character))
                QCOMPARE(reading, upper(overrides.at(character)));
        }
    }

    std::string pyReading(const std::string& character) const
    {
        const std::string gbk = gbkFromUtf8(character);
        for (int r = 0; r < tables.py.count; ++r)
            if (RecordField(tables.py.text(), 16, r, 13, 14) == gbk)
                return CleanField(RecordField(tables.py.text(), 16, r, 1, 8));
        return {};
    }

    void reviewedReadings_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("reading");
        // The dictionary's top reading is wrong for a learner.
        QTest::addRow("咀嚼") << "咀"
                              << "JU";
        QTest::addRow("咳嗽") << "咳"
                              << "KE";
        QTest::addRow("栅栏") << "栅"
                              << "ZHA";
        QTest::addRow("粘贴") << "粘"
                              << "ZHAN";
        // Two common readings, decided by review.
        const char* const reviewed[][2] = { { "长", "CHANG" }, { "剥", "BAO" }, { "薄", "BAO" }, { "弹", "TAN" },
            { "调", "TIAO" }, { "匙", "CHI" }, { "脯", "FU" }, { "貉", "HE" }, { "曝", "BAO" }, { "刹", "CHA" },
            { "谁", "SHUI" }, { "伺", "SI" }, { "爪", "ZHUA" }, { "仔", "ZI" }, { "琢", "ZHUO" }, { "削", "XIAO" },
            { "勒", "LE" }, { "吁", "YU" }, { "桔", "JU" }, { "柞", "ZUO" }, { "蛤", "HA" } };
        for (const auto& [character, reading] : reviewed)
            QTest::addRow("%s", character) << QString::fromUtf8(character) << QString::fromLatin1(reading);
    }

    void reviewedReadings()
    {
        QFETCH(QString, character);
        QFETCH(QString, reading);
        const std::string c = character.toStdString();
        QCOMPARE(QString::fromStdString(pyReading(c)), reading);
        // Every decision is written down with its reason.
        QVERIFY2(overrides.count(c), "not in the reviewed overrides");
        std::ifstream in(QUILLADO_PINYIN_OVERRIDES);
        std::string line;
        bool reasoned = false;
        while (std::getline(in, line))
            if (line.rfind(c + "\t", 0) == 0)
                reasoned = std::count(line.begin(), line.end(), '\t') == 2 && line.size() > line.rfind('\t') + 8;
        QVERIFY2(reasoned, "no reason given");
    }

    void spotChecks_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("reading");
        QTest::addRow("经") << "经" << QStringList { "XCAG", "X" } << "JING";
        QTest::addRow("的") << "的" << QStringList { "RQYY", "R" } << "DE";
        QTest::addRow("国") << "国" << QStringList { "LGYI", "L" } << "GUO";
        QTest::addRow("了") << "了" << QStringList { "BNH", "B" } << "LE";
        QTest::addRow("绿") << "绿" << QStringList { "XVIY", "XV", "XVI" } << "LV";
        QTest::addRow("女") << "女" << QStringList { "VVVV", "VVV" } << "NV";
        QTest::addRow("略") << "略" << QStringList { "LTKG", "LTK" } << "LVE";
        QTest::addRow("薄") << "薄" << QStringList { "AIGF", "AIG" } << "BAO";
    }

    void spotChecks()
    {
        QFETCH(QString, character);
        QFETCH(QStringList, codes);
        QFETCH(QString, reading);
        const std::string c = character.toStdString();
        QVERIFY(wbIndex.count(c));
        const std::vector<std::string> inRecord = wbCodes(wbIndex[c]);
        QCOMPARE(QString::fromStdString(inRecord[0]), codes[0]);
        for (const QString& code : codes)
            QVERIFY2(
                std::find(inRecord.begin(), inRecord.end(), code.toStdString()) != inRecord.end(), qPrintable(code));
        const std::string gbk = gbkFromUtf8(c);
        bool found = false;
        for (int r = 0; r < tables.py.count; ++r) {
            if (RecordField(tables.py.text(), 16, r, 13, 14) == gbk) {
                QCOMPARE(QString::fromStdString(CleanField(RecordField(tables.py.text(), 16, r, 1, 8))), reading);
                found = true;
            }
        }
        QVERIFY(found);
    }

    void pictureList()
    {
        std::ifstream in(QUILLADO_PICTURE_LIST);
        std::string line;
        std::vector<int> numbers;
        while (std::getline(in, line)) {
            std::stringstream fields(line);
            std::string number, character, full, shown;
            std::getline(fields, number, '\t');
            std::getline(fields, character, '\t');
            std::getline(fields, full, '\t');
            std::getline(fields, shown, '\t');
            const int n = std::stoi(number);
            numbers.push_back(n);
            const std::set<std::string> codes = sourceCodes(character);
            QVERIFY2(codes.count(upper(full)), line.c_str());
            for (const std::string& code : codes)
                QVERIFY2(code.size() <= full.size(), line.c_str());
            if (n <= 2436) {
                QCOMPARE(character, wbCharacter(n - 1));
                QCOMPARE(upper(full), wbCodes(n - 1)[0]);
                QCOMPARE(shown, full);
            } else {
                QCOMPARE(int(shown.size()), 2);
                QVERIFY(shortCodeOwners[upper(shown)] == std::set<std::string> { character });
            }
        }
        QCOMPARE(int(numbers.size()), 2436 + 72);
        for (int i = 0; i < 2436; ++i)
            QCOMPARE(numbers[size_t(i)], i + 1);
        for (int i = 0; i < 72; ++i)
            QCOMPARE(numbers[size_t(2436 + i)], 3000 + i);
    }

    void reproducible()
    {
        QTemporaryDir dir;
        QProcess generator;
        generator.start(DATAGEN_EXECUTABLE,
            { "--wubi", QUILLADO_WUBI_DICT, "--pinyin", QUILLADO_PINYIN_DICT, "--roots", QUILLADO_ROOTS_CHART,
                "--overrides", QUILLADO_PINYIN_OVERRIDES, "--text-frequency", QUILLADO_TEXT_FREQUENCY,
                "--standard-list", QUILLADO_STANDARD_LIST, "--out", dir.path(), "--picture-list",
                dir.filePath("picture-list.tsv") });
        QVERIFY(generator.waitForFinished(60000));
        QCOMPARE(generator.exitCode(), 0);
        for (const char* name : { "wb1.dat", "wb2.dat", "wb.dat", "wbzg.dat", "py.dat" })
            QVERIFY2(readAll(dir.filePath(name)) == readAll(QStringLiteral(QUILLADO_BIN_DIR "/") + name), name);
        QVERIFY(readAll(dir.filePath("picture-list.tsv")) == readAll(QUILLADO_PICTURE_LIST));
    }

    void malformedLine_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        const QByteArray header = "---\nname: test\n...\n\n";
        QTest::addRow("wubi code with a digit") << "--wubi" << header + "一\tg\t1\n工\ta1\n" << 6 << "code";
        QTest::addRow("wubi row without code") << "--wubi" << header + "# note\n一\n" << 6 << "tabs";
        QTest::addRow("wubi weight") << "--wubi" << header + "一\tg\tmany\n" << 5 << "weight";
        QTest::addRow("pinyin reading") << "--pinyin" << header + "啊\ta\t10\n啊\tA1\t3\n" << 6 << "reading";
        QTest::addRow("root key") << "--roots"
                                  << QByteArray("# chart\nkey\troot\tstrokes\tflags\tnote\nz\t王\t1121\tK\n") << 3
                                  << "key";
        QTest::addRow("root strokes") << "--roots" << QByteArray("key\troot\tstrokes\tflags\tnote\ng\t王\t1161\tK\n")
                                      << 2 << "strokes";
        QTest::addRow("override reading") << "--overrides" << QByteArray("# note\n了\tLe\n") << 2 << "reading";
        QTest::addRow("word count") << "--text-frequency" << QByteArray("的 318825 uj\n情况 12x n\n") << 2 << "count";
        QTest::addRow("word without count") << "--text-frequency" << QByteArray("的\n") << 1 << "blanks";
        QTest::addRow("standard number") << "--standard-list"
                                         << QByteArray("# Unihan\nU+4E00\tkTGH\t2013:1\nU+4E01\tkTGH\t1\n") << 3
                                         << "2013:number";
        QTest::addRow("standard code point")
            << "--standard-list" << QByteArray("U+4E0G\tkTGH\t2013:2\n") << 1 << "hexadecimal";
    }

    void malformedLine()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, content);
        QFETCH(int, line);
        QFETCH(QString, reason);

        QTemporaryDir dir;
        const QString bad = dir.filePath("bad-input.txt");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QStringList arguments { "--wubi", QUILLADO_WUBI_DICT, "--pinyin", QUILLADO_PINYIN_DICT, "--roots",
            QUILLADO_ROOTS_CHART, "--overrides", QUILLADO_PINYIN_OVERRIDES, "--text-frequency", QUILLADO_TEXT_FREQUENCY,
            "--standard-list", QUILLADO_STANDARD_LIST, "--out", dir.filePath("out"), "--picture-list",
            dir.filePath("out/list.tsv") };
        arguments[arguments.indexOf(option) + 1] = bad;
        QProcess generator;
        generator.start(DATAGEN_EXECUTABLE, arguments);
        QVERIFY(generator.waitForFinished(60000));
        QCOMPARE(generator.exitCode(), 1);
        const QString error = QString::fromUtf8(generator.readAllStandardError());
        QVERIFY2(error.contains(bad + ":" + QString::number(line) + ": "), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        // Nothing is written when a source is bad.
        QVERIFY(!QFile::exists(dir.filePath("out")));
    }

    void parserNamesTheLine()
    {
        std::istringstream in("---\n...\n一\tg\n二\tfgg\t12\tfg\n三\tdg g\n");
        try {
            ParseWubiSource(in, "sample.yaml");
            QFAIL("a code with a blank was accepted");
        } catch (const AppError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                QStringLiteral("sample.yaml:5: the code \"dg g\" is not one to four letters a-z"));
        }
    }

    void textFrequencySumsWords()
    {
        std::istringstream words("情况 10 n\n况 3\n状况况 2 n\nB超 7 n\n");
        const TextFrequency f = ParseTextFrequency(words, "words.txt");
        QCOMPARE(f.Of("况"), std::int64_t(10 + 3 + 2 * 2));
        QCOMPARE(f.Of("情"), std::int64_t(10));
        QCOMPARE(f.Of("超"), std::int64_t(7));
        QCOMPARE(f.Of("B"), std::int64_t(0)); // letters are not characters of the table
        QCOMPARE(f.Of("无"), std::int64_t(0));

        std::istringstream unihan("U+4E00\tkTGH\t2013:1\nU+4E00\tkTotalStrokes\t1\nU+3447\tkTGH\t2013:6602\n"
                                  "U+8944\tkTGH\t2013:6286\nU+5E62\tkTGH\t2013:3500\nU+5B85\tkTGH\t2013:3501\n");
        const StandardList list = ParseStandardList(unihan, "unihan.txt");
        QCOMPARE(list.Level("一"), 1);
        QCOMPARE(list.Level("幢"), 1);
        QCOMPARE(list.Level("宅"), 2);
        QCOMPARE(list.Level("襄"), 2);
        QCOMPARE(list.Level("\xE3\x91\x87"), 3); // U+3447
        QCOMPARE(list.Level("丁"), 0);
    }

    void unsettledTieIsRefused()
    {
        Sources tied { wubi, pinyin, roots, overrides, text, standard };
        tied.pinyin.readings["啊"] = { { "a", 5 }, { "e", 5 } };
        try {
            BuildPracticeData(tied);
            QFAIL("a tie between two readings was settled silently");
        } catch (const AppError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains("啊"), e.what());
        }
    }
};

QTEST_GUILESS_MAIN(tst_datagen)
#include "tst_datagen.moc"
