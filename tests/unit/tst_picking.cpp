#include "forms/automaticdrag.h"
#include "forms/popupmenu.h"
#include "forms/resourcelibrary.h"
#include "palette/colorreadout.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>

namespace {

// The text the status line must show for a colour, written out by hand.
QString expectedText(uint32_t bgr) {
    return QString::asprintf(" Current Color: RGB(%u,%u,%u) = &H%08X", bgr & 0xFF,
                             (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF, bgr);
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
    void aDragAlwaysEnds_data();
    void aDragAlwaysEnds();
    void aDragNeverStartsTwice();
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
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, barIndex), point);
    const uint32_t expected = expectedRampColor(barIndex, positionShownOnRow(point.y() - 1, 243));
    QCOMPARE(statusText(shown.palette), expectedText(expected));
    QCOMPARE(previewSwatch(shown.palette)->backColor(), static_cast<int32_t>(expected));
    QCOMPARE(shown.palette->mCurColor, static_cast<int32_t>(expected));
    QCOMPARE(shown.palette->mCurY, static_cast<float>((point.y() - 0.5) * 512 / 243));
    // What the preview shows on screen is exactly that colour.
    const QImage preview = previewSwatch(shown.palette)->grab().toImage();
    QCOMPARE(preview.pixel(40, 60) & 0xFFFFFF, forms::rgbFromColorValue(expected) & 0xFFFFFF);
}

void PickingTest::hoveringTheSamePointTwiceRepeatsThePick() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    SupportRecorder support;
    // Sent as events: the test library drops a move to where the pointer is.
    const auto moveTo = [bar = colorBar(shown.palette, 4)](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    };
    moveTo(QPoint(21, 50));
    const QString first = statusText(shown.palette);
    moveTo(QPoint(21, 50));
    QCOMPARE(support.callsOf(tarnwick::SupportFunction::Hex4).size(), 2);
    QCOMPARE(statusText(shown.palette), first);
}

void PickingTest::aDropBeforeAnyPickPaintsBlack() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    drag(shown, 2, selectedSwatch(shown.palette));
    QCOMPARE(selectedSwatch(shown.palette)->backColor(), 0);
}

void PickingTest::aDropPaintsTheLastHoveredColour() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 122));
    QVERIFY(shown.palette->mCurColor != 0);
    const int32_t picked = shown.palette->mCurColor;
    drag(shown, 5, selectedSwatch(shown.palette));
    QCOMPARE(selectedSwatch(shown.palette)->backColor(), picked);
    QCOMPARE(selectedSwatch(shown.palette)->point(10, 10), picked);
}

void PickingTest::aDoubleClickReadsTheSwatchBack() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseDClick(selectedSwatch(shown.palette), Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(statusText(shown.palette),
             QStringLiteral(" Current Color: RGB(255,255,255) = &H00FFFFFF"));
    QCOMPARE(previewSwatch(shown.palette)->backColor(), forms::White);
    QCOMPARE(shown.palette->mCurColor, forms::White);
    QCOMPARE(shown.palette->mCurX, 10.0F);
    QCOMPARE(shown.palette->mCurY, 10.0F);
}

void PickingTest::aDropAfterADoubleClickLeavesTheSwatchAlone() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 3), QPoint(20, 150));
    drag(shown, 3, selectedSwatch(shown.palette));
    const int32_t kept = selectedSwatch(shown.palette)->backColor();
    QTest::mouseMove(colorBar(shown.palette, 1), QPoint(20, 30));
    QTest::mouseDClick(selectedSwatch(shown.palette), Qt::LeftButton, {}, QPoint(5, 5));
    drag(shown, 1, selectedSwatch(shown.palette));
    QCOMPARE(selectedSwatch(shown.palette)->backColor(), kept);
}

