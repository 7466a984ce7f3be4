#include "app/frmmain.h"
#include "forms/doevents.h"
#include "forms/messagebox.h"
#include "forms/popupmenu.h"
#include "screenpick/magnifier.h"
#include "screenpick/portalcolor.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// A way of picking that the test drives: it reports what the test tells it.
class FakePicker : public screenpick::ScreenPicker {
  public:
    FakePicker() {
        current = this;
        ++created;
    }
    ~FakePicker() override {
        if (current == this) {
            current = nullptr;
        }
    }
    void start() override { running = true; }
    void cancel() override {
        if (running) {
            running = false;
            notifyFinished(std::nullopt);
        }
    }
    bool isRunning() const override { return running; }
    bool yieldsToNewStart() const override { return yields; }

    void hover(QRgb color) { onHover(screenpick::Pick{color, QPoint(3, 4)}, false); }
    void take(QRgb color) {
        running = false;
        notifyFinished(screenpick::Pick{color, QPoint(3, 4)});
    }
    void refuse(const QString& reason) {
        running = false;
        notifyRefused(reason);
    }

    static inline FakePicker* current = nullptr;
    static inline int created = 0;
    // Whether the pickers made from now on show the desktop's own picker.
    static inline bool yields = false;
    bool running = false;
};

// The desktop as the test wants it: picking available or not.
struct FakeDesktop {
    explicit FakeDesktop(screenpick::Availability availability) {
        screenpick::setFactory([] { return std::make_unique<FakePicker>(); },
                               std::move(availability));
    }
    ~FakeDesktop() { screenpick::setFactory({}); }
};

const screenpick::Availability Available{true, {}};
const screenpick::Availability Missing{false, QStringLiteral("no desktop portal runs")};

// A shown palette on a desktop that allows picks, a colour of a bar hovered:
// what a screen pick starts from.
struct HoveredPalette {
    HoveredPalette(int bar, QPoint at) {
        if (shown.painted) {
            hover(colorBar(palette, bar), at);
            before = pickStateOf(palette);
        }
    }
    FakeDesktop desktop{Available};
    ShownPalette shown;
    PaletteProbe* palette = shown.palette;
    PickState before{};
};

} // namespace

class ScreenPickTest : public QObject {
    Q_OBJECT

  private slots:
    void thePortalsChannelsRoundToTheNearest_data();
    void thePortalsChannelsRoundToTheNearest();
    void theMagnifierNeverCoversWhatItShows_data();
    void theMagnifierNeverCoversWhatItShows();
    void aPickFollowsThePointerAndEndsTakenOrAsBefore_data();
    void aPickFollowsThePointerAndEndsTakenOrAsBefore();
    void onlyCtrlPStartsAPickAndOnlyOne_data();
    void onlyCtrlPStartsAPickAndOnlyOne();
    void noPickStartsWhileTheBarsArePainted();
    void aBoxOrMenuThatOpensEndsThePickFirst_data();
    void aBoxOrMenuThatOpensEndsThePickFirst();
    void theCopyMenuOffersAPickOrSaysWhatIsMissing_data();
    void theCopyMenuOffersAPickOrSaysWhatIsMissing();
    void theMenuItemFollowsAnAnswerThatComesWhileItIsOpen_data();
    void theMenuItemFollowsAnAnswerThatComesWhileItIsOpen();
    void aNewStartReplacesOnlyThePickTheDesktopShows_data();
    void aNewStartReplacesOnlyThePickTheDesktopShows();
};

void ScreenPickTest::thePortalsChannelsRoundToTheNearest_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("channel");
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("1") << 1.0 << 255;
    QTest::newRow("0.5 is 127.5, up") << 0.5 << 128;
    QTest::newRow("0.1 is 25.5, up") << 0.1 << 26;
    QTest::newRow("0.999 is 254.7, up") << 0.999 << 255;
    QTest::newRow("0.498 is 126.99, up") << 0.498 << 127;
    QTest::newRow("0.001 is 0.26, down") << 0.001 << 0;
    QTest::newRow("exactly a channel") << 64.0 / 255.0 << 64;
    QTest::newRow("below 0") << -0.2 << 0;
    QTest::newRow("above 1") << 1.5 << 255;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 255;
}

void ScreenPickTest::thePortalsChannelsRoundToTheNearest() {
    QFETCH(double, value);
    QFETCH(int, channel);
    using namespace screenpick::portalcolor;
    QCOMPARE(channelFromPortal(value), channel);
    QCOMPARE(colorFromPortal(value, 0.0, 1.0), qRgb(channel, 0, 255));
    QCOMPARE(colorFromPortal(1.0, value, 0.0), qRgb(255, channel, 0));
    QCOMPARE(colorFromPortal(0.0, 0.0, value), qRgb(0, 0, channel));
}

