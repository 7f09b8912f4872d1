// SPDX-License-Identifier: GPL-3.0-or-later
// The slot items are painted from pictures kept per text, font, size and colour: what shows
// must be exactly what a plain label draws, a hit must show the new colour and then the new
// item, and the kept pictures must stay within their budget.
#include "platform/Fonts.h"
#include "presentation/SlotGlyphs.h"
#include "tests/TestSupport.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QtTest>

namespace {

// A label on a light face, as the window holds the slots.
struct Face {
    QWidget window;
    QLabel* label;
    explicit Face(const QString& text, int pixels = 200, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(240, 240, 240));
        palette.setColor(QPalette::WindowText, Qt::black);
        window.setPalette(palette);
        window.resize(pixels + 20, pixels + 20);
        label = new QLabel(text, &window);
        label->setGeometry(10, 10, pixels, pixels);
        label->setFont(SongFont(pixels));
        label->setAlignment(align);
    }
    QImage shown() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // What the window's backing store holds after the label repainted itself there: unlike a
    // grab, which paints every background afresh, it keeps whatever a paint left untouched.
    QImage onScreen()
    {
        if (!window.isVisible()) {
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                return QImage();
        }
        label->repaint();
        return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

void setColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// The largest difference of any channel of any pixel.
int largestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({ largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)) });
        }
    return largest;
}

int pixelsNear(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green())
                    + std::abs(p.blue() - colour.blue())
                < 30;
        }
    return n;
}

SlotGlyphs* slotGlyphsOf(QObject& window)
{
    for (QObject* child : window.children())
        if (auto* glyphs = dynamic_cast<SlotGlyphs*>(child))
            return glyphs;
    return nullptr;
}

} // namespace

class TestSlotGlyphs : public QObject {
    Q_OBJECT
private slots:
    void drawsWhatTheLabelDraws_data();
    void drawsWhatTheLabelDraws();
    void colourChangeDrawsAgainAndComesBackFromTheCache();
    void hitColourIsPreparedAfterThePaint();
    void cacheStaysWithinItsBudget();
    void labelsItCannotDrawPaintThemselves();
    void opaqueOnlyOnAPlainColour();
    void opaqueLabelNeverShowsWhatWasBehind_data();
    void opaqueLabelNeverShowsWhatWasBehind();
    void windowHitShowsRedThenTheNewItem();
};

void TestSlotGlyphs::drawsWhatTheLabelDraws_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("align");
    QTest::addColumn<QColor>("colour");
    const int topLeft = int(Qt::AlignLeft | Qt::AlignTop);
    QTest::newRow("window face, character") << QStringLiteral("练") << 200 << topLeft << QColor(Qt::black);
    QTest::newRow("window face, red") << QStringLiteral("练") << 200 << topLeft << QColor(255, 0, 0);
    QTest::newRow("window face, letters") << QStringLiteral("l") << 200 << topLeft << QColor(Qt::black);
    QTest::newRow("window face, pinyin") << QStringLiteral("zhuang") << 200 << topLeft << QColor(Qt::black);
    QTest::newRow("full-screen face") << QStringLiteral("键") << 404 << topLeft << QColor(Qt::black);
    QTest::newRow("phrase, two lines centred")
        << QStringLiteral("中华\n人民") << 200 << int(Qt::AlignCenter) << QColor(Qt::black);
}

void TestSlotGlyphs::drawsWhatTheLabelDraws()
{
    QFETCH(QString, text);
    QFETCH(int, pixels);
    QFETCH(int, align);
    QFETCH(QColor, colour);
    Face plain(text, pixels, Qt::Alignment(align));
    Face cached(text, pixels, Qt::Alignment(align));
    setColour(plain.label, colour);
    setColour(cached.label, colour);
    SlotGlyphs glyphs({ cached.label }, {});
    const QImage expected = plain.shown();
    const QImage shown = cached.shown();
    QCOMPARE(glyphs.Cache().Drawn(), 1);
    // Only the blending of edge pixels may differ, by a few levels in 255 (drawn on
    // transparency, then laid on the face).
    QVERIFY2(largestDifference(expected, shown) <= 6, qPrintable(QString::number(largestDifference(expected, shown))));
    QVERIFY(pixelsNear(shown, colour) > 50);
    // A second paint is a copy of the kept picture.
    QCOMPARE(largestDifference(cached.shown(), shown), 0);
    QCOMPARE(glyphs.Cache().Drawn(), 1);
}

