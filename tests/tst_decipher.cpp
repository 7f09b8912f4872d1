// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/AppError.h"
#include "data/Tables.h"
#include "data/Unitcomm.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QtTest>
#include <random>

class TestDecipher : public QObject {
    Q_OBJECT
private slots:
    void vectors_data();
    void vectors();
    void inverseRoundTrips();
    void plainSizeIsWholeBlocks_data();
    void plainSizeIsWholeBlocks();
    void shortLastBlockIsZeroPaddedBeforeDeciphering();
    void counts_data();
    void counts();
    void plainTablesIgnoreTrailingBytes();
    void missingEncipheredFileNamesPathAndReason();
    void loadOrderStopsAtMissingPlainTable();
    void loadingIsIndependentOfCurrentDirectory();
    void freeAllReleasesEveryBuffer();
};

static const std::uint32_t testKey[4] = { 0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210 };

void TestDecipher::vectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::addRow("zeros") << QByteArray::fromHex("0000000000000000") << QByteArray::fromHex("7c9facb933b171f2");
    QTest::addRow("ABCDEFGH") << QByteArray::fromHex("4142434445464748") << QByteArray::fromHex("f688682c4ebbcb28");
    QTest::addRow("to ABCDEFGH") << QByteArray::fromHex("8bf9d025353a90be") << QByteArray::fromHex("4142434445464748");
}

void TestDecipher::vectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    DecipherBytes(reinterpret_cast<unsigned char*>(input.data()), testKey);
    QCOMPARE(input.toHex(), expected.toHex());
}

void TestDecipher::inverseRoundTrips()
{
    std::mt19937 gen(12345);
    for (int i = 0; i < 2000; ++i) {
        // std::mt19937 yields 32-bit values in a wider type.
        const auto next = [&gen] { return static_cast<std::uint32_t>(gen()); };
        std::uint32_t key[4] = { next(), next(), next(), next() };
        std::uint32_t block[2] = { next(), next() };
        const std::uint32_t original[2] = { block[0], block[1] };
        EncipherBlock(block, key);
        QVERIFY(block[0] != original[0] || block[1] != original[1]);
        DecipherBlock(block, key);
        QCOMPARE(block[0], original[0]);
        QCOMPARE(block[1], original[1]);
    }
}

void TestDecipher::plainSizeIsWholeBlocks_data()
{
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<int>("plainSize");
    QTest::addRow("empty") << 0 << 0;
    QTest::addRow("one byte") << 1 << 8;
    QTest::addRow("13 bytes") << 13 << 16;
    QTest::addRow("16 bytes") << 16 << 16;
}

void TestDecipher::plainSizeIsWholeBlocks()
{
    QFETCH(int, fileSize);
    QFETCH(int, plainSize);
    Table t;
    DecipherIntoTable(std::string(size_t(fileSize), 'x'), 16, 0, dataKey, t);
    QCOMPARE(int(t.buffer.size()), plainSize + 1);
    QCOMPARE(t.buffer.back(), '\0');
}

void TestDecipher::shortLastBlockIsZeroPaddedBeforeDeciphering()
{
    std::string file = "0123456789ABC"; // 13 bytes
    Table t;
    DecipherIntoTable(file, 16, 0, testKey, t);
    unsigned char last[8] = { '8', '9', 'A', 'B', 'C', 0, 0, 0 };
    DecipherBytes(last, testKey);
    QCOMPARE(QByteArray(t.buffer.data() + 8, 8), QByteArray(reinterpret_cast<char*>(last), 8));
}

void TestDecipher::counts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<int>("count");
    QTest::addRow("wbzg empty") << "wbzg.dat" << 0 << -1;
    QTest::addRow("wbzg 40") << "wbzg.dat" << 40 << 7;
    QTest::addRow("wbzg 48") << "wbzg.dat" << 48 << 8;
    QTest::addRow("wb empty") << "wb.dat" << 0 << 0;
    QTest::addRow("wb 56") << "wb.dat" << 56 << 2;
    QTest::addRow("py 13") << "py.dat" << 13 << 1;
    QTest::addRow("wb1 12") << "wb1.dat" << 12 << 2;
    QTest::addRow("wb2 27") << "wb2.dat" << 27 << 1;
    QTest::addRow("wb1 empty") << "wb1.dat" << 0 << 0;
}

