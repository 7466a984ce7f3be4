#include "forms/doevents.h"
#include "forms/resourcelibrary.h"
#include "testsupport.h"

#include <QTest>

using forms::SystemColor::ActiveTitleBar;
using forms::SystemColor::ActiveTitleBarText;
using forms::SystemColor::ButtonFace;
using forms::SystemColor::WindowBackground;
using forms::SystemColor::WindowText;

namespace {

QImage iconImage(const char* name) {
    return forms::resources::loadResPicture(QLatin1String(name),
                                            forms::resources::PictureFormat::Icon)
        .image();
}

} // namespace

class StylesTest : public QObject {
    Q_OBJECT

  private slots:
    void setFontsAppliesBothStyles_data();
    void setFontsAppliesBothStyles();
    void setFontsClearsDesignTimeFontStyles();
    void aFieldAloneChangesNothingOnScreen();
    void showSetsEverythingUpBeforeThePaint();
    void showLoadsTheIconsOneByOne();
    void showingAgainDropsTheChosenStylesAndRepaints();
    void aMissingToolbarBitmapStopsTheShowAfterTheFlags();
    void aFailingIconLoadStopsTheShowAtThatBar();
};

void StylesTest::setFontsAppliesBothStyles_data() {
    QTest::addColumn<int>("grayBack");
    QTest::addColumn<int>("titleBars");
    QTest::newRow("plain") << 0 << 0;
    QTest::newRow("grey background") << -1 << 0;
    QTest::newRow("title bars") << 0 << -1;
    QTest::newRow("both") << -1 << -1;
    QTest::newRow("non-zero other than -1 counts as true") << 5 << 1;
}

void StylesTest::setFontsAppliesBothStyles() {
    QFETCH(int, grayBack);
    QFETCH(int, titleBars);
    PaletteProbe palette([] {});
    palette.mGrayBack = static_cast<int16_t>(grayBack);
    palette.mTitleBars = static_cast<int16_t>(titleBars);
    palette.SetFonts();
    palette.SetFonts(); // a second call leaves the same result
    for (int i = 0; i < 2; ++i) {
        forms::Label* label = title(&palette, i);
        QCOMPARE(label->fontBold(), titleBars != 0);
        QVERIFY(!label->fontItalic() && !label->fontUnderline() && !label->fontStrikethru());
        QCOMPARE(label->backColor(), titleBars != 0 ? ActiveTitleBar : WindowBackground);
        QCOMPARE(label->foreColor(), titleBars != 0 ? ActiveTitleBarText : WindowText);
    }
    QCOMPARE(palette.backColor(), grayBack != 0 ? ButtonFace : WindowBackground);
    QCOMPARE(palette.foreColor(), WindowText);
}

void StylesTest::setFontsClearsDesignTimeFontStyles() {
    PaletteProbe palette([] {});
    for (int i = 0; i < 2; ++i) {
        title(&palette, i)->setFontItalic(true);
        title(&palette, i)->setFontUnderline(true);
        title(&palette, i)->setFontStrikethru(true);
    }
    palette.mTitleBars = -1;
    palette.SetFonts();
    for (int i = 0; i < 2; ++i) {
        QVERIFY(title(&palette, i)->fontBold());
        QVERIFY(!title(&palette, i)->fontItalic());
        QVERIFY(!title(&palette, i)->fontUnderline());
        QVERIFY(!title(&palette, i)->fontStrikethru());
    }
}

void StylesTest::aFieldAloneChangesNothingOnScreen() {
    PaletteProbe palette([] {});
    palette.SetFonts();
    palette.mGrayBack = -1;
    palette.mTitleBars = -1;
    QCOMPARE(palette.backColor(), WindowBackground);
    QVERIFY(!title(&palette, 0)->fontBold());
}

