// The screen copy the X server keeps for a pick, and the magnifier's window,
// on a real X server at the depth the suite is run with. Qt's own screen
// grab is the oracle: what the copy reads back is what Qt reads there, black
// outside the copy, and as the screen was when it was copied.
#include "forms/x11connection.h"
#include "forms/x11monitors.h"
#include "screenpick/magnifierwindow.h"
#include "screenpick/screencopy.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace {

constexpr QSize PatternSize(320, 240);

// A window at the screen's top-left showing a pattern in which no two
// neighbouring device pixels are alike; `shift` changes every pixel.
class Pattern : public QWidget {
  public:
    Pattern() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {
        setGeometry(QRect(QPoint(0, 0), PatternSize));
        setShift(0);
    }
    void setShift(int shift) {
        mImage = QImage(PatternSize, QImage::Format_RGB32);
        for (int y = 0; y < PatternSize.height(); ++y) {
            for (int x = 0; x < PatternSize.width(); ++x) {
                mImage.setPixel(
                    x, y,
                    qRgb((x * 37 + shift) % 256, (y * 53 + shift) % 256, ((x + y) * 11) % 256));
            }
        }
        update();
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override { QPainter(this).drawImage(0, 0, mImage); }

  private:
    QImage mImage;
};

QImage grab(const QRect& area) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What reading `part` of a copy of `area` must give: the screen where they
// meet, black elsewhere.
QImage expectedRead(const QRect& area, const QRect& part) {
    QImage expected(part.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    const QRect shared = area.intersected(part);
    if (!shared.isEmpty()) {
        QPainter(&expected).drawImage(shared.topLeft() - part.topLeft(), grab(shared));
    }
    return expected;
}

bool isUniform(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                return false;
            }
        }
    }
    return true;
}

xcb_window_t root() {
    return xcb_setup_roots_iterator(xcb_get_setup(forms::x11::connection())).data->root;
}

} // namespace

class ScreenCopyTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup() { mPattern.reset(); }
    void readsWhatTheScreenShows_data();
    void readsWhatTheScreenShows();
    void keepsTheScreenAsItWasWhenCopied();
    void magnifierShowsItsPictureWherePlaced();
    void monitorIsTheWholeScreen();

  private:
    // Waits until the screen shows the pattern as Qt last drew it.
    void awaitPattern(const QImage& notThis = {});

    std::unique_ptr<Pattern> mPattern;
};

void ScreenCopyTest::init() {
    mPattern = std::make_unique<Pattern>();
    mPattern->show();
    QVERIFY(QTest::qWaitForWindowExposed(mPattern.get()));
    awaitPattern();
}

void ScreenCopyTest::awaitPattern(const QImage& notThis) {
    const QRect area(QPoint(0, 0), PatternSize);
    QImage shown;
    QTRY_VERIFY((shown = grab(area), !isUniform(shown) && shown != notThis && grab(area) == shown));
}

void ScreenCopyTest::readsWhatTheScreenShows_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("part");
    const QRect screen(QPoint(0, 0), QGuiApplication::primaryScreen()->size());
    const QRect inner(40, 30, 200, 100);
    QTest::newRow("inside the whole screen") << screen << QRect(10, 10, 11, 11);
    QTest::newRow("inside a part of the screen") << inner << QRect(45, 35, 11, 11);
    QTest::newRow("across its top-left corner") << inner << QRect(35, 25, 11, 11);
    QTest::newRow("across its bottom-right corner") << inner << QRect(235, 125, 11, 11);
    QTest::newRow("beside it, one pixel") << inner << QRect(240, 60, 1, 1);
    QTest::newRow("beyond the screen") << screen << QRect(630, 470, 20, 20);
}

void ScreenCopyTest::readsWhatTheScreenShows() {
    QFETCH(QRect, area);
    QFETCH(QRect, part);
    const auto copy = ScreenCopy::take(forms::x11::connection(), root(), area);
    QVERIFY(copy);
    QCOMPARE(copy->area(), area);
    QCOMPARE(copy->read(part), expectedRead(area, part));
}

void ScreenCopyTest::keepsTheScreenAsItWasWhenCopied() {
    const QRect part(20, 20, 11, 11);
    const QImage before = grab(QRect(QPoint(0, 0), PatternSize));
    const auto copy = ScreenCopy::take(forms::x11::connection(), root(), QRect(0, 0, 100, 100));
    QVERIFY(copy);
    mPattern->setShift(101);
    awaitPattern(before);
    QCOMPARE(copy->read(part), before.copy(part));
}

void ScreenCopyTest::magnifierShowsItsPictureWherePlaced() {
    const auto copy = ScreenCopy::take(forms::x11::connection(), root(), QRect(0, 0, 10, 10));
    QVERIFY(copy);
    // Whole colours, which every depth holds exactly.
    QImage picture(QSize(30, 20), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y,
                             (x + y) % 3 == 0 ? qRgb(255, 0, 0)
                             : x % 2 == 0     ? qRgb(0, 255, 255)
                                              : qRgb(255, 255, 255));
        }
    }
    MagnifierWindow magnifier(forms::x11::connection(),
                              static_cast<xcb_window_t>(mPattern->winId()), copy->depth(),
                              picture.size());
    for (const QPoint at : {QPoint(7, 9), QPoint(151, 100)}) {
        magnifier.show(at, picture.convertToFormat(copy->format()));
        QTRY_COMPARE(grab(QRect(at, picture.size())), picture);
    }
    magnifier.hide();
    QTRY_VERIFY(grab(QRect(QPoint(151, 100), picture.size())) != picture);
}

void ScreenCopyTest::monitorIsTheWholeScreen() {
    const QScreen& screen = *QGuiApplication::primaryScreen();
    QCOMPARE(forms::x11::monitorArea(forms::x11::connection(), root(), screen),
             std::optional(QRect(QPoint(0, 0), screen.size())));
}

QTEST_MAIN(ScreenCopyTest)
#include "tst_screencopy.moc"