void PickingTest::aDragReleasedElsewhereChangesNothing() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 122));
    for (const char* elsewhere :
         {"picColorPreview", "lblTitle(0)", "picColorBar(6)", "picToolBar"}) {
        drag(shown, 0, child<QWidget>(shown.palette, QLatin1String(elsewhere)));
        QCOMPARE(selectedSwatch(shown.palette)->backColor(), forms::White);
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PickingTest::nothingIsPickedDuringADrag() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(23, 131));
    QVERIFY(statusText(shown.palette).startsWith(QStringLiteral(" Current")));
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
    QVERIFY2(shown.painted, "the bars were never painted");
    ErrorRecorder errors;
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 200));
    QVERIFY(shown.palette->mCurColor != 0);
    const QString oldText = statusText(shown.palette);
    const int32_t oldColor = shown.palette->mCurColor;
    const float oldY = shown.palette->mCurY;
    SupportRecorder support;
    support.failOn(tarnwick::SupportFunction::Hex4);
    QTest::mouseMove(colorBar(shown.palette, 2), QPoint(20, 100));
    QCOMPARE(errors.numbers.size(), size_t{1});
    QCOMPARE(previewSwatch(shown.palette)->backColor(),
             static_cast<int32_t>(expectedRampColor(2, positionShownOnRow(99, 243))));
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
    // The secondary button's release opens the copy menu: answered at once.
    forms::popupmenu::setPresenter(
        [](QWidget*, const QList<forms::popupmenu::Item>&, QPoint) { return std::nullopt; });
    const auto restore = qScopeGuard([] { forms::popupmenu::setPresenter({}); });
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 1), QPoint(20, 122));
    const forms::ColorValue picked = shown.palette->mCurColor;
    QVERIFY(picked != forms::White);
    drag(shown, 1, selectedSwatch(shown.palette), Qt::MouseButton(button));
    QCOMPARE(selectedSwatch(shown.palette)->backColor(), acts ? picked : forms::White);

    QTest::mouseMove(colorBar(shown.palette, 2), QPoint(20, 122));
    const QString hovered = statusText(shown.palette);
    QTest::mouseDClick(selectedSwatch(shown.palette), Qt::MouseButton(button), {}, QPoint(30, 30));
    QCOMPARE(statusText(shown.palette) != hovered, acts);
}

void PickingTest::aDragAlwaysEnds_data() {
    QTest::addColumn<QString>("interruption");
    QTest::addColumn<bool>("ends");
    QTest::newRow("a move with the primary button up") << "move up" << true;
    QTest::newRow("the window deactivated") << "deactivate" << true;
    QTest::newRow("a pop-up menu opens") << "popup" << true;
    QTest::newRow("a modal box opens") << "modal" << true;
    QTest::newRow("a modeless window opens") << "modeless" << false;
    QTest::newRow("the middle button released") << "middle" << false;
    QTest::newRow("a move with the primary button down") << "move down" << false;
}

// An interrupted drag ends at once, with the normal pointer, and its late
// release drops nothing; anything else leaves it going until the primary
// button's release drops it. Either way one release leaves no drag pointer.
void PickingTest::aDragAlwaysEnds() {
    QFETCH(QString, interruption);
    QFETCH(bool, ends);
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    QTest::mouseMove(colorBar(shown.palette, 0), QPoint(20, 122));
    const forms::ColorValue picked = shown.palette->mCurColor;
    forms::PictureBox* source = colorBar(shown.palette, 3);
    QTest::mousePress(source, Qt::LeftButton, {}, QPoint(20, 100));
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    const auto move = [&](Qt::MouseButtons buttons) {
        QMouseEvent event(QEvent::MouseMove, QPointF(20, 60), source->mapToGlobal(QPointF(20, 60)),
                          Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(source, &event);
    };
    if (interruption == QStringLiteral("move up")) {
        move(Qt::NoButton);
    } else if (interruption == QStringLiteral("move down")) {
        move(Qt::LeftButton);
    } else if (interruption == QStringLiteral("deactivate")) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(source->window(), &deactivate);
    } else if (interruption == QStringLiteral("middle")) {
        QTest::mousePress(source, Qt::MiddleButton, {}, QPoint(20, 100));
        QTest::mouseRelease(source, Qt::MiddleButton, {}, QPoint(20, 100));
    } else {
        QWidget opened(nullptr, interruption == QStringLiteral("popup") ? Qt::Popup : Qt::Window);
        opened.setWindowModality(interruption == QStringLiteral("modal") ? Qt::ApplicationModal
                                                                         : Qt::NonModal);
        opened.show();
        opened.close();
    }
    QCOMPARE(QGuiApplication::overrideCursor() == nullptr, ends);
    auto* swatch = selectedSwatch(shown.palette);
    QTest::mouseRelease(source, Qt::LeftButton, {},
                        source->mapFrom(&shown.host, swatch->mapTo(&shown.host, QPoint(30, 30))));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(swatch->backColor(), ends ? forms::White : picked);
}

// A press while a drag is still marked (its release went elsewhere) starts
// the new drag in place of the old one: one release restores the pointer.
void PickingTest::aDragNeverStartsTwice() {
    ShownPalette shown;
    QVERIFY2(shown.painted, "the bars were never painted");
    forms::automaticdrag::begin(colorBar(shown.palette, 1), QCursor(Qt::DragMoveCursor));
    QTest::mousePress(colorBar(shown.palette, 2), Qt::LeftButton, {}, QPoint(20, 100));
    QCOMPARE(forms::automaticdrag::source(), colorBar(shown.palette, 2));
    QTest::mouseRelease(colorBar(shown.palette, 2), Qt::LeftButton, {}, QPoint(20, 100));
    QCOMPARE(forms::automaticdrag::source(), nullptr);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(PickingTest)
#include "tst_picking.moc"
