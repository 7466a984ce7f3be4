#include "colorreadout.h"
#include "resourcelibrary.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>

namespace {

// The text the status line must show for a colour, written out by hand.
QString expectedText(uint32_t bgr) {
    return QString::asprintf(" Current Color: RGB(%u,%u,%u) = &H%08X", bgr & 0xFF,
                             (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF, bgr);
}

// The ramp position that shows last on a client row of a bar 243 rows high:
// the highest band whose pixel rows include it.
int positionShownOnRow(int row) {
    int shown = -1;
    for (int pos = 0; pos <= 512; ++pos) {
        const int first = static_cast<int>(std::floor((511 - pos) * 243 / 512.0));
        const int last =
            std::max(first + 1, static_cast<int>(std::ceil((512 - pos) * 243 / 512.0)));
        if (row >= first && row < last) {
            shown = pos;
        }
    }
    return shown;
}

uint32_t rampColor(int barIndex, int pos) {
    const int hue = std::min(pos, 255);
    const int other = std::clamp(pos - 255, 0, 255);
    const int grey = std::min(pos / 2, 255);
    const bool channels[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
    uint32_t color = 0;
    for (int c = 0; c < 3; ++c) {
        const int level = barIndex == 6 ? grey : (channels[barIndex][c] ? hue : other);
        color |= static_cast<uint32_t>(level) << (8 * c);
    }
    return color;
}

forms::PictureBox* selectedSwatch(const ShownPalette& shown) {
    return child<forms::PictureBox>(shown.palette, QStringLiteral("picSelectedColor"));
}

forms::PictureBox* previewSwatch(const ShownPalette& shown) {
    return child<forms::PictureBox>(shown.palette, QStringLiteral("picColorPreview"));
}

// Presses on a bar and releases the button over another control.
void drag(const ShownPalette& shown, int fromBar, QWidget* onto,
          Qt::MouseButton button = Qt::LeftButton) {
    forms::PictureBox* source = colorBar(shown.palette, fromBar);
    QTest::mousePress(source, button, {}, QPoint(20, 100));
    const QPoint target = onto->mapTo(&shown.host, onto->rect().center());
    QTest::mouseRelease(source, button, {}, source->mapFrom(&shown.host, target));
}

} // namespace

class PickingTest : public QObject {
    Q_OBJECT

  private slots:
    void colourSplitsIntoItsChannels_data();
    void colourSplitsIntoItsChannels();
    void hoveringReadsThePixelUnderThePointer_data();
    void hoveringReadsThePixelUnderThePointer();
    void hoveringTheSamePointTwiceRepeatsThePick();
    void aDropBeforeAnyPickPaintsBlack();
    void aDropPaintsTheLastHoveredColour();
    void aDoubleClickReadsTheSwatchBack();
    void aDropAfterADoubleClickLeavesTheSwatchAlone();
    void aDragReleasedElsewhereChangesNothing();
    void nothingIsPickedDuringADrag();
    void aFailingHexCallLeavesOnlyThePreviewChanged();
    void onlyThePrimaryButtonDragsAndDoubleClicks_data();
    void onlyThePrimaryButtonDragsAndDoubleClicks();
};

void PickingTest::colourSplitsIntoItsChannels_data() {
    QTest::addColumn<int32_t>("color");
    QTest::addColumn<QString>("text");
    QTest::newRow("pure red") << int32_t{0x0000FF} << " Current Color: RGB(255,0,0) = &Hx";
    QTest::newRow("pure green") << int32_t{0x00FF00} << " Current Color: RGB(0,255,0) = &Hx";
    QTest::newRow("pure blue") << int32_t{0xFF0000} << " Current Color: RGB(0,0,255) = &Hx";
    QTest::newRow("white") << int32_t{0xFFFFFF} << " Current Color: RGB(255,255,255) = &Hx";
    QTest::newRow("black") << int32_t{0} << " Current Color: RGB(0,0,0) = &Hx";
    QTest::newRow("mixed") << int32_t{0x804020} << " Current Color: RGB(32,64,128) = &Hx";
    QTest::newRow("-1 truncates toward zero")
        << int32_t{-1} << " Current Color: RGB(255,0,0) = &Hx";
}

void PickingTest::colourSplitsIntoItsChannels() {
    QFETCH(int32_t, color);
    QFETCH(QString, text);
    using namespace palette::readout;
    QCOMPARE(statusText(split(color), QStringLiteral("x")), text);
}

void PickingTest::hoveringReadsThePixelUnderThePointer_data() {
    QTest::addColumn<int>("barIndex");
    QTest::addColumn<QPoint>("point");
    for (int b = 0; b < 7; ++b) {
        for (int y : {1, 2, 60, 121, 122, 123, 200, 242, 243}) {
            QTest::addRow("bar %d row %d", b, y) << b << QPoint(1 + (y % 43), y);
        }
    }
}

void PickingTest::hoveringReadsThePixelUnderThePointer() {
    QFETCH(int, barIndex);
    QFETCH(QPoint, point);
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, barIndex), point);
    const uint32_t expected = rampColor(barIndex, positionShownOnRow(point.y() - 1));
    QTRY_COMPARE(statusText(shown.palette), expectedText(expected));
    QCOMPARE(previewSwatch(shown)->backColor(), static_cast<int32_t>(expected));
    QCOMPARE(shown.palette->mCurColor, static_cast<int32_t>(expected));
    QCOMPARE(shown.palette->mCurY, static_cast<float>((point.y() - 0.5) * 512 / 243));
    // What the preview shows on screen is exactly that colour.
    const QImage preview = previewSwatch(shown)->grab().toImage();
    QCOMPARE(preview.pixel(40, 60) & 0xFFFFFF, forms::rgbFromColorValue(expected) & 0xFFFFFF);
}