void TestDecipher::counts()
{
    QFETCH(QString, file);
    QFETCH(int, fileSize);
    QFETCH(int, count);
    TestProgramDir dir;
    dir.writeFile(file, std::string(size_t(fileSize), 'a'));
    DataTables tables;
    QCOMPARE(LoadDataTables(dir.path().toStdString(), tables), LoadOutcome::Loaded);
    const std::map<QString, Table*> byName = { { "wb.dat", &tables.wb }, { "wb1.dat", &tables.wb1 },
        { "wb2.dat", &tables.wb2 }, { "wbzg.dat", &tables.wbzg }, { "py.dat", &tables.py } };
    const Table& t = *byName.at(file);
    QCOMPARE(t.count, count);
    QVERIFY(t.allocated());
    QCOMPARE(t.buffer.back(), '\0');
    if (fileSize == 0)
        QCOMPARE(int(t.buffer.size()), 1);
}

void TestDecipher::plainTablesIgnoreTrailingBytes()
{
    TestProgramDir dir;
    dir.writeFile("wb1.dat", Gbk("一g  地f  ") + "xx");
    DataTables tables;
    LoadDataTables(dir.path().toStdString(), tables);
    QCOMPARE(tables.wb1Size, 12);
    QCOMPARE(tables.wb1.count, 2);
    QCOMPARE(std::string(tables.wb1.text()), Gbk("一g  地f  ") + "xx");
}

void TestDecipher::missingEncipheredFileNamesPathAndReason()
{
    TestProgramDir dir;
    dir.remove("wbzg.dat");
    DataTables tables;
    try {
        LoadDataTables(dir.path().toStdString(), tables);
        QFAIL("no error raised");
    } catch (const AppError& e) {
        const QString text = QString::fromUtf8(e.what());
        QVERIFY2(text.contains(dir.path() + "wbzg.dat"), qPrintable(text));
        QVERIFY2(text.contains(QString::fromUtf8(std::strerror(ENOENT))), qPrintable(text));
    }
    QVERIFY(tables.wb.count > 0);
    QVERIFY(!tables.wbzg.allocated());
    QVERIFY(!tables.py.allocated());
    QCOMPARE(tables.wbzg.count, 0);
    QCOMPARE(tables.py.count, 0);
}

void TestDecipher::loadOrderStopsAtMissingPlainTable()
{
    TestProgramDir dir;
    dir.remove("wb1.dat");
    dir.remove("wb2.dat"); // were it opened, the outcome would be the same: check nothing later loads
    DataTables tables;
    QCOMPARE(LoadDataTables(dir.path().toStdString(), tables), LoadOutcome::PlainTableMissing);
    QVERIFY(!tables.wb2.allocated());
    QVERIFY(!tables.wb.allocated());
}

void TestDecipher::loadingIsIndependentOfCurrentDirectory()
{
    TestProgramDir dir;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    DataTables tables;
    QCOMPARE(LoadDataTables(dir.path().toStdString(), tables), LoadOutcome::Loaded);
    QDir::setCurrent(saved);
    QCOMPARE(tables.wb.count, 4);
    QCOMPARE(tables.wbzg.count, 5);
    QCOMPARE(tables.py.count, 4);
}

void TestDecipher::freeAllReleasesEveryBuffer()
{
    TestProgramDir dir;
    DataTables tables;
    LoadDataTables(dir.path().toStdString(), tables);
    tables.freeAll();
    for (const Table* t : { &tables.wb, &tables.wb1, &tables.wb2, &tables.wbzg, &tables.py })
        QVERIFY(!t->allocated());
    tables.freeAll(); // a second release skips what is gone
}

QTEST_GUILESS_MAIN(TestDecipher)
#include "tst_decipher.moc"
