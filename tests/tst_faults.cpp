// SPDX-License-Identifier: GPL-3.0-or-later
// Faults a learner can meet: damaged or missing data files, pictures and sounds, no audio
// device, a settings store that cannot be written, a five-hour session; and a short
// randomized run over the ground the fuzzers cover. Each gives one clear message at most
// and never a crash, a hang or a wrong count.

#include "sound/SoundLibrary.h"
#include "tests/TestSupport.h"

#include "fuzz/Exercise.h"
#include "presentation/Pictures.h"
#include "session/Judge.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/InputBox.h"

#include <QProcess>
#include <QRegularExpression>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const char* const kFiles[] = { "wb1.dat", "wb2.dat", "wb.dat", "wbzg.dat", "py.dat" };

enum class Fault { Missing, Empty, TruncatedOdd, Oversized, Zeros, OtherKey };
const std::uint32_t kOtherKey[4] = { 0x01234567u, 0x89abcdefu, 0xfedcba98u, 0x76543210u };

TableKind KindOf(const QString& file)
{
    for (TableKind kind : { TableKind::Wb, TableKind::Wb1, TableKind::Wb2, TableKind::Wbzg, TableKind::Py })
        if (file == QLatin1String(FormatOf(kind).fileName))
            return kind;
    return TableKind::Wb;
}

std::string ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

bool RealDataExists()
{
    for (const char* name : kFiles)
        if (!QFile::exists(QStringLiteral(QUILLADO_BIN_DIR "/") + QLatin1String(name)))
            return false;
    return true;
}

// The shipped tables where the build made them, else the small test set.
void UseRealData(TestProgramDir& dir)
{
    if (!RealDataExists())
        return;
    for (const char* name : kFiles)
        dir.writeFile(QLatin1String(name), ReadAll(QStringLiteral(QUILLADO_BIN_DIR "/") + QLatin1String(name)));
}

std::string Enciphered(std::string plain, const std::uint32_t key[4])
{
    plain.resize(Exercise::PlainSize(plain.size()), ' ');
    for (size_t p = 0; p < plain.size(); p += 8)
        EncipherBytes(reinterpret_cast<unsigned char*>(plain.data() + p), key);
    return plain;
}

std::string FaultyBytes(Fault fault, const std::string& good, const TableFormat& format)
{
    switch (fault) {
    case Fault::Missing:
    case Fault::Empty:
        return {};
    case Fault::TruncatedOdd: {
        size_t n = good.size() - 1;
        if (n % 2 == 0)
            --n;
        return good.substr(0, n);
    }
    case Fault::Oversized: {
        // Blocks are deciphered one by one, so whole copies of a table stay readable.
        std::string big;
        big.reserve(24u << 20);
        while (big.size() < (24u << 20))
            big += good;
        return big;
    }
    case Fault::Zeros:
        return std::string(std::max<size_t>(good.size(), 64), '\0');
    case Fault::OtherKey: {
        std::string plain = good;
        if (format.enciphered) {
            Table table;
            DecipherIntoTable(good, format.recordSize, 0, dataKey, table);
            plain.assign(table.buffer.data(), table.buffer.size() - 1);
        }
        return Enciphered(plain, kOtherKey);
    }
    }
    return {};
}

int ExpectedCount(const TableFormat& format, size_t fileSize)
{
    const size_t plain = format.enciphered ? Exercise::PlainSize(fileSize) : fileSize;
    return int(plain / size_t(format.recordSize)) + format.countAdjust;
}

bool Idle(const TForm1& form)
{
    return form.Button1->text() == QStringLiteral("开始") && !form.Timer1->isActive() && !form.Button2->isEnabled()
        && !form.RadioGroup1->isHidden() && !form.RadioGroup2->isHidden();
}

bool Running(const TForm1& form)
{
    return form.Button1->text() == QStringLiteral("暂停") && form.Timer1->isActive() && form.RadioGroup1->isHidden();
}

bool Typeable(const std::string& code)
{
    if (code.empty())
        return false;
    for (char c : code)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

// The keys that hit slot 1 in `mode` (lower case, with the closing space the mode needs),
// or nothing when the slot's code is not made of letters.
QString HitKeys(const TForm1& form, int mode)
{
    std::string code;
    bool space = true;
    switch (mode) {
    case Mode::UpperLetters:
    case Mode::LowerLetters:
    case Mode::Digits:
        return Platform::FromGbk(form.bank.keySlots[1]);
    case Mode::Pinyin:
    case Mode::PinyinFollow:
        code = form.bank.pySlots[1].pinyin;
        break;
    case Mode::Roots:
        code = form.bank.wbzgSlots[1].code;
        space = false;
        break;
    case Mode::Level1:
        code = form.bank.wb1Slots[1].code;
        break;
    case Mode::Level2:
        code = form.bank.wb2Slots[1].code;
        break;
    case Mode::WubiChars:
    case Mode::WubiFollow:
        code = form.bank.wbSlots[1].codes[1];
        space = code.size() < 4;
        break;
    }
    if (!Typeable(code))
        return {};
    return QString::fromLatin1(AsciiLower(code).c_str()) + (space ? QStringLiteral(" ") : QString());
}

int HitCount(const TForm1& form, int mode) { return Mode::IsSingleKey(mode) ? form.keyHitCount : form.inputHitCount; }

// Makes `path` one of the special things a learner's folder may hold instead of a file.
enum class Special { Pipe, DevZeroLink, SparseHuge, Folder };

bool MakeSpecial(const QString& path, Special kind)
{
    QFile::remove(path);
    switch (kind) {
    case Special::Pipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Special::DevZeroLink:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Special::SparseHuge: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(2) << 30);
    }
    case Special::Folder:
        return QDir().mkpath(path);
    }
    return false;
}

bool IsPipe(const QString& path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Runs this test program again as a child in `mode` (see main) with `env` added, and gives
// its output; a child still running after `seconds` is killed and fails the case.
struct ChildRun {
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString output;
};

ChildRun RunChild(const QString& program, const QStringList& args, const QStringList& env, int seconds)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, args);
    ChildRun run;
    run.finished = child.waitForFinished(seconds * 1000);
    if (!run.finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    run.exitCode = child.exitCode();
    run.status = child.exitStatus();
    run.output = QString::fromUtf8(child.readAll());
    return run;
}