void ScreenPickTest::theMagnifierNeverCoversWhatItShows_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("hotSpot");
    const QRect screen(0, 0, 1024, 768);
    const QRect second(1024, 0, 1920, 1080);
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        const QByteArray at = QByteArray::number(ratio * 100) + " %, ";
        QTest::newRow(at + "middle") << ratio << screen << QPoint(500, 400);
        QTest::newRow(at + "top left corner") << ratio << screen << QPoint(0, 0);
        QTest::newRow(at + "right edge") << ratio << screen << QPoint(1023, 300);
        QTest::newRow(at + "bottom edge") << ratio << screen << QPoint(300, 767);
        QTest::newRow(at + "bottom right corner") << ratio << screen << QPoint(1023, 767);
        QTest::newRow(at + "second screen, its left edge") << ratio << second << QPoint(1024, 1079);
    }
}

void ScreenPickTest::theMagnifierNeverCoversWhatItShows() {
    QFETCH(double, ratio);
    QFETCH(QRect, screen);
    QFETCH(QPoint, hotSpot);
    using namespace screenpick::magnifier;
    const QSize size = sizeFor(ratio);
    // About eight logical pixels a block, eleven blocks across.
    QVERIFY(std::abs(size.width() - 11 * 8 * ratio) <= 11);
    const QRect frame = place(hotSpot, size, screen);
    QCOMPARE(frame.size(), size);
    QVERIFY2(screen.contains(frame), "the magnifier leaves the screen");
    QVERIFY2(!frame.intersects(sourceArea(hotSpot)), "the magnifier covers what it shows");
    QCOMPARE(sourceArea(hotSpot).center(), hotSpot);
}

void ScreenPickTest::aPickFollowsThePointerAndEndsTakenOrAsBefore_data() {
    QTest::addColumn<QString>("end");
    QTest::newRow("taken") << "take";
    QTest::newRow("cancelled") << "cancel";
    QTest::newRow("its window closes") << "hide";
    QTest::newRow("refused by the desktop") << "refuse";
}

void ScreenPickTest::aPickFollowsThePointerAndEndsTakenOrAsBefore() {
    QFETCH(QString, end);
    HoveredPalette hovered(2, QPoint(20, 100));
    QVERIFY(hovered.shown.painted);
    PaletteProbe* palette = hovered.palette;
    const PickState before = hovered.before;
    QVERIFY(before.color != 0);

    QStringList messages;
    forms::messagebox::setPresenter([&messages](const QString& prompt, int, const QString&) {
        messages << prompt;
        return forms::messagebox::ResultOk;
    });
    const auto restore = qScopeGuard([] { forms::messagebox::setPresenter({}); });
    SupportRecorder support;
    palette->PickFromScreen();
    FakePicker* picker = FakePicker::current;
    QVERIFY(picker != nullptr && picker->running);
    QVERIFY(palette->isPickingFromScreen());
    // Under the cross-hair: shown as a hover shows it, not yet the pick.
    picker->hover(qRgb(10, 20, 30));
    QCOMPARE(previewSwatch(palette)->backColor(), forms::ColorValue{0x001E140A});
    QCOMPARE(statusText(palette), QStringLiteral(" Current Color: RGB(10,20,30) = &H001E140A"));
    QCOMPARE(support.callsOf(tarnwick::SupportFunction::Hex4).size(), qsizetype{1});
    QCOMPARE(palette->mCurColor, before.color);

    if (end == QStringLiteral("take")) {
        picker->take(qRgb(200, 100, 50));
        QCOMPARE(previewSwatch(palette)->backColor(), forms::ColorValue{0x003264C8});
        QCOMPARE(statusText(palette),
                 QStringLiteral(" Current Color: RGB(200,100,50) = &H003264C8"));
        QCOMPARE(palette->mCurColor, forms::ColorValue{0x003264C8});
    } else {
        const QString refusal = QStringLiteral("another program holds the pointer");
        if (end == QStringLiteral("cancel")) {
            picker->cancel();
        } else if (end == QStringLiteral("refuse")) {
            picker->refuse(refusal);
        } else {
            hovered.shown.host.hide();
        }
        QCOMPARE(pickStateOf(palette), before);
        QCOMPARE(messages, end == QStringLiteral("refuse") ? QStringList{refusal} : QStringList{});
    }
    QVERIFY(!palette->isPickingFromScreen());
    // The way of picking is given back once the pick has ended.
    QTRY_VERIFY(FakePicker::current == nullptr);
}

