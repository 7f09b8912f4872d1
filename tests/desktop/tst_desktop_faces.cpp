// SPDX-License-Identifier: GPL-3.0-or-later
// The window's two faces under a real window manager: maximise from the window manager
// leads to the full-screen face for the real screen, 窗口 and 全屏 switch back and forth,
// and after every switch the window is the active one with the learner's focus in place.
#include "tests/TestSupport.h"
#include "tests/desktop/DesktopSupport.h"

#include "app/InputBox.h"
#include "platform/Fonts.h"
#include "session/Judge.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

// A helper's failed check ends the test function too.
#define CHECKED(call)                                                                                                  \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

// Records every size a widget is given.
class SizeLog : public QObject {
public:
    explicit SizeLog(QWidget* w) { w->installEventFilter(this); }
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            sizes << static_cast<QResizeEvent*>(event)->size();
        return false;
    }
};

class TestDesktopFaces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowManagerOffersMaximise();
    void maximiseGivesFullScreenFace_data();
    void maximiseGivesFullScreenFace();
    void otherResizeSnapsBack();
    void singleKeyModeJudgesAfterSwitches();

private:
    bool startSession(WindowFixture& f, int mode);
    void verifyFullScreenFace(TForm1& form);
    void verifyWindowFace(TForm1& form);
    void verifyActive(TForm1& form);
    void verifyActiveWithCaret(TForm1& form);
    XInput x;
    KeyArrivals arrivals;
};

void TestDesktopFaces::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(x.connected(), "no X server with the XTest extension");
    QVERIFY2(desktopHas("wm"), "run through tests/desktop/with-desktop");
    QCOMPARE(x.windowManagerName(), QStringLiteral("Openbox"));
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
}

bool TestDesktopFaces::startSession(WindowFixture& f, int mode)
{
    TForm1& form = *f.form;
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return false;
    form.SetItemIndex(form.RadioGroup1, mode);
    form.SetItemIndex(form.RadioGroup2, 5);
    x.click(form.Button1);
    return QTest::qWaitFor([&] { return form.Button1->text() == QStringLiteral("暂停"); }, 5000);
}

void TestDesktopFaces::verifyActive(TForm1& form)
{
    // The window manager has given the window the X input focus, and Qt agrees.
    QTRY_COMPARE(x.inputFocus(), static_cast<unsigned long>(form.winId()));
    QTRY_VERIFY(form.isActiveWindow());
    // Placed where Qt believes it is, so a click lands on what the test aims at.
    QTRY_COMPARE(x.rootPosition(form.winId()), form.mapToGlobal(QPoint(0, 0)));
}

void TestDesktopFaces::verifyActiveWithCaret(TForm1& form)
{
    CHECKED(verifyActive(form));
    QCOMPARE(QGuiApplication::focusWindow(), form.windowHandle());
    // The box shows its caret only while it holds the focus of the active window.
    QTRY_VERIFY(form.Edit1->hasFocus());
}

// Worked through for a 1920 × 1080 screen: cells of 404 pixels, fonts of 303 points.
void TestDesktopFaces::verifyFullScreenFace(TForm1& form)
{
    QTRY_COMPARE(form.Button6->text(), QStringLiteral("窗口"));
    QTRY_COMPARE(form.geometry(), QRect(0, 0, 1920, 1080));
    const int lefts[] = { 60, 524, 988, 1452 };
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(form.SlotLabel(k)->pos(), QPoint(lefts[k - 1], 338));
        QCOMPARE(form.SlotLabel(k)->font().pixelSize(), PointsToPixels(303));
    }
    QCOMPARE(form.Edit1->pos(), QPoint(890, 1023));
    QCOMPARE(form.Button1->pos(), QPoint(803, 1028));
    QCOMPARE(form.Button6->pos(), QPoint(1114, 1029));
    QCOMPARE(form.Label7->x(), 1746);
}