QString Hex(const std::string& bytes)
{
    return QString::fromLatin1(QByteArray(bytes.data(), qsizetype(bytes.size())).toHex());
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void init() { m_limit.Arm(120); }
    void cleanup() { m_limit.Disarm(); }

    void specialDataFile_data();
    void specialDataFile();
    void musicFileThatIsAPipe();
    void hitSoundThatIsAPipe();
    void settingsThatArePipeFolderOrHuge_data();
    void settingsThatArePipeFolderOrHuge();
    void settingsLinkedToADeviceAsRoot();
    void damagedSettingsAreSaidAsTheyAre();
    void noGStreamerPluginsWithAnAudioDevice();
    void programFolderNamedInGbkOrLatin1_data();
    void programFolderNamedInGbkOrLatin1();
    void smallScreenKeepsTitleAndModesReachable();
    void noChineseFontIsSaidOnce();
    void longResultLineShowsWhole();
    void dataFileFault_data();
    void dataFileFault();
    void pictureMissing_data();
    void pictureMissing();
    void pictureCorrupt_data();
    void pictureCorrupt();
    void musicFileMissing_data();
    void musicFileMissing();
    void musicFileUnplayable();
    void hitSoundMissingOrUnplayable_data();
    void hitSoundMissingOrUnplayable();
    void noAudioDevice();
    void recordLibraryMissing();
    void settingsUnwritable();
    void fiveHourSessionTickByTick();

    void randomTables();
    void randomProgramDirectories();
    void randomPictures();
    void fuzzCorpusStillPasses();

private:
    CaseTimeLimit m_limit;
    // Starts a session in `mode`, types a hit if the data allow one, ticks, asks for every
    // hint and ends the session. Each step may report one message at most.
    void SessionInEveryMode(WindowFixture& f, const QString& file);
};

// ---------------------------------------------------------------- special files

void TestFaults::specialDataFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    const std::pair<Special, const char*> kinds[]
        = { { Special::Pipe, "pipe" }, { Special::DevZeroLink, "link to /dev/zero" },
              { Special::SparseHuge, "sparse 2 GiB" }, { Special::Folder, "folder" } };
    for (const char* file : kFiles)
        for (const auto& [kind, name] : kinds)
            QTest::addRow("%s %s", file, name) << QString::fromLatin1(file) << int(kind);
}

void TestFaults::specialDataFile()
{
    QFETCH(QString, file);
    QFETCH(int, kind);
    WindowFixture f(TestTables::Small(), false);
    QVERIFY(MakeSpecial(f.dir.path() + file, Special(kind)));
    f.messages.clear();
    // Opening a pipe would block here for good: the case's time limit catches that.
    TForm1& form = f.create(false);

    const QString path = f.dir.path() + file;
    const QStringList texts = f.messages.texts();
    QVERIFY2(!texts.isEmpty() && texts[0].contains(path), qPrintable(texts.join('|')));
    if (Special(kind) == Special::SparseHuge)
        QVERIFY2(texts[0].contains(QStringLiteral("2147483648 bytes")), qPrintable(texts[0]));
    else
        QVERIFY2(texts[0].contains(QStringLiteral("not a regular file")), qPrintable(texts[0]));
    const TableKind tableKind = KindOf(file);
    QVERIFY(!form.tables.of(tableKind).allocated());
    if (!FormatOf(tableKind).enciphered) {
        // The failure path of a plain table: its message box, then the program ends.
        QCOMPARE(texts, QStringList({ texts[0], QStringLiteral("打开字库失败！") }));
        QVERIFY(form.terminateRequested());
    } else {
        QCOMPARE(texts.size(), 1);
        QVERIFY(!form.terminateRequested());
        QVERIFY(form.tables.wb1.count > 0);
    }
}

void TestFaults::musicFileThatIsAPipe()
{
    WindowFixture f;
    f.realSound = true;
    f.dir.writeFile(QStringLiteral("Test0.mp3"), ReadAll(QStringLiteral(QUILLADO_BIN_DIR "/Test0.mp3")));
    QVERIFY(MakeSpecial(f.dir.path() + "Test1.mp3", Special::Pipe));
    f.messages.clear();
    // Handing the pipe to the media framework would freeze the window right after it shows.
    f.create();
    QTRY_COMPARE(f.messages.messages.size(), 1);
    QVERIFY2(f.messages.texts()[0].contains(f.dir.path() + "Test1.mp3")
            && f.messages.texts()[0].contains(QStringLiteral("not a regular file")),
        qPrintable(f.messages.texts()[0]));
    f.start(Mode::Digits, 0);
    f.type(QStringLiteral("1"));
    QCOMPARE(f.form->keyHitCount, 1);
    f.form->Button2Click();
    QTest::qWait(100);
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY(IsPipe(f.dir.path() + "Test1.mp3"));
}

void TestFaults::hitSoundThatIsAPipe()
{
    WindowFixture f;
    f.realSound = true;
    f.outputs = 0; // the music plays no part here
    QVERIFY(MakeSpecial(f.dir.path() + "abc.wav", Special::Pipe));
    f.messages.clear();
    f.create();
    f.start(Mode::Digits, 0);
    f.type(QStringLiteral("1234"));
    QCOMPARE(f.form->keyHitCount, 4);
    // A loader thread stuck on the pipe would keep the program alive after it closes.
    f.form->close();
    f.form.reset();
    QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
}

void TestFaults::settingsThatArePipeFolderOrHuge_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("said");
    QTest::addRow("pipe") << int(Special::Pipe) << "not a regular file";
    QTest::addRow("folder") << int(Special::Folder) << "not a regular file";
    QTest::addRow("link to /dev/zero") << int(Special::DevZeroLink) << "not a regular file";
    QTest::addRow("150 MB") << -1 << "157286400 bytes";
}

