#include "app/appinfo.h"
#include "forms/messagebox.h"
#include "forms/resourcelibrary.h"
#include "testsupport.h"

#include <QTest>

using forms::SystemColor::ButtonFace;
using forms::SystemColor::WindowBackground;

namespace {

QImage bitmap() {
    return forms::resources::loadResPicture(QStringLiteral("IDB_TOOLBAR"),
                                            forms::resources::PictureFormat::Bitmap)
        .image();
}

// Whether every pixel of a toolbar cell is the inverse of the bitmap's.
bool cellInverted(const QImage& image, int cell) {
    const QImage original = bitmap();
    for (int y = 32 * cell; y < 32 * cell + 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (~original.pixel(x, y) & 0xFFFFFF)) {
                return false;
            }
        }
    }
    return true;
}

struct MessageRecorder {
    MessageRecorder() {
        forms::messagebox::setPresenter(
            [this](const QString& prompt, int buttons, const QString& title) {
                messages << QStringLiteral("%1|%2|%3").arg(prompt).arg(buttons).arg(title);
                return forms::messagebox::ResultOk;
            });
    }
    ~MessageRecorder() { forms::messagebox::setPresenter({}); }
    QStringList messages;
};

// A shown palette whose about box records the toolbar as it was while open.
struct ShownToolbar {
    int aboutCalls = 0;
    QImage imageDuringAbout;
    ShownPalette shown{[this] {
        ++aboutCalls;
        imageDuringAbout = toolbar()->image();
    }};
    PaletteProbe* palette = shown.palette;

    forms::PictureBox* toolbar() const { return toolBar(palette); }
    void click(int cell, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(toolbar(), button, {}, QPoint(16, 32 * cell + 16));
    }
    // Pressed on a cell, released at a point outside the toolbar.
    void pressAndReleaseAt(int cell, QPoint release) const {
        QTest::mousePress(toolbar(), Qt::LeftButton, {}, QPoint(16, 32 * cell + 16));
        QTest::mouseRelease(toolbar(), Qt::LeftButton, {}, release);
    }
};

} // namespace

class ToolbarTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { app::installIdentity(); }
    void theTopButtonSwitchesTheBackground();
    void theMiddleButtonSwitchesTheTitles();
    void theBottomButtonOpensTheAboutBox();
    void anyButtonActsTheSame_data();
    void anyButtonActsTheSame();
    void releasesOutsideTheRowsShowTheCell_data();
    void releasesOutsideTheRowsShowTheCell();
    void aReleaseRightOfTheToolbarSwitchesWithoutMarking();
};

void ToolbarTest::theTopButtonSwitchesTheBackground() {
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    shown.click(0);
    QCOMPARE(shown.palette->mGrayBack, int16_t{-1});
    QCOMPARE(shown.palette->backColor(), ButtonFace);
    QCOMPARE(shown.toolbar()->drawMode(), forms::DrawMode::Invert);
    QVERIFY(cellInverted(shown.toolbar()->image(), 0));
    QVERIFY(!cellInverted(shown.toolbar()->image(), 1));
    shown.click(0);
    QCOMPARE(shown.palette->mGrayBack, int16_t{0});
    QCOMPARE(shown.palette->backColor(), WindowBackground);
    QCOMPARE(shown.toolbar()->image(), bitmap());
}

void ToolbarTest::theMiddleButtonSwitchesTheTitles() {
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    auto* title = child<forms::Label>(shown.palette, QStringLiteral("lblTitle(0)"));
    shown.click(1);
    QCOMPARE(shown.palette->mTitleBars, int16_t{-1});
    QCOMPARE(shown.palette->mGrayBack, int16_t{0});
    QVERIFY(title->fontBold());
    QCOMPARE(title->backColor(), forms::SystemColor::ActiveTitleBar);
    QVERIFY(cellInverted(shown.toolbar()->image(), 1));
    shown.click(1);
    QCOMPARE(shown.palette->mTitleBars, int16_t{0});
    QVERIFY(!title->fontBold());
    QCOMPARE(shown.toolbar()->image(), bitmap());
}

void ToolbarTest::theBottomButtonOpensTheAboutBox() {
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    shown.click(2);
    QCOMPARE(shown.aboutCalls, 1);
    QVERIFY(cellInverted(shown.imageDuringAbout, 2));
    QCOMPARE(shown.toolbar()->image(), bitmap());
    QCOMPARE(shown.palette->mGrayBack, int16_t{0});
    QCOMPARE(shown.palette->mTitleBars, int16_t{0});
}

void ToolbarTest::anyButtonActsTheSame_data() {
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void ToolbarTest::anyButtonActsTheSame() {
    QFETCH(int, button);
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    shown.click(0, Qt::MouseButton(button));
    QCOMPARE(shown.palette->mGrayBack, int16_t{-1});
    QVERIFY(cellInverted(shown.toolbar()->image(), 0));
}

void ToolbarTest::releasesOutsideTheRowsShowTheCell_data() {
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("message");
    QTest::newRow("just below") << QPoint(5, 100) << QStringLiteral("0 x 3");
    QTest::newRow("just above") << QPoint(5, -3) << QStringLiteral("0 x -1");
    QTest::newRow("below and left") << QPoint(-40, 200) << QStringLiteral("-2 x 6");
}

void ToolbarTest::releasesOutsideTheRowsShowTheCell() {
    QFETCH(QPoint, release);
    QFETCH(QString, message);
    MessageRecorder messages;
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    shown.pressAndReleaseAt(1, release);
    QCOMPARE(messages.messages, QStringList{message + QStringLiteral("|0|Tarnwick - Kelvary")});
    QCOMPARE(shown.toolbar()->image(), bitmap());
    QCOMPARE(shown.palette->mGrayBack, int16_t{0});
    QCOMPARE(shown.palette->mTitleBars, int16_t{0});
}

void ToolbarTest::aReleaseRightOfTheToolbarSwitchesWithoutMarking() {
    MessageRecorder messages;
    ShownToolbar shown;
    QVERIFY2(shown.shown.painted, "the bars were never painted");
    shown.pressAndReleaseAt(1, QPoint(40, 48));
    QCOMPARE(shown.palette->mTitleBars, int16_t{-1});
    QVERIFY(child<forms::Label>(shown.palette, QStringLiteral("lblTitle(1)"))->fontBold());
    QCOMPARE(shown.toolbar()->image(), bitmap());
    QVERIFY(messages.messages.isEmpty());
}

QTEST_MAIN(ToolbarTest)
#include "tst_toolbar.moc"
