#include "app/frmmain.h"
#include "forms/popupmenu.h"
#include "palette/colorreadout.h"
#include "testsupport.h"

#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {

// Replaces the modal pop-up menu: records what it offered and answers with
// the item the test chooses.
class MenuRecorder {
  public:
    explicit MenuRecorder(std::optional<int> answer) {
        forms::popupmenu::setPresenter([this, answer](QWidget* /*owner*/,
                                                      const QList<forms::popupmenu::Item>& items,
                                                      QPoint at) {
            QStringList texts;
            for (const auto& item : items) {
                texts << item.text;
            }
            offered.push_back(texts);
            offeredAt.push_back(at);
            return answer;
        });
    }
    ~MenuRecorder() { forms::popupmenu::setPresenter({}); }
    std::vector<QStringList> offered;
    std::vector<QPoint> offeredAt;
};

// The main window, its bars painted, after a hover over the middle of the
// blue bar.
struct PickedWindow {
    FrmMain form;
    bool ready = false;
    forms::ColorValue picked = 0;

    PickedWindow() {
        form.show();
        ready = QTest::qWaitForWindowExposed(&form) && QTest::qWaitFor([this] {
                    return statusText(form.cpMain) == QStringLiteral(" Paint operation complete.");
                });
        hover(colorBar(form.cpMain, 2), QPoint(20, 100));
        picked = preview()->backColor();
    }
    forms::PictureBox* preview() const {
        return child<forms::PictureBox>(form.cpMain, QStringLiteral("picColorPreview"));
    }
};

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

} // namespace

class CopyingTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void aColourIsCopiedAsHexTripletAndRgbFunction_data();
    void aColourIsCopiedAsHexTripletAndRgbFunction();
    void editKeysCopyTheCurrentPick_data();
    void editKeysCopyTheCurrentPick();
    void theMenuOffersTheCurrentPickInThreeForms_data();
    void theMenuOffersTheCurrentPickInThreeForms();
    void theSecondaryButtonPicksWhileHeldAndOpensTheMenuOnRelease();
    void coloursDraggedInFromOtherProgramsAreRefused();
};

void CopyingTest::init() {
    QGuiApplication::clipboard()->clear();
}

void CopyingTest::aColourIsCopiedAsHexTripletAndRgbFunction_data() {
    QTest::addColumn<int32_t>("color");
    QTest::addColumn<QString>("triplet");
    QTest::addColumn<QString>("function");
    QTest::newRow("black") << int32_t{0} << "#000000"
                           << "rgb(0, 0, 0)";
    QTest::newRow("pure red") << int32_t{0x0000FF} << "#FF0000"
                              << "rgb(255, 0, 0)";
    QTest::newRow("pure blue") << int32_t{0xFF0000} << "#0000FF"
                               << "rgb(0, 0, 255)";
    QTest::newRow("small channels keep two digits") << int32_t{0x0C0B0A} << "#0A0B0C"
                                                    << "rgb(10, 11, 12)";
    QTest::newRow("letters in upper case") << int32_t{0xFEFEFF} << "#FFFEFE"
                                           << "rgb(255, 254, 254)";
}

void CopyingTest::aColourIsCopiedAsHexTripletAndRgbFunction() {
    QFETCH(int32_t, color);
    QFETCH(QString, triplet);
    QFETCH(QString, function);
    using namespace palette::readout;
    QCOMPARE(hexTriplet(split(color)), triplet);
    QCOMPARE(rgbFunction(split(color)), function);
}

void CopyingTest::editKeysCopyTheCurrentPick_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("barFocused");
    QTest::addColumn<bool>("copies");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+C, nothing focused") << int(Qt::Key_C) << ctrl << false << true;
    QTest::newRow("Ctrl+C on a bar") << int(Qt::Key_C) << ctrl << true << true;
    QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << ctrl << true << true;
    QTest::newRow("C") << int(Qt::Key_C) << 0 << true << false;
    QTest::newRow("Ctrl+Shift+C") << int(Qt::Key_C) << (ctrl | shift) << false << false;
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << shift << true << false;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << 0 << false << false;
}

void CopyingTest::editKeysCopyTheCurrentPick() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, barFocused);
    QFETCH(bool, copies);
    PickedWindow window;
    QVERIFY(window.ready);
    if (barFocused) {
        colorBar(window.form.cpMain, 4)->setFocus(Qt::MouseFocusReason);
    }
    press(&window.form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(window.picked != forms::White);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    const QColor expected(QRgb(forms::rgbFromColorValue(window.picked)));
    QCOMPARE(clipboardText(), copies ? expected.name().toUpper() : QString());
    QCOMPARE(copied != nullptr && copied->hasColor(), copies);
    if (copies) {
        QCOMPARE(qvariant_cast<QColor>(copied->colorData()), expected);
    }
    QVERIFY(window.form.isVisible());
}

