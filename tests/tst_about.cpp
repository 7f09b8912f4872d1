// SPDX-License-Identifier: GPL-3.0-or-later
// The help menu: the reference files beside the program, the product's web page and the
// About box, plus the reference files the build makes. The desktop's opener is replaced by a
// recorder, so no viewer or browser is ever started.

#include "TestSupport.h"

#include "about/HelpActions.h"
#include "about/Unit2.h"
#include "app/Unit1.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kDescription
    = QStringLiteral("本软件需要在英文输入法状态下进行英文字母、数字键、拼音、86版五笔练习，软件支持音效功能，电脑有声"
                     "音输出，开启后练习效果更佳。"
                     "在五笔练习(拼音训练)中可按键盘上的F1、F2、F3、F4键对应的汉字显示出该汉字的五笔编码(拼音)"
                     "和该汉字的五笔拆解图(直观易理解)，可按多次。"
                     "打字界面有全屏幕和窗口显示两种，本次版本改进打中效果。");

QList<TForm2*> visibleAboutBoxes()
{
    QList<TForm2*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<TForm2*>(w); box && box->isVisible())
            boxes << box;
    return boxes;
}

QString textOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QPushButton*>(w))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title();
    return QStringLiteral("<no text>");
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void helpActionOpensFileBesideProgram_data();
    void helpActionOpensFileBesideProgram();
    void menuEntryOpensFileBesideProgram_data();
    void menuEntryOpensFileBesideProgram();
    void pathWithBlanksAndChineseIsOneWholePath();
    void productPageEntryOpensWebAddress();
    void missingFileShowsNoMessage();

    void aboutEntryTwiceLeavesTwoBoxes();
    void aboutBoxWindow();
    void aboutBoxControls_data();
    void aboutBoxControls();
    void aboutBoxIsCentredOverMainWindow();
    void aboutBoxTextsStayApart();
    void okButtonClosesOnlyItsOwnBox();
    void altOClosesOnlyItsOwnBox();

    void chartIsBuiltAsJpeg_data();
    void chartIsBuiltAsJpeg();
    void documentIsBuiltAsWordFile();

private:
    std::unique_ptr<TForm1> makeMainWindow();

    QTemporaryDir m_configDir;
    std::unique_ptr<TestProgramDir> m_tables;
    QString m_oddDir; // a program directory with blanks and Chinese characters in its path
    QList<QUrl> m_opened;
};

void TestAbout::initTestCase()
{
    QVERIFY(m_configDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configDir.path());
    m_oddDir = m_configDir.path() + QStringLiteral("/Program Files (x86)/五笔 打字 练习/");
    QVERIFY(QDir().mkpath(m_oddDir));
}

void TestAbout::init()
{
    m_tables = std::make_unique<TestProgramDir>();
    m_opened.clear();
    Platform::SetOpenerForTesting([this](const QUrl& url) { m_opened << url; });
}

void TestAbout::cleanup()
{
    Platform::SetOpenerForTesting({});
    for (TForm2* box : visibleAboutBoxes())
        box->close();
    m_tables.reset();
}

std::unique_ptr<TForm1> TestAbout::makeMainWindow()
{
    auto form = std::make_unique<TForm1>();
    form->show();
    return form;
}

void TestAbout::helpActionOpensFileBesideProgram_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("keyboard") << QStringLiteral("标准键盘键位图.jpg");
    QTest::newRow("keypad") << QStringLiteral("数字键盘指法图.jpg");
    QTest::newRow("roots") << QStringLiteral("五笔字根图86版.jpg");
    QTest::newRow("document") << QStringLiteral("五笔字型简述.doc");
}

void TestAbout::helpActionOpensFileBesideProgram()
{
    QFETCH(QString, fileName);
    HelpActions::OpenReferenceFile(fileName);
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(m_opened[0].isLocalFile());
    QCOMPARE(m_opened[0].toLocalFile(), m_tables->path() + fileName);
}