void StylesTest::showSetsEverythingUpBeforeThePaint() {
    QWidget host;
    auto* palette = new PaletteProbe([] {}, &host);
    palette->mGrayBack = -1;
    palette->mTitleBars = -1;
    YieldObserverGuard guard;
    QStringList faults;
    bool first = true;
    forms::setYieldObserver([&] {
        if (!first) {
            return;
        }
        first = false;
        auto* toolbar = child<forms::PictureBox>(palette, QStringLiteral("picToolBar"));
        if (toolbar->picture().image().size() != QSize(32, 96) || toolbar->currentScale().isTwips())
            faults << QStringLiteral("toolbar not loaded");
        if (palette->mGrayBack != 0 || palette->mTitleBars != 0 || title(palette, 0)->fontBold() ||
            palette->backColor() != WindowBackground)
            faults << QStringLiteral("styles not reset");
        for (int b = 0; b < 7; ++b) {
            if (colorBar(palette, b)->dragMode() != forms::DragMode::Automatic ||
                colorBar(palette, b)->dragIcon().image() != iconImage("IDI_DRAG"))
                faults << QStringLiteral("bar %1 not draggable").arg(b);
        }
        if (child<forms::ImageControl>(palette, QStringLiteral("imgIcon"))->picture().image() !=
            iconImage("A_MAIN"))
            faults << QStringLiteral("no sidebar icon");
    });
    host.show();
    QTRY_VERIFY(!first);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    // The toolbar shows its bitmap whole, unscaled, from the top-left corner.
    auto* toolbar = child<forms::PictureBox>(palette, QStringLiteral("picToolBar"));
    QCOMPARE(toolbar->image(),
             forms::resources::loadResPicture(QStringLiteral("IDB_TOOLBAR"),
                                              forms::resources::PictureFormat::Bitmap)
                 .image());
}

void StylesTest::showLoadsTheIconsOneByOne() {
    SupportRecorder support;
    QWidget host;
    new ColorPalette([] {}, &host);
    host.show();
    QTRY_COMPARE(support.calls, QStringList(8, QStringLiteral("tsLoadResIcon")));
}

void StylesTest::showingAgainDropsTheChosenStylesAndRepaints() {
    QWidget host;
    auto* palette = new PaletteProbe([] {}, &host);
    host.show();
    QTRY_COMPARE(statusText(palette), QStringLiteral(" Paint operation complete."));
    palette->mGrayBack = -1;
    palette->mTitleBars = -1;
    palette->SetFonts();
    QCOMPARE(palette->backColor(), ButtonFace);
    palette->hide();
    YieldObserverGuard guard;
    int yields = 0;
    forms::setYieldObserver([&] { ++yields; });
    palette->show();
    QTRY_COMPARE(yields, 7 * 513);
    QCOMPARE(palette->mGrayBack, int16_t{0});
    QCOMPARE(palette->backColor(), WindowBackground);
    QVERIFY(!title(palette, 1)->fontBold());
    QCOMPARE(title(palette, 1)->backColor(), WindowBackground);
}

void StylesTest::aMissingToolbarBitmapStopsTheShowAfterTheFlags() {
    ErrorRecorder errors;
    QWidget host;
    auto* palette = new PaletteProbe([] {}, &host);
    palette->mTitleBars = -1;
    palette->SetFonts();
    Q_CLEANUP_RESOURCE(palette_art);
    host.show();
    QTRY_VERIFY(!errors.numbers.empty());
    Q_INIT_RESOURCE(palette_art);
    QCOMPARE(errors.numbers, std::vector<int32_t>{326});
    QCOMPARE(palette->mTitleBars, int16_t{0});
    QVERIFY(title(palette, 0)->fontBold()); // SetFonts did not run
    QCOMPARE(colorBar(palette, 0)->dragMode(), forms::DragMode::Manual);
    QVERIFY(child<forms::Label>(palette, QStringLiteral("lblStatusBar"))->caption().isEmpty());
}

void StylesTest::aFailingIconLoadStopsTheShowAtThatBar() {
    ErrorRecorder errors;
    SupportRecorder support;
    support.failOn(tarnwick::SupportFunction::LoadResIcon, 3);
    QWidget host;
    auto* palette = new PaletteProbe([] {}, &host);
    host.show();
    QTRY_COMPARE(errors.numbers.size(), size_t{1});
    QCOMPARE(support.calls.size(), 3);
    QVERIFY(!colorBar(palette, 1)->dragIcon().isNone());
    QCOMPARE(colorBar(palette, 2)->dragMode(), forms::DragMode::Automatic);
    QVERIFY(colorBar(palette, 2)->dragIcon().isNone());
    QCOMPARE(colorBar(palette, 3)->dragMode(), forms::DragMode::Manual);
    QVERIFY(child<forms::ImageControl>(palette, QStringLiteral("imgIcon"))->picture().isNone());
    QVERIFY(child<forms::Label>(palette, QStringLiteral("lblStatusBar"))->caption().isEmpty());
}

QTEST_MAIN(StylesTest)
#include "tst_styles.moc"