void TestFaults::settingsThatArePipeFolderOrHuge()
{
    QFETCH(int, kind);
    QFETCH(QString, said);
    WindowFixture f;
    QVERIFY(QDir().mkpath(QFileInfo(f.settingsFile).path()));
    if (kind >= 0) {
        QVERIFY(MakeSpecial(f.settingsFile, Special(kind)));
    } else {
        QFile huge(f.settingsFile);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(150 << 20));
    }
    const QFileInfo before(f.settingsFile);
    f.messages.clear();
    f.create();
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(f.messages.texts()[0].contains(f.settingsFile) && f.messages.texts()[0].contains(said),
        qPrintable(f.messages.texts()[0]));
    QCOMPARE(f.form->sound.playMp3Flag, 1);
    QCOMPARE(f.form->sound.playWavFlag, 1);
    f.form->CheckBox1->click();
    f.form->CheckBox2->click();
    QCOMPARE(f.form->sound.playMp3Flag, 0);
    QCOMPARE(f.form->sound.playWavFlag, 0);
    QCOMPARE(f.messages.messages.size(), 1);
    // Left exactly as it was.
    const QFileInfo after(f.settingsFile);
    QCOMPARE(after.isFile(), before.isFile());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isSymLink(), before.isSymLink());
    if (kind == int(Special::Pipe))
        QVERIFY(IsPipe(f.settingsFile));
    if (kind < 0)
        QCOMPARE(after.size(), qint64(150) << 20);
}

void TestFaults::settingsLinkedToADeviceAsRoot()
{
    if (::geteuid() != 0)
        QSKIP("making a device node needs root");
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    // A node like /dev/null, in a scratch folder: whatever happens, no real device is touched.
    const QString node = scratch.filePath(QStringLiteral("node"));
    QVERIFY(::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0);
    WindowFixture f;
    QVERIFY(QDir().mkpath(QFileInfo(f.settingsFile).path()));
    QFile::remove(f.settingsFile);
    QVERIFY(QFile::link(node, f.settingsFile));
    f.messages.clear();
    f.create();
    f.form->CheckBox1->click();
    f.form->CheckBox1->click();
    f.form.reset();
    struct stat st { };
    QVERIFY(::lstat(QFile::encodeName(node).constData(), &st) == 0);
    QVERIFY2(S_ISCHR(st.st_mode), "the device node was replaced by a file");
    QVERIFY(QFileInfo(f.settingsFile).isSymLink());
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(f.messages.texts()[0].contains(QStringLiteral("not a regular file")), qPrintable(f.messages.texts()[0]));
}

void TestFaults::damagedSettingsAreSaidAsTheyAre()
{
    WindowFixture f;
    QVERIFY(QDir().mkpath(QFileInfo(f.settingsFile).path()));
    std::mt19937 random(936);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = char(random());
    {
        QFile file(f.settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(noise.data(), qint64(noise.size()));
    }
    f.messages.clear();
    f.create();
    QCOMPARE(f.messages.messages.size(), 1);
    const QString text = f.messages.texts()[0];
    QVERIFY2(
        text.contains(QStringLiteral("damaged")) && text.contains(QStringLiteral("written anew")), qPrintable(text));
    QCOMPARE(f.form->sound.playMp3Flag, 1);
    // What the message promised: the next start reads a good store and says nothing.
    f.messages.clear();
    f.create();
    QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
    QSettings store(f.settingsFile, QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("PlayMp3")).toInt(), 1);
    QCOMPARE(store.value(QStringLiteral("PlayWav")).toInt(), 1);
}

void TestFaults::noGStreamerPluginsWithAnAudioDevice()
{
    QTemporaryDir registry;
    QVERIFY(registry.isValid());
    const ChildRun run = RunChild(QCoreApplication::applicationFilePath(), { QStringLiteral("--child-music") },
        { QStringLiteral("GST_PLUGIN_SYSTEM_PATH_1_0="), QStringLiteral("GST_PLUGIN_PATH="),
            QStringLiteral("GST_REGISTRY=") + registry.filePath(QStringLiteral("registry.bin")),
            QStringLiteral("QUILLADO_TEST_DIR=" QUILLADO_BIN_DIR) },
        60);
    QVERIFY2(run.finished, qPrintable(run.output));
    QVERIFY2(run.status == QProcess::NormalExit && run.exitCode == 0, qPrintable(run.output));
    // One message says why, and the session's music steps after it say nothing more.
    QCOMPARE(run.output.count(QStringLiteral("MESSAGE: ")), 1);
    QVERIFY2(run.output.contains(QStringLiteral("MESSAGE: The music cannot play on this machine: GStreamer lacks")),
        qPrintable(run.output));
}

void TestFaults::programFolderNamedInGbkOrLatin1_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addRow("GBK") << QByteArray("\xc1\xb7\xcf\xb0"); // 练习
    QTest::addRow("Latin-1") << QByteArray("caf\xe9");
}

void TestFaults::programFolderNamedInGbkOrLatin1()
{
    QFETCH(QByteArray, name);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QByteArray folder = QFile::encodeName(scratch.path()) + '/' + name;
    QVERIFY(::mkdir(folder.constData(), 0700) == 0);
    // Copies of this test program and the real program, with the tables and the sound library
    // beside them, as a Windows archive unpacks.
    auto copy = [&folder](const QString& from, const QByteArray& to) {
        QFile in(from);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = in.readAll();
        const int fd = ::open((folder + '/' + to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0700);
        if (fd < 0)
            return false;
        const bool whole = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(fd);
        return whole;
    };
    QVERIFY(copy(QCoreApplication::applicationFilePath(), "tst_faults"));
    QVERIFY(::chmod((folder + "/tst_faults").constData(), 0700) == 0);
    QVERIFY(copy(QStringLiteral(QUILLADO_BIN_DIR "/quillado"), "quillado"));
    for (const char* file : { "wb1.dat", "wb2.dat", "wb.dat", "wbzg.dat", "py.dat", "wbcz.dat", "wbzd.dat", "abc.wav",
             "quillado_sound.so" })
        QVERIFY2(copy(QStringLiteral(QUILLADO_BIN_DIR "/") + QLatin1String(file), file), file);

    // The program directory as the program finds it: every table loads, the sound is a file.
    // The folder's name has no QString, so a shell glob names it (the only folder there).
    const QString shell = QStringLiteral("/bin/sh");
    const QString inScratch = QStringLiteral("cd '%1' && exec ./*/").arg(scratch.path());
    const ChildRun run
        = RunChild(shell, { QStringLiteral("-c"), inScratch + QStringLiteral("tst_faults --child-folder") }, {}, 60);
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.output));
    const QRegularExpressionMatch counts
        = QRegularExpression(QStringLiteral("tables (\\d+) (\\d+) (\\d+) (\\d+) (\\d+) loaded")).match(run.output);
    QVERIFY2(counts.hasMatch(), qPrintable(run.output));
    for (int i = 1; i <= 5; ++i)
        QVERIFY2(counts.captured(i).toInt() > 0, qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("hit sound is a file")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("sound library loaded")), qPrintable(run.output));

    // The real program from there: it reaches its first paint (where it saves the switches
    // a fresh user lacks) instead of stopping at 打开字库失败！.
    QTemporaryDir config;
    QProcess quillado;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    quillado.setProcessEnvironment(env);
    quillado.start(shell, { QStringLiteral("-c"), inScratch + QStringLiteral("quillado") });
    QVERIFY(quillado.waitForStarted());
    const QString store = config.path() + "/Pelunor/Quillado.conf";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(store).size() > 0, 30000);
    quillado.terminate();
    quillado.waitForFinished(10000);
}