void TestAbout::menuEntryOpensFileBesideProgram_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("N3") << "N3" << QStringLiteral("标准键盘键位图") << QStringLiteral("标准键盘键位图.jpg");
    QTest::newRow("N4") << "N4" << QStringLiteral("数字键盘指法图") << QStringLiteral("数字键盘指法图.jpg");
    QTest::newRow("N861") << "N861" << QStringLiteral("五笔字根图86版") << QStringLiteral("五笔字根图86版.jpg");
    QTest::newRow("N5") << "N5" << QStringLiteral("五笔字型简述") << QStringLiteral("五笔字型简述.doc");
}

void TestAbout::menuEntryOpensFileBesideProgram()
{
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    QFETCH(QString, fileName);
    auto form = makeMainWindow();
    m_opened.clear(); // whatever start-up may have opened is not the menu's doing

    auto* action = form->findChild<QAction*>(entry);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    action->trigger();
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened[0], QUrl::fromLocalFile(m_tables->path() + fileName));
}

void TestAbout::pathWithBlanksAndChineseIsOneWholePath()
{
    auto form = makeMainWindow();
    Platform::SetProgramDirForTesting(m_oddDir);
    m_opened.clear();

    form->findChild<QAction*>(QStringLiteral("N861"))->trigger();
    HelpActions::OpenReferenceFile(QStringLiteral("五笔字型简述.doc"));
    QCOMPARE(m_opened.size(), 2);
    const QString expected[2]
        = { m_oddDir + QStringLiteral("五笔字根图86版.jpg"), m_oddDir + QStringLiteral("五笔字型简述.doc") };
    for (int i = 0; i < 2; ++i) {
        QVERIFY(m_opened[i].isLocalFile());
        QVERIFY(m_opened[i].isValid());
        // One argument, neither split at a blank nor cut at a Chinese character.
        QCOMPARE(m_opened[i].toLocalFile(), expected[i]);
        QVERIFY(m_opened[i].toLocalFile().contains(QStringLiteral("Program Files (x86)/五笔 打字 练习/")));
    }
}

void TestAbout::productPageEntryOpensWebAddress()
{
    auto form = makeMainWindow();
    m_opened.clear();
    auto* action = form->findChild<QAction*>(QStringLiteral("N1"));
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("软件更新"));
    action->trigger();
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened[0], QUrl(QStringLiteral("https://quillado.pelunor.example/")));
    QVERIFY(!m_opened[0].isLocalFile());

    m_opened.clear();
    HelpActions::OpenProductPage();
    QCOMPARE(m_opened, QList<QUrl> { QUrl(QString::fromLatin1(HelpActions::productPageUrl)) });
}

void TestAbout::missingFileShowsNoMessage()
{
    auto form = makeMainWindow();
    MessageCapture messages;
    QVERIFY(!QFile::exists(m_tables->path() + QStringLiteral("五笔字型简述.doc")));

    form->findChild<QAction*>(QStringLiteral("N5"))->trigger();
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(messages.texts().isEmpty());
    // The menu stays usable.
    form->findChild<QAction*>(QStringLiteral("N5"))->trigger();
    QCOMPARE(m_opened.size(), 2);
    QVERIFY(messages.texts().isEmpty());
}

void TestAbout::aboutEntryTwiceLeavesTwoBoxes()
{
    auto form = makeMainWindow();
    auto* action = form->findChild<QAction*>(QStringLiteral("N2"));
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("关于软件说明"));
    QCOMPARE(visibleAboutBoxes().size(), 0);

    action->trigger();
    action->trigger();
    const auto boxes = visibleAboutBoxes();
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[0] != boxes[1]);
    for (TForm2* box : boxes) {
        QVERIFY(!box->isModal());
        QVERIFY(box->isWindow());
        // Owned by the application, not by the main window.
        QVERIFY(!box->parent());
    }
    // Nothing blocks the main window.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(form->isEnabled());
    QVERIFY(m_opened.isEmpty());
}