void ScreenPickTest::onlyCtrlPStartsAPickAndOnlyOne_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("starts");
    QTest::newRow("Ctrl+P") << int(Qt::ControlModifier) << true;
    QTest::newRow("P") << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+Shift+P") << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Alt+P") << int(Qt::AltModifier) << false;
}

void ScreenPickTest::onlyCtrlPStartsAPickAndOnlyOne() {
    QFETCH(int, modifiers);
    QFETCH(bool, starts);
    FakeDesktop desktop(Available);
    FrmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int createdBefore = FakePicker::created;
    QTest::keyClick(&form, Qt::Key_P, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(FakePicker::created - createdBefore, starts ? 1 : 0);
    QCOMPARE(form.cpMain->isPickingFromScreen(), starts);
    QTest::keyClick(&form, Qt::Key_P, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(FakePicker::created - createdBefore, starts ? 1 : 0);
    QVERIFY(form.isVisible());
}

// While the bars are painted, as for any other input, no pick starts: its
// cancel would put back the paint's wait text after the paint has ended.
void ScreenPickTest::noPickStartsWhileTheBarsArePainted() {
    FakeDesktop desktop(Available);
    FrmMain form;
    const int createdBefore = FakePicker::created;
    int picksTried = 0;
    forms::setYieldObserver([&] {
        if (picksTried++ == 100) {
            form.cpMain->PickFromScreen();
        }
    });
    YieldObserverGuard guard;
    form.show();
    QTRY_COMPARE(statusText(form.cpMain), QStringLiteral(" Paint operation complete."));
    QVERIFY(picksTried > 100);
    QCOMPARE(FakePicker::created, createdBefore);
    QVERIFY(!form.cpMain->isPickingFromScreen());
}

// A run-time error's box, say, must not wait under a screen held still with
// pointer and keys taken: the pick has ended by the time the window shows.
void ScreenPickTest::aBoxOrMenuThatOpensEndsThePickFirst_data() {
    QTest::addColumn<Qt::WindowType>("kind");
    QTest::addColumn<Qt::WindowModality>("modality");
    QTest::newRow("a box modal to the application") << Qt::Dialog << Qt::ApplicationModal;
    QTest::newRow("a box modal to its window") << Qt::Dialog << Qt::WindowModal;
    QTest::newRow("a pop-up menu") << Qt::Popup << Qt::NonModal;
}

void ScreenPickTest::aBoxOrMenuThatOpensEndsThePickFirst() {
    QFETCH(Qt::WindowType, kind);
    QFETCH(Qt::WindowModality, modality);
    HoveredPalette hovered(4, QPoint(20, 300));
    QVERIFY(hovered.shown.painted);
    PaletteProbe* palette = hovered.palette;
    palette->PickFromScreen();
    FakePicker::current->hover(qRgb(10, 20, 30));

    class Opening : public QWidget {
      public:
        explicit Opening(const PaletteProbe* watched) : mWatched(watched) {}
        std::optional<bool> pickingWhenShown;

      protected:
        void showEvent(QShowEvent* /*event*/) override {
            pickingWhenShown = mWatched->isPickingFromScreen();
        }

      private:
        const PaletteProbe* mWatched;
    } opening(palette);
    opening.setParent(palette->window(), kind);
    opening.setWindowModality(modality);
    opening.show();
    QCOMPARE(opening.pickingWhenShown, std::optional<bool>(false));
    QCOMPARE(pickStateOf(palette), hovered.before);
}

void ScreenPickTest::theCopyMenuOffersAPickOrSaysWhatIsMissing_data() {
    QTest::addColumn<bool>("available");
    QTest::newRow("available") << true;
    QTest::newRow("missing") << false;
}

void ScreenPickTest::theCopyMenuOffersAPickOrSaysWhatIsMissing() {
    QFETCH(bool, available);
    FakeDesktop desktop(available ? Available : Missing);
    QList<forms::popupmenu::Item> offered;
    forms::popupmenu::setPresenter(
        [&offered](QWidget*, const QList<forms::popupmenu::Item>& items, QPoint) {
            offered = items;
            // As a menu does, a disabled item cannot be chosen.
            return items.at(3).enabled ? std::optional<int>(3) : std::nullopt;
        });
    QStringList messages;
    forms::messagebox::setPresenter([&messages](const QString& prompt, int, const QString&) {
        messages << prompt;
        return forms::messagebox::ResultOk;
    });
    const auto restore = qScopeGuard([] {
        forms::popupmenu::setPresenter({});
        forms::messagebox::setPresenter({});
    });
    FrmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int createdBefore = FakePicker::created;

    form.cpMain->ShowCopyMenu();
    QCOMPARE(offered.size(), qsizetype{4});
    const forms::popupmenu::Item& pick = offered.at(3);
    QCOMPARE(pick.text, QStringLiteral("Pick from Screen"));
    QVERIFY(pick.separatorBefore);
    QVERIFY(!offered.at(0).separatorBefore && !offered.at(2).separatorBefore);
    QCOMPARE(pick.enabled, available);
    QCOMPARE(pick.toolTip.contains(Missing.missing), !available);
    QCOMPARE(form.cpMain->isPickingFromScreen(), available);
    if (available) {
        FakePicker::current->cancel();
    }

    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(FakePicker::created - createdBefore, available ? 2 : 0);
    QCOMPARE(messages.size(), available ? 0 : 1);
    if (!available) {
        QVERIFY2(messages.front().contains(Missing.missing), qPrintable(messages.front()));
    }
    QVERIFY(form.isVisible());
}

void ScreenPickTest::theMenuItemFollowsAnAnswerThatComesWhileItIsOpen_data() {
    QTest::addColumn<bool>("availableAtFirst");
    QTest::newRow("offered, then missing") << true;
    QTest::newRow("missing, then offered") << false;
}

// The desktop's answer comes while the copy menu is open (the portal is
// asked in the background): the open menu's item changes with it, and the
// watch ends with the menu.
void ScreenPickTest::theMenuItemFollowsAnAnswerThatComesWhileItIsOpen() {
    QFETCH(bool, availableAtFirst);
    FakeDesktop desktop(availableAtFirst ? Available : Missing);
    QList<forms::popupmenu::Item> offered;
    std::optional<forms::popupmenu::Item> afterTheAnswer;
    forms::popupmenu::setPresenter(
        [&](QWidget*, const QList<forms::popupmenu::Item>& items, QPoint) {
            offered = items;
            screenpick::setFactory([] { return std::make_unique<FakePicker>(); },
                                   availableAtFirst ? Missing : Available);
            afterTheAnswer = forms::popupmenu::shownItems().at(3);
            return std::nullopt;
        });
    const auto restore = qScopeGuard([] { forms::popupmenu::setPresenter({}); });
    FrmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    form.cpMain->ShowCopyMenu();
    QCOMPARE(offered.at(3).enabled, availableAtFirst);
    QVERIFY(afterTheAnswer.has_value());
    QCOMPARE(afterTheAnswer->text, QStringLiteral("Pick from Screen"));
    QCOMPARE(afterTheAnswer->enabled, !availableAtFirst);
    QCOMPARE(afterTheAnswer->toolTip.contains(Missing.missing), availableAtFirst);
    QVERIFY(forms::popupmenu::shownItems().isEmpty());
    // A change with no menu open reaches none.
    screenpick::setFactory([] { return std::make_unique<FakePicker>(); }, Available);
    QVERIFY(forms::popupmenu::shownItems().isEmpty());
}

void ScreenPickTest::aNewStartReplacesOnlyThePickTheDesktopShows_data() {
    QTest::addColumn<bool>("desktopsPicker");
    QTest::newRow("the desktop's picker (portal)") << true;
    QTest::newRow("our own cross-hair (X11)") << false;
}

// A portal may take a pick and never answer it. Where the desktop shows the
// picker, a new start (Ctrl+P, the menu item) ends the old pick as cancelled and asks again; our
// own cross-hair, which holds pointer and keys, keeps its pick alone.
void ScreenPickTest::aNewStartReplacesOnlyThePickTheDesktopShows() {
    QFETCH(bool, desktopsPicker);
    FakePicker::yields = desktopsPicker;
    const auto restore = qScopeGuard([] { FakePicker::yields = false; });
    HoveredPalette hovered(4, QPoint(20, 60));
    QVERIFY(hovered.shown.painted);
    PaletteProbe* palette = hovered.palette;
    const PickState before = hovered.before;
    const int createdBefore = FakePicker::created;

    palette->PickFromScreen();
    const QPointer<FakePicker> first = FakePicker::current;
    QVERIFY(first && first->running);
    palette->PickFromScreen();
    QCOMPARE(FakePicker::created - createdBefore, desktopsPicker ? 2 : 1);
    QVERIFY(palette->isPickingFromScreen());
    QCOMPARE(pickStateOf(palette), before);
    if (desktopsPicker) {
        QVERIFY(first.isNull() || !first->running);
        QVERIFY(FakePicker::current != first);
    } else {
        QCOMPARE(FakePicker::current, first.data());
    }
    // The running pick is the one that answers.
    FakePicker::current->take(qRgb(7, 8, 9));
    QCOMPARE(palette->mCurColor, forms::ColorValue{0x00090807});
    QVERIFY(!palette->isPickingFromScreen());
}

QTEST_MAIN(ScreenPickTest)
#include "tst_screenpick.moc"