void TestFaults::smallScreenKeepsTitleAndModesReachable()
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":640,"height":480,"logicalDpi":96}]})");
    file.close();
    const ChildRun run = RunChild(QCoreApplication::applicationFilePath(), { QStringLiteral("--child-geometry") },
        { QStringLiteral("QT_QPA_PLATFORM=offscreen:configfile=") + config }, 60);
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.output));
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("client (-?\\d+) (-?\\d+) modes (-?\\d+) (-?\\d+)")).match(run.output);
    QVERIFY2(m.hasMatch(), qPrintable(run.output));
    // The client area starts below a title bar and right of a border that fit on the screen
    // (centred, it would start at -160, -20).
    QVERIFY2(m.captured(1).toInt() >= 4 && m.captured(2).toInt() >= 30, qPrintable(run.output));
    QVERIFY2(m.captured(3).toInt() >= 0 && m.captured(4).toInt() >= 0, qPrintable(run.output));
}

void TestFaults::noChineseFontIsSaidOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A font configuration with one Latin font and nothing else.
    const QString fonts = dir.filePath(QStringLiteral("fonts.conf"));
    QFile conf(fonts);
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                              "<dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>%1</cachedir></fontconfig>")
                   .arg(dir.filePath(QStringLiteral("cache")))
                   .toUtf8());
    conf.close();
    const ChildRun run = RunChild(QCoreApplication::applicationFilePath(), { QStringLiteral("--child-window") },
        { QStringLiteral("FONTCONFIG_FILE=") + fonts }, 60);
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.output));
    QCOMPARE(run.output.count(QStringLiteral("MESSAGE: No font with Chinese characters")), 1);

    // With the machine's fonts, nothing is said.
    const ChildRun normal
        = RunChild(QCoreApplication::applicationFilePath(), { QStringLiteral("--child-window") }, {}, 60);
    QVERIFY2(normal.finished && normal.exitCode == 0, qPrintable(normal.output));
    QVERIFY2(!normal.output.contains(QStringLiteral("MESSAGE: ")), qPrintable(normal.output));
}

void TestFaults::longResultLineShowsWhole()
{
    WindowFixture f;
    f.start(Mode::WubiChars, 0);
    QVERIFY(Running(*f.form));
    f.form->inputHitCount = 12345;
    f.form->elapsedSeconds = 7;
    f.form->Button2Click();
    QLabel* line = f.form->Label6;
    QVERIFY2(line->text().contains(QStringLiteral("12345")), qPrintable(line->text()));
    QVERIFY(line->width() >= QFontMetrics(line->font()).horizontalAdvance(line->text()));
    QVERIFY2(line->geometry().right() < f.form->width() && line->x() >= 0,
        qPrintable(QStringLiteral("%1 %2").arg(line->x()).arg(line->width())));
    // A short line goes back where the layout puts it.
    f.start(Mode::WubiChars, 0);
    QCOMPARE(line->x(), 596);
}

// ---------------------------------------------------------------- data files

void TestFaults::dataFileFault_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    const std::pair<Fault, const char*> faults[] = { { Fault::Missing, "missing" }, { Fault::Empty, "empty" },
        { Fault::TruncatedOdd, "truncated to an odd size" }, { Fault::Oversized, "oversized" },
        { Fault::Zeros, "zero bytes" }, { Fault::OtherKey, "under another key" } };
    for (const char* file : kFiles)
        for (const auto& [fault, name] : faults)
            QTest::addRow("%s %s", file, name) << QString::fromLatin1(file) << int(fault);
}

void TestFaults::dataFileFault()
{
    QFETCH(QString, file);
    QFETCH(int, fault);
    const TableKind kind = KindOf(file);
    const TableFormat& format = FormatOf(kind);

    WindowFixture f(TestTables::Small(), false);
    UseRealData(f.dir);
    const std::string good = ReadAll(f.dir.path() + file);
    QVERIFY(good.size() > 8);
    std::string bytes;
    if (Fault(fault) == Fault::Missing) {
        f.dir.remove(file);
    } else {
        bytes = FaultyBytes(Fault(fault), good, format);
        f.dir.writeFile(file, bytes);
    }
    f.messages.clear();
    f.music->calls.clear();
    TForm1& form = f.create();

    if (Fault(fault) == Fault::Missing && !format.enciphered) {
        // The program cannot run without its plain tables: one message, then it ends.
        QCOMPARE(f.messages.texts(), QStringList { QStringLiteral("打开字库失败！") });
        QVERIFY(form.terminateRequested());
        QVERIFY(f.music->calls.isEmpty());
        return;
    }
    QVERIFY(!form.terminateRequested());
    if (Fault(fault) == Fault::Missing) {
        QCOMPARE(f.messages.messages.size(), 1);
        QVERIFY2(f.messages.messages[0].text.contains(f.dir.path() + file), qPrintable(f.messages.messages[0].text));
        QCOMPARE(form.tables.of(kind).count, 0);
        QVERIFY(!form.tables.of(kind).allocated());
    } else {
        // Nothing checks a table's content or size at start-up; the count follows the size.
        QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
        QCOMPARE(form.tables.of(kind).count, ExpectedCount(format, bytes.size()));
        QVERIFY(form.tables.of(kind).allocated());
    }
    // The other tables are untouched, except those loaded after a missing one.
    bool afterMissing = false;
    for (const char* other : { "wb1.dat", "wb2.dat", "wb.dat", "wbzg.dat", "py.dat" }) {
        if (file == QLatin1String(other)) {
            afterMissing = Fault(fault) == Fault::Missing;
            continue;
        }
        const TableKind otherKind = KindOf(QLatin1String(other));
        const int expected
            = afterMissing ? 0 : ExpectedCount(FormatOf(otherKind), ReadAll(f.dir.path() + other).size());
        QCOMPARE(form.tables.of(otherKind).count, expected);
    }
    SessionInEveryMode(f, file);
}

