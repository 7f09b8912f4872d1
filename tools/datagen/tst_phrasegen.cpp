// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase and character code tables the build wrote, read back through the program's own
// parser and checked against the Wubi dictionary and the phrase rules.

#include "data/AppError.h"
#include "session/PhraseCode.h"
#include "tools/datagen/Gbk.h"
#include "tools/datagen/PhraseData.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <set>
#include <sstream>

using namespace datagen;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string gbk(const std::string& utf8) { return Utf8ToGbk(utf8).value_or(std::string()); }
std::string utf8(const std::string& gbk) { return GbkToUtf8(gbk).value_or(std::string()); }

// A tiny dictionary in rime's format: header, then rows.
std::vector<RimeRow> rimeRows(const std::string& body)
{
    std::istringstream in("---\nname: test\n...\n" + body);
    return ParseRimeRows(in, "test.dict.yaml");
}

std::vector<ReviewedDisagreement> reviewedRows(const std::string& body)
{
    std::istringstream in(body);
    return ParseReviewedDisagreements(in, "reviewed.tsv");
}

}

class TestPhraseGen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void countsAndOrder();
    void everyCodeIsFormedAndListedByRime();
    void workedExamples_data();
    void workedExamples();
    void oddRimeCodeIsNotTheOneTaken();
    void disagreementsAreTheReviewedOnes();
    void characterTableCoversGb2312();
    void runsAreByteIdentical();
    void unreviewedDisagreementFails();
    void staleReviewFails();
    void tooManyDisagreementsFail();
    void badSourcesAreRejected_data();
    void badSourcesAreRejected();

private:
    std::vector<RimeRow> m_rows;
    std::vector<PhraseRecord> m_phrases;
    std::vector<CharacterCode> m_characters;
    std::map<std::string, std::set<std::string>> m_rimeCodes; // UTF-8 text -> codes
};

void TestPhraseGen::initTestCase()
{
    m_rows = ReadRimeRows(QUILLADO_WUBI_DICT);
    for (const RimeRow& row : m_rows)
        m_rimeCodes[row.text].insert(row.code);
    const std::string dir = QUILLADO_BIN_DIR;
    m_phrases = ParsePhraseTable(readAll(dir + "/wbcz.dat"), "wbcz.dat");
    m_characters = ParseCharacterCodeTable(readAll(dir + "/wbzd.dat"), "wbzd.dat");
}

void TestPhraseGen::countsAndOrder()
{
    int counts[3] = {};
    for (size_t i = 0; i < m_phrases.size(); ++i) {
        const int c = std::min(m_phrases[i].characters, 4) - 2;
        ++counts[c];
        // Classes follow each other, each heaviest first.
        if (i > 0) {
            const int previous = std::min(m_phrases[i - 1].characters, 4) - 2;
            QVERIFY(previous <= c);
            if (previous == c)
                QVERIFY(m_phrases[i - 1].weight >= m_phrases[i].weight);
        }
    }
    QCOMPARE(counts[0], 3000);
    QCOMPARE(counts[1], 600);
    QCOMPARE(counts[2], 600);
    // The most frequent two-character phrase of the dictionary in GB2312 leads.
    QCOMPARE(utf8(m_phrases.front().text), std::string("网站"));
}

void TestPhraseGen::everyCodeIsFormedAndListedByRime()
{
    const std::map<std::string, std::string> full = FullCodes(m_rows);
    std::set<std::string> seen;
    for (const PhraseRecord& p : m_phrases) {
        const std::string text = utf8(p.text);
        QVERIFY2(seen.insert(text).second, text.c_str());
        std::vector<std::string> fullCodes;
        for (int i = 0; i < p.characters; ++i)
            fullCodes.push_back(full.at(utf8(p.text.substr(size_t(i) * 2, 2))));
        QCOMPARE(FormPhraseCode(fullCodes).value_or("-"), p.code);
        QVERIFY2(m_rimeCodes[text].count(p.code), (text + " " + p.code).c_str());
    }
}

