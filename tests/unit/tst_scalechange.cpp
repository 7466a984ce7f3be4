#include "forms/picturebox.h"
#include "testsupport.h"

#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {

// A palette shown on the given screen, painted, with the top toolbar button
// clicked once (the background style on, its cell marked).
struct StyledPalette {
    explicit StyledPalette(QScreen* screen) {
        host.setGeometry(QRect(screen->geometry().topLeft() + QPoint(20, 20), palette->size()));
        host.show();
        ready = QTest::qWaitForWindowExposed(&host) && QTest::qWaitFor([this] {
                    return statusText(palette) == QStringLiteral(" Paint operation complete.");
                });
        QTest::mouseClick(toolBar(palette), Qt::LeftButton, {}, QPoint(16, 16));
    }
    QWidget host;
    PaletteProbe* palette = new PaletteProbe([] {}, &host);
    bool ready = false;
};

// A move to a point of the bar given in device pixels of the window, which may
// lie between pixels: Wayland hands on positions in 1/256 of a logical pixel.
forms::ColorValue pickAt(PaletteProbe* palette, forms::PictureBox* bar, QPointF device) {
    const QPointF scene = device / bar->devicePixelRatioF();
    const QPointF local = scene - QPointF(bar->mapTo(bar->window(), QPoint(0, 0)));
    QMouseEvent move(QEvent::MouseMove, local, scene, bar->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    return palette->mCurColor;
}

} // namespace

// The two screens of this suite's offscreen platform: device pixel ratio 1
// and 2. A palette painted on the first and moved to the second must look as
// if it had been painted there: nothing blank, nothing blurred, the marks on
// the toolbar still matching the styles.
class ScaleChangeTest : public QObject {
    Q_OBJECT

  private slots:
    void drawingsAreRedrawnCrispAtTheNewScale();
    void theKeyboardPickStaysOnItsColour();
    void aPointBetweenDevicePixelsPicksThePixelThatHoldsIt_data();
    void aPointBetweenDevicePixelsPicksThePixelThatHoldsIt();
};

void ScaleChangeTest::drawingsAreRedrawnCrispAtTheNewScale() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    QCOMPARE(screens.at(1)->devicePixelRatio(), 2.0);
    StyledPalette reference(screens.at(1));
    StyledPalette moved(screens.at(0));
    QVERIFY(reference.ready && moved.ready);
    QCOMPARE(colorBar(moved.palette, 0)->devicePixelRatioF(), 1.0);
    QVERIFY(moved.palette->mGrayBack != 0);

    moved.host.move(screens.at(1)->geometry().topLeft() + QPoint(20, 20));
    QTRY_COMPARE(colorBar(moved.palette, 0)->devicePixelRatioF(), 2.0);
    for (int b = 0; b < 7; ++b) {
        const QImage image = colorBar(moved.palette, b)->image();
        QCOMPARE(image.size(), QSize(86, 486));
        QVERIFY2(image == colorBar(reference.palette, b)->image(), qPrintable(QString::number(b)));
    }
    const QImage marks = toolBar(moved.palette)->image();
    const QImage bitmap = toolBar(moved.palette)->picture().image();
    QCOMPARE(marks, toolBar(reference.palette)->image());
    QCOMPARE(pixelValue(marks, 6, 6), pixelValue(bitmap, 3, 3) ^ 0xFFFFFF); // top cell marked
    QCOMPARE(pixelValue(marks, 6, 70), pixelValue(bitmap, 3, 35));          // middle cell plain
}

// A bar picked from the keyboard keeps its mark on the picked colour at the
// new scale, and the next key moves on from there.
void ScaleChangeTest::theKeyboardPickStaysOnItsColour() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    StyledPalette moved(screens.at(0));
    QVERIFY(moved.ready);
    forms::PictureBox* bar = colorBar(moved.palette, 2);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(bar, Qt::Key_PageDown);
    }
    const forms::ColorValue picked = moved.palette->mCurColor;
    QVERIFY(bar->positionMark().value_or(0) > 10);

    moved.host.move(screens.at(1)->geometry().topLeft() + QPoint(20, 20));
    QTRY_COMPARE(bar->devicePixelRatioF(), 2.0);
    const QImage image = bar->image();
    const int row = bar->positionMark().value_or(0);
    // Twice the rows: the picked colour is on the marked row or the one above.
    const bool onItsColour = pixelValue(image, image.width() / 2, row) == picked ||
                             pixelValue(image, image.width() / 2, row - 1) == picked;
    QVERIFY2(onItsColour, qPrintable(QString::number(row)));
    QTest::keyClick(bar, Qt::Key_Down);
    QCOMPARE(bar->positionMark(), std::optional<int>(row + 1));
    QCOMPARE(moved.palette->mCurColor, pixelValue(image, image.width() / 2, row + 1));
}

void ScaleChangeTest::aPointBetweenDevicePixelsPicksThePixelThatHoldsIt_data() {
    QTest::addColumn<int>("screen");
    QTest::addColumn<double>("fraction"); // how far into the device pixel, right and down
    for (int screen : {0, 1}) {
        for (double fraction : {0.25, 0.5, 0.75, 0.99609375}) {
            QTest::addRow("ratio %d, %g into the pixel", screen + 1, fraction)
                << screen << fraction;
        }
    }
}

// The pixel read is the one that contains the hot spot, not the nearest
// pixel corner: the same as at that pixel's centre, on every row.
void ScaleChangeTest::aPointBetweenDevicePixelsPicksThePixelThatHoldsIt() {
    QFETCH(int, screen);
    QFETCH(double, fraction);
    StyledPalette shown(QGuiApplication::screens().at(screen));
    QVERIFY(shown.ready);
    forms::PictureBox* bar = colorBar(shown.palette, 1);
    const double ratio = bar->devicePixelRatioF();
    const QPoint origin = bar->mapTo(bar->window(), QPoint(0, 0)) * ratio;
    const int x = origin.x() + static_cast<int>(20 * ratio);
    // The bar's image starts inside its one-pixel border.
    const QImage image = bar->image();
    const int border = static_cast<int>(ratio);
    int nextRowDiffers = 0;
    for (int y = origin.y() + static_cast<int>(10 * ratio); y < origin.y() + 230 * ratio; y += 7) {
        const forms::ColorValue centre = pickAt(shown.palette, bar, QPointF(x + 0.5, y + 0.5));
        QCOMPARE(centre, pixelValue(image, x - origin.x() - border, y - origin.y() - border));
        const forms::ColorValue between =
            pickAt(shown.palette, bar, QPointF(x + fraction, y + fraction));
        QVERIFY2(between == centre, qPrintable(QStringLiteral("device row %1").arg(y)));
        nextRowDiffers += pickAt(shown.palette, bar, QPointF(x + 0.5, y + 1.5)) != centre;
    }
    // Rows that part from the next one: a pick of the nearest corner shows.
    QVERIFY(nextRowDiffers > 20);
}

QTEST_MAIN(ScaleChangeTest)
#include "tst_scalechange.moc"