void TestFaults::SessionInEveryMode(WindowFixture& f, const QString& file)
{
    TForm1& form = *f.form;
    for (int mode = 0; mode < Mode::Count; ++mode) {
        f.messages.clear();
        f.start(mode, 0);
        if (!Running(form)) {
            // Refused: one message that names the table, and nothing half started.
            QVERIFY2(f.messages.messages.size() == 1,
                qPrintable(QStringLiteral("mode %1: %2").arg(mode).arg(f.messages.texts().join('|'))));
            QVERIFY(Idle(form));
            QVERIFY(!f.messages.messages[0].text.isEmpty());
            continue;
        }
        // Running. Only the guide picture of Wubi follow-typing may be missing.
        QVERIFY2(f.messages.messages.size() <= 1, qPrintable(f.messages.texts().join('|')));
        if (!f.messages.messages.isEmpty())
            QVERIFY2(f.messages.messages[0].text.contains(QStringLiteral("MywbGIF")),
                qPrintable(f.messages.messages[0].text));

        const QString keys = HitKeys(form, mode);
        int before = f.messages.messages.size();
        if (!keys.isEmpty()) {
            f.type(keys);
            // The hit counts once, whatever the table held.
            QVERIFY2(HitCount(form, mode) == 1,
                qPrintable(QStringLiteral("mode %1 keys '%2' count %3").arg(mode).arg(keys).arg(HitCount(form, mode))));
        } else {
            // No root sits on z, so a damaged root table cannot turn this into a hit; in the
            // other modes q stays the probe.
            f.type(mode == Mode::Roots ? QStringLiteral("z") : QStringLiteral("q "));
            QCOMPARE(HitCount(form, mode), 0);
        }
        // A refill may meet a damaged record or picture: one report at most per key.
        QVERIFY(f.messages.messages.size() - before <= keys.size() + 2);
        f.tick(2);
        for (quint16 k = 0; k < 4; ++k) {
            before = f.messages.messages.size();
            Platform::RunHandler([&] { form.Edit1KeyDown(quint16(112 + k)); });
            QVERIFY(f.messages.messages.size() - before <= 1);
        }
        const int count = HitCount(form, mode);
        Platform::RunHandler([&] { form.Button2Click(); });
        QVERIFY(Idle(form));
        QVERIFY2(form.Label6->text().contains(QStringLiteral("总数：%1").arg(count)), qPrintable(form.Label6->text()));
        for (const Platform::Message& m : f.messages.messages)
            QVERIFY(!m.text.isEmpty());
    }
    Q_UNUSED(file);
}

// ---------------------------------------------------------------- pictures

void TestFaults::pictureMissing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addRow("beyond the set") << "9999";
    QTest::addRow("zero") << "   0";
    QTest::addRow("negative") << "  -1";
    QTest::addRow("between the ranges") << "2500";
}

void TestFaults::pictureMissing()
{
    QFETCH(QString, field);
    TestTables tables = TestTables::Small();
    for (Wb2Record& r : tables.wb2)
        r.picture = field.toStdString();
    WindowFixture f(tables);
    f.start(Mode::Level2, 0);
    QVERIFY(Running(*f.form));
    f.messages.clear();
    Platform::RunHandler([&] { f.form->Edit1KeyDown(112); });
    // The hint is shown; the missing picture is reported once; the session goes on.
    const QString number = QString::number(field.trimmed().toInt());
    QCOMPARE(f.messages.texts(), QStringList { QStringLiteral("Resource MywbGIF%1 not found").arg(number) });
    QCOMPARE(f.form->Label5->text(), Platform::FromGbk(f.form->bank.wb2Slots[1].code));
    QVERIFY(Running(*f.form));
    f.type(HitKeys(*f.form, Mode::Level2));
    QCOMPARE(f.form->inputHitCount, 1);
    QCOMPARE(f.messages.messages.size(), 1);

    // A character beyond the drawn set, in Wubi practice.
    f.form->Button2Click();
    f.start(Mode::WubiChars, 0);
    f.form->bank.wbSlots[1].pictureNo = 2437;
    f.messages.clear();
    Platform::RunHandler([&] { f.form->Edit1KeyDown(112); });
    QCOMPARE(f.messages.texts(), QStringList { QStringLiteral("Resource MywbGIF2437 not found") });
    QVERIFY(Running(*f.form));
}