void TestPhraseGen::workedExamples_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("code");
    QTest::newRow("two characters") << "工艺"
                                    << "aaan";
    QTest::newRow("three characters") << "共和国"
                                      << "atlg";
    QTest::newRow("four characters") << "操作系统"
                                     << "rwtx";
    QTest::newRow("seven characters, four-plus rule") << "中华人民共和国"
                                                      << "kwwl";
}

void TestPhraseGen::workedExamples()
{
    QFETCH(QString, phrase);
    QFETCH(QString, code);
    const auto it = std::find_if(
        m_phrases.begin(), m_phrases.end(), [&](const PhraseRecord& p) { return p.text == gbk(phrase.toStdString()); });
    QVERIFY2(it != m_phrases.end(), qPrintable(phrase));
    QCOMPARE(QString::fromStdString(it->code), code);
    // By hand: 中 khk, 华 wxf, 人 w, 国 lgy: the first three firsts and the last's first.
    QCOMPARE(FormPhraseCode({ "khk", "wxfj", "wwww", "nav", "awu", "tkg", "lgyi" }).value(), std::string("kwwl"));
    QCOMPARE(SplitPhraseCode("aaan", 2), (std::vector<std::string> { "aa", "an" }));
}

void TestPhraseGen::oddRimeCodeIsNotTheOneTaken()
{
    // rime lists 跟踪 under khkh and an odd kvkp; the rules form khkh from 跟 khve and 踪 khpf.
    QCOMPARE(m_rimeCodes["跟踪"], (std::set<std::string> { "khkh", "kvkp" }));
    const auto rows = rimeRows("跟\tkhve\t5\n踪\tkhpf\t5\n跟踪\tkvkp\t9\n跟踪\tkhkh\t9\n");
    const PhraseData data = ChoosePhrases(rows, {}, { 10, 0, 0 });
    QCOMPARE(data.phrases.size(), size_t(1));
    QCOMPARE(data.phrases[0].code, std::string("khkh"));
    QVERIFY(data.disagreements.empty());
}

void TestPhraseGen::disagreementsAreTheReviewedOnes()
{
    const PhraseData data = BuildPhraseData(m_rows, ReadReviewedDisagreements(QUILLADO_PHRASE_REVIEW));
    std::set<std::string> left;
    for (const PhraseDisagreement& d : data.disagreements)
        left.insert(d.phrase + " " + d.formed);
    QCOMPARE(left, (std::set<std::string> { "版权所有 tsrd", "卡拉OK -" }));
    for (const PhraseRecord& p : m_phrases)
        QVERIFY(p.text != gbk("版权所有"));
}

void TestPhraseGen::characterTableCoversGb2312()
{
    std::map<std::string, std::vector<std::string>> codesOf;
    for (size_t i = 0; i < m_characters.size(); ++i) {
        codesOf[m_characters[i].character].push_back(m_characters[i].code);
        if (i > 0)
            QVERIFY(m_characters[i - 1].weight >= m_characters[i].weight);
    }
    QCOMPARE(codesOf.size(), size_t(6763));
    const std::map<std::string, std::string> full = FullCodes(m_rows);
    for (const auto& [character, codes] : codesOf) {
        const std::string& expected = full.at(utf8(character));
        QVERIFY2(std::count(codes.begin(), codes.end(), expected) == 1, utf8(character).c_str());
        for (const std::string& code : codes)
            QVERIFY(code.size() <= expected.size());
    }
    // Worked: 工 by its level-1 code and its full code; 经 by its level-2 code.
    std::set<std::string> gong(codesOf[gbk("工")].begin(), codesOf[gbk("工")].end());
    QVERIFY(gong.count("a") && gong.count("aaaa"));
    std::set<std::string> jing(codesOf[gbk("经")].begin(), codesOf[gbk("经")].end());
    QVERIFY(jing.count("xc") && jing.count("xcag"));
}

