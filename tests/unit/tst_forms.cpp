#include "forms/checkedmath.h"
#include "forms/colorvalue.h"
#include "forms/drawingrecord.h"
#include "forms/eventboundary.h"
#include "forms/label.h"
#include "forms/mousepointer.h"
#include "forms/picturebox.h"
#include "forms/popupmenu.h"
#include "testsupport.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

using namespace forms;

class FormsTest : public QObject {
    Q_OBJECT

  private slots:
    void anOpenMenuFollowsAnUpdateOfItsItems();
    void systemColorsResolveThroughThePalette_data();
    void systemColorsResolveThroughThePalette();
    void propertiesKeepTheValueAsSet();
    void invalidColorValuesAreError380_data();
    void invalidColorValuesAreError380();
    void rgbCountsChannelsAbove255As255();
    void narrowingOverflowsOutside16Bits();
    void floorOfNonFiniteIsAnError();
    void userScaleMapsMousePixelsToUnitsAndBack_data();
    void userScaleMapsMousePixelsToUnitsAndBack();
    void boxReadsBackAtItsRowsOnly();
    void invertedBoxDrawnTwiceRestoresTheImage();
    void markingCellsInTurnKeepsTheRecordSmall();
    void pointOutsideTheAreaReadsTheNearestPixel();
    void eventBoundaryTurnsAnErrorIntoOneReport();
    void labelShowsAmpersandLiterally();
    void mousePointerIsAValueNotAStack();
};

void FormsTest::systemColorsResolveThroughThePalette_data() {
    QTest::addColumn<ColorValue>("value");
    QTest::addColumn<int>("role");
    QTest::newRow("window background") << SystemColor::WindowBackground << int(QPalette::Base);
    QTest::newRow("window text") << SystemColor::WindowText << int(QPalette::Text);
    QTest::newRow("active title bar") << SystemColor::ActiveTitleBar << int(QPalette::Highlight);
    QTest::newRow("title bar text")
        << SystemColor::ActiveTitleBarText << int(QPalette::HighlightedText);
    QTest::newRow("button face") << SystemColor::ButtonFace << int(QPalette::Button);
}

void FormsTest::systemColorsResolveThroughThePalette() {
    QFETCH(ColorValue, value);
    QFETCH(int, role);
    QPalette palette;
    const QColor distinct(12, 34, 56);
    palette.setColor(QPalette::Active, static_cast<QPalette::ColorRole>(role), distinct);
    QCOMPARE(resolveColor(value, palette), distinct);
}

void FormsTest::propertiesKeepTheValueAsSet() {
    PictureBox box;
    box.setBackColor(SystemColor::ButtonFace);
    QCOMPARE(box.backColor(), static_cast<ColorValue>(0x8000000F));
    box.setBackColor(0x00123456);
    QCOMPARE(box.backColor(), 0x00123456);
    QCOMPARE(resolveColor(0x00123456, QPalette()), QColor(0x56, 0x34, 0x12));
}

void FormsTest::invalidColorValuesAreError380_data() {
    QTest::addColumn<ColorValue>("value");
    QTest::newRow("system index 25") << static_cast<ColorValue>(0x80000019);
    QTest::newRow("system index 0xFFFFFF") << static_cast<ColorValue>(0x80FFFFFF);
    QTest::newRow("minus one") << ColorValue{-1};
    QTest::newRow("high byte set") << ColorValue{0x01000000};
}

void FormsTest::invalidColorValuesAreError380() {
    QFETCH(ColorValue, value);
    PictureBox box;
    box.setBackColor(White);
    try {
        box.setBackColor(value);
        QFAIL("no error raised");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), 380);
        QCOMPARE(error.text(), QStringLiteral("Invalid property value"));
    }
    QCOMPARE(box.backColor(), White);
}

void FormsTest::rgbCountsChannelsAbove255As255() {
    QCOMPARE(rgb(255, 0, 0), 0x0000FF);
    QCOMPARE(rgb(0, 0, 255), 0xFF0000);
    QCOMPARE(rgb(32767, 256, 257), 0xFFFFFF);
    QCOMPARE(rgb(-5, 1, 2), 0x020100);
}

void FormsTest::narrowingOverflowsOutside16Bits() {
    QCOMPARE(checked::narrow16(32767), int16_t{32767});
    QCOMPARE(checked::narrow16(-32768), int16_t{-32768});
    QVERIFY_THROWS_EXCEPTION(RuntimeError, checked::narrow16(32768));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, checked::narrow16(-32769));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, checked::add(std::numeric_limits<int32_t>::max(), 1));
}

