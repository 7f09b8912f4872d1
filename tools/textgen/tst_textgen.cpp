// SPDX-License-Identifier: GPL-3.0-or-later
// The text extraction on hand-made fortune entries, and the texts the build wrote.
#include "tools/datagen/Gbk.h"
#include "tools/textgen/FortuneTexts.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

namespace {
std::string Utf8(const std::string& gbk) { return datagen::GbkToUtf8(gbk).value_or("?"); }

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const std::string poemLine = "床前明月光，疑是地上霜。举头望明月，低头思故乡。"; // 24 characters
}

class TestTextgen : public QObject {
    Q_OBJECT
private slots:
    void poemsWithTitleAndAuthor();
    void lengthsAndCharacterSet();
    void proverbsGathered();
    void builtFileIsWholeAndRepeatable();
};

void TestTextgen::poemsWithTitleAndAuthor()
{
    const std::string file = "\x1b[32m《静夜思・其一》\x1b[m\n\x1b[33m作者：李白\x1b[m\n" + poemLine + "\n　　"
        + poemLine + "  \n\n" + poemLine
        + "\n%\n\x1b[32m题目:《塞上》\x1b[m\n\x1b[33m作者:柳开（９４６－９９９）\x1b[m\n" + poemLine + "\n" + poemLine
        + "\n" + poemLine + "\n%\n";
    const auto texts = textgen::ExtractTexts({ { "f", file, textgen::Source::Kind::Poems } });
    QCOMPARE(texts.size(), std::size_t(2));
    QCOMPARE(Utf8(texts[0].title), std::string("静夜思·其一")); // a GB2312 middle dot
    QCOMPARE(Utf8(texts[0].author), std::string("李白"));
    // Indents and trailing blanks trimmed, empty lines dropped.
    QCOMPARE(Utf8(texts[0].text), poemLine + "\n" + poemLine + "\n" + poemLine);
    QCOMPARE(Utf8(texts[1].title), std::string("塞上"));
    QCOMPARE(Utf8(texts[1].author), std::string("柳开")); // the dates removed
}

void TestTextgen::lengthsAndCharacterSet()
{
    auto poem = [](const std::string& title, const std::string& text) {
        return "\x1b[32m《" + title + "》\x1b[m\n\x1b[33m作者：某\x1b[m\n" + text + "\n%\n";
    };
    std::string longText;
    for (int i = 0; i < 25; ++i)
        longText += poemLine + "\n"; // 600 characters: still kept
    const std::string file = poem("短", poemLine + poemLine) // 48: too short
        + poem("够", poemLine + poemLine + "一二") // 50: kept
        + poem("长", longText) + poem("太长", longText + "一") // 601: too long
        + poem("繁體", poemLine + poemLine + "後來") // traditional characters are not GB2312
        + poem("拉丁", poemLine + poemLine + "ab") // Latin letters in a poem: not a clean passage
        + poem("一二三四五六七八九十一二三四五六七八九十一", poemLine + poemLine + "一二"); // title too long
    const auto texts = textgen::ExtractTexts({ { "f", file, textgen::Source::Kind::Poems } });
    QCOMPARE(texts.size(), std::size_t(2));
    QCOMPARE(Utf8(texts[0].title), std::string("够"));
    QCOMPARE(Utf8(texts[1].title), std::string("长"));
}

void TestTextgen::proverbsGathered()
{
    std::string file = "一个不是谚语的条目。\n\x1b[33m    -- 某人\x1b[m\n%\n";
    for (int i = 0; i < 12; ++i)
        file += "人行千里路，胜读十年书。\n\x1b[33m    --\x1b[32m《谚语》\x1b[m\x1b[m\n%\n"; // 12 characters each
    file += "繁體諺語不要。\n\x1b[33m    --\x1b[32m《谚语》\x1b[m\x1b[m\n%\n";
    const auto texts = textgen::ExtractTexts({ { "f", file, textgen::Source::Kind::Proverbs } });
    // Passages of at most 120 characters: ten sayings, then two (24 characters) too short to keep.
    QCOMPARE(texts.size(), std::size_t(1));
    QCOMPARE(Utf8(texts[0].title), std::string("谚语 1"));
    QCOMPARE(std::count(texts[0].text.begin(), texts[0].text.end(), '\n'), 9);
}

void TestTextgen::builtFileIsWholeAndRepeatable()
{
    const std::string built = ReadAll(QUILLADO_ARTICLES);
    const auto texts = ParseArticleFile(built);
    QVERIFY2(texts.size() >= 150, std::to_string(texts.size()).c_str());
    bool poem = false, proverb = false;
    for (const auto& t : texts) {
        poem |= Utf8(t.title) == "月下独酌" && Utf8(t.author) == "李白";
        proverb |= Utf8(t.title).rfind("谚语", 0) == 0;
    }
    QVERIFY(poem);
    QVERIFY(proverb);

    QTemporaryDir dir;
    const QString out = dir.filePath("again.dat");
    const QString fortunes = QStringLiteral(QUILLADO_FORTUNES_DIR);
    QCOMPARE(QProcess::execute(TEXTGEN_EXECUTABLE,
                 { "--poems", fortunes + "/tang300", "--poems", fortunes + "/song100", "--proverbs",
                     fortunes + "/chinese", "--out", out }),
        0);
    QVERIFY(ReadAll(out.toStdString()) == built);
}

QTEST_GUILESS_MAIN(TestTextgen)
#include "tst_textgen.moc"
