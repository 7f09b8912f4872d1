// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/TestSupport.h"

#include "data/PhraseTables.h"
#include "data/Unitcomm.h"

#include <QFile>
#include <QStringDecoder>

MessageCapture::MessageCapture()
{
    Platform::SetMessageSink([this](const Platform::Message& m) { messages.append(m); });
}

MessageCapture::~MessageCapture()
{
    Platform::SetMessageSink({});
}

QStringList MessageCapture::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

std::string Gbk(const std::string& utf8)
{
    return Platform::ToGbk(QString::fromStdString(utf8));
}

namespace {
std::string pad(std::string s, size_t width)
{
    s.resize(width, ' ');
    return s;
}
}

std::string PlainPhrases(const std::vector<KeyedRecord>& records)
{
    std::string out;
    int weight = int(records.size());
    for (const KeyedRecord& r : records)
        out += PhraseRecordBytes({ r.key, std::uint32_t(weight--), Gbk(r.character), 0 });
    return out;
}

std::string PlainCharacterCodes(const std::vector<KeyedRecord>& records)
{
    std::string out;
    int weight = int(records.size());
    for (const KeyedRecord& r : records)
        out += CharacterCodeRecordBytes({ r.key, std::uint32_t(weight--), Gbk(r.character) });
    return out;
}

std::string PlainWb(const std::vector<WbRecord>& records)
{
    std::string out;
    for (const auto& r : records) {
        for (const auto& c : r.codes)
            out += pad(c, 4);
        out += std::string(8, ' ') + pad(Gbk(r.character), 2) + "  ";
    }
    return out;
}

std::string PlainWb1(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.key, 1) + "  ";
    return out;
}

std::string PlainWb2(const std::vector<Wb2Record>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.code, 2) + "    " + pad(r.picture, 4) + "  ";
    return out;
}

std::string PlainWbzg(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(Gbk(r.character), 2) + pad(r.key, 1) + "  ";
    return out + "     ";
}

std::string PlainPy(const std::vector<KeyedRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out += pad(r.key, 8) + "    " + pad(Gbk(r.character), 2) + "  ";
    return out;
}

std::string Encipher(std::string plain)
{
    plain.resize((plain.size() + 7) / 8 * 8, ' ');
    for (size_t p = 0; p < plain.size(); p += 8)
        EncipherBytes(reinterpret_cast<unsigned char*>(plain.data() + p), dataKey);
    return plain;
}

TestTables TestTables::Small()
{
    TestTables t;
    t.wb1 = { { "一", "g" }, { "地", "f" }, { "在", "d" }, { "要", "s" } };
    t.wb2 = { { "五", "gg", "   1" }, { "于", "gf", "   2" }, { "天", "gd", "   3" }, { "末", "gs", "3000" } };
    t.wb = {
        { { "gggg", "g", "", "" }, "一" },
        { { "ggll", "gg", "", "" }, "五" },
        { { "xcag", "x", "xc", "xca" }, "经" },
        { { "lgyi", "l", "lgy", "" }, "国" },
    };
    t.wbzg = { { "王", "g" }, { "土", "f" }, { "大", "d" }, { "木", "s" }, { "月", "e" } };
    t.py = { { "男", "nan" }, { "女", "nv" }, { "庄", "ZHUANG" }, { "了", "le" } };
    t.phrases = { { "中国", "khlg" }, { "工艺", "aaan" }, { "共和国", "atlg" }, { "操作系统", "rwtx" },
        { "中华人民共和国", "kwwl" } };
    t.characterCodes = { { "工", "a" }, { "工", "aaaa" }, { "经", "xcag" }, { "经", "xc" } };
    return t;
}

TestProgramDir::TestProgramDir(const TestTables& t)
{
    writeFile(QStringLiteral("wb1.dat"), PlainWb1(t.wb1));
    writeFile(QStringLiteral("wb2.dat"), PlainWb2(t.wb2));
    writeFile(QStringLiteral("wb.dat"), Encipher(PlainWb(t.wb)));
    writeFile(QStringLiteral("wbzg.dat"), Encipher(PlainWbzg(t.wbzg)));
    writeFile(QStringLiteral("py.dat"), Encipher(PlainPy(t.py)));
    writeFile(QString::fromLatin1(PhraseFileName), PlainPhrases(t.phrases));
    writeFile(QString::fromLatin1(CharacterCodeFileName), PlainCharacterCodes(t.characterCodes));
    Platform::SetProgramDirForTesting(path());
}

TestProgramDir::~TestProgramDir()
{
    Platform::SetProgramDirForTesting(QString());
}

QString TestProgramDir::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void TestProgramDir::writeFile(const QString& name, const std::string& bytes)
{
    QFile f(path() + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), qint64(bytes.size()));
}