void TestDesktopFaces::verifyWindowFace(TForm1& form)
{
    QTRY_COMPARE(form.Button6->text(), QStringLiteral("全屏"));
    QTRY_COMPARE(form.size(), QSize(961, 521));
    QCOMPARE(form.Label1->pos(), QPoint(23, 153));
    QCOMPARE(form.Label1->font().pixelSize(), 200);
    QCOMPARE(form.Edit1->pos(), QPoint(411, 463));
    // Centred on the desktop, within a pixel of rounding.
    const QPoint centre = form.screen()->availableGeometry().center();
    QTRY_VERIFY((form.geometry().center() - centre).manhattanLength() <= 2);
}

void TestDesktopFaces::windowManagerOffersMaximise()
{
    WindowFixture f;
    QVERIFY(startSession(f, Mode::WubiChars));
    QTRY_VERIFY(x.allowedActions(f.form->winId()).contains(QStringLiteral("_NET_WM_ACTION_MAXIMIZE_HORZ")));
    QVERIFY(x.allowedActions(f.form->winId()).contains(QStringLiteral("_NET_WM_ACTION_MAXIMIZE_VERT")));
}

void TestDesktopFaces::maximiseGivesFullScreenFace_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("maximise request") << false;
    QTest::newRow("title bar double click") << true;
}

void TestDesktopFaces::maximiseGivesFullScreenFace()
{
    QFETCH(bool, doubleClick);
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(startSession(f, Mode::WubiChars));
    CHECKED(verifyActiveWithCaret(form));
    if (doubleClick) {
        // Openbox's title bar lies above the client area; its middle is free of buttons.
        const QRect frame = form.frameGeometry();
        QVERIFY2(frame.top() < form.geometry().top(), "the window has no title bar");
        x.click(QPoint(frame.center().x(), (frame.top() + form.geometry().top()) / 2), 2);
    } else {
        x.requestMaximise(form.winId());
    }
    CHECKED(verifyFullScreenFace(form));
    CHECKED(verifyActiveWithCaret(form));
    QCOMPARE(form.Button1->text(), QStringLiteral("暂停")); // the session runs on

    x.click(form.Button6); // 窗口
    CHECKED(verifyWindowFace(form));
    CHECKED(verifyActiveWithCaret(form));

    x.click(form.Button6); // 全屏
    CHECKED(verifyFullScreenFace(form));
    CHECKED(verifyActiveWithCaret(form));

    x.click(form.Button6);
    CHECKED(verifyWindowFace(form));
    CHECKED(verifyActiveWithCaret(form));
    QVERIFY2(typeAndWait(x, arrivals, 'q'), "the key never reached the program");
    QCOMPARE(form.Edit1->text(), QStringLiteral("q"));
}

void TestDesktopFaces::otherResizeSnapsBack()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(startSession(f, Mode::WubiChars));
    SizeLog log(&form);
    x.requestResize(form.winId(), 1200, 700);
    // The window manager carried the request out, then the face took its size back.
    QTRY_VERIFY(log.sizes.contains(QSize(1200, 700)));
    QTRY_COMPARE(form.size(), QSize(961, 521));
    QTest::qWait(200);
    QCOMPARE(form.size(), QSize(961, 521));
    QCOMPARE(form.Button6->text(), QStringLiteral("全屏"));
    QCOMPARE(form.Label1->font().pixelSize(), 200);
}

void TestDesktopFaces::singleKeyModeJudgesAfterSwitches()
{
    WindowFixture f;
    TForm1& form = *f.form;
    QVERIFY(startSession(f, Mode::UpperLetters));
    for (int i = 0; i < 2; ++i) {
        x.click(form.Button6);
        if (i == 0)
            CHECKED(verifyFullScreenFace(form));
        else
            CHECKED(verifyWindowFace(form));
        CHECKED(verifyActive(form));
        QVERIFY(form.KeyPreview);
        const std::string item = form.bank.keySlots[3];
        const int hits = form.keyHitCount;
        QVERIFY2(typeAndWait(x, arrivals, item[0]), "the key never reached the program");
        QCOMPARE(form.keyHitCount, hits + 1);
    }
}

QTEST_MAIN(TestDesktopFaces)
#include "tst_desktop_faces.moc"