void TestAbout::aboutBoxWindow()
{
    QWidget* box = HelpActions::ShowAboutBox(nullptr);
    QVERIFY(qobject_cast<TForm2*>(box));
    QCOMPARE(box->objectName(), QStringLiteral("Form2"));
    QCOMPARE(box->windowTitle(), QStringLiteral("关于..."));
    QCOMPARE(box->size(), QSize(351, 330));
    QCOMPARE(box->minimumSize(), QSize(351, 330));
    QCOMPARE(box->maximumSize(), QSize(351, 330));
    const Qt::WindowFlags flags = box->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!box->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(box->font().pixelSize(), 13);
    QCOMPARE(box->font().families().value(0), QStringLiteral("SimSun"));

    auto* label6 = box->findChild<QLabel*>(QStringLiteral("Label6"));
    QVERIFY(label6);
    QCOMPARE(label6->parentWidget()->objectName(), QStringLiteral("GroupBox1"));
    QVERIFY(label6->wordWrap());
    QVERIFY(label6->autoFillBackground());
    QCOMPARE(label6->size(), QSize(341, 146));
    // The whole description fits the group box once wrapped.
    QVERIFY(label6->heightForWidth(341) <= 146);
    QCOMPARE(box->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->size(), QSize(345, 173));
    QCOMPARE(box->findChild<QPushButton*>(QStringLiteral("Button1"))->size(), QSize(75, 25));

    // Label4 lies under the group box.
    auto* label4 = box->findChild<QLabel*>(QStringLiteral("Label4"));
    auto* group = box->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    QCOMPARE(label4->parentWidget(), box);
    QVERIFY(box->children().indexOf(label4) < box->children().indexOf(group));
}

void TestAbout::aboutBoxControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("Label1") << "Label1" << 63 << 32 << QStringLiteral("名称:  Quillado") << 15;
    QTest::newRow("Label2") << "Label2" << 63 << 64 << QStringLiteral("版本:  2019") << 15;
    QTest::newRow("Label5") << "Label5" << 62 << 94 << QStringLiteral("时间:  2019年11月16日") << 15;
    QTest::newRow("Label3") << "Label3" << 63 << 124 << QStringLiteral("制作:  Lumexo") << 15;
    QTest::newRow("Button1") << "Button1" << 247 << 120 << QStringLiteral("确定(&O)") << 13;
    QTest::newRow("GroupBox1") << "GroupBox1" << 0 << 152 << QStringLiteral("说明") << 15;
    QTest::newRow("Label6") << "Label6" << 2 << 24 << kDescription << 15;
    QTest::newRow("Label4") << "Label4" << 82 << 183 << QString() << 15;
}

void TestAbout::aboutBoxControls()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);

    QWidget* box = HelpActions::ShowAboutBox(nullptr);
    auto* w = box->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->pos(), QPoint(left, top));
    QCOMPARE(textOf(w), text);
    QCOMPARE(w->font().pixelSize(), pixelSize);
    // SimSun where it exists, a Song face Debian ships everywhere else.
    const QStringList families = w->font().families();
    QCOMPARE(families.value(0), QStringLiteral("SimSun"));
    QVERIFY(families.contains(QStringLiteral("AR PL UMing CN")));
}