void TestProgramDir::remove(const QString& name)
{
    QFile::remove(path() + name);
}

#include "app/InputBox.h"
#include "sound/SoundLibrary.h"

#include <QLabel>
#include <QSettings>
#include <QTest>

WindowFixture::WindowFixture(const TestTables& tables, bool show)
    : dir(tables)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    settingsFile = m_settingsDir.path() + QStringLiteral("/Pelunor/Quillado.conf");
    create(show);
}

WindowFixture::~WindowFixture()
{
    form.reset();
}

std::unique_ptr<SoundBackend> LoadBuiltSoundLibrary()
{
    QString error;
    auto backend = LoadSoundLibrary(QStringLiteral(QUILLADO_BIN_DIR "/"), error);
    if (!error.isEmpty())
        qFatal("the sound library cannot be loaded: %s", qPrintable(error));
    return backend;
}

TForm1& WindowFixture::create(bool show)
{
    form.reset();
    SoundSystem::Seams seams;
    seams.settingsFile = settingsFile;
    if (realSound)
        seams.backend = [this] {
            return std::make_unique<RealSoundWithFakeOutputs>(LoadBuiltSoundLibrary(), [this] { return outputs; });
        };
    else
        seams.backend = FakeSoundBackend::Factory(machine);
    form = std::make_unique<TForm1>(nullptr, seams);
    form->random = RandomSource([this] { return clockValue += clockStep; });
    form->record.path = recordPath();
    form->record.clock = [this] { return recordMs; };
    if (show) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("the window was never exposed");
        // Sound start-up follows the first paint.
        if (!form->terminateRequested() && !QTest::qWaitFor([this] { return form->sound.Begun(); }, 10000))
            qWarning("the sound never began");
    }
    return *form;
}

QString WindowFixture::recordPath() const
{
    return m_dataDir.path() + QStringLiteral("/record.sqlite");
}

void WindowFixture::start(int mode, int time)
{
    form->SetItemIndex(form->RadioGroup1, mode);
    form->SetItemIndex(form->RadioGroup2, time);
    // As a click does: an error the handler raises is reported.
    Platform::RunHandler([this] { form->Button1Click(); });
}

void WindowFixture::type(const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(form->Edit1, Qt::Key_Backspace);
        else if (c == QLatin1Char('\r'))
            QTest::keyClick(form->Edit1, Qt::Key_Return);
        else
            QTest::keyClicks(form->Edit1, QString(c));
    }
}

void WindowFixture::tick(int times)
{
    for (int i = 0; i < times; ++i)
        Platform::RunHandler([this] { form->Timer1Timer(); });
}

void WindowFixture::setWubi(int k, std::array<std::string, 4> codes, const std::string& utf8, int picture)
{
    auto& s = form->bank.wbSlots[size_t(k)];
    for (int i = 0; i < 4; ++i)
        s.codes[size_t(i + 1)] = codes[size_t(i)];
    s.text = Gbk(utf8);
    s.pictureNo = picture;
    s.hintStep = 1;
    form->SlotLabel(k)->setText(QString::fromStdString(utf8));
}

void WindowFixture::setPinyin(int k, const std::string& pinyin, const std::string& utf8)
{
    form->bank.pySlots[size_t(k)] = { pinyin, Gbk(utf8) };
    form->SlotLabel(k)->setText(QString::fromStdString(utf8));
}

#include <QTest>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

struct CaseTimeLimit::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::chrono::steady_clock::time_point deadline = Never();
    static std::chrono::steady_clock::time_point Never() { return std::chrono::steady_clock::now() + std::chrono::hours(24 * 365); }
    std::string name;
    bool quit = false;
};

CaseTimeLimit::CaseTimeLimit()
    : m_shared(std::make_shared<Shared>())
{
    std::thread([shared = m_shared] {
        std::unique_lock lock(shared->mutex);
        while (!shared->quit) {
            if (shared->changed.wait_until(lock, shared->deadline) == std::cv_status::timeout && !shared->quit
                && std::chrono::steady_clock::now() >= shared->deadline) {
                std::fprintf(stderr, "FAIL!  : %s ran past its time limit: it hangs\n", shared->name.c_str());
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }).detach();
}

CaseTimeLimit::~CaseTimeLimit()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->quit = true;
    m_shared->changed.notify_all();
}

void CaseTimeLimit::Arm(int seconds)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->name = std::string(QTest::currentTestFunction() ? QTest::currentTestFunction() : "a test")
        + (QTest::currentDataTag() ? std::string("(") + QTest::currentDataTag() + ")" : std::string());
    m_shared->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    m_shared->changed.notify_all();
}

void CaseTimeLimit::Disarm()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->deadline = Shared::Never();
    m_shared->changed.notify_all();
}