void TestFaults::pictureCorrupt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome"); // 0 either way, 1 refused, 2 decoded
    QFile source(QStringLiteral(QUILLADO_SOURCE_DIR "/fuzz/corpus/gif/MYWBGIF2"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray good = source.readAll();
    QVERIFY(good.startsWith("GIF8"));
    auto with = [&](int at, QByteArray part) { return QByteArray(good).replace(at, part.size(), part); };
    QTest::addRow("good") << good << 2;
    QTest::addRow("empty") << QByteArray() << 1;
    QTest::addRow("signature only") << good.left(6) << 1;
    QTest::addRow("screen only") << good.left(13) << 1;
    QTest::addRow("cut in the palette") << good.left(20) << 1;
    QTest::addRow("cut in the pixels") << good.left(good.size() / 2) << 0;
    QTest::addRow("no trailer") << good.left(good.size() - 1) << 0;
    QTest::addRow("wrong signature") << with(0, "JIF") << 1;
    QTest::addRow("unknown version") << with(0, "GIF00a") << 0;
    QTest::addRow("zero bytes") << QByteArray(good.size(), '\0') << 1;
    QTest::addRow("all ones") << QByteArray(good.size(), '\xff') << 0;
    QTest::addRow("zero-sized screen") << with(6, QByteArray(4, '\0')) << 1;
    QTest::addRow("huge screen") << with(6, QByteArray(4, '\xff')) << 1;
    QTest::addRow("pixels scrambled") << [&] {
        QByteArray b = good;
        for (int i = 40; i < b.size() - 1; i += 3)
            b[i] = char(b[i] ^ 0x5a);
        return b;
    }() << 0;
}

void TestFaults::pictureCorrupt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    try {
        Exercise::Picture(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size()));
    } catch (const Exercise::Broken& e) {
        QFAIL(e.what());
    }
    bool refused = false;
    try {
        const GifPicture picture
            = DecodeGif(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()), "MywbGIF2");
        QVERIFY(picture.width <= 4096 && picture.height <= 4096);
    } catch (const AppError& e) {
        refused = true;
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(QStringLiteral("MywbGIF2: ")), e.what());
    }
    if (outcome != 0)
        QCOMPARE(refused, outcome == 1);
}

// ---------------------------------------------------------------- sound and settings

void TestFaults::musicFileMissing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addRow("Test1.mp3") << "Test1.mp3";
    QTest::addRow("Test0.mp3") << "Test0.mp3";
}

void TestFaults::musicFileMissing()
{
    QFETCH(QString, file);
    const QString real = QStringLiteral(QUILLADO_BIN_DIR "/Test1.mp3");
    if (!QFile::exists(real))
        QSKIP("no music was built");
    WindowFixture f;
    f.realSound = true; // the real player, on a device that claims to exist
    for (const char* name : { "Test1.mp3", "Test0.mp3" })
        if (file != QLatin1String(name))
            f.dir.writeFile(QLatin1String(name), ReadAll(real));
    f.messages.clear();
    f.create();
    // The start music follows the first paint; the player is made before the file is opened.
    QTRY_VERIFY(f.form->sound.Player());
    if (file == QStringLiteral("Test1.mp3")) {
        QCOMPARE(f.messages.messages.size(), 1);
        QVERIFY2(f.messages.messages[0].text.contains(f.dir.path() + file), qPrintable(f.messages.messages[0].text));
    } else {
        QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
    }
    f.messages.clear();
    f.start(Mode::UpperLetters, 0);
    QVERIFY(Running(*f.form));
    f.type(QStringLiteral("a"));
    QCOMPARE(f.form->keyHitCount, 1);
    f.form->Button2Click();
    QTest::qWait(100);
    // A missing file is reported once until it changes: Test0.mp3 at the first Start,
    // Test1.mp3 only at start-up.
    const int expected = file == QStringLiteral("Test0.mp3") ? 1 : 0;
    QCOMPARE(f.messages.messages.size(), expected);
    if (expected)
        QVERIFY2(f.messages.messages[0].text.contains(file), qPrintable(f.messages.messages[0].text));
    QVERIFY(Idle(*f.form));
    // A second session asks for both files again, without another message.
    f.start(Mode::UpperLetters, 0);
    f.form->Button2Click();
    QTest::qWait(100);
    QCOMPARE(f.messages.messages.size(), expected);
}

void TestFaults::musicFileUnplayable()
{
    WindowFixture f;
    f.realSound = true;
    for (const char* name : { "Test1.mp3", "Test0.mp3" })
        f.dir.writeFile(QLatin1String(name), "ID3 but no music follows\n");
    f.messages.clear();
    f.create();
    QTRY_COMPARE_WITH_TIMEOUT(f.messages.messages.size(), 1, 30000);
    QVERIFY2(
        f.messages.messages[0].text.contains(QStringLiteral("Test1.mp3")), qPrintable(f.messages.messages[0].text));
    // The repeat tick does not try the broken track again and again: the failed track is
    // closed, and a tick plays only a stopped one.
    QVERIFY(f.form->sound.Player());
    QCOMPARE(f.form->sound.Player()->GetMode(), MusicPlayer::Mode::NotOpen);
    FireTimer(f.form->Timer2);
    FireTimer(f.form->Timer2);
    QCOMPARE(f.form->sound.Player()->GetMode(), MusicPlayer::Mode::NotOpen);
    QCOMPARE(f.messages.messages.size(), 1);
    f.start(Mode::Digits, 0);
    QVERIFY(Running(*f.form));
    f.type(QStringLiteral("1"));
    QCOMPARE(f.form->keyHitCount, 1);
    QTRY_COMPARE_WITH_TIMEOUT(f.messages.messages.size(), 2, 30000);
    QVERIFY2(
        f.messages.messages[1].text.contains(QStringLiteral("Test0.mp3")), qPrintable(f.messages.messages[1].text));
    FireTimer(f.form->Timer2);
    QCOMPARE(f.messages.messages.size(), 2);
    QVERIFY(Running(*f.form));
}

void TestFaults::hitSoundMissingOrUnplayable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("present");
    QTest::addRow("missing") << QByteArray() << false;
    QTest::addRow("empty") << QByteArray() << true;
    QTest::addRow("not a sound") << QByteArray("RIFF....WAVEjunk") << true;
    QTest::addRow("zero bytes") << QByteArray(4096, '\0') << true;
}

void TestFaults::hitSoundMissingOrUnplayable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, present);
    WindowFixture f;
    f.realSound = true;
    f.outputs = 0; // the music plays no part here; the hit sound asks for no device
    if (present)
        f.dir.writeFile(QStringLiteral("abc.wav"), bytes.toStdString());
    f.messages.clear();
    f.create();
    f.start(Mode::Digits, 0);
    f.type(QStringLiteral("1234"));
    QTest::qWait(200);
    // A hit sound that cannot play is silent, never an error.
    QCOMPARE(f.form->keyHitCount, 4);
    QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
}

