#include "app/frmmain.h"
#include "forms/doevents.h"
#include "forms/mousepointer.h"
#include "palette/colorramps.h"
#include "testsupport.h"

#include <QTest>

#include <cmath>
#include <memory>

namespace {

const QString PaintingText = QStringLiteral(" Painting colors... Please wait. ");
const QString DoneText = QStringLiteral(" Paint operation complete.");
constexpr int BandsPerBar = 513;
constexpr int Bands = 7 * BandsPerBar;

} // namespace

class PaintingTest : public QObject {
    Q_OBJECT

  private slots:
    void insideAYieldTheControlIsBusy();
    void eachBandIsDrawnThenYieldedBottomUpBarByBar();
    void afterThePaintTheControlIsReady();
    void barsReadBackTheirRamps_data();
    void barsReadBackTheirRamps();
    void escDuringThePaintStopsItQuietly();
    void aPaintStartedInsideAYieldRunsToItsEnd();
};

void PaintingTest::insideAYieldTheControlIsBusy() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    YieldObserverGuard guard;
    int yields = 0;
    int busy = 0;
    forms::setYieldObserver([&] {
        ++yields;
        busy += (!shown.palette->isEnabled() && !colorBar(shown.palette, 0)->isEnabled() &&
                 forms::mousepointer::mousePointer() == forms::mousepointer::Hourglass &&
                 statusText(shown.palette) == PaintingText)
                    ? 1
                    : 0;
    });
    shown.palette->PaintBars();
    QCOMPARE(yields, Bands);
    QCOMPARE(busy, Bands);
}

void PaintingTest::eachBandIsDrawnThenYieldedBottomUpBarByBar() {
    QWidget host;
    auto* palette = new PaletteProbe([] {}, &host);
    host.resize(palette->size());
    YieldObserverGuard guard;
    int yield = 0;
    QStringList faults;
    const forms::ColorValue untouched =
        pixelValue(colorBar(palette, 0)->image(), 0, 0); // window background, never painted
    forms::setYieldObserver([&] {
        const int current = yield / BandsPerBar;
        const int pos = yield % BandsPerBar;
        ++yield;
        if (yield == 1) {
            if (!host.windowHandle()->isExposed()) {
                faults << QStringLiteral("the paint began before the window was on screen");
            }
            for (int b = 0; b < 7; ++b) {
                if (colorBar(palette, b)->currentScale().isTwips()) {
                    faults << QStringLiteral("bar %1 unscaled at the first yield").arg(b);
                }
            }
        }
        if (pos == 512) {
            return; // the top band lies above the bar's drawing area
        }
        const QImage image = colorBar(palette, current)->image();
        const int row = topRowOf(pos, image.height());
        if (pixelValue(image, 20, row) != *palette->GetColor(current, pos)) {
            faults << QStringLiteral("bar %1 band %2 not drawn before its yield")
                          .arg(current)
                          .arg(pos);
        }
        if (pos + 1 < 512 && topRowOf(pos + 1, image.height()) < row &&
            pixelValue(image, 20, topRowOf(pos + 1, image.height())) != untouched) {
            faults << QStringLiteral("bar %1 band %2 drawn early").arg(current).arg(pos + 1);
        }
        if (current + 1 < 7 &&
            pixelValue(colorBar(palette, current + 1)->image(), 20, 240) != untouched) {
            faults << QStringLiteral("bar %1 started before bar %2 ended")
                          .arg(current + 1)
                          .arg(current);
        }
    });
    host.show();
    QCOMPARE(yield, 0); // the paint waits until the window is on screen
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTRY_COMPARE(yield, Bands);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 5).join(QLatin1Char('\n'))));
}

void PaintingTest::afterThePaintTheControlIsReady() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    shown.palette->PaintBars();
    QCOMPARE(statusText(shown.palette), DoneText);
    QVERIFY(shown.palette->isEnabled());
    QCOMPARE(forms::mousepointer::mousePointer(), forms::mousepointer::DefaultPointer);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PaintingTest::barsReadBackTheirRamps_data() {
    QTest::addColumn<int>("barIndex");
    for (int b = 0; b < 7; ++b) {
        QTest::newRow(qPrintable(QStringLiteral("bar %1").arg(b))) << b;
    }
}

// The colour at height y is the colour of position 512 - y, within one band.
void PaintingTest::barsReadBackTheirRamps() {
    QFETCH(int, barIndex);
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    forms::PictureBox* box = colorBar(shown.palette, barIndex);
    const auto near = [&](float y) {
        const forms::ColorValue read = box->point(0.5F, y);
        const int centre = 512 - static_cast<int>(y);
        for (int pos = std::max(0, centre - 2); pos <= std::min(512, centre + 2); ++pos) {
            if (*shown.palette->GetColor(barIndex, pos) == read) {
                return true;
            }
        }
        return false;
    };
    for (float y : {0.5F, 3.0F, 100.0F, 200.0F, 256.0F, 300.0F, 400.0F, 508.0F, 511.9F}) {
        QVERIFY2(near(y), qPrintable(QStringLiteral("y %1").arg(y)));
    }
    QCOMPARE(box->point(0.5F, 0.5F), 0xFFFFFF);
    const forms::ColorValue bottom = box->point(0.5F, 511.9F);
    QVERIFY((bottom & 0xFF) <= 2 && ((bottom >> 8) & 0xFF) <= 2 && ((bottom >> 16) & 0xFF) <= 2);
    if (barIndex < 6) {
        const forms::ColorValue middle = box->point(0.5F, 256.0F);
        QCOMPARE(middle & *shown.palette->GetColor(barIndex, 255),
                 *shown.palette->GetColor(barIndex, 255));
    }
}

void PaintingTest::escDuringThePaintStopsItQuietly() {
    ErrorRecorder errors;
    YieldObserverGuard guard;
    auto form = std::make_unique<FrmMain>();
    int yields = 0;
    forms::setYieldObserver([&] {
        if (++yields == 1000) {
            press(form.get(), Qt::Key_Escape);
        }
    });
    form->show();
    QTRY_VERIFY(!form->isVisible());
    QCOMPARE(yields, 1000);
    QVERIFY(!form->isLoaded());
    QVERIFY(!form->isVisible());
    QVERIFY(errors.numbers.empty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Band 1000 is bar 1, position 486; the band above it was never drawn.
    const QImage image = colorBar(form->cpMain, 1)->image();
    QCOMPARE(pixelValue(image, 20, topRowOf(486, image.height())), *form->cpMain->GetColor(1, 486));
    QCOMPARE(pixelValue(image, 20, 0), pixelValue(colorBar(form->cpMain, 6)->image(), 20, 0));
    form.reset();
}

void PaintingTest::aPaintStartedInsideAYieldRunsToItsEnd() {
    ShownPalette reference;
    QVERIFY2(reference.painted, "the bars were never painted");
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    YieldObserverGuard guard;
    int yields = 0;
    forms::setYieldObserver([&] {
        if (++yields == 100) {
            shown.palette->PaintBars();
        }
    });
    shown.palette->PaintBars();
    QCOMPARE(yields, 2 * Bands);
    QCOMPARE(statusText(shown.palette), DoneText);
    QVERIFY(shown.palette->isEnabled());
    QCOMPARE(forms::mousepointer::mousePointer(), forms::mousepointer::DefaultPointer);
    for (int b = 0; b < 7; ++b) {
        QCOMPARE(colorBar(shown.palette, b)->image(), colorBar(reference.palette, b)->image());
    }
}

QTEST_MAIN(PaintingTest)
#include "tst_painting.moc"
