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

QTEST_MAIN(ScaleChangeTest)
#include "tst_scalechange.moc"
