#include "forms/imagecontrol.h"
#include "forms/label.h"
#include "forms/picturebox.h"
#include "palette/colorpalette.h"
#include "testsupport.h"

#include <QResizeEvent>
#include <QTest>

#include <optional>

namespace {

// Where a child's client area starts inside the palette, in pixels.
QRect inPalette(QWidget* palette, QWidget* widget) {
    return QRect(widget->mapTo(palette, QPoint(0, 0)), widget->size());
}

// Counts the resize notifications a palette control receives.
class CountingPalette : public ColorPalette {
  public:
    CountingPalette() : ColorPalette([] {}) {}
    int resizes = 0;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        ++resizes;
        ColorPalette::resizeEvent(event);
    }
};

// Notes the font a widget has when it is first painted.
class FirstPaintFont : public QObject {
  public:
    explicit FirstPaintFont(QWidget* widget) { widget->installEventFilter(this); }
    std::optional<QFont> font;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !font) {
            font = static_cast<QWidget*>(watched)->font();
        }
        return false;
    }
};

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void childrenStandWhereTheDesignerPutThem_data();
    void childrenStandWhereTheDesignerPutThem();
    void titlesOverlapTheirSwatchesByOnePixel();
    void tabOrderFollowsTheTabIndices();
    void theControlPinsItsOwnSize();
    void aSameSizeResizeRaisesNoFurtherNotification();
    void nothingIsHiddenOrDisabledAtCreation();
    void captionsStandWhereTheyAreAligned_data();
    void captionsStandWhereTheyAreAligned();
    void captionsFitTheirLabelsEvenInBold_data();
    void captionsFitTheirLabelsEvenInBold();
    void captionsTakeTheLargestSizeThatFits_data();
    void captionsTakeTheLargestSizeThatFits();
};

void LayoutTest::childrenStandWhereTheDesignerPutThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<forms::ColorValue>("back");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("border");
    const auto face = forms::SystemColor::ButtonFace;
    const auto window = forms::SystemColor::WindowBackground;
    // Twips divided by 15; children of the sidebar start inside its border.
    QTest::newRow("toolbar") << "picToolBar" << QRect(0, 0, 32, 96) << window << "" << false;
    QTest::newRow("bar 0") << "picColorBar(0)" << QRect(36, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 1") << "picColorBar(1)" << QRect(84, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 2") << "picColorBar(2)" << QRect(132, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 3 after a wider gap")
        << "picColorBar(3)" << QRect(184, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 4") << "picColorBar(4)" << QRect(232, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 5") << "picColorBar(5)" << QRect(280, 4, 45, 245) << window << "" << true;
    QTest::newRow("bar 6 after a wider gap")
        << "picColorBar(6)" << QRect(332, 4, 45, 245) << window << "" << true;
    QTest::newRow("status line") << "lblStatusBar" << QRect(0, 256, 477, 17) << face << "" << true;
    QTest::newRow("sidebar") << "picSidebar" << QRect(384, 0, 93, 257) << face << "" << true;
    QTest::newRow("title 0") << "lblTitle(0)" << QRect(389, 5, 81, 17) << window << "Color Picker"
                             << true;
    QTest::newRow("selected colour")
        << "picSelectedColor" << QRect(389, 21, 81, 81) << forms::White << "" << true;
    QTest::newRow("title 1") << "lblTitle(1)" << QRect(389, 109, 81, 17) << window
                             << "Color Preview" << true;
    QTest::newRow("preview") << "picColorPreview" << QRect(389, 125, 81, 81) << forms::White << ""
                             << true;
}

void LayoutTest::childrenStandWhereTheDesignerPutThem() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(forms::ColorValue, back);
    QFETCH(QString, caption);
    QFETCH(bool, border);
    ColorPalette palette([] {});
    auto* control = child<forms::FlatControl>(&palette, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(inPalette(&palette, control), pixels);
    QCOMPARE(control->backColor(), back);
    QCOMPARE(control->foreColor(), forms::SystemColor::WindowText);
    QCOMPARE(control->hasBorder(), border);
    if (auto* label = dynamic_cast<forms::Label*>(control)) {
        QCOMPARE(label->caption(), caption);
    }
}