void TestSlotGlyphs::colourChangeDrawsAgainAndComesBackFromTheCache()
{
    Face face(QStringLiteral("练"));
    SlotGlyphs glyphs({ face.label }, {});
    const QImage black = face.shown();
    setColour(face.label, QColor(255, 0, 0));
    const QImage red = face.shown();
    QCOMPARE(glyphs.Cache().Drawn(), 2);
    QCOMPARE(pixelsNear(black, QColor(255, 0, 0)), 0);
    QVERIFY(pixelsNear(red, QColor(255, 0, 0)) > 500);
    QCOMPARE(pixelsNear(red, Qt::black), 0);
    setColour(face.label, Qt::black);
    QCOMPARE(largestDifference(face.shown(), black), 0);
    QCOMPARE(glyphs.Cache().Drawn(), 2);
    // Another text or size is another picture.
    face.label->setText(QStringLiteral("习"));
    QVERIFY(largestDifference(face.shown(), black) > 100);
    QCOMPARE(glyphs.Cache().Drawn(), 3);
}

void TestSlotGlyphs::hitColourIsPreparedAfterThePaint()
{
    Face face(QStringLiteral("A"));
    SlotGlyphs glyphs({ face.label }, { QColor(255, 0, 0) });
    face.shown();
    QCOMPARE(glyphs.Cache().Drawn(), 1);
    QVERIFY(!glyphs.Cache().Contains(*face.label, QColor(255, 0, 0)));
    QTRY_VERIFY(glyphs.Cache().Contains(*face.label, QColor(255, 0, 0)));
    QCOMPARE(glyphs.Cache().Drawn(), 2);
    // The hit's paint finds its picture ready.
    setColour(face.label, QColor(255, 0, 0));
    QVERIFY(pixelsNear(face.shown(), QColor(255, 0, 0)) > 300);
    QCOMPARE(glyphs.Cache().Drawn(), 2);
}

void TestSlotGlyphs::cacheStaysWithinItsBudget()
{
    // Room for about six window-face pictures (156 KiB each).
    const qint64 budget = 1024 * 1024;
    Face face(QStringLiteral("一"));
    SlotGlyphs glyphs({ face.label }, { QColor(255, 0, 0) });
    GlyphCache cache(budget);
    const QString characters = QStringLiteral("一二三四五六七八九十百千万亿天地人和中国");
    for (QChar c : characters) {
        face.label->setText(c);
        cache.Pixmap(*face.label, Qt::black);
        QVERIFY(cache.Bytes() <= budget);
    }
    QCOMPARE(cache.Drawn(), int(characters.size()));
    QVERIFY(cache.Count() >= 5 && cache.Count() <= 6);
    // The latest are kept, the oldest went first.
    QVERIFY(cache.Contains(*face.label, Qt::black));
    face.label->setText(characters.left(1));
    QVERIFY(!cache.Contains(*face.label, Qt::black));
    // A picture larger than the whole budget is drawn but never kept.
    GlyphCache tiny(64 * 1024);
    const QPixmap drawn = tiny.Pixmap(*face.label, Qt::black);
    QCOMPARE(drawn.size(), QSize(200, 200));
    QCOMPARE(tiny.Count(), 0);
    // The window's own cache stays bounded through a long phrase drill as well.
    for (int i = 0; i < 200; ++i) {
        face.label->setText(QString::number(i));
        face.shown();
    }
    QVERIFY(glyphs.Cache().Bytes() <= GlyphCache::DefaultBudgetBytes);
    QVERIFY(glyphs.Cache().Count() < 200);
}

void TestSlotGlyphs::labelsItCannotDrawPaintThemselves()
{
    Face face(QStringLiteral("<b>练</b>"));
    SlotGlyphs glyphs({ face.label }, {});
    face.label->setTextFormat(Qt::RichText);
    QVERIFY(pixelsNear(face.shown(), Qt::black) > 100);
    face.label->setText(QStringLiteral("练"));
    face.label->setFrameStyle(QFrame::Box);
    face.shown();
    face.label->setFrameStyle(QFrame::NoFrame);
    face.label->setEnabled(false);
    face.shown();
    QCOMPARE(glyphs.Cache().Drawn(), 0);
}