void FormsTest::floorOfNonFiniteIsAnError() {
    QCOMPARE(checked::floorToInt(-0.2F), -1);
    QCOMPARE(checked::floorToInt(2.99F), 2);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, checked::floorToInt(std::nanf("")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError,
                             checked::floorToInt(std::numeric_limits<float>::infinity()));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, checked::floorToInt(3e10F));
}

// A bordered 45 x 245 box with the bar scale: the client area is 43 x 243.
void FormsTest::userScaleMapsMousePixelsToUnitsAndBack_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<float>("expectedX");
    QTest::addColumn<float>("expectedY");
    QTest::newRow("top-left client pixel") << QPoint(1, 1) << 0.5F / 43 << 0.5F * 512 / 243;
    QTest::newRow("bottom-right client pixel")
        << QPoint(43, 243) << 42.5F / 43 << 242.5F * 512 / 243;
    QTest::newRow("middle") << QPoint(22, 122) << 21.5F / 43 << 121.5F * 512 / 243;
}

void FormsTest::userScaleMapsMousePixelsToUnitsAndBack() {
    QFETCH(QPoint, pixel);
    QFETCH(float, expectedX);
    QFETCH(float, expectedY);
    QWidget window;
    auto* box = new PictureBox(&window);
    box->setBorder(true);
    box->setGeometry(0, 0, 45, 245);
    box->setBackColor(White);
    box->scale(0, 0, 1, 512);
    // Paint each client row in its own colour so the read-back names the row.
    for (int row = 0; row < 243; ++row) {
        const float top = row * 512.0F / 243;
        box->lineBox(0, top + 0.01F, 1, top + 0.02F, rgb(0, static_cast<int16_t>(row), 1));
    }
    MouseEventArgs seen;
    box->onMouseMove = [&](const MouseEventArgs& args) { seen = args; };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(box, pixel);
    QTRY_COMPARE(seen.x, expectedX);
    QCOMPARE(seen.y, expectedY);
    QCOMPARE(box->point(seen.x, seen.y), rgb(0, static_cast<int16_t>(pixel.y() - 1), 1));
}

void FormsTest::boxReadsBackAtItsRowsOnly() {
    QWidget window;
    auto* box = new PictureBox(&window);
    box->setGeometry(0, 0, 32, 96);
    box->setBackColor(White);
    box->scale(0, 0, 1, 3);
    box->lineBox(0, 1, 1, 2, 0x0000FF);
    const QImage image = box->image();
    QCOMPARE(pixelValue(image, 0, 31), White);
    QCOMPARE(pixelValue(image, 0, 32), 0x0000FF);
    QCOMPARE(pixelValue(image, 31, 63), 0x0000FF);
    QCOMPARE(pixelValue(image, 31, 64), White);
    QCOMPARE(box->point(0.5F, 1.5F), 0x0000FF);
    QCOMPARE(box->point(0.5F, 2.5F), White);
}

// A toolbar's cells marked and unmarked in turn, 1,000 times: the record keeps
// at most one box per cell and still draws what the cells show.
void FormsTest::markingCellsInTurnKeepsTheRecordSmall() {
    const UserScale cells = UserScale::corners(0, 0, 1, 3);
    const auto cell = [&](float row, bool invert) {
        return DrawingRecord::Box{cells, 0, row, 1, row + 1, qRgb(0, 0, 0), invert};
    };
    QImage image(1, 3, QImage::Format_RGB32);
    // Replays the record onto a blank image; the number of boxes drawn.
    const auto replay = [&image](const DrawingRecord& record) {
        image.fill(Qt::white);
        int boxes = 0;
        record.replay(image, [&boxes](const DrawingRecord::Box& box) {
            ++boxes;
            return QRect(0, static_cast<int>(box.y1), 1, 1);
        });
        return boxes;
    };
    DrawingRecord record;
    record.add(cell(2, false));
    for (int click = 0; click < 1000; ++click) {
        record.add(cell(static_cast<float>(click % 2), true));
        QVERIFY2(replay(record) <= 3, qPrintable(QString::number(click)));
    }
    record.add(cell(0, true));
    replay(record);
    QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));       // marked once more
    QCOMPARE(image.pixel(0, 1), qRgb(255, 255, 255)); // 500 times each: plain
    QCOMPARE(image.pixel(0, 2), qRgb(0, 0, 0));       // the opaque box
}