void PickingTest::hoveringTheSamePointTwiceRepeatsThePick() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    SupportRecorder support;
    QTest::mouseMove(colorBar(shown.palette, 4), QPoint(20, 50));
    QTest::mouseMove(colorBar(shown.palette, 4), QPoint(21, 50));
    QTest::mouseMove(colorBar(shown.palette, 4), QPoint(21, 50));
    QTRY_VERIFY(support.callsOf(tarnwick::SupportFunction::Hex4).size() >= 2);
}

void PickingTest::aDropBeforeAnyPickPaintsBlack() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    drag(shown, 2, selectedSwatch(shown));
    QCOMPARE(selectedSwatch(shown)->backColor(), 0);
}

void PickingTest::aDropPaintsTheLastHoveredColour() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 122));
    QTRY_VERIFY(shown.palette->mCurColor != 0);
    const int32_t picked = shown.palette->mCurColor;
    drag(shown, 5, selectedSwatch(shown));
    QCOMPARE(selectedSwatch(shown)->backColor(), picked);
    QCOMPARE(selectedSwatch(shown)->point(10, 10), picked);
}

void PickingTest::aDoubleClickReadsTheSwatchBack() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseDClick(selectedSwatch(shown), Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(statusText(shown.palette),
             QStringLiteral(" Current Color: RGB(255,255,255) = &H00FFFFFF"));
    QCOMPARE(previewSwatch(shown)->backColor(), forms::White);
    QCOMPARE(shown.palette->mCurColor, forms::White);
    QCOMPARE(shown.palette->mCurX, 10.0F);
    QCOMPARE(shown.palette->mCurY, 10.0F);
}

void PickingTest::aDropAfterADoubleClickLeavesTheSwatchAlone() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, 3), QPoint(20, 150));
    drag(shown, 3, selectedSwatch(shown));
    const int32_t kept = selectedSwatch(shown)->backColor();
    QTest::mouseMove(colorBar(shown.palette, 1), QPoint(20, 30));
    QTest::mouseDClick(selectedSwatch(shown), Qt::LeftButton, {}, QPoint(5, 5));
    drag(shown, 1, selectedSwatch(shown));
    QCOMPARE(selectedSwatch(shown)->backColor(), kept);
}

void PickingTest::aDragReleasedElsewhereChangesNothing() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 122));
    for (const char* elsewhere :
         {"picColorPreview", "lblTitle(0)", "picColorBar(6)", "picToolBar"}) {
        drag(shown, 0, child<QWidget>(shown.palette, QLatin1String(elsewhere)));
        QCOMPARE(selectedSwatch(shown)->backColor(), forms::White);
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PickingTest::nothingIsPickedDuringADrag() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(23, 131));
    QTRY_VERIFY(statusText(shown.palette).startsWith(QStringLiteral(" Current")));
    const QString before = statusText(shown.palette);
    forms::PictureBox* source = colorBar(shown.palette, 2);
    QTest::mousePress(source, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    const QImage dragIcon = forms::resources::loadResPicture(QStringLiteral("IDI_DRAG"),
                                                             forms::resources::PictureFormat::Icon)
                                .image();
    QCOMPARE(
        QGuiApplication::overrideCursor()->pixmap().toImage().convertToFormat(dragIcon.format()),
        dragIcon);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 60), source->mapToGlobal(QPointF(20, 60)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(source, &move);
    QCOMPARE(statusText(shown.palette), before);
    QTest::mouseRelease(source, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PickingTest::aFailingHexCallLeavesOnlyThePreviewChanged() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    ErrorRecorder errors;
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 200));
    QTRY_VERIFY(shown.palette->mCurColor != 0);
    const QString oldText = statusText(shown.palette);
    const int32_t oldColor = shown.palette->mCurColor;
    const float oldY = shown.palette->mCurY;
    SupportRecorder support;
    support.failOn(tarnwick::SupportFunction::Hex4);
    QTest::mouseMove(colorBar(shown.palette, 2), QPoint(20, 100));
    QTRY_COMPARE(errors.numbers.size(), size_t{1});
    QCOMPARE(previewSwatch(shown)->backColor(),
             static_cast<int32_t>(rampColor(2, positionShownOnRow(99))));
    QCOMPARE(statusText(shown.palette), oldText);
    QCOMPARE(shown.palette->mCurColor, oldColor);
    QCOMPARE(shown.palette->mCurY, oldY);
}

void PickingTest::onlyThePrimaryButtonDragsAndDoubleClicks_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("acts");
    QTest::newRow("left") << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(Qt::RightButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
}

void PickingTest::onlyThePrimaryButtonDragsAndDoubleClicks() {
    QFETCH(int, button);
    QFETCH(bool, acts);
    ShownPalette shown;
    QVERIFY(shown.painted);
    QTest::mouseMove(colorBar(shown.palette, 1), QPoint(20, 122));
    const forms::ColorValue picked = shown.palette->mCurColor;
    QVERIFY(picked != forms::White);
    drag(shown, 1, selectedSwatch(shown), Qt::MouseButton(button));
    QCOMPARE(selectedSwatch(shown)->backColor(), acts ? picked : forms::White);

    QTest::mouseMove(colorBar(shown.palette, 2), QPoint(20, 122));
    const QString hovered = statusText(shown.palette);
    QTest::mouseDClick(selectedSwatch(shown), Qt::MouseButton(button), {}, QPoint(30, 30));
    QCOMPARE(statusText(shown.palette) != hovered, acts);
}

QTEST_MAIN(PickingTest)
#include "tst_picking.moc"
