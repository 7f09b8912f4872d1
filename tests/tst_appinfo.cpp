// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line and its identity on the desktop: --help and --version answer
// without a display, every other argument is left alone, and the window carries the icon.

#include "app/AppInfo.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

namespace {

struct Answer {
    std::optional<int> status;
    QString text;
};

Answer answer(const QStringList& arguments)
{
    std::vector<QByteArray> bytes { "quillado" };
    for (const QString& a : arguments)
        bytes.push_back(a.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes)
        argv.push_back(b.constData());
    argv.push_back(nullptr);

    std::FILE* out = std::tmpfile();
    Answer result;
    result.status = AppInfo::AnswerCommandLine(int(bytes.size()), argv.data(), out);
    std::rewind(out);
    QByteArray text;
    char chunk[256];
    while (const size_t n = std::fread(chunk, 1, sizeof chunk, out))
        text.append(chunk, qsizetype(n));
    std::fclose(out);
    result.text = QString::fromUtf8(text);
    return result;
}

}

class TestAppInfo : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void programAnswersWithoutDisplay_data();
    void programAnswersWithoutDisplay();
    void identityAndWindowIcon();
};

void TestAppInfo::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QString>("firstLine");
    const QString version = QStringLiteral("Quillado " QUILLADO_EXPECTED_VERSION);
    const QString usage = QStringLiteral("Usage: quillado [--help | --version]");
    QTest::newRow("no arguments") << QStringList() << false << QString();
    QTest::newRow("version") << QStringList { "--version" } << true << version;
    QTest::newRow("help") << QStringList { "--help" } << true << usage;
    QTest::newRow("short help") << QStringList { "-h" } << true << usage;
    QTest::newRow("unknown arguments are ignored")
        << QStringList { "--full-screen", "wb.dat", "-v" } << false << QString();
    QTest::newRow("Qt's own options are left to Qt") << QStringList { "-platform", "offscreen" } << false << QString();
    QTest::newRow("the first of the two wins") << QStringList { "x", "--version", "--help" } << true << version;
    QTest::newRow("no prefix match") << QStringList { "--versions", "--helpful", "version" } << false << QString();
}

void TestAppInfo::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, answers);
    QFETCH(QString, firstLine);
    const Answer a = answer(arguments);
    QCOMPARE(a.status.has_value(), answers);
    if (!answers) {
        QVERIFY(a.text.isEmpty());
        return;
    }
    QCOMPARE(*a.status, 0);
    QCOMPARE(a.text.section(QLatin1Char('\n'), 0, 0), firstLine);
    QVERIFY(a.text.endsWith(QLatin1Char('\n')));
}

void TestAppInfo::programAnswersWithoutDisplay_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::newRow("version") << "--version"
                             << "Quillado " QUILLADO_EXPECTED_VERSION "\n";
    QTest::newRow("help") << "--help"
                          << "Usage: quillado [--help | --version]\n";
}

void TestAppInfo::programAnswersWithoutDisplay()
{
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    // No display and no platform named: a program that made its application object first
    // would abort here.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLADO_BIN_DIR "/quillado"), { argument });
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    QVERIFY2(out.startsWith(expected), qPrintable(out));
    QCOMPARE(program.readAllStandardError(), QByteArray());
}

void TestAppInfo::identityAndWindowIcon()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QVERIFY(app);
    AppInfo::SetApplicationIdentity(*app);
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Pelunor"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillado"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(QUILLADO_EXPECTED_VERSION));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(QUILLADO_EXPECTED_APP_ID));

    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(64, 64).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(64, 64));
    // The red ground of the drawing, and its see-through corner.
    const QColor centreLeft = image.pixelColor(10, 32);
    QVERIFY2(centreLeft.alpha() == 255 && centreLeft.red() > 120 && centreLeft.green() < 80,
        qPrintable(centreLeft.name(QColor::HexArgb)));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);

    // Every window without an icon of its own shows the application's.
    QWidget window;
    QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
}

QTEST_MAIN(TestAppInfo)
#include "tst_appinfo.moc"