void CopyingTest::theMenuOffersTheCurrentPickInThreeForms_data() {
    QTest::addColumn<QString>("opener");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("copiedForm"); // -1: no menu
    QTest::newRow("right click on a bar, first item") << "picColorBar(5)" << 0 << 0;
    QTest::newRow("right click on the selected colour, second item")
        << "picSelectedColor" << 1 << 1;
    QTest::newRow("right click on the preview, third item") << "picColorPreview" << 2 << 2;
    QTest::newRow("menu key, third item") << "Menu" << 2 << 2;
    QTest::newRow("Shift+F10, second item") << "Shift+F10" << 1 << 1;
    QTest::newRow("menu dismissed") << "Menu" << -1 << -1;
    QTest::newRow("F10 alone") << "F10" << 0 << -1;
    QTest::newRow("Ctrl+F10") << "Ctrl+F10" << 0 << -1;
    QTest::newRow("right click on the toolbar") << "picToolBar" << 0 << -1;
    QTest::newRow("right click on a title") << "lblTitle(0)" << 0 << -1;
    // X11 sends the menu key as a context request as well as a key; the key
    // alone opens the menu, once.
    QTest::newRow("context request from the keyboard") << "keyboard:picColorBar(5)" << 0 << -1;
    // The secondary button's press makes a request too; the menu waits for
    // its release.
    QTest::newRow("context request from the mouse") << "mouse:picColorBar(5)" << 0 << -1;
}

void CopyingTest::theMenuOffersTheCurrentPickInThreeForms() {
    QFETCH(QString, opener);
    QFETCH(int, chosen);
    QFETCH(int, copiedForm);
    PickedWindow window;
    QVERIFY(window.ready);
    QVERIFY(window.picked != forms::White);
    MenuRecorder menu(chosen < 0 ? std::nullopt : std::optional<int>(chosen));
    if (opener == QStringLiteral("Menu")) {
        press(&window.form, Qt::Key_Menu);
    } else if (opener.endsWith(QStringLiteral("F10"))) {
        const Qt::KeyboardModifiers modifiers =
            opener.startsWith(QStringLiteral("Shift"))  ? Qt::ShiftModifier
            : opener.startsWith(QStringLiteral("Ctrl")) ? Qt::ControlModifier
                                                        : Qt::NoModifier;
        press(&window.form, Qt::Key_F10, modifiers);
    } else {
        const qsizetype colon = opener.indexOf(':');
        auto* control = child<QWidget>(window.form.cpMain, opener.mid(colon + 1));
        if (colon < 0) {
            QTest::mouseClick(control, Qt::RightButton, {}, QPoint(5, 5));
        } else {
            QContextMenuEvent request(opener.startsWith(QStringLiteral("keyboard:"))
                                          ? QContextMenuEvent::Keyboard
                                          : QContextMenuEvent::Mouse,
                                      QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(control, &request);
        }
    }
    const QColor color(QRgb(forms::rgbFromColorValue(window.picked)));
    const QString hex = QString::asprintf("%08X", static_cast<unsigned>(window.picked));
    const QStringList forms = {
        color.name().toUpper(),
        QStringLiteral("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue()),
        QStringLiteral("&H") + hex};
    if (copiedForm < 0 && chosen >= 0) {
        QVERIFY(menu.offered.empty());
    } else {
        QCOMPARE(menu.offered.size(), size_t{1});
        QCOMPARE(
            menu.offered.front(),
            QStringList({QStringLiteral("Copy ") + forms[0], QStringLiteral("Copy ") + forms[1],
                         QStringLiteral("Copy ") + forms[2], QStringLiteral("Pick from Screen")}));
    }
    QCOMPARE(clipboardText(), copiedForm < 0 ? QString() : forms.at(copiedForm));
}

// Moves with the secondary button held pick like any other move, across
// bars; the menu opens where the button comes up, and nothing is dragged.
void CopyingTest::theSecondaryButtonPicksWhileHeldAndOpensTheMenuOnRelease() {
    PickedWindow window;
    QVERIFY(window.ready);
    MenuRecorder menu(std::nullopt);
    QWidget* palette = window.form.cpMain;
    forms::PictureBox* red = colorBar(palette, 0);
    auto* swatch = child<forms::PictureBox>(palette, QStringLiteral("picSelectedColor"));
    const auto inRed = [&](QWidget* control, QPoint at) {
        return red->mapFrom(&window.form, control->mapTo(&window.form, at));
    };
    QTest::mousePress(red, Qt::RightButton, {}, QPoint(20, 200));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (const int bar : {1, 2}) {
        QMouseEvent move(QEvent::MouseMove, inRed(colorBar(palette, bar), QPoint(20, 100)),
                         red->mapToGlobal(inRed(colorBar(palette, bar), QPoint(20, 100))),
                         Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(red, &move);
        QCOMPARE(window.preview()->backColor(),
                 forms::ColorValue(expectedRampColor(bar, positionShownOnRow(99, 243))));
    }
    QVERIFY(menu.offered.empty());
    QTest::mouseRelease(red, Qt::RightButton, {}, inRed(swatch, QPoint(30, 30)));
    QCOMPARE(menu.offered.size(), size_t{1});
    QCOMPARE(menu.offeredAt.front(), swatch->mapToGlobal(QPoint(30, 30)));
    QCOMPARE(swatch->backColor(), forms::White);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void CopyingTest::coloursDraggedInFromOtherProgramsAreRefused() {
    ShownPalette shown;
    QVERIFY(shown.painted);
    auto* swatch = child<forms::PictureBox>(shown.palette, QStringLiteral("picSelectedColor"));
    QMimeData data;
    data.setText(QStringLiteral("#00FF00"));
    data.setColorData(QColor(0, 255, 0));
    QDragEnterEvent enter(QPoint(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(QPointF(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(swatch->backColor(), forms::White);
}

QTEST_MAIN(CopyingTest)
#include "tst_copying.moc"