// A label on a plain colour paints opaquely, with pictures that need no blending; on a
// gradient, under a style sheet, or once its backdrop stops being plain, it lets Qt paint what
// lies behind it, as any label.
void TestSlotGlyphs::opaqueOnlyOnAPlainColour()
{
    {
        Face face(QStringLiteral("练"));
        SlotGlyphs glyphs({ face.label }, {});
        QVERIFY(face.label->testAttribute(Qt::WA_OpaquePaintEvent));
        QCOMPARE(GlyphCache::SolidBackground(*face.label), std::optional<QColor>(QColor(240, 240, 240)));
        face.shown();
        QVERIFY(!glyphs.Cache().Pixmap(*face.label, Qt::black).hasAlphaChannel());
        // The window's background turns into a gradient: the label stops covering it.
        QLinearGradient gradient(0, 0, 0, 220);
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, Qt::blue);
        QPalette palette = face.window.palette();
        palette.setBrush(QPalette::Window, gradient);
        face.window.setPalette(palette);
        QVERIFY(!face.label->testAttribute(Qt::WA_OpaquePaintEvent));
        const QImage shown = face.shown();
        // The gradient shows through around the glyph, and the picture is a transparent one.
        QVERIFY(qBlue(shown.pixel(15, 200)) > qRed(shown.pixel(15, 200)) + 30);
        QVERIFY(glyphs.Cache().Pixmap(*face.label, Qt::black).hasAlphaChannel());
    }
    {
        Face face(QStringLiteral("练"));
        face.window.setStyleSheet(QStringLiteral("QWidget { background: #f0f0f0; }"));
        SlotGlyphs glyphs({ face.label }, {});
        QVERIFY(!face.label->testAttribute(Qt::WA_OpaquePaintEvent));
    }
}

void TestSlotGlyphs::opaqueLabelNeverShowsWhatWasBehind_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("emptied") << "empty";
    QTest::newRow("rich text") << "rich";
    QTest::newRow("disabled") << "disabled";
    QTest::newRow("framed") << "frame";
}

// An opaque label paints every pixel itself: when the cache cannot draw it, its backdrop goes
// down before QLabel draws, so the last item never lingers. Each change is compared with a
// plain label given the same change.
void TestSlotGlyphs::opaqueLabelNeverShowsWhatWasBehind()
{
    QFETCH(QString, change);
    Face plain(QStringLiteral("练"));
    Face cached(QStringLiteral("练"));
    SlotGlyphs glyphs({ cached.label }, {});
    QVERIFY(cached.label->testAttribute(Qt::WA_OpaquePaintEvent));
    QVERIFY(pixelsNear(cached.onScreen(), Qt::black) > 500);
    QVERIFY(pixelsNear(plain.onScreen(), Qt::black) > 500);
    for (QLabel* label : { plain.label, cached.label }) {
        if (change == "empty")
            label->clear();
        else if (change == "rich")
            label->setText(QStringLiteral("<i>习</i>"));
        else if (change == "disabled")
            label->setEnabled(false);
        else
            label->setFrameStyle(QFrame::Box);
    }
    const QImage expected = plain.onScreen();
    const QImage shown = cached.onScreen();
    QVERIFY(!shown.isNull());
    QVERIFY2(largestDifference(expected, shown) <= 6, qPrintable(QString::number(largestDifference(expected, shown))));
}

// The real window: its four slots are painted from the cache; a hit shows the hit item in red,
// the effect's end shows the new item in black.
void TestSlotGlyphs::windowHitShowsRedThenTheNewItem()
{
    WindowFixture f;
    TForm1& form = *f.form;
    SlotGlyphs* glyphs = slotGlyphsOf(form);
    QVERIFY(glyphs);
    f.start(0);
    form.bank.keySlots[1] = "Q";
    form.Label1->setText(QStringLiteral("Q"));
    const QImage before = form.Label1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(pixelsNear(before, Qt::black) > 100);
    QTRY_VERIFY(glyphs->Cache().Contains(*form.Label1, QColor(255, 0, 0)));
    const int drawn = glyphs->Cache().Drawn();
    f.type(QStringLiteral("q"));
    QCOMPARE(form.keyHitCount, 1);
    const QImage hit = form.Label1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(pixelsNear(hit, QColor(255, 0, 0)) > 100);
    QCOMPARE(pixelsNear(hit, Qt::black), 0);
    // The red picture was ready: the hit drew nothing.
    QCOMPARE(glyphs->Cache().Drawn(), drawn);
    // The effect's end shows the refilled item, in black.
    if (form.bank.keySlots[1] == "Q")
        form.bank.keySlots[1] = "W";
    form.Timer3Timer();
    QCOMPARE(form.Label1->text(), QString::fromStdString(form.bank.keySlots[1]));
    const QImage refilled = form.Label1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(pixelsNear(refilled, QColor(255, 0, 0)), 0);
    QVERIFY(pixelsNear(refilled, Qt::black) > 100);
    QVERIFY(largestDifference(refilled, before) > 100);
}

QTEST_MAIN(TestSlotGlyphs)
#include "tst_slotglyphs.moc"