void LayoutTest::titlesOverlapTheirSwatchesByOnePixel() {
    ColorPalette palette([] {});
    const auto bottom = [&](const QString& name) {
        return inPalette(&palette, child<QWidget>(&palette, name)).bottom();
    };
    const auto top = [&](const QString& name) {
        return inPalette(&palette, child<QWidget>(&palette, name)).top();
    };
    QCOMPARE(bottom(QStringLiteral("lblTitle(0)")), top(QStringLiteral("picSelectedColor")));
    QCOMPARE(bottom(QStringLiteral("lblTitle(1)")), top(QStringLiteral("picColorPreview")));
    QCOMPARE(bottom(QStringLiteral("picSidebar")), top(QStringLiteral("lblStatusBar")));
    auto* icon = child<forms::ImageControl>(&palette, QStringLiteral("imgIcon"));
    QCOMPARE(icon->parentWidget()->objectName(), QStringLiteral("picColorPreview"));
    QCOMPARE(icon->geometry(), QRect(25, 21, 32, 32));
    QVERIFY(icon->picture().isNone());
}

void LayoutTest::tabOrderFollowsTheTabIndices() {
    ColorPalette palette([] {});
    const QStringList expected = {"picToolBar",       "picColorBar(0)", "picColorBar(1)",
                                  "picColorBar(2)",   "picColorBar(3)", "picColorBar(4)",
                                  "picColorBar(5)",   "picColorBar(6)", "picSidebar",
                                  "picSelectedColor", "picColorPreview"};
    QStringList chain;
    QWidget* widget = child<QWidget>(&palette, expected.front());
    while (chain.size() < expected.size()) {
        if (widget->focusPolicy() != Qt::NoFocus) {
            chain << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain, expected);
    int previous = -1;
    for (const QString& name : expected) {
        const int index = child<QWidget>(&palette, name)->property("tabIndex").toInt();
        QVERIFY(index > previous);
        previous = index;
    }
    QCOMPARE(child<QWidget>(&palette, QStringLiteral("lblStatusBar"))->property("tabIndex"), 8);
    QCOMPARE(child<QWidget>(&palette, QStringLiteral("lblTitle(1)"))->property("tabIndex"), 12);
}

void LayoutTest::theControlPinsItsOwnSize() {
    QWidget host;
    auto* palette = new ColorPalette([] {}, &host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    palette->resize(100, 50);
    QCOMPARE(palette->size(), QSize(477, 273));
    palette->resize(600, 273);
    QCOMPARE(palette->size(), QSize(477, 273));
    QCOMPARE(palette->widthTwips(), 7155.0F);
    QCOMPARE(palette->heightTwips(), 4095.0F);
}

void LayoutTest::aSameSizeResizeRaisesNoFurtherNotification() {
    QWidget host;
    auto* palette = new CountingPalette;
    palette->setParent(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    palette->resizes = 0;
    palette->resize(477, 273);
    QCOMPARE(palette->resizes, 0);
    palette->resize(300, 300);
    // The host's resize, then the width pinned, then the height pinned.
    QCOMPARE(palette->resizes, 3);
    QCOMPARE(palette->size(), QSize(477, 273));
}

void LayoutTest::nothingIsHiddenOrDisabledAtCreation() {
    ColorPalette palette([] {});
    const auto children = palette.findChildren<QWidget*>();
    QCOMPARE(children.size(), 15);
    for (QWidget* widget : children) {
        QVERIFY2(!widget->isHidden(), qPrintable(widget->objectName()));
        QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    }
}

void LayoutTest::captionsStandWhereTheyAreAligned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("centred");
    QTest::newRow("status line, left") << "lblStatusBar" << false;
    QTest::newRow("title 0, centred") << "lblTitle(0)" << true;
    QTest::newRow("title 1, centred") << "lblTitle(1)" << true;
}

// Only the pixels show where a caption stands: the columns its letters cover,
// against the room on either side inside the border.
void LayoutTest::captionsStandWhereTheyAreAligned() {
    QFETCH(QString, name);
    QFETCH(bool, centred);
    ColorPalette palette([] {});
    auto* label = child<forms::Label>(&palette, name);
    label->setCaption(QStringLiteral("Wide"));
    const QImage image = label->grab().toImage();
    const QRgb background = image.pixel(image.width() / 2, 1);
    int first = image.width();
    int last = -1;
    for (int x = 1; x < image.width() - 1; ++x) {
        for (int y = 1; y < image.height() - 1; ++y) {
            if (image.pixel(x, y) != background) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    QVERIFY2(last >= first, "no caption drawn");
    const int leftRoom = first - 1;
    const int rightRoom = image.width() - 2 - last;
    if (centred) {
        QVERIFY2(std::abs(leftRoom - rightRoom) <= 2,
                 qPrintable(QStringLiteral("room %1 | %2").arg(leftRoom).arg(rightRoom)));
    } else {
        QVERIFY2(leftRoom <= 3 && rightRoom > 3 * leftRoom,
                 qPrintable(QStringLiteral("room %1 | %2").arg(leftRoom).arg(rightRoom)));
    }
}

void LayoutTest::captionsFitTheirLabelsEvenInBold_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Color Picker") << "lblTitle(0)";
    QTest::newRow("Color Preview") << "lblTitle(1)";
}

// From its very first paint, a caption fits its one-line label in the font it
// is painted in, and would in bold too, whatever the desktop's default font.
void LayoutTest::captionsFitTheirLabelsEvenInBold() {
    QFETCH(QString, name);
    QWidget host;
    auto* palette = new ColorPalette([] {}, &host);
    auto* label = child<forms::Label>(palette, name);
    const FirstPaintFont firstPaint(label);
    host.resize(palette->size());
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTRY_VERIFY(firstPaint.font.has_value());
    QFont bold = *firstPaint.font;
    bold.setBold(true);
    QVERIFY2(QFontMetrics(bold).horizontalAdvance(label->caption()) <= label->clientRect().width(),
             qPrintable(bold.toString()));
}

void LayoutTest::captionsTakeTheLargestSizeThatFits_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("letterSpacing");
    QTest::newRow("sans") << "DejaVu Sans" << 0.0;
    QTest::newRow("sans, -0.6 px letter spacing") << "DejaVu Sans" << -0.6;
    QTest::newRow("serif") << "DejaVu Serif" << 0.0;
    QTest::newRow("monospace") << "DejaVu Sans Mono" << 0.0;
    // Spacing in pixels does not grow with the font: widths are not in
    // proportion to the size.
    QTest::newRow("sans, 0.6 px letter spacing") << "DejaVu Sans" << 0.6;
    QTest::newRow("serif, 1.4 px letter spacing") << "DejaVu Serif" << 1.4;
    QTest::newRow("sans, 3 px letter spacing, nothing fits") << "DejaVu Sans" << 3.0;
}

// The captions are as large as the labels allow: the largest pixel size from
// 11 down to 7 at which every caption fits in bold inside its border, with a
// pixel clear on either side; 7 when none does.
void LayoutTest::captionsTakeTheLargestSizeThatFits() {
    QFETCH(QString, family);
    QFETCH(qreal, letterSpacing);
    const QFont desktopFont = QApplication::font();
    QFont font(family);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    QApplication::setFont(font);
    ColorPalette palette([] {});
    QApplication::setFont(desktopFont);

    const auto allFitAt = [&](int pixelSize) {
        QFont bold = font;
        bold.setBold(true);
        bold.setPixelSize(pixelSize);
        for (const char* name : {"lblTitle(0)", "lblTitle(1)"}) {
            const auto* label = child<forms::Label>(&palette, QLatin1String(name));
            if (QFontMetrics(bold).horizontalAdvance(label->caption()) >
                label->clientRect().width() - 2) {
                return false;
            }
        }
        return true;
    };
    int largest = 11;
    while (largest > 7 && !allFitAt(largest)) {
        --largest;
    }
    QCOMPARE(palette.font().pixelSize(), largest);
    QCOMPARE(palette.font().family(), font.family());
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