void TestFaults::noAudioDevice()
{
    WindowFixture f;
    f.realSound = true;
    f.outputs = 0;
    f.messages.clear();
    f.create();
    QTest::qWait(100);
    f.start(Mode::LowerLetters, 0);
    f.type(QStringLiteral("abcd"));
    f.tick(3);
    f.form->Button1Click(); // pause
    f.form->Button1Click(); // continue
    f.form->Button2Click();
    QTest::qWait(100);
    QCOMPARE(f.form->keyHitCount, 4);
    QVERIFY(!f.form->sound.Player()); // nothing was ever opened
    QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join('|')));
}

// Without the record library nothing is kept, the learner is told once while practising
// and again whenever they ask for the record, and practice itself is untouched.
void TestFaults::recordLibraryMissing()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    WindowFixture f;
    f.form->record.libraryDir = empty.path() + QLatin1Char('/');
    f.messages.clear();
    for (int session = 0; session < 2; ++session) {
        f.start(Mode::LowerLetters, 0);
        f.type(QStringLiteral("abcd"));
        f.tick(3);
        f.form->Button2Click();
        QCOMPARE(f.form->keyHitCount, 4);
        QVERIFY(f.form->Label6->text().contains(QStringLiteral("总数：4个字")));
    }
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(
        f.messages.texts().at(0).contains(QStringLiteral("quillado_record")), qPrintable(f.messages.texts().at(0)));
    QVERIFY(f.messages.texts().at(0).contains(QStringLiteral("练习照常进行")));
    QCOMPARE(f.form->record.store(), nullptr);
    // The drill finds no history and starts as without it.
    f.form->record.setDrillOn(true);
    f.start(Mode::WubiChars, 0);
    QCOMPARE(f.form->Button1->text(), QStringLiteral("暂停"));
    f.form->Button2Click();
    // Asked for, the record says again why there is none, and no window opens.
    f.messages.clear();
    f.form->N6->trigger();
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY(f.messages.texts().at(0).contains(QStringLiteral("quillado_record")));
    QCOMPARE(f.form->record.window(), nullptr);
}

void TestFaults::settingsUnwritable()
{
    QTemporaryDir config;
    QVERIFY(config.isValid());
    // A plain file where the store's folder should be: nobody, not even root, can write it.
    {
        QFile blocker(config.path() + "/Pelunor");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }
    WindowFixture f;
    f.settingsFile = config.path() + "/Pelunor/Quillado.conf";
    f.messages.clear();
    f.create();
    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(
        f.messages.messages[0].text.contains(QStringLiteral("Quillado.conf")), qPrintable(f.messages.messages[0].text));
    QCOMPARE(f.form->sound.playMp3Flag, 1);
    QCOMPARE(f.form->sound.playWavFlag, 1);
    f.form->CheckBox1->click();
    f.form->CheckBox2->click();
    QCOMPARE(f.form->sound.playMp3Flag, 0);
    QCOMPARE(f.form->sound.playWavFlag, 0);
    f.start(Mode::UpperLetters, 0);
    f.type(QStringLiteral("ABC"));
    QCOMPARE(f.form->keyHitCount, 3);
    QCOMPARE(f.messages.messages.size(), 1);
}

// ---------------------------------------------------------------- a long session

void TestFaults::fiveHourSessionTickByTick()
{
    WindowFixture f;
    UseRealData(f.dir);
    f.create();
    f.start(Mode::WubiChars, 7);
    QVERIFY(Running(*f.form));
    QCOMPARE(f.form->testSeconds, 18000);
    int hits = 0;
    for (int second = 1; second <= 18000; ++second) {
        if (second % 100 == 0) {
            const QString keys = HitKeys(*f.form, Mode::WubiChars);
            QVERIFY2(!keys.isEmpty(), "a character without a typeable code");
            f.type(keys);
            QCOMPARE(f.form->inputHitCount, ++hits);
        }
        f.tick();
        if (second % 3600 == 0)
            QCOMPARE(f.form->Label7->text(), QStringLiteral("%1:0:0").arg(second / 3600));
        if (second < 18000 && !Running(*f.form))
            QFAIL(qPrintable(QStringLiteral("the session stopped at second %1").arg(second)));
    }
    QCOMPARE(f.form->Label7->text(), QStringLiteral("5:0:0"));
    QCOMPARE(f.form->elapsedSeconds, 18000);
    QCOMPARE(hits, 180);
    QCOMPARE(f.form->Label6->text(), QStringLiteral("五笔汉字练习：速度：1字/分,总数：180个字。"));
    QVERIFY(Idle(*f.form));
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(f.form->SlotLabel(k)->text(), QStringLiteral("完"));
    QVERIFY(f.messages.messages.isEmpty());
}

// ---------------------------------------------------------------- randomized

namespace {
std::string RealFile(const char* name)
{
    return RealDataExists() ? ReadAll(QStringLiteral(QUILLADO_BIN_DIR "/") + QLatin1String(name)) : std::string();
}

std::string Mutated(std::string bytes, std::mt19937& random)
{
    const int edits = int(random() % 6);
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const size_t at = random() % bytes.size();
        switch (random() % 4) {
        case 0:
            bytes[at] = char(bytes[at] ^ (1 << (random() % 8)));
            break;
        case 1:
            bytes[at] = char(random());
            break;
        case 2:
            bytes.resize(at);
            break;
        default:
            bytes.insert(at, std::string(random() % 9, char(random())));
            break;
        }
    }
    return bytes;
}
}