void TestPhraseGen::runsAreByteIdentical()
{
    QTemporaryDir first, second;
    for (QTemporaryDir* dir : { &first, &second }) {
        QProcess run;
        run.start(PHRASEGEN_EXECUTABLE,
            { "--wubi", QUILLADO_WUBI_DICT, "--reviewed", QUILLADO_PHRASE_REVIEW, "--out", dir->path() });
        QVERIFY(run.waitForFinished(120000));
        QCOMPARE(run.exitCode(), 0);
    }
    for (const char* name : { "/wbcz.dat", "/wbzd.dat" }) {
        const std::string a = readAll(first.path().toStdString() + name);
        QVERIFY(!a.empty());
        QVERIFY(a == readAll(second.path().toStdString() + name));
        QVERIFY(a == readAll(std::string(QUILLADO_BIN_DIR) + name));
    }
}

namespace {
// Enough single characters for the phrases below.
const std::string smallDictionary = "工\taaaa\t10\n艺\tanb\t10\n中\tkhk\t10\n华\twxfj\t10\n"
                                    "工艺\taaan\t90\n中华\tkhwx\t80\n";
}

void TestPhraseGen::unreviewedDisagreementFails()
{
    const auto rows = rimeRows(smallDictionary + "艺工\tzzzz\t70\n艺中\tankk\t60\n");
    try {
        ChoosePhrases(rows, {}, { 10, 0, 0 });
        QFAIL("an unreviewed disagreement went through");
    } catch (const AppError& e) {
        QVERIFY2(std::string(e.what()).find("艺中\tformed ankh, rime lists ankk") != std::string::npos, e.what());
    }
}

void TestPhraseGen::staleReviewFails()
{
    const auto rows = rimeRows(smallDictionary);
    try {
        ChoosePhrases(rows, reviewedRows("中华\tkhwx\tonce odd\n"), { 10, 0, 0 });
        QFAIL("a stale review went through");
    } catch (const AppError& e) {
        QVERIFY2(std::string(e.what()).find("中华\tis reviewed (line 1)") != std::string::npos, e.what());
    }
}

void TestPhraseGen::tooManyDisagreementsFail()
{
    // A wrong full code spoils every phrase with the character: six are more than a handful,
    // reviewed or not.
    std::string body = smallDictionary;
    std::string review;
    for (const char* second : { "甲", "乙", "丙", "丁", "戊", "己" }) {
        body += std::string(second) + "\tlhnn\t1\n工" + second + "\taaxx\t5\n";
        review += std::string("工") + second + "\taalh\twrong\n";
    }
    try {
        ChoosePhrases(rimeRows(body), reviewedRows(review), { 10, 0, 0 });
        QFAIL("six disagreements went through");
    } catch (const AppError& e) {
        QVERIFY2(std::string(e.what()).find("6 phrases disagree") != std::string::npos, e.what());
    }
}

void TestPhraseGen::badSourcesAreRejected_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("message");
    QTest::newRow("code with digits") << "工\taa1a\t1\n"
                                      << "test.dict.yaml:4: the code \"aa1a\"";
    QTest::newRow("code too long") << "工\taaaaa\t1\n"
                                   << "test.dict.yaml:4: the code";
    QTest::newRow("weight not a number") << "工\taaaa\tlots\n"
                                         << "test.dict.yaml:4: the weight \"lots\"";
    QTest::newRow("weight too large") << "工\taaaa\t5000000000\n"
                                      << "test.dict.yaml:4: the weight";
    QTest::newRow("one column") << "工\n"
                                << "test.dict.yaml:4: expected text";
}

void TestPhraseGen::badSourcesAreRejected()
{
    QFETCH(QString, body);
    QFETCH(QString, message);
    try {
        rimeRows(body.toStdString());
        QFAIL("a bad row went through");
    } catch (const AppError& e) {
        QVERIFY2(QString::fromStdString(e.what()).startsWith(message), e.what());
    }
}

QTEST_APPLESS_MAIN(TestPhraseGen)
#include "tst_phrasegen.moc"