// With the faces we ship, no two texts touch and none runs over a frame: each label's ink
// lies within its own box, the boxes keep a pixel apart, and the description stays inside
// the group's frame, clear of its edges.
void TestAbout::aboutBoxTextsStayApart()
{
    QWidget* box = HelpActions::ShowAboutBox(nullptr);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    if (const QString dir = qEnvironmentVariable("QUILLADO_SCREENSHOTS"); !dir.isEmpty())
        box->grab().save(QDir(dir).filePath(QStringLiteral("about.png")));
    auto* group = box->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    // Where the text of a label is painted, in the box's coordinates.
    auto inkOf = [&](QLabel* label) {
        const QRect inside
            = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
        QRect ink = QFontMetrics(label->font()).boundingRect(inside, flags, label->text());
        return QRect(label->mapTo(box, ink.topLeft()), ink.size());
    };
    QList<QPair<QString, QRect>> texts;
    for (QLabel* label : box->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts.append({ label->objectName(), inkOf(label) });
    texts.append({ QStringLiteral("Button1"), box->findChild<QPushButton*>(QStringLiteral("Button1"))->geometry() });
    for (int i = 0; i < texts.size(); ++i)
        for (int j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i].second.adjusted(-1, -1, 1, 1).intersects(texts[j].second),
                qPrintable(texts[i].first + QStringLiteral(" touches ") + texts[j].first));
    auto* label6 = box->findChild<QLabel*>(QStringLiteral("Label6"));
    // Inside the frame and below its top line, as the style lays the group out.
    const QRect frameInside = QRect(group->mapTo(box, group->contentsRect().topLeft()), group->contentsRect().size());
    // The height the label lays its wrapped lines out in, across its whole inner width.
    const QRect description(label6->mapTo(box, label6->contentsRect().topLeft()),
        QSize(label6->contentsRect().width(), label6->heightForWidth(label6->width())));
    QVERIFY2(frameInside.contains(description),
        qPrintable(QStringLiteral("description %1,%2 %3x%4")
                       .arg(description.x())
                       .arg(description.y())
                       .arg(description.width())
                       .arg(description.height())));
    box->close();
}

void TestAbout::aboutBoxIsCentredOverMainWindow()
{
    auto form = makeMainWindow();
    form->move(40, 30);
    form->findChild<QAction*>(QStringLiteral("N2"))->trigger();
    const auto boxes = visibleAboutBoxes();
    QCOMPARE(boxes.size(), 1);
    const QPoint delta = boxes[0]->geometry().center() - form->geometry().center();
    QVERIFY2(delta.manhattanLength() <= 2, qPrintable(QStringLiteral("off by %1,%2").arg(delta.x()).arg(delta.y())));
}

void TestAbout::okButtonClosesOnlyItsOwnBox()
{
    auto* first = qobject_cast<TForm2*>(HelpActions::ShowAboutBox(nullptr));
    auto* second = qobject_cast<TForm2*>(HelpActions::ShowAboutBox(nullptr));
    QVERIFY(first && second);
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QVERIFY(second->isVisible());
    second->Button1Click();
    QVERIFY(!second->isVisible());
}

void TestAbout::altOClosesOnlyItsOwnBox()
{
    auto* first = qobject_cast<TForm2*>(HelpActions::ShowAboutBox(nullptr));
    auto* second = qobject_cast<TForm2*>(HelpActions::ShowAboutBox(nullptr));
    QVERIFY(first && second);

    second->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(second));
    QTest::keyClick(second, Qt::Key_O, Qt::AltModifier);
    // An accelerator presses the button visibly first, so the click comes a moment later.
    QTRY_VERIFY(!second->isVisible());
    QVERIFY(first->isVisible());

    first->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(!first->isVisible());
}

void TestAbout::chartIsBuiltAsJpeg_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("minWidth");
    QTest::newRow("keyboard") << QStringLiteral("标准键盘键位图.jpg") << 1200;
    QTest::newRow("keypad") << QStringLiteral("数字键盘指法图.jpg") << 800;
    QTest::newRow("roots") << QStringLiteral("五笔字根图86版.jpg") << 1600;
}

void TestAbout::chartIsBuiltAsJpeg()
{
    QFETCH(QString, fileName);
    QFETCH(int, minWidth);
    const QString path = QStringLiteral(QUILLADO_BIN_DIR "/") + fileName;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QVERIFY(image.width() >= minWidth);
    // Readable whole on a 1920 x 1080 screen.
    QVERIFY(image.width() <= 1920);
    QVERIFY(image.height() <= 1080);
}

void TestAbout::documentIsBuiltAsWordFile()
{
    const QString built = QStringLiteral(QUILLADO_BIN_DIR "/五笔字型简述.doc");
    QFile file(built);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(built));
    const QByteArray bytes = file.readAll();
    // A Word 97-2003 file is an OLE2 compound file.
    QVERIFY(bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
    QVERIFY(bytes.size() > 8 * 1024);
    QFile source(QStringLiteral(QUILLADO_SOURCE_DIR "/tools/chartgen/doc/五笔字型简述.doc"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(bytes, source.readAll());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