void TestFaults::randomTables()
{
    std::mt19937 random(20191116);
    const char* names[] = { "wb.dat", "wb1.dat", "wb2.dat", "wbzg.dat", "py.dat" };
    for (int i = 0; i < 3000; ++i) {
        std::string input;
        const int kind = int(random() % 5);
        input += char(kind);
        const bool realKey = random() % 2;
        for (int k = 0; k < 16; ++k)
            input += realKey ? '\0' : char(random());
        std::string content;
        const std::string real = RealFile(names[kind]);
        if (!real.empty() && random() % 2) {
            const size_t from = random() % real.size() / 8 * 8;
            content = Mutated(real.substr(from, random() % 600), random);
        } else {
            content.resize(random() % 300);
            for (char& c : content)
                c = char(random());
        }
        content.resize(std::min<size_t>(content.size(), 0xffff));
        input += char(content.size() >> 8);
        input += char(content.size());
        input += content;
        for (int k = 0; k < 96; ++k)
            input += char(random());
        try {
            Exercise::OneTable(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        } catch (const Exercise::Broken& e) {
            QFAIL(qPrintable(QStringLiteral("%1 for input %2").arg(e.what(), Hex(input))));
        }
    }
}

void TestFaults::randomProgramDirectories()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::mt19937 random(2436);
    for (int i = 0; i < 150; ++i) {
        std::string input;
        for (const char* name : kFiles) {
            std::string content = RealFile(name);
            if (content.empty() || random() % 3 == 0) {
                content.resize(random() % 200);
                for (char& c : content)
                    c = char(random());
            } else {
                content = Mutated(content.substr(0, 2000), random);
            }
            content.resize(std::min<size_t>(content.size(), 0xffff));
            input += char(random() % 7 == 0 ? 0x80 : 0); // now and then the file is missing
            input += char(content.size() >> 8);
            input += char(content.size());
            input += content;
        }
        for (int k = 0; k < 160; ++k)
            input += char(random());
        try {
            Exercise::Directory(
                dir.path().toStdString(), reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        } catch (const Exercise::Broken& e) {
            QFAIL(qPrintable(QStringLiteral("%1 for input %2").arg(e.what(), Hex(input))));
        }
    }
}

void TestFaults::randomPictures()
{
    std::mt19937 random(3071);
    QStringList sources;
    QDirIterator it(QStringLiteral(QUILLADO_SOURCE_DIR "/fuzz/corpus/gif"), QDir::Files);
    while (it.hasNext())
        sources << it.next();
    QVERIFY(!sources.isEmpty());
    for (int i = 0; i < 600; ++i) {
        const std::string bytes = Mutated(ReadAll(sources[int(random() % sources.size())]), random);
        try {
            Exercise::Picture(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const Exercise::Broken& e) {
            QFAIL(qPrintable(QStringLiteral("%1 for input %2").arg(e.what(), Hex(bytes))));
        }
    }
}

// Every input the fuzzers keep (each crash they ever found among them) runs here as well,
// with whatever compiler builds the tests.
void TestFaults::fuzzCorpusStillPasses()
{
    QTemporaryDir dir;
    int inputs = 0;
    for (const char* target : { "tables", "loader", "gif" }) {
        QDirIterator it(QStringLiteral(QUILLADO_SOURCE_DIR "/fuzz/corpus/") + QLatin1String(target), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            const std::string bytes = ReadAll(path);
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            try {
                if (target == std::string_view("tables"))
                    Exercise::OneTable(data, bytes.size());
                else if (target == std::string_view("loader"))
                    Exercise::Directory(dir.path().toStdString(), data, bytes.size());
                else
                    Exercise::Picture(data, bytes.size());
            } catch (const Exercise::Broken& e) {
                QFAIL(qPrintable(QStringLiteral("%1: %2").arg(path, QString::fromUtf8(e.what()))));
            }
            ++inputs;
        }
    }
    QVERIFY(inputs >= 3);
}

namespace {

// The child runs of this program (see RunChild): each prints what it saw and exits.
int RunAsChild(const QString& mode)
{
    MessageCapture messages;
    auto print = [&messages] {
        for (const QString& text : messages.texts())
            std::printf("MESSAGE: %s\n", qPrintable(text));
        std::fflush(stdout);
    };
    if (mode == QLatin1String("--child-music")) {
        // The real sound library on a machine that claims an audio device.
        Platform::SetProgramDirForTesting(qEnvironmentVariable("QUILLADO_TEST_DIR"));
        QTemporaryDir config;
        SoundSystem sound(
            { [] { return std::make_unique<RealSoundWithFakeOutputs>(LoadBuiltSoundLibrary(), [] { return 1; }); },
                config.filePath(QStringLiteral("Quillado.conf")) });
        sound.ReadSwitches();
        sound.Begin();
        for (const char* track : { "Test0.mp3", "Test1.mp3", "Test0.mp3" })
            Platform::RunHandler([&] { sound.PlayMusic(QString::fromLatin1(track)); });
        sound.PauseMusic();
        sound.ResumeMusic();
        sound.Timer2Timer();
        sound.PlayHitSound();
        sound.Release();
        print();
        return 0;
    }
    if (mode == QLatin1String("--child-folder")) {
        DataTables tables;
        std::string refusal;
        const LoadOutcome outcome = LoadDataTables(Platform::ProgramDirPath(), tables, &refusal);
        std::printf("dir %s\ntables %d %d %d %d %d %s\n", qPrintable(Platform::ProgramDir()), tables.wb.count,
            tables.wb1.count, tables.wb2.count, tables.wbzg.count, tables.py.count,
            outcome == LoadOutcome::Loaded ? "loaded" : refusal.c_str());
        if (Platform::IsRegularFile(Platform::ProgramDir() + QStringLiteral("abc.wav")))
            std::printf("hit sound is a file\n");
        QString error;
        LoadSoundLibrary(Platform::ProgramDir(), error);
        std::printf("sound library %s\n", error.isEmpty() ? "loaded" : qPrintable(error));
        print();
        return 0;
    }
    // A window over the real data with a fake sound: --child-geometry prints where it went,
    // --child-window what it said up to its first paint.
    WindowFixture f(TestTables::Small(), false);
    UseRealData(f.dir);
    f.messages.clear();
    f.create();
    if (mode == QLatin1String("--child-geometry")) {
        const QPoint modes = f.form->RadioGroup1->mapToGlobal(QPoint(0, 0));
        std::printf("client %d %d modes %d %d\n", f.form->geometry().x(), f.form->geometry().y(), modes.x(), modes.y());
    }
    for (const QString& text : f.messages.texts())
        std::printf("MESSAGE: %s\n", qPrintable(text));
    std::fflush(stdout);
    f.form.reset();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).startsWith("--child-"))
        return RunAsChild(QString::fromLatin1(argv[1]));
    TestFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_faults.moc"