void FormsTest::invertedBoxDrawnTwiceRestoresTheImage() {
    QWidget window;
    auto* box = new PictureBox(&window);
    box->setGeometry(0, 0, 32, 96);
    box->setBackColor(0x00336699);
    box->scale(0, 0, 1, 3);
    box->lineBox(0, 0, 1, 3, 0x00808080);
    const QImage before = box->image();
    box->setDrawMode(DrawMode::Invert);
    box->lineBox(0, 0, 1, 1);
    QCOMPARE(pixelValue(box->image(), 5, 5), 0x007F7F7F);
    QCOMPARE(pixelValue(box->image(), 5, 40), 0x00808080);
    box->lineBox(0, 0, 1, 1);
    QCOMPARE(box->image(), before);
}

void FormsTest::pointOutsideTheAreaReadsTheNearestPixel() {
    QWidget window;
    auto* box = new PictureBox(&window);
    box->setGeometry(0, 0, 10, 10);
    box->setBackColor(White);
    box->scale(0, 0, 1, 10);
    box->lineBox(0, 0, 1, 1, 0x0000FF);
    box->lineBox(0, 9, 1, 10, 0xFF0000);
    QCOMPARE(box->point(0.5F, -50.0F), 0x0000FF);
    QCOMPARE(box->point(0.5F, 1e9F), 0xFF0000);
    QCOMPARE(box->point(std::nanf(""), std::nanf("")), 0x0000FF);
}

void FormsTest::eventBoundaryTurnsAnErrorIntoOneReport() {
    ErrorRecorder errors;
    bool after = false;
    eventboundary::enter([&] {
        checked::narrow16(70000);
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(errors.numbers, std::vector<int32_t>{6});
    QCOMPARE(eventboundary::reportText(RuntimeError::overflow()),
             QStringLiteral("Run-time error '6':\n\nOverflow"));
    eventboundary::enter([] {});
    QCOMPARE(errors.numbers.size(), size_t{1});
}

void FormsTest::labelShowsAmpersandLiterally() {
    QWidget window;
    auto* label = new Label(&window);
    label->setGeometry(0, 0, 200, 17);
    label->setBackColor(White);
    label->setForeColor(0);
    label->setCaption(QStringLiteral("&H"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(label->caption(), QStringLiteral("&H"));
    QCOMPARE(label->accessibleName(), QStringLiteral("&H"));
    // Both characters are drawn: the text is wider than the "H" alone.
    const QImage shot = label->grab().toImage();
    int inkColumns = 0;
    for (int x = 1; x < shot.width() - 1; ++x) {
        for (int y = 1; y < shot.height() - 1; ++y) {
            if (qGray(shot.pixel(x, y)) < 128) {
                ++inkColumns;
                break;
            }
        }
    }
    QVERIFY2(inkColumns > QFontMetrics(label->font()).horizontalAdvance(QLatin1Char('H')),
             qPrintable(QString::number(inkColumns)));
}

void FormsTest::mousePointerIsAValueNotAStack() {
    mousepointer::setMousePointer(mousepointer::Hourglass);
    mousepointer::setMousePointer(mousepointer::Hourglass);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    mousepointer::setMousePointer(mousepointer::DefaultPointer);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(mousepointer::mousePointer(), mousepointer::DefaultPointer);
}

// A state that becomes known while the menu is open reaches the menu on the
// screen: its action, not only the list the program keeps.
void FormsTest::anOpenMenuFollowsAnUpdateOfItsItems() {
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const forms::popupmenu::Item later{QStringLiteral("Pick"), false, QStringLiteral("not here"),
                                       false};
    bool enabled = true;
    QString toolTip;
    QList<forms::popupmenu::Item> shown;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        forms::popupmenu::updateShown(1, later);
        forms::popupmenu::updateShown(7, later);
        enabled = menu->actions().at(1)->isEnabled();
        toolTip = menu->actions().at(1)->toolTip();
        shown = forms::popupmenu::shownItems();
        menu->close();
    });
    const auto chosen = forms::popupmenu::show(
        &owner,
        {{QStringLiteral("Copy"), true, {}, false}, {QStringLiteral("Pick"), true, {}, false}},
        owner.mapToGlobal(QPoint(5, 5)));
    QVERIFY(!chosen.has_value());
    QVERIFY(!enabled);
    QCOMPARE(toolTip, later.toolTip);
    QCOMPARE(shown.size(), qsizetype{2});
    QCOMPARE(shown.at(1).enabled, false);
    QVERIFY(forms::popupmenu::shownItems().isEmpty());
}

QTEST_MAIN(FormsTest)
#include "tst_forms.moc"
